#include "preprocessor/app/dialogs/plot_controls_dialog.h"

#include <array>

namespace shellfem::preprocessor::app {

namespace {

using Switch = bool render::PlotSwitches::*;
using P = PlotControlsDialog;

struct LayerBox {
    int id;
    Switch layer;
    const char* text;
};

// The check boxes: the eight drawings in the left column, then the numbers.
constexpr std::size_t kDrawings = 8;
constexpr std::array<LayerBox, 12> kLayers{{
    {P::kPoints, &render::PlotSwitches::points, "Geometric points"},
    {P::kPolygons, &render::PlotSwitches::polygons, "Polygons"},
    {P::kElements, &render::PlotSwitches::elements, "Elements"},
    {P::kNodes, &render::PlotSwitches::nodes, "Nodes"},
    {P::kForces, &render::PlotSwitches::forces, "Forces and moments"},
    {P::kPolygonLoads, &render::PlotSwitches::polygonLoads, "Polygon distributed loads"},
    {P::kElementLoads, &render::PlotSwitches::elementLoads, "Element distributed loads"},
    {P::kRestraints, &render::PlotSwitches::restraints, "Boundary conditions"},
    {P::kPointNumbers, &render::PlotSwitches::pointNumbers, "Point numbers"},
    {P::kPolygonNumbers, &render::PlotSwitches::polygonNumbers, "Polygon numbers"},
    {P::kNodeNumbers, &render::PlotSwitches::nodeNumbers, "Node numbers"},
    {P::kElementNumbers, &render::PlotSwitches::elementNumbers, "Element numbers"},
}};

} // namespace

platform::DialogTemplate PlotControlsDialog::form() const {
    platform::DialogTemplate t;
    t.title = "Plot Controls";
    t.width = 420;
    t.height = 384;
    t.groupBox("Layers", 8, 8, 210, 228);
    t.groupBox("Numbers", 226, 8, 186, 128);
    for (std::size_t i = 0; i < kLayers.size(); ++i) {
        const bool left = i < kDrawings;
        const int row = static_cast<int>(left ? i : i - kDrawings);
        t.checkBox(kLayers[i].id, kLayers[i].text, left ? 18 : 236, 28 + row * 25, left ? 196 : 170,
                   22);
    }
    t.groupBox("Background", 226, 144, 186, 92);
    t.radio(kBlack, 2, "Black", 236, 164, 170, 22);
    t.radio(kWhite, 2, "White", 236, 189, 170, 22);
    t.groupBox("Polygon colour mode", 8, 244, 404, 92);
    t.checkBox(kColourMode, "Fill the polygons in the colour of their", 18, 264, 384, 22);
    t.radio(kByMaterial, 1, "material", 40, 289, 150, 22);
    t.radio(kByThickness, 1, "thickness", 200, 289, 150, 22);
    t.button(kClose, "Close", 322, 346, 90, 28);
    return t;
}

void PlotControlsDialog::show(platform::Dialog& dialog) {
    const render::PlotSwitches& s = context().plotSwitches();
    for (const LayerBox& box : kLayers)
        dialog.setChecked(box.id, s.*box.layer);
    dialog.setChecked(kColourMode, s.polygonColourMode);
    const bool byMaterial = s.colourBy == render::PolygonColouring::Material;
    dialog.setChecked(byMaterial ? kByMaterial : kByThickness, true);
    dialog.setEnabled(kByMaterial, s.polygonColourMode);
    dialog.setEnabled(kByThickness, s.polygonColourMode);
    const bool white = context().whiteBackground();
    dialog.setChecked(white ? kWhite : kBlack, true);
}

void PlotControlsDialog::onButton(platform::Dialog& dialog, int controlId) {
    if (controlId == kBlack || controlId == kWhite) {
        context().setWhiteBackground(controlId == kWhite);
        return;
    }
    render::PlotSwitches s = context().plotSwitches();
    for (const LayerBox& box : kLayers)
        s.*box.layer = dialog.checked(box.id);
    s.polygonColourMode = dialog.checked(kColourMode);
    s.colourBy = dialog.checked(kByThickness) ? render::PolygonColouring::Thickness
                                              : render::PolygonColouring::Material;
    context().setPlotSwitches(s);
    show(dialog); // the colour radios follow the colour mode
}

} // namespace shellfem::preprocessor::app
