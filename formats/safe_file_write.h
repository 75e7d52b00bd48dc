#pragma once

#include <functional>
#include <iosfwd>
#include <string>

namespace shellfem {

// How every program writes its files: into a temporary file beside the target,
// flushed and put on the disk, and only then renamed over the target. A write that
// fails part-way (a full disk, a folder that cannot be written) leaves the target
// as it was and removes the temporary, so no later read takes half a file for whole.

// The temporary file that a write of `path` fills before it replaces `path`.
std::string temporaryPathFor(const std::string& path);

// Fills the temporary file of `path` through `write`, each few megabytes sent on
// their way to the disk as soon as they are written. False, with the temporary removed, when it cannot be created or any
// of it could not be written; an exception of `write` comes out with the
// temporary removed.
bool writeTemporaryFile(const std::string& path, const std::function<void(std::ostream&)>& write);

// Waits until the temporary file of `path` is on the disk; false when the system
// reports that it could not be, and the temporary is then removed.
bool syncTemporaryFile(const std::string& path);

// Renames the synced temporary file of `path` over `path`; false when that
// fails, and the temporary is then removed.
bool putTemporaryInPlace(const std::string& path);

// Removes the temporary file of `path`, if there is one.
void discardTemporaryFile(const std::string& path);

// All three steps: `path` is replaced by a whole file or not at all.
bool replaceFile(const std::string& path, const std::function<void(std::ostream&)>& write);
bool replaceFileContents(const std::string& path, const std::string& contents);

} // namespace shellfem
