#include "preprocessor/render/symbol_geometry.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace shellfem::preprocessor::render {

namespace {

using platform::PixelPoint;

constexpr double kWedgeLength = 12.0;
constexpr double kWedgeHalfWidth = 6.0;
constexpr double kRingRadius = 3.5;
constexpr double kRingGap = 2.0;

PixelPoint along(PixelPoint from, PixelPoint unit, double distance) {
    return {from.x + unit.x * distance, from.y + unit.y * distance};
}

// The triangle with its point at `tip`, its base `length` back along -`unit`.
std::vector<PixelPoint> triangle(PixelPoint tip, PixelPoint unit, double length, double halfWidth) {
    const PixelPoint base = along(tip, unit, -length);
    const PixelPoint across{-unit.y, unit.x};
    return {tip, along(base, across, halfWidth), along(base, across, -halfWidth)};
}

} // namespace

double arrowLength(double magnitude, double largest, LengthRange range) {
    if (!(largest > 0.0))
        return range.shortest;
    return std::clamp(range.longest * std::abs(magnitude) / largest, range.shortest, range.longest);
}

bool seenEndOn(const ScreenVector& direction) {
    return std::hypot(direction.x, direction.y) < kEndOnLimit;
}

Arrow arrowOnto(PixelPoint tip, const ScreenVector& direction, double length, int heads) {
    return {{tip.x - direction.x * length, tip.y - direction.y * length}, tip, heads};
}

VectorSymbol vectorSymbol(PixelPoint at, const ScreenVector& direction, double length, int heads) {
    VectorSymbol symbol;
    symbol.endOn = seenEndOn(direction);
    symbol.towardsViewer = direction.depth > 0.0;
    symbol.arrow = symbol.endOn ? Arrow{at, at, heads} : arrowOnto(at, direction, length, heads);
    return symbol;
}

std::vector<std::vector<PixelPoint>> arrowHeads(const Arrow& arrow, HeadSize size) {
    const double dx = arrow.tip.x - arrow.tail.x;
    const double dy = arrow.tip.y - arrow.tail.y;
    const double shaft = std::hypot(dx, dy);
    if (shaft <= 0.0)
        return {};
    const PixelPoint unit{dx / shaft, dy / shaft};
    // Heads never reach past the tail.
    const double length = std::min(size.length, shaft / arrow.heads);
    const double halfWidth = size.halfWidth * length / size.length;
    std::vector<std::vector<PixelPoint>> heads;
    for (int k = 0; k < arrow.heads; ++k)
        heads.push_back(triangle(along(arrow.tip, unit, -k * length), unit, length, halfWidth));
    return heads;
}

PixelPoint restraintDirection(const ScreenVector& axis, int axisIndex) {
    // Seen end on, the three axes fan out downwards from the node, each its own way.
    static const std::array<PixelPoint, 3> kEndOnDirections{
        {{0.866, -0.5}, {-0.866, -0.5}, {0.0, -1.0}}};
    const double size = std::hypot(axis.x, axis.y);
    if (size < 2.0 * kEndOnLimit)
        return kEndOnDirections[static_cast<std::size_t>(std::clamp(axisIndex, 0, 2))];
    return {axis.x / size, axis.y / size};
}

RestraintGlyph restraintGlyph(PixelPoint node, PixelPoint direction, bool translationHeld,
                              bool rotationHeld) {
    RestraintGlyph glyph;
    glyph.stemEnd = node;
    if (translationHeld)
        glyph.wedge = triangle(node, direction, kWedgeLength, kWedgeHalfWidth);
    if (rotationHeld) {
        const double ringNearSide = kWedgeLength + kRingGap;
        glyph.ringCentre = along(node, direction, -(ringNearSide + kRingRadius));
        glyph.ringRadius = kRingRadius;
        glyph.stemEnd = along(node, direction, -ringNearSide);
    }
    return glyph;
}

} // namespace shellfem::preprocessor::render
