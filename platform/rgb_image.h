#pragma once

#include "platform/canvas.h"

#include <cstddef>
#include <vector>

namespace shellfem::platform {

// A picture in memory: rows from the top, three bytes (red, green, blue) per pixel.
struct RgbImage {
    int width = 0;
    int height = 0;
    std::vector<unsigned char> rgb;

    RgbImage() = default;
    RgbImage(int w, int h, Color fill = {})
        : width(w), height(h), rgb(static_cast<std::size_t>(w) * h * 3) {
        for (std::size_t i = 0; i < rgb.size(); i += 3) {
            rgb[i] = fill.r;
            rgb[i + 1] = fill.g;
            rgb[i + 2] = fill.b;
        }
    }
    Color at(int x, int y) const {
        const std::size_t i = (static_cast<std::size_t>(y) * width + x) * 3;
        return {rgb[i], rgb[i + 1], rgb[i + 2]};
    }
};

} // namespace shellfem::platform
