#include "preprocessor/app/dialogs/create_polygon_dialog.h"

#include "formats/number_format.h"
#include "preprocessor/app/corvanta_commands.h"
#include "preprocessor/app/dialogs/point_rows.h"
#include "preprocessor/app/picking_controls.h"

namespace shellfem::preprocessor::app {

std::vector<std::string> materialChoices(const ModelData& data) {
    std::vector<std::string> items;
    for (std::size_t i = 0; i < data.materials.size(); ++i)
        items.push_back("#" + std::to_string(i) + " E=" + formatGeneral(data.materials[i].E) +
                        " Mu=" + formatGeneral(data.materials[i].Mu));
    return items;
}

std::vector<std::string> thicknessChoices(const ModelData& data) {
    std::vector<std::string> items;
    for (std::size_t i = 0; i < data.thicknesses.size(); ++i)
        items.push_back("#" + std::to_string(i) + " TK=" + formatGeneral(data.thicknesses[i]));
    return items;
}

namespace {

std::string clickHint(int mode) {
    switch (mode) {
    case kModeOutlineAdd:
        return "A click adds the nearest point as the next corner; Backspace takes the last "
               "one back, Escape clears them.";
    case kModeOutlineRemove:
        return "A click takes the nearest point out of the corners.";
    case kModePickPolygons:
        return "A click picks a polygon, Control+click unpicks it.";
    default:
        return "The view pans or zooms now; choose Add corners to go on.";
    }
}

// Offers `items` in the combo box and keeps the user's choice where it still exists.
void offer(platform::Dialog& dialog, int combo, const std::vector<std::string>& items) {
    const int chosen = dialog.selection(combo);
    dialog.setItems(combo, items);
    if (items.empty())
        return;
    const int last = static_cast<int>(items.size()) - 1;
    dialog.setSelection(combo, chosen < 0 ? 0 : std::min(chosen, last));
}

} // namespace

platform::DialogTemplate CreatePolygonDialog::form() const {
    platform::DialogTemplate t;
    t.title = "Create Polygon(s)";
    t.width = 360;
    t.height = 568;
    t.groupBox("Corners, clicked in the view in order", 8, 8, 344, 246);
    t.radio(kAddCorners, 1, "Add corners", 18, 28, 150, 22);
    t.radio(kRemoveCorners, 1, "Remove corners", 176, 28, 160, 22);
    t.listView(kCorners, {"#", "Point", "X", "Y", "Z"}, 18, 54, 324, 132);
    t.button(kUndoLast, "Undo last point", 18, 192, 150, 26);
    t.button(kClearCorners, "Clear", 176, 192, 90, 26);
    t.label("", 18, 222, 324, 30, kClickHint);

    t.groupBox("Material and thickness", 8, 262, 344, 112);
    t.label("Material", 18, 282, 80, 24);
    t.comboBox(kMaterial, {}, 100, 282, 242, 24);
    t.label("Thickness", 18, 310, 80, 24);
    t.comboBox(kThickness, {}, 100, 310, 242, 24);
    t.button(kCreate, "Create", 252, 340, 90, 28);

    t.groupBox("Polygons picked in the view", 8, 382, 344, 104);
    t.radio(kPickPolygons, 1, "Pick polygons", 18, 402, 200, 22);
    t.label("", 18, 426, 324, 22, kPickedPolygons);
    t.button(kSetAttributes, "Give them this material and thickness", 18, 452, 324, 26);

    addViewButtons(t, 8, 500);
    t.button(kClose, "Close", 262, 532, 90, 28);
    return t;
}

void CreatePolygonDialog::show(platform::Dialog& dialog) {
    const int mode = context().pickingMode();
    dialog.setChecked(kAddCorners, mode == kModeOutlineAdd);
    dialog.setChecked(kRemoveCorners, mode == kModeOutlineRemove);
    dialog.setChecked(kPickPolygons, mode == kModePickPolygons);
    dialog.setText(kClickHint, clickHint(mode));
    showCorners(dialog);
    showAttributes(dialog);
    dialog.setText(kPickedPolygons, describePicks(context().picks().polygons, "polygon"));
}

void CreatePolygonDialog::showCorners(platform::Dialog& dialog) {
    const std::vector<int>& corners = context().picks().polygonOutline;
    std::vector<std::vector<std::string>> rows;
    for (std::size_t i = 0; i < corners.size(); ++i) {
        rows.push_back(pointRow(context().model().data(), corners[i]));
        rows.back().insert(rows.back().begin(), std::to_string(i + 1));
    }
    dialog.setRows(kCorners, rows);
    dialog.setEnabled(kUndoLast, !corners.empty());
    dialog.setEnabled(kClearCorners, !corners.empty());
}

void CreatePolygonDialog::showAttributes(platform::Dialog& dialog) {
    offer(dialog, kMaterial, materialChoices(context().model().data()));
    offer(dialog, kThickness, thicknessChoices(context().model().data()));
}

void CreatePolygonDialog::onButton(platform::Dialog& dialog, int controlId) {
    if (context().handleViewButton(controlId))
        return;
    switch (controlId) {
    case kAddCorners:
        context().setPickingMode(kModeOutlineAdd);
        break;
    case kRemoveCorners:
        context().setPickingMode(kModeOutlineRemove);
        break;
    case kPickPolygons:
        context().setPickingMode(kModePickPolygons);
        break;
    case kUndoLast:
    case kClearCorners:
        changeCorners(controlId == kUndoLast);
        break;
    case kCreate:
        create(dialog);
        break;
    case kSetAttributes:
        setAttributes(dialog);
        break;
    default:
        break;
    }
}

void CreatePolygonDialog::changeCorners(bool dropLastOnly) {
    Selection picks = context().picks();
    if (dropLastOnly && !picks.polygonOutline.empty())
        picks.polygonOutline.pop_back();
    else
        picks.polygonOutline.clear();
    context().setPicks(picks);
}

std::optional<CreatePolygonDialog::Attributes>
CreatePolygonDialog::chosenAttributes(const platform::Dialog& dialog) {
    const ModelData& data = context().model().data();
    const int material = dialog.selection(kMaterial);
    const int thickness = dialog.selection(kThickness);
    // A combo box without a choice: none chosen, or none to choose from.
    auto unchosen = [&](int chosen, std::size_t count, const std::string& field,
                        const std::string& noun) {
        if (chosen >= 0 && static_cast<std::size_t>(chosen) < count)
            return false;
        context().warn("The field \"" + field + "\" must name a " + noun +
                       (count == 0 ? "; there is none yet: add one with Modeling > Material&Thick."
                                   : "; choose one."));
        return true;
    };
    if (unchosen(material, data.materials.size(), "Material", "material") ||
        unchosen(thickness, data.thicknesses.size(), "Thickness", "thickness"))
        return std::nullopt;
    return Attributes{material, thickness};
}

void CreatePolygonDialog::create(platform::Dialog& dialog) {
    const std::optional<Attributes> attributes = chosenAttributes(dialog);
    if (!attributes)
        return;
    const std::vector<int> corners = context().picks().polygonOutline;
    const EditResult created = context().edit([&](Model& m) {
        return m.createPolygon(corners, attributes->material, attributes->thickness);
    });
    if (!created.ok())
        return;
    Selection picks = context().picks();
    picks.polygonOutline.clear();
    context().setPicks(picks);
}

void CreatePolygonDialog::setAttributes(platform::Dialog& dialog) {
    const std::vector<int> polygons = context().picks().polygons;
    if (polygons.empty()) {
        context().warn(
            "No polygon is picked: choose \"Pick polygons\" and click them in the view.");
        return;
    }
    const std::optional<Attributes> attributes = chosenAttributes(dialog);
    if (!attributes)
        return;
    context().edit([&](Model& m) {
        return m.setPolygonAttributes(polygons, attributes->material, attributes->thickness);
    });
}

} // namespace shellfem::preprocessor::app
