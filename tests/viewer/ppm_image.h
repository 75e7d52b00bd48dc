#pragma once

// A screenshot as the GUI tests take it: a binary PPM (P6) written by ImageMagick's convert.
#include <fstream>
#include <string>
#include <tuple>
#include <vector>

namespace pelunar_gui_test {

struct Image {
    int width = 0, height = 0;
    std::vector<unsigned char> rgb;
    std::tuple<int, int, int> at(int x, int y) const {
        const std::size_t i = (static_cast<std::size_t>(y) * width + x) * 3;
        return {rgb[i], rgb[i + 1], rgb[i + 2]};
    }
};

// The next header number, past blanks and "#" comments (convert writes one).
inline bool headerNumber(std::istream& in, int& value) {
    for (;;) {
        in >> std::ws;
        if (in.peek() != '#')
            break;
        std::string comment;
        std::getline(in, comment);
    }
    return static_cast<bool>(in >> value);
}

inline bool readPpm(const char* path, Image& image) {
    std::ifstream in(path, std::ios::binary);
    char magic[3] = {0, 0, 0};
    in.read(magic, 2);
    int maxValue = 0;
    if (!in || std::string(magic) != "P6" || !headerNumber(in, image.width) ||
        !headerNumber(in, image.height) || !headerNumber(in, maxValue))
        return false;
    if (maxValue != 255 || image.width <= 0 || image.height <= 0 || image.width > 10000 ||
        image.height > 10000)
        return false;
    in.get();
    image.rgb.resize(static_cast<std::size_t>(image.width) * image.height * 3);
    in.read(reinterpret_cast<char*>(image.rgb.data()),
            static_cast<std::streamsize>(image.rgb.size()));
    return static_cast<std::size_t>(in.gcount()) == image.rgb.size();
}

inline bool saturated(const std::tuple<int, int, int>& c) {
    const auto [r, g, b] = c;
    const int hi = std::max(r, std::max(g, b)), lo = std::min(r, std::min(g, b));
    return hi - lo >= 80;
}

} // namespace pelunar_gui_test
