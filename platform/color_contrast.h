#pragma once

#include "platform/canvas.h"

namespace shellfem::platform {

// Black on a light background, white on a dark one.
inline Color contrastingColor(Color background) {
    const int luminance = (299 * background.r + 587 * background.g + 114 * background.b) / 1000;
    return luminance >= 128 ? Color{0, 0, 0} : Color{255, 255, 255};
}

} // namespace shellfem::platform
