#pragma once

#include "platform/canvas.h"

#include <array>

namespace shellfem::preprocessor::render {

// The colours of the model's layers. Apart from the ink and the faint element
// fill, which follow the background, each reads on black and on white alike
// (contrast of at least 3 : 1 to both), and the highlight is no layer's colour.
struct PlotPalette {
    platform::Color ink; // contrasts with the background: polygon outlines, keys
    platform::Color point;
    platform::Color element;
    platform::Color elementFill; // the element colour a little way from the background
    platform::Color node;
    platform::Color force;                    // forces and moments
    platform::Color load;                     // distributed loads on polygons and elements
    std::array<platform::Color, 3> restraint; // about or along X, Y, Z
    platform::Color highlight;                // picked and hovered items, the polygon being created
};

PlotPalette plotPalette(platform::Color background);

// The fill of the polygons whose material (or thickness) is `id`: a hue of its
// own (they repeat after a dozen) taken a third of the way from the background,
// so that the layers drawn over the fill still read on it.
platform::Color attributeColour(int id, platform::Color background);

} // namespace shellfem::preprocessor::render
