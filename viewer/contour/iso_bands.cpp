#include "viewer/contour/iso_bands.h"

#include "viewer/contour/color_scale.h"
#include "viewer/contour/element_geometry.h"

#include <algorithm>

namespace shellfem::viewer {

namespace {

using platform::PixelPoint;

enum class Keep { AtOrAbove, AtOrBelow };

// Clips a convex polygon with linearly varying values to the side of `limit` that `keep`
// names. The value is linear along each edge, so every cut lies where it equals the limit.
std::vector<ValuedPoint> clipAtLimit(const std::vector<ValuedPoint>& polygon, double limit,
                                     Keep keep) {
    const auto inside = [&](const ValuedPoint& p) {
        return keep == Keep::AtOrAbove ? p.value >= limit : p.value <= limit;
    };
    std::vector<ValuedPoint> clipped;
    clipped.reserve(polygon.size() + 2);
    for (std::size_t i = 0; i < polygon.size(); ++i) {
        const ValuedPoint& from = polygon[i];
        const ValuedPoint& to = polygon[(i + 1) % polygon.size()];
        const bool fromInside = inside(from);
        if (fromInside)
            clipped.push_back(from);
        if (fromInside != inside(to)) {
            // One end strictly on each side, so the values differ.
            const double t = (limit - from.value) / (to.value - from.value);
            clipped.push_back(
                {{from.at.x + t * (to.at.x - from.at.x), from.at.y + t * (to.at.y - from.at.y)},
                 limit});
        }
    }
    return clipped;
}

bool samePoint(const PixelPoint& a, const PixelPoint& b) {
    return a.x == b.x && a.y == b.y;
}

// A cut through a corner repeats that corner; drops the repeats, and the piece when
// fewer than three points remain (it has no area then).
void addPiece(int band, const std::vector<ValuedPoint>& polygon, std::vector<BandPiece>& pieces) {
    BandPiece piece;
    piece.band = band;
    for (const ValuedPoint& p : polygon)
        if (piece.polygon.empty() || !samePoint(piece.polygon.back(), p.at))
            piece.polygon.push_back(p.at);
    while (piece.polygon.size() > 1 && samePoint(piece.polygon.front(), piece.polygon.back()))
        piece.polygon.pop_back();
    if (piece.polygon.size() >= 3)
        pieces.push_back(std::move(piece));
}

} // namespace

void splitTriangleIntoBands(const ValuedPoint& a, const ValuedPoint& b, const ValuedPoint& c,
                            const std::vector<double>& limits, std::vector<BandPiece>& pieces) {
    const int bandCount = static_cast<int>(limits.size()) - 1;
    if (bandCount < 1)
        return;
    const double low = std::min({a.value, b.value, c.value});
    const double high = std::max({a.value, b.value, c.value});
    const std::vector<ValuedPoint> triangle = {a, b, c};
    if (low == high) {
        // A level triangle lies in one band, even when its value sits on a limit.
        addPiece(bandOfValue(limits, low), triangle, pieces);
        return;
    }
    for (int band = 0; band < bandCount; ++band) {
        const bool hasLower = band > 0;
        const bool hasUpper = band < bandCount - 1;
        const double lower = limits[static_cast<std::size_t>(band)];
        const double upper = limits[static_cast<std::size_t>(band) + 1];
        // A band the triangle's values only touch meets it in a line or a point.
        if ((hasLower && high <= lower) || (hasUpper && low >= upper))
            continue;
        std::vector<ValuedPoint> piece = triangle;
        if (hasLower && low < lower)
            piece = clipAtLimit(piece, lower, Keep::AtOrAbove);
        if (hasUpper && high > upper)
            piece = clipAtLimit(piece, upper, Keep::AtOrBelow);
        addPiece(band, piece, pieces);
    }
}

std::vector<BandPiece> splitQuadIntoBands(const std::array<ValuedPoint, 4>& corners,
                                          const std::vector<double>& limits) {
    ValuedPoint centre;
    centre.at.x = cornerMean(corners, [](const ValuedPoint& p) { return p.at.x; });
    centre.at.y = cornerMean(corners, [](const ValuedPoint& p) { return p.at.y; });
    centre.value = cornerMean(corners, [](const ValuedPoint& p) { return p.value; });
    std::vector<BandPiece> pieces;
    for (std::size_t k = 0; k < 4; ++k)
        splitTriangleIntoBands(corners[k], corners[(k + 1) % 4], centre, limits, pieces);
    return pieces;
}

} // namespace shellfem::viewer
