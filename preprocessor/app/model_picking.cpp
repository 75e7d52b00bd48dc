#include "preprocessor/app/model_picking.h"

#include "preprocessor/app/corvanta_commands.h"
#include "view3d/picking.h"

namespace shellfem::preprocessor::app {

namespace {

render::ItemKind kindOf(PickTarget target) {
    switch (target) {
    case PickTarget::Polygons:
        return render::ItemKind::Polygon;
    case PickTarget::Nodes:
        return render::ItemKind::Node;
    default:
        return render::ItemKind::Point;
    }
}

// A polygon's corners on screen, when it is shown and every corner is known.
view3d::FaceCorners polygonCorners(const Model& model, const render::ProjectedModel& screen) {
    return [&model, &screen](std::size_t p, std::vector<view3d::ScreenPoint>& corners) {
        const Polygon& polygon = model.data().polygons[p];
        if (!polygon.visible)
            return false;
        corners.clear();
        for (int v : polygon.vertices)
            corners.push_back(screen.points[static_cast<std::size_t>(v)]);
        return true;
    };
}

view3d::Eligible shownPoints(const ModelData& data) {
    return [&data](std::size_t i) { return data.points[i].visible; };
}

view3d::Eligible shownNodes(const ModelData& data) {
    return [&data](std::size_t i) { return data.nodes[i].visible; };
}

} // namespace

PickTarget targetOf(int mode) {
    switch (mode) {
    case kModePickPoints:
    case kModeUnpickPoints:
        return PickTarget::Points;
    case kModeOutlineAdd:
    case kModeOutlineRemove:
        return PickTarget::Outline;
    case kModePickPolygons:
    case kModeUnpickPolygons:
        return PickTarget::Polygons;
    case kModePickNodes:
    case kModeUnpickNodes:
        return PickTarget::Nodes;
    default:
        return PickTarget::None;
    }
}

bool unpicks(int mode, bool control) {
    const bool evenMode = mode % 2 == 0;
    return evenMode != control;
}

std::vector<Vec3> viewPositions(const ModelData& data) {
    std::vector<Vec3> positions;
    positions.reserve(data.points.size() + data.nodes.size());
    for (const GeometricPoint& p : data.points)
        positions.push_back(p.position);
    for (const Node& n : data.nodes)
        positions.push_back(n.position);
    return positions;
}

std::optional<render::ItemRef> itemAt(const Model& model, const render::ProjectedModel& screen,
                                      int mode, platform::PixelPoint at) {
    const ModelData& data = model.data();
    const PickTarget target = targetOf(mode);
    int id = -1;
    switch (target) {
    case PickTarget::Points:
    case PickTarget::Outline:
        id = view3d::nearestPoint(screen.points, at, kPickTolerancePixels, shownPoints(data));
        break;
    case PickTarget::Nodes:
        id = view3d::nearestPoint(screen.nodes, at, kPickTolerancePixels, shownNodes(data));
        break;
    case PickTarget::Polygons:
        id = view3d::frontFaceAt(data.polygons.size(), polygonCorners(model, screen), at);
        break;
    case PickTarget::None:
        break;
    }
    if (id < 0)
        return std::nullopt;
    return render::ItemRef{kindOf(target), id};
}

std::vector<int> itemsInRectangle(const Model& model, const render::ProjectedModel& screen,
                                  int mode, platform::PixelPoint a, platform::PixelPoint b) {
    const ModelData& data = model.data();
    switch (targetOf(mode)) {
    case PickTarget::Points:
    case PickTarget::Outline:
        return view3d::pointsInRectangle(screen.points, a, b, shownPoints(data));
    case PickTarget::Nodes:
        return view3d::pointsInRectangle(screen.nodes, a, b, shownNodes(data));
    case PickTarget::Polygons:
        return view3d::facesInRectangle(data.polygons.size(), polygonCorners(model, screen), a, b);
    case PickTarget::None:
        break;
    }
    return {};
}

std::vector<int> shownItems(const Model& model, int mode) {
    const ModelData& data = model.data();
    std::vector<int> ids;
    auto collect = [&ids](const auto& records) {
        for (std::size_t i = 0; i < records.size(); ++i)
            if (records[i].visible)
                ids.push_back(static_cast<int>(i));
    };
    switch (targetOf(mode)) {
    case PickTarget::Points:
        collect(data.points);
        break;
    case PickTarget::Polygons:
        collect(data.polygons);
        break;
    case PickTarget::Nodes:
        collect(data.nodes);
        break;
    case PickTarget::Outline: // a corner sequence is clicked in order, never taken wholesale
    case PickTarget::None:
        break;
    }
    return ids;
}

namespace {
// The mode's list in `picks`, const or not as `picks` is.
template <class Picks> auto listOf(Picks& picks, int mode) -> decltype(&picks.points) {
    switch (targetOf(mode)) {
    case PickTarget::Points:
        return &picks.points;
    case PickTarget::Outline:
        return &picks.polygonOutline;
    case PickTarget::Polygons:
        return &picks.polygons;
    case PickTarget::Nodes:
        return &picks.nodes;
    case PickTarget::None:
        break;
    }
    return nullptr;
}
} // namespace

const std::vector<int>* picksOf(const Selection& picks, int mode) {
    return listOf(picks, mode);
}

void changePicks(Selection& picks, int mode, const std::vector<int>& ids, bool unpick) {
    std::vector<int>* list = listOf(picks, mode);
    if (!list)
        return;
    if (unpick)
        shellfem::preprocessor::unpick(*list, ids);
    else
        shellfem::preprocessor::pick(*list, ids);
}

} // namespace shellfem::preprocessor::app
