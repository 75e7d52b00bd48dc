#include "preprocessor/app/status_line.h"

#include "preprocessor/app/corvanta_commands.h"
#include "preprocessor/app/model_picking.h"
#include "preprocessor/app/picking_controls.h"
#include "preprocessor/files/kvx_file.h"

namespace shellfem::preprocessor::app {

namespace {

std::string position(const Vec3& p) {
    return "(" + fixedFiveDecimals(p.x) + ", " + fixedFiveDecimals(p.y) + ", " +
           fixedFiveDecimals(p.z) + ")";
}

const char* nounOf(PickTarget target) {
    switch (target) {
    case PickTarget::Points:
    case PickTarget::Outline:
        return "point";
    case PickTarget::Polygons:
        return "polygon";
    case PickTarget::Nodes:
        return "node";
    case PickTarget::None:
        break;
    }
    return "item";
}

// How the mouse picks in a picking mode.
std::string pickingHelp(int mode, bool rectangle) {
    const PickTarget target = targetOf(mode);
    const std::string noun = nounOf(target);
    if (target == PickTarget::Outline)
        return mode == kModeOutlineAdd
                   ? "New polygon: click its corner points in order (Ctrl+click takes one out, "
                     "Backspace the last one, Esc all)"
                   : "New polygon: click a corner point to take it out (Ctrl+click adds one)";
    const bool unpicking = unpicks(mode, false);
    const std::string action = unpicking ? "Unpick " : "Pick ";
    const std::string gesture = rectangle ? "a rectangle (drag, or click two corners)" : "a click";
    return action + noun + "s: " + gesture + (unpicking ? " unpicks" : " picks") +
           ", with Ctrl held it " + (unpicking ? "picks" : "unpicks") + "; Esc clears the picks";
}

} // namespace

std::string describeItem(const Model& model, const render::ItemRef& item) {
    const ModelData& data = model.data();
    const auto i = static_cast<std::size_t>(item.id);
    switch (item.kind) {
    case render::ItemKind::Point:
        return "point " + std::to_string(item.id) + " " + position(data.points[i].position);
    case render::ItemKind::Node:
        return "node " + std::to_string(item.id) + " " + position(data.nodes[i].position);
    case render::ItemKind::Polygon: {
        const Polygon& p = data.polygons[i];
        return "polygon " + std::to_string(item.id) + " (" + std::to_string(p.vertices.size()) +
               " corners, material " + std::to_string(p.material) + ", thickness " +
               std::to_string(p.thickness) + (p.meshed ? ", meshed)" : ")");
    }
    case render::ItemKind::Element:
        return "element " + std::to_string(item.id);
    }
    return {};
}

std::string statusText(const Model& model, int mode, bool rectanglePicking,
                       const std::optional<render::ItemRef>& hovered) {
    switch (mode) {
    case 0:
        return "P: pan   Z: zoom window   A: fit   O: angles of the View Kit   arrows: turn the "
               "view   wheel: zoom";
    case 1:
        return "Pan: click where to take the view and where to put it (or drag)";
    case 2:
        return "Zoom window: click two corners (or drag)";
    default:
        break;
    }
    const std::vector<int>* picked = picksOf(model.selection(), mode);
    if (!picked)
        return {};
    std::string text = pickingHelp(mode, rectanglePicking) + "  |  " +
                       describePicks(*picked, nounOf(targetOf(mode)), 8);
    if (hovered)
        text += "  |  under the cursor: " + describeItem(model, *hovered);
    return text;
}

} // namespace shellfem::preprocessor::app
