#include "viewer/contour/iso_bands.h"

#include "viewer/contour/color_scale.h"
#include "viewer/contour/element_geometry.h"

#include <algorithm>

namespace shellfem::viewer {

namespace {

using platform::PixelPoint;

// The point of edge p-q where the linearly varying value equals `limit` (strictly between
// the end values). The ends are taken in one fixed order, so that the two faces sharing
// an edge compute the very same point and their pieces meet without a gap.
PixelPoint crossing(const ValuedPoint& p, const ValuedPoint& q, double limit) {
    const bool inOrder = p.at.x < q.at.x || (p.at.x == q.at.x && p.at.y <= q.at.y);
    const ValuedPoint& a = inOrder ? p : q;
    const ValuedPoint& b = inOrder ? q : p;
    const double t = (limit - a.value) / (b.value - a.value);
    return {a.at.x + t * (b.at.x - a.at.x), a.at.y + t * (b.at.y - a.at.y)};
}

bool strictlyBetween(double v, double p, double q) {
    return (p < v && v < q) || (q < v && v < p);
}

bool samePoint(const PixelPoint& a, const PixelPoint& b) {
    return a.x == b.x && a.y == b.y;
}

// A point on the way along an edge, at parameter `along` from its start.
struct EdgeStop {
    double along;
    PixelPoint at;
};

// The part of the triangle whose values lie in [lower, upper], walked along the triangle's
// boundary: each corner inside the range, then the limits crossed on the way to the next
// corner and, on the first edge, the extra points whose value lies in the range.
std::vector<PixelPoint> slabOfTriangle(const std::array<ValuedPoint, 3>& corners, double lower,
                                       double upper, const std::vector<PixelPoint>& onFirstEdge) {
    std::vector<PixelPoint> polygon;
    std::vector<EdgeStop> stops;
    for (std::size_t i = 0; i < 3; ++i) {
        const ValuedPoint& p = corners[i];
        const ValuedPoint& q = corners[(i + 1) % 3];
        if (p.value >= lower && p.value <= upper)
            polygon.push_back(p.at);
        stops.clear();
        for (double limit : {lower, upper})
            if (strictlyBetween(limit, p.value, q.value))
                stops.push_back({(limit - p.value) / (q.value - p.value), crossing(p, q, limit)});
        const double dx = q.at.x - p.at.x, dy = q.at.y - p.at.y, squared = dx * dx + dy * dy;
        if (i == 0 && squared > 0.0)
            for (const PixelPoint& extra : onFirstEdge) {
                const double along = ((extra.x - p.at.x) * dx + (extra.y - p.at.y) * dy) / squared;
                const double value = p.value + along * (q.value - p.value);
                if (along > 0.0 && along < 1.0 && value >= lower && value <= upper)
                    stops.push_back({along, extra});
            }
        std::sort(stops.begin(), stops.end(),
                  [](const EdgeStop& a, const EdgeStop& b) { return a.along < b.along; });
        for (const EdgeStop& stop : stops)
            if (polygon.empty() || !samePoint(polygon.back(), stop.at))
                polygon.push_back(stop.at);
    }
    return polygon;
}

// A cut through a corner repeats that corner; drops the repeats, and the piece when
// fewer than three points remain (it has no area then).
void addPiece(int band, const std::vector<PixelPoint>& polygon, std::vector<BandPiece>& pieces) {
    BandPiece piece;
    piece.band = band;
    for (const PixelPoint& p : polygon)
        if (piece.polygon.empty() || !samePoint(piece.polygon.back(), p))
            piece.polygon.push_back(p);
    while (piece.polygon.size() > 1 && samePoint(piece.polygon.front(), piece.polygon.back()))
        piece.polygon.pop_back();
    if (piece.polygon.size() >= 3)
        pieces.push_back(std::move(piece));
}

} // namespace

std::vector<PixelPoint> limitCrossings(const ValuedPoint& a, const ValuedPoint& b,
                                       const std::vector<double>& limits) {
    std::vector<PixelPoint> points;
    for (std::size_t i = 1; i + 1 < limits.size(); ++i)
        if (strictlyBetween(limits[i], a.value, b.value))
            points.push_back(crossing(a, b, limits[i]));
    return points;
}

void splitTriangleIntoBands(const ValuedPoint& a, const ValuedPoint& b, const ValuedPoint& c,
                            const std::vector<double>& limits, std::vector<BandPiece>& pieces,
                            const std::vector<PixelPoint>& onFirstEdge) {
    const int bandCount = static_cast<int>(limits.size()) - 1;
    if (bandCount < 1)
        return;
    const double low = std::min({a.value, b.value, c.value});
    const double high = std::max({a.value, b.value, c.value});
    const std::array<ValuedPoint, 3> triangle = {a, b, c};
    if (low == high) {
        // A level triangle lies in one band, even when its value sits on a limit.
        addPiece(bandOfValue(limits, low), slabOfTriangle(triangle, low, high, onFirstEdge),
                 pieces);
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
        // The end bands take every value beyond the range.
        addPiece(
            band,
            slabOfTriangle(triangle, hasLower ? lower : low, hasUpper ? upper : high, onFirstEdge),
            pieces);
    }
}

std::vector<BandPiece> splitQuadIntoBands(const std::array<ValuedPoint, 4>& corners,
                                          const std::vector<double>& limits,
                                          const EdgePoints& shared) {
    ValuedPoint centre;
    centre.at.x = cornerMean(corners, [](const ValuedPoint& p) { return p.at.x; });
    centre.at.y = cornerMean(corners, [](const ValuedPoint& p) { return p.at.y; });
    centre.value = cornerMean(corners, [](const ValuedPoint& p) { return p.value; });
    std::vector<BandPiece> pieces;
    for (std::size_t k = 0; k < 4; ++k)
        splitTriangleIntoBands(corners[k], corners[(k + 1) % 4], centre, limits, pieces, shared[k]);
    return pieces;
}

} // namespace shellfem::viewer
