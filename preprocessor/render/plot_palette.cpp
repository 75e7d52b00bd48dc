#include "preprocessor/render/plot_palette.h"

#include "platform/color_contrast.h"

namespace shellfem::preprocessor::render {

namespace {

using platform::Color;

// Distinct hues of medium luminance.
const std::array<Color, 12> kAttributeColours{{{66, 133, 244},
                                               {219, 68, 55},
                                               {15, 157, 88},
                                               {200, 120, 0},
                                               {156, 39, 176},
                                               {0, 150, 160},
                                               {230, 60, 150},
                                               {120, 144, 30},
                                               {130, 90, 75},
                                               {96, 125, 139},
                                               {255, 87, 34},
                                               {80, 95, 200}}};

Color between(Color from, Color to, double t) {
    auto channel = [t](unsigned char a, unsigned char b) {
        return static_cast<unsigned char>(a + t * (b - a) + 0.5);
    };
    return {channel(from.r, to.r), channel(from.g, to.g), channel(from.b, to.b)};
}

} // namespace

PlotPalette plotPalette(Color background) {
    PlotPalette p;
    p.ink = platform::contrastingColor(background);
    p.point = {0, 160, 160};
    p.element = {128, 128, 128};
    p.elementFill = between(background, p.element, 0.25);
    p.node = {150, 120, 0};
    p.force = {225, 110, 0};
    p.load = {150, 90, 255};
    p.restraint = {{{220, 30, 30}, {0, 150, 0}, {70, 110, 255}}};
    p.highlight = {255, 0, 255};
    return p;
}

Color attributeColour(int id, Color background) {
    const int count = static_cast<int>(kAttributeColours.size());
    const Color hue = kAttributeColours[static_cast<std::size_t>(((id % count) + count) % count)];
    return between(background, hue, 0.35);
}

} // namespace shellfem::preprocessor::render
