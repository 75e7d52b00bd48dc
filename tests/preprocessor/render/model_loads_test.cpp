#include "render_test_support.h"

#include "preprocessor/export/polygon_load_field.h"
#include "preprocessor/render/load_marks.h"
#include "preprocessor/render/screen_projection.h"

namespace shellfem::preprocessor::render {
namespace {

using namespace testing;

PlotSwitches only(bool PlotSwitches::*layer) {
    PlotSwitches switches = nothingShown();
    switches.*layer = true;
    return switches;
}

// The line of `colour` whose end (an arrow's tip) lies on `at`.
const Call* arrowOnto(const RecordingCanvas& canvas, Color colour, PixelPoint at) {
    for (const Call* line : callsIn(canvas, colour, Kind::Line))
        if (distance(line->points[1], at) < 1e-6)
            return line;
    ADD_FAILURE() << "no arrow onto " << at.x << ", " << at.y;
    return nullptr;
}

double arrowLengthOf(const Call& line) {
    return distance(line.points[0], line.points[1]);
}

TEST(ForceLayer, ArrowsPointTheWayOfTheSummedForceAndScaleToTheLargestAtAnyZoom) {
    Model model = twoPlates();
    const int a = nodeAt(model, 1, 1);
    const int b = nodeAt(model, 2, 1);
    ModelData data = model.data();
    // Two records on one node act as their sum, as the solver takes them.
    data.forces = {{a, {1, 0, 0, 0, 0, 0}}, {b, {0, 1, 0, 0, 0, 0}}, {a, {1, 0, 0, 0, 0, 0}}};
    model.assign(data);
    view3d::View view = topView(model);
    const Color force = plotPalette(kBlack).force;
    for (int zoom = 0; zoom < 2; ++zoom) {
        const RecordingCanvas canvas = draw(model, view, only(&PlotSwitches::forces));
        ASSERT_EQ(callsIn(canvas, force, Kind::Line).size(), 2u);
        const Call* alongX = arrowOnto(canvas, force, view.modelToPixel({1, 1, 0}));
        const Call* alongY = arrowOnto(canvas, force, view.modelToPixel({2, 1, 0}));
        ASSERT_TRUE(alongX && alongY);
        // +x is to the right, so the tail lies left of the tip; +y is up, so below it.
        EXPECT_NEAR(alongX->points[0].x, alongX->points[1].x - 60.0, 1e-9);
        EXPECT_NEAR(alongX->points[0].y, alongX->points[1].y, 1e-9);
        EXPECT_NEAR(alongY->points[0].y, alongY->points[1].y + 30.0, 1e-9);
        EXPECT_EQ(callsIn(canvas, force, Kind::FillPolygon).size(), 2u);
        view.zoomAbout(view.modelToPixel({1.5, 1, 0}), 2.0 * view.placement().scale);
    }
}

TEST(ForceLayer, MomentsAreDoubleHeadedAndVectorsAlongTheSightLineAreMarks) {
    Model model = twoPlates();
    const int n = nodeAt(model, 1, 1);
    ASSERT_TRUE(model.applyForces({n}, {0, 0, 2, 3, 0, 0}, ApplyMode::Replace).ok());
    const Color force = plotPalette(kBlack).force;

    RecordingCanvas canvas = draw(model, startView(model), only(&PlotSwitches::forces));
    const std::vector<const Call*> lines = callsIn(canvas, force, Kind::Line);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_GT(lines[0]->points[0].y, lines[0]->points[1].y) << "+z points up on the screen";
    EXPECT_EQ(callsIn(canvas, force, Kind::FillPolygon).size(), 3u) << "one head and two";

    // Looking down, the force along +z comes at the viewer: a ring with a dot.
    canvas = draw(model, topView(model), only(&PlotSwitches::forces));
    EXPECT_EQ(callsIn(canvas, force, Kind::Ellipse).size(), 2u);
    EXPECT_EQ(callsIn(canvas, force, Kind::Line).size(), 1u) << "the moment about x stays an arrow";
}

TEST(PolygonLoadLayer, ArrowsOntoTheCornersAndCentreCarryTheValues) {
    Model model = twoPlates();
    ASSERT_TRUE(model.applyPolygonLoad({0}, {1, 2, 3, 4}).ok());
    const view3d::View view = startView(model);
    const Color load = plotPalette(kBlack).load;
    const RecordingCanvas canvas = draw(model, view, only(&PlotSwitches::polygonLoads));
    std::vector<std::string> values = textsIn(canvas, load);
    std::sort(values.begin(), values.end());
    EXPECT_EQ(values, (std::vector<std::string>{"1", "2", "2.5", "3", "4"}));
    const Call* largest = arrowOnto(canvas, load, view.modelToPixel({0, 1, 0}));
    const Call* smallest = arrowOnto(canvas, load, view.modelToPixel({0, 0, 0}));
    ASSERT_TRUE(largest && smallest);
    EXPECT_GT(largest->points[0].y, largest->points[1].y) << "along the +z normal, up";
    EXPECT_NEAR(arrowLengthOf(*smallest) / arrowLengthOf(*largest), 12.0 / 45.0, 1e-9)
        << "the smallest is held at the minimum length";
}

TEST(ElementLoadLayer, CornersTakeTheInterpolatedLoadWithTheElementNormalsSign) {
    Model model = twoPlates();
    ASSERT_TRUE(model.applyPolygonLoad({0}, {-1, 2, 2, -1}).ok());
    ModelData data = model.data();
    const auto flipped = static_cast<std::size_t>(model.display().elementCountOfPolygon[0] - 1);
    std::swap(data.elements[flipped].nodes[1], data.elements[flipped].nodes[3]);
    model.assign(data);
    const view3d::View view = startView(model);
    const ProjectedModel projected = projectModel(model.data(), view);
    const PolygonLoad load = model.data().polygonLoads[0];
    const RecordingCanvas canvas = draw(model, view, only(&PlotSwitches::elementLoads));
    const Color colour = plotPalette(kBlack).load;

    int checked = 0;
    for (std::size_t e = 0; e < model.data().elements.size(); ++e) {
        const Element& element = model.data().elements[e];
        if (element.polygon != 0)
            continue;
        const double sign = e == flipped ? -1.0 : 1.0;
        const std::vector<PressureMark> marks =
            elementPressureMarks(model, projected, static_cast<int>(e), load);
        ASSERT_EQ(marks.size(), 4u);
        for (std::size_t c = 0; c < 4; ++c) {
            const Vec3 at = model.data().nodes[static_cast<std::size_t>(element.nodes[c])].position;
            const double q = loadIntensityAt(model.polygonGeometry()[0].corners, load.q, at);
            EXPECT_NEAR(marks[c].value, sign * q, 1e-12);
            EXPECT_NEAR(marks[c].direction.z, sign, 1e-12);
            // On the screen the arrow shows the load's own way: up where q > 0.
            const Call* arrow = arrowOnto(canvas, colour, marks[c].at);
            ASSERT_TRUE(arrow);
            EXPECT_EQ(arrow->points[0].y > arrow->points[1].y, q > 0.0) << "element " << e;
            ++checked;
        }
    }
    EXPECT_EQ(checked, 8);
    EXPECT_TRUE(canvas.of(Kind::Text).empty());
}

TEST(ElementLoadLayer, ElementsTooSmallOnScreenForTheirArrowsShowNone) {
    Model model = twoPlates();
    ASSERT_TRUE(model.applyPolygonLoad({0}, {1, 1, 1, 1}).ok());
    view3d::View view = startView(model);
    PlotSwitches loads = only(&PlotSwitches::elementLoads);
    loads.polygonLoads = true;
    const Color colour = plotPalette(kBlack).load;
    EXPECT_EQ(callsIn(draw(model, view, loads), colour, Kind::Line).size(), 5u + 8u);
    view.zoomAbout({400, 300}, view.placement().scale / 20.0);
    EXPECT_EQ(callsIn(draw(model, view, loads), colour, Kind::Line).size(), 5u)
        << "the polygon's own arrows stay";
}

TEST(RestraintLayer, EachHeldDegreeOfFreedomHasItsSymbolAndTheKeyNamesThem) {
    Model model = twoPlates();
    const int ux = nodeAt(model, 1, 0);
    const int rz = nodeAt(model, 2, 0);
    const int all = nodeAt(model, 0, 0);
    const int combined = nodeAt(model, 1, 1);
    ModelData data = model.data();
    data.restraints = {{ux, {1, 0, 0, 0, 0, 0}},
                       {rz, {0, 0, 0, 0, 0, 1}},
                       {all, {1, 1, 1, 1, 1, 1}},
                       {combined, {1, 0, 0, 0, 0, 0}},
                       {combined, {0, 1, 0, 0, 0, 0}}};
    model.assign(data);
    const view3d::View view = topView(model);
    const PlotPalette palette = plotPalette(kBlack);
    const RecordingCanvas canvas = draw(model, view, only(&PlotSwitches::restraints));
    auto symbolsNear = [&](int node, std::size_t axis, Kind kind) {
        const PixelPoint at =
            view.modelToPixel(model.data().nodes[static_cast<std::size_t>(node)].position);
        std::size_t count = 0;
        for (const Call* call : callsIn(canvas, palette.restraint[axis], kind))
            count += near(*call, at, 25.0) ? 1 : 0;
        return count;
    };
    for (std::size_t axis = 0; axis < 3; ++axis) {
        EXPECT_EQ(symbolsNear(ux, axis, Kind::FillPolygon), axis == 0 ? 1u : 0u);
        EXPECT_EQ(symbolsNear(rz, axis, Kind::Ellipse), axis == 2 ? 1u : 0u);
        EXPECT_EQ(symbolsNear(rz, axis, Kind::FillPolygon), 0u);
        EXPECT_EQ(symbolsNear(all, axis, Kind::FillPolygon), 1u);
        EXPECT_EQ(symbolsNear(all, axis, Kind::Ellipse), 1u);
        EXPECT_EQ(symbolsNear(combined, axis, Kind::FillPolygon), axis < 2 ? 1u : 0u);
    }
    // The UX wedge points along +x onto the node, so it lies on the node's left.
    const PixelPoint node = view.modelToPixel({1, 0, 0});
    for (const Call* wedge : callsIn(canvas, palette.restraint[0], Kind::FillPolygon)) {
        if (!near(*wedge, node, 25.0))
            continue;
        for (const PixelPoint& p : wedge->points)
            EXPECT_LE(p.x, node.x + 1e-9);
    }
    std::vector<std::string> key;
    for (const Color& axis : palette.restraint)
        for (const std::string& text : textsIn(canvas, axis))
            key.push_back(text);
    EXPECT_EQ(key, (std::vector<std::string>{"UX", "RX", "UY", "RY", "UZ", "RZ"}));
}

} // namespace
} // namespace shellfem::preprocessor::render
