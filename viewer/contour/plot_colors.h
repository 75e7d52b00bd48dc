#pragma once

#include "platform/canvas.h"
#include "platform/color_contrast.h"

namespace shellfem::viewer {

// Selected elements and nodes stand out from the contour colours and from either background.
inline const platform::Color kHighlightColor{255, 0, 255};
// Plain element fill when the contour is off, and the fill of selected elements: apart from
// the highlight, so that a selected element's highlighted outline shows on its fill.
inline const platform::Color kPlainFillColor{150, 170, 200};
inline const platform::Color kSelectedFillColor{250, 200, 90};

using platform::contrastingColor;

// A grey that shows on the background without competing with the drawing: the undeformed
// mesh behind the deformed one, the legend panel's edge.
inline platform::Color mutedColor(platform::Color background) {
    return contrastingColor(background).r == 0 ? platform::Color{165, 165, 165}
                                               : platform::Color{105, 105, 105};
}

// The edges drawn on a plain fill: the fill colour darkened, so that neighbours stay apart.
inline platform::Color edgeColorOn(platform::Color fill) {
    const auto dark = [](unsigned char c) { return static_cast<unsigned char>(c * 2 / 5); };
    return {dark(fill.r), dark(fill.g), dark(fill.b)};
}

} // namespace shellfem::viewer
