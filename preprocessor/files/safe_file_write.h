#pragma once

#include <string>

namespace shellfem::preprocessor {

// The temporary file that a save writes before it replaces `path`.
std::string temporaryPathFor(const std::string& path);

// Writes `contents` to a temporary file in the folder of `path` and renames it
// over `path` once it is complete. On failure `path` is untouched and the
// temporary file is removed.
bool replaceFileContents(const std::string& path, const std::string& contents);

} // namespace shellfem::preprocessor
