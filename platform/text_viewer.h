#pragma once

#include <string>

namespace shellfem::platform {

// Shows a text file to the user beside the program and returns at once: the
// Windows programs' "start notepad.exe SelectedNodeStress.txt".
class TextViewer {
public:
    virtual ~TextViewer() = default;
    virtual void openTextFile(const std::string& path) = 0;
};

} // namespace shellfem::platform
