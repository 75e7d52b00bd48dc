#pragma once

#include <string>
#include <sys/types.h>

namespace shellfem::platform::fltk {

// Starts showing a text file with the desktop's tools and returns at once:
// `xdg-open FILE`, or when that is missing or fails, `$EDITOR FILE` in a
// terminal (x-terminal-emulator or xterm). Returns the helper's process id,
// or -1 when no process could be started.
pid_t startTextViewer(const std::string& path);

enum class ViewerState { Running, Opened, Failed };

// Whether the helper is still running, opened the file, or could not (then the
// program tells the user where the file is). Reaps the helper once it ended.
ViewerState pollTextViewer(pid_t pid);

// Waits for the helper (tests; the GUI polls instead).
ViewerState waitTextViewer(pid_t pid);

// The message shown when no viewer could open the file: names the file with its folder.
std::string textViewerFailureMessage(const std::string& path);

} // namespace shellfem::platform::fltk
