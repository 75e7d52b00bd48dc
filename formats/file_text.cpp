#include "formats/file_text.h"

#include <filesystem>
#include <fstream>
#include <istream>

namespace shellfem {

namespace {

void appendRest(std::istream& in, std::string& text) {
    char block[1 << 16];
    while (in.read(block, sizeof block) || in.gcount() > 0)
        text.append(block, static_cast<std::size_t>(in.gcount()));
}

} // namespace

std::string readAllText(std::istream& in) {
    std::string text;
    appendRest(in, text);
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
    // The size on the disk is what the file really holds: room for it at once
    // spares the copies of growing.
    if (const auto size = std::filesystem::file_size(path, ignored); !ignored)
        text.reserve(static_cast<std::size_t>(size));
    appendRest(in, text);
    if (in.bad()) {
        text.clear();
        return false;
    }
    return true;
}

} // namespace shellfem
