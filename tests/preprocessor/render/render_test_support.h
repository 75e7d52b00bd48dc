#pragma once

#include "platform/fake/recording_canvas.h"
#include "preprocessor/render/model_plot.h"
#include "preprocessor/render/plot_palette.h"
#include "test_models.h"
#include "view3d/view_controller.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

namespace shellfem::preprocessor::render::testing {

using platform::Color;
using platform::PixelPoint;
using platform::RecordingCanvas;
using Call = RecordingCanvas::Call;
using Kind = RecordingCanvas::Kind;
using namespace preprocessor::testing;

inline const Color kBlack{0, 0, 0};
inline const Color kWhite{255, 255, 255};

// Plate 0 spans 0..2 x 0..1 (points 0-3, meshed 2 x 1, material and thickness 0),
// plate 1 spans 3..4 x 0..1 (points 4-7, meshed 1 x 1, material and thickness 1), z = 0.
inline Model twoPlates() {
    Model model = modelWithAttributes(0.01);
    EXPECT_TRUE(model.addMaterial({70000.0, 0.33}).ok());
    EXPECT_TRUE(model.addThickness(0.02).ok());
    addRectangle(model, 0, 0, 2, 1);
    addRectangle(model, 3, 0, 4, 1);
    EXPECT_TRUE(model.setPolygonAttributes({1}, 1, 1).ok());
    EXPECT_TRUE(model.meshPolygons({0}, divisions(2, 1)).ok());
    EXPECT_TRUE(model.meshPolygons({1}, divisions(1, 1)).ok());
    return model;
}

inline int nodeAt(const Model& model, double x, double y, double z = 0.0) {
    const std::vector<Node>& nodes = model.data().nodes;
    for (std::size_t n = 0; n < nodes.size(); ++n)
        if (length(nodes[n].position - Vec3{x, y, z}) < 1e-9)
            return static_cast<int>(n);
    ADD_FAILURE() << "no node at " << x << ", " << y << ", " << z;
    return -1;
}

// The view in degrees, fitted to the model's points and nodes in an 800 x 600 window.
inline view3d::View viewOf(const Model& model, double alpha, double beta) {
    view3d::View view;
    view.setWindowSize(800, 600);
    view.setAngles(view3d::degreesToRadians(alpha), view3d::degreesToRadians(beta));
    std::vector<Vec3> positions;
    for (const GeometricPoint& p : model.data().points)
        positions.push_back(p.position);
    for (const Node& n : model.data().nodes)
        positions.push_back(n.position);
    view.setPoints(positions);
    view.fit();
    return view;
}

// Looking down the z axis: x to the right, y up.
inline view3d::View topView(const Model& model) {
    return viewOf(model, -90.0, 90.0);
}

// The window's start view.
inline view3d::View startView(const Model& model) {
    return viewOf(model, -135.0, 35.26);
}

inline PlotSwitches nothingShown() {
    PlotSwitches s;
    s.points = s.polygons = s.elements = s.nodes = false;
    s.forces = s.polygonLoads = s.elementLoads = s.restraints = false;
    return s;
}

inline PlotSwitches everythingShown() {
    PlotSwitches s;
    s.pointNumbers = s.polygonNumbers = s.nodeNumbers = s.elementNumbers = true;
    return s;
}

inline RecordingCanvas draw(const Model& model, const view3d::View& view,
                            const PlotSwitches& switches, const ModelHighlight& highlight = {},
                            Color background = kBlack) {
    RecordingCanvas canvas(800, 600);
    drawModel(canvas, model, view, switches, highlight, background);
    return canvas;
}

// The colour a call puts on the screen: the text colour of text, the brush of a
// fill, the pen of a line or an outline.
inline Color inkOf(const Call& call) {
    if (call.kind == Kind::Text)
        return call.textColor;
    if (call.fill)
        return call.brush;
    return call.pen.color;
}

inline std::vector<const Call*> callsIn(const RecordingCanvas& canvas, Color colour, Kind kind) {
    std::vector<const Call*> found;
    for (const Call* call : canvas.of(kind))
        if (inkOf(*call) == colour)
            found.push_back(call);
    return found;
}

inline std::size_t countIn(const RecordingCanvas& canvas, Color colour) {
    return static_cast<std::size_t>(
        std::count_if(canvas.calls.begin(), canvas.calls.end(),
                      [&](const Call& c) { return inkOf(c) == colour; }));
}

inline double distance(PixelPoint a, PixelPoint b) {
    return std::hypot(a.x - b.x, a.y - b.y);
}

// Whether any point of the call lies within `radius` of `at`.
inline bool near(const Call& call, PixelPoint at, double radius) {
    return std::any_of(call.points.begin(), call.points.end(),
                       [&](PixelPoint p) { return distance(p, at) <= radius; });
}

inline std::vector<std::string> textsIn(const RecordingCanvas& canvas, Color colour) {
    std::vector<std::string> texts;
    for (const Call* call : callsIn(canvas, colour, Kind::Text))
        texts.push_back(call->text);
    return texts;
}

inline bool contains(const std::vector<std::string>& texts, const std::string& text) {
    return std::find(texts.begin(), texts.end(), text) != texts.end();
}

} // namespace shellfem::preprocessor::render::testing
