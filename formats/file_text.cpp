#include "formats/file_text.h"

#include <filesystem>
#include <fstream>
#include <istream>

namespace shellfem {

std::string readAllText(std::istream& in) {
    std::string text;
    char block[1 << 16];
    while (in.read(block, sizeof block) || in.gcount() > 0)
        text.append(block, static_cast<std::size_t>(in.gcount()));
    return text;
}

bool readFileText(const std::string& path, std::string& text) {
    text.clear();
    std::error_code ignored;
    if (std::filesystem::is_directory(path, ignored))
        return false;
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return false;
    text = readAllText(in);
    if (in.bad()) {
        text.clear();
        return false;
    }
    return true;
}

} // namespace shellfem
