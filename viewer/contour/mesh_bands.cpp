#include "viewer/contour/mesh_bands.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <utility>

namespace shellfem::viewer {

using platform::PixelPoint;

void joinRoundedValues(const ContourModel& model, std::vector<DrawnElement>& drawn) {
    constexpr double kRelativeTolerance = 1e-5;
    struct Corner {
        std::size_t element, drawnIndex, corner;
    };
    std::vector<std::vector<Corner>> atNode(model.nodes.size());
    for (std::size_t i = 0; i < drawn.size(); ++i)
        for (std::size_t k = 0; k < 4; ++k) {
            const auto node = static_cast<std::size_t>(model.elements[drawn[i].index].nodes[k]);
            if (node < atNode.size())
                atNode[node].push_back({drawn[i].index, i, k});
        }
    for (std::vector<Corner>& corners : atNode) {
        // In element order, so that the result does not depend on the view.
        std::sort(corners.begin(), corners.end(),
                  [](const Corner& a, const Corner& b) { return a.element < b.element; });
        for (std::size_t j = 1; j < corners.size(); ++j) {
            double& value = drawn[corners[j].drawnIndex].values[corners[j].corner];
            for (std::size_t i = 0; i < j; ++i) {
                const double earlier = drawn[corners[i].drawnIndex].values[corners[i].corner];
                if (std::fabs(value - earlier) <=
                    kRelativeTolerance * std::max(std::fabs(value), std::fabs(earlier))) {
                    value = earlier;
                    break;
                }
            }
        }
    }
}

namespace {

std::array<ValuedPoint, 4> valuedCorners(const DrawnElement& d) {
    std::array<ValuedPoint, 4> corners;
    for (std::size_t k = 0; k < 4; ++k)
        corners[k] = {{d.corners[k].x, d.corners[k].y}, d.values[k]};
    return corners;
}

// For every drawn element, the limit crossings its neighbours have on each shared edge and
// it has not.
std::vector<EdgePoints> sharedEdgePoints(const ContourModel& model,
                                         const std::vector<DrawnElement>& drawn,
                                         const std::vector<double>& limits) {
    struct Side {
        std::size_t drawnIndex, edge;
        std::vector<PixelPoint> crossings;
    };
    std::map<std::pair<int, int>, std::vector<Side>> sides;
    for (std::size_t i = 0; i < drawn.size(); ++i) {
        const std::array<ValuedPoint, 4> corners = valuedCorners(drawn[i]);
        const ContourElement& element = model.elements[drawn[i].index];
        for (std::size_t k = 0; k < 4; ++k) {
            const int a = element.nodes[k], b = element.nodes[(k + 1) % 4];
            sides[{std::min(a, b), std::max(a, b)}].push_back(
                {i, k, limitCrossings(corners[k], corners[(k + 1) % 4], limits)});
        }
    }
    std::vector<EdgePoints> shared(drawn.size());
    for (const auto& [edge, onEdge] : sides)
        for (const Side& side : onEdge)
            for (const Side& other : onEdge)
                for (const PixelPoint& p : other.crossings) {
                    const auto same = [&p](const PixelPoint& q) {
                        return q.x == p.x && q.y == p.y;
                    };
                    if (&other != &side &&
                        std::none_of(side.crossings.begin(), side.crossings.end(), same))
                        shared[side.drawnIndex][side.edge].push_back(p);
                }
    return shared;
}

} // namespace

std::vector<std::vector<BandPiece>> meshBandPieces(const ContourModel& model,
                                                   const std::vector<DrawnElement>& drawn,
                                                   const std::vector<double>& limits) {
    const std::vector<EdgePoints> shared = sharedEdgePoints(model, drawn, limits);
    std::vector<std::vector<BandPiece>> pieces(drawn.size());
    for (std::size_t i = 0; i < drawn.size(); ++i)
        pieces[i] = splitQuadIntoBands(valuedCorners(drawn[i]), limits, shared[i]);
    return pieces;
}

} // namespace shellfem::viewer
