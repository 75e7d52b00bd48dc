#include "preprocessor/render/load_marks.h"
#include "preprocessor/render/plot_drawing.h"
#include "preprocessor/render/plot_layers.h"

#include <array>
#include <string>

namespace shellfem::preprocessor::render {

namespace {

using platform::PixelPoint;

constexpr int kRingWidth = 2;
constexpr double kGlyphReach = 25.0; // farthest a symbol part lies from its node
constexpr double kKeyMargin = 8.0;
constexpr double kKeyColumnWidth = 44.0;
constexpr double kKeyRowHeight = 24.0;

void drawGlyph(platform::Canvas& canvas, PixelPoint node, const RestraintGlyph& glyph,
               platform::Color color) {
    canvas.setPen(solidPen(color));
    canvas.setBrush(color);
    if (!glyph.wedge.empty())
        canvas.fillPolygon(glyph.wedge);
    if (!glyph.ringCentre)
        return;
    canvas.line(node, glyph.stemEnd);
    canvas.setPen(solidPen(color, kRingWidth));
    canvas.ellipse(*glyph.ringCentre, glyph.ringRadius, glyph.ringRadius, false, true);
}

} // namespace

bool drawRestraints(const PlotContext& c) {
    if (!c.switches.restraints)
        return false;
    std::array<PixelPoint, 3> directions;
    for (std::size_t a = 0; a < 3; ++a) {
        Vec3 axis;
        (a == 0 ? axis.x : a == 1 ? axis.y : axis.z) = 1.0;
        directions[a] = restraintDirection(screenDirection(c.view, axis), static_cast<int>(a));
    }
    const std::vector<Node>& nodes = c.model.data().nodes;
    bool drawn = false;
    for (const Restraint& r : restraintsByNode(c.model.data())) {
        const PixelPoint at = pixelOf(c.projected.nodes[static_cast<std::size_t>(r.node)]);
        if (!nodes[static_cast<std::size_t>(r.node)].visible || !c.nearWindow(at, kGlyphReach))
            continue;
        for (std::size_t a = 0; a < 3; ++a) {
            const bool translation = r.flags[a] == 1;
            const bool rotation = r.flags[a + 3] == 1;
            if (!translation && !rotation)
                continue;
            drawGlyph(c.canvas, at, restraintGlyph(at, directions[a], translation, rotation),
                      c.palette.restraint[a]);
            drawn = true;
        }
    }
    return drawn;
}

// Two rows in the bottom-left corner: the wedges of UX UY UZ, the rings of RX RY RZ.
void drawRestraintKey(const PlotContext& c) {
    static const std::array<const char*, 3> kAxes{"X", "Y", "Z"};
    const PixelPoint up{0.0, -1.0}; // the symbol hangs below its anchor
    c.canvas.setFont({"", kLabelFontSize});
    for (int row = 0; row < 2; ++row) {
        const double top = c.canvas.height() - kKeyMargin - (2 - row) * kKeyRowHeight;
        for (std::size_t a = 0; a < 3; ++a) {
            const PixelPoint anchor{kKeyMargin + 5.0 + a * kKeyColumnWidth, top};
            drawGlyph(c.canvas, anchor, restraintGlyph(anchor, up, row == 0, row == 1),
                      c.palette.restraint[a]);
            c.canvas.setTextColor(c.palette.restraint[a]);
            c.canvas.text({anchor.x + 9.0, top + 2.0},
                          std::string(row == 0 ? "U" : "R") + kAxes[a]);
        }
    }
}

} // namespace shellfem::preprocessor::render
