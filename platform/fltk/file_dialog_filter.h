#pragma once

#include <string>

namespace shellfem::platform::fltk {

// "Text Files (*.txt)" -> "Text Files\t*.txt": FLTK's filter takes the patterns
// after a tab and shows them after the name itself; a Windows-style
// "Name\0*.ext" pair is accepted too.
std::string toFltkFilter(const std::string& windowsFilter);

// Adds "." + extension to a chosen file name whose last part has no extension,
// as the Windows file dialogs do with their default extension.
std::string withDefaultExtension(const std::string& path, const std::string& extension);

} // namespace shellfem::platform::fltk
