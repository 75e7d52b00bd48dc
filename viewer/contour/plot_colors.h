#pragma once

#include "platform/canvas.h"

namespace shellfem::viewer {

// Selected elements and nodes stand out from the contour colours and from either background.
inline const platform::Color kHighlightColor{255, 0, 255};
// Plain element fill when the contour is off.
inline const platform::Color kPlainFillColor{150, 170, 200};

// Black on a light background, white on a dark one.
inline platform::Color contrastingColor(platform::Color background) {
    const int luminance = (299 * background.r + 587 * background.g + 114 * background.b) / 1000;
    return luminance >= 128 ? platform::Color{0, 0, 0} : platform::Color{255, 255, 255};
}

} // namespace shellfem::viewer
