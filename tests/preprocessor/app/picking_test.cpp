#include "app_test_support.h"

#include "preprocessor/app/model_picking.h"

namespace shellfem::preprocessor::app::testing {
namespace {

using namespace command;

class Picking : public AppFixture {
protected:
    void SetUp() override {
        AppFixture::SetUp();
        buildMeshedPlate();
        app->onCommand(kViewKit); // look straight down: x to the right, y up
        gui.dialog("View Kit")->press(1011);
        gui.dialog("View Kit")->press(1049);
    }
    platform::Modifiers control() const {
        platform::Modifiers m;
        m.control = true;
        return m;
    }
};

TEST_F(Picking, PointModesPickUnpickAndControlClickDoesTheOther) {
    app->onCommand(kCopyGeoPt); // mode 3
    platform::click(*app, pixelOfPoint(2));
    platform::click(*app, pixelOfPoint(0));
    platform::click(*app, pixelOfPoint(2)); // picked already: held once
    EXPECT_EQ(app->picks().points, (std::vector<int>{2, 0}));
    platform::click(*app, pixelOfPoint(2), control());
    EXPECT_EQ(app->picks().points, std::vector<int>{0});

    app->setPickingMode(kModeUnpickPoints);
    platform::click(*app, pixelOfPoint(3), control());
    platform::click(*app, pixelOfPoint(0));
    EXPECT_EQ(app->picks().points, std::vector<int>{3});

    platform::click(*app, {2, 2}); // far from every point: nothing
    EXPECT_EQ(app->picks().points, std::vector<int>{3});
}

TEST_F(Picking, ARectangleOfTwoClicksOrADragPicksWhatLiesWhollyInside) {
    app->onCommand(kApplyRestraints); // mode 9
    app->setRectanglePicking(true);
    const platform::PixelPoint low = pixelOf({-1, -1, 0}), high = pixelOf({6, 11, 0});
    platform::click(*app, low);
    app->onMouseMove(high);
    ASSERT_TRUE(app->controller().rubberBand());
    platform::click(*app, high);
    std::vector<int> leftHalf = app->picks().nodes;
    std::sort(leftHalf.begin(), leftHalf.end());
    std::vector<int> expected = {nodeAt(0, 0), nodeAt(0, 5), nodeAt(0, 10),
                                 nodeAt(5, 0), nodeAt(5, 5), nodeAt(5, 10)};
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(leftHalf, expected);

    // A drag with Control held unpicks the nodes at x = 0.
    const platform::PixelPoint from = pixelOf({-1, -1, 0}), to = pixelOf({1, 11, 0});
    app->onButtonDown(platform::MouseButton::Left, from, control());
    app->onMouseMove(to);
    app->onButtonUp(platform::MouseButton::Left, to, control());
    EXPECT_EQ(app->picks().nodes.size(), 3u);
}

TEST_F(Picking, PolygonModesPickTheFrontPolygonUnderTheCursor) {
    app->onCommand(kMeshQuad); // mode 7
    platform::click(*app, pixelOf({3, 3, 0}));
    EXPECT_EQ(app->picks().polygons, std::vector<int>{0});
    app->setPickingMode(kModeUnpickPolygons);
    platform::click(*app, pixelOf({3, 3, 0}));
    EXPECT_TRUE(app->picks().polygons.empty());
    app->setPickingMode(kModePickPolygons);
    platform::click(*app, pixelOf({30, 3, 0})); // outside
    EXPECT_TRUE(app->picks().polygons.empty());
}

TEST_F(Picking, ANewPolygonsOutlineFollowsTheClicksWithARubberLineAndBackspace) {
    app->onCommand(kCreatePolygon); // mode 5, point by point
    app->setRectanglePicking(true); // has no say over a point sequence
    for (int p : {0, 1, 2})
        platform::click(*app, pixelOfPoint(p));
    EXPECT_EQ(app->picks().polygonOutline, (std::vector<int>{0, 1, 2}));
    const int redraws = window.redraws;
    app->onMouseMove({1, 1});
    EXPECT_GT(window.redraws, redraws); // the rubber line follows
    ASSERT_TRUE(app->highlight().cursor);

    app->onKeyDown(platform::Key::Backspace);
    EXPECT_EQ(app->picks().polygonOutline, (std::vector<int>{0, 1}));
    platform::click(*app, pixelOfPoint(0), control());
    EXPECT_EQ(app->picks().polygonOutline, std::vector<int>{1});
    app->setPickingMode(kModeOutlineRemove);
    platform::click(*app, pixelOfPoint(1));
    EXPECT_TRUE(app->picks().polygonOutline.empty());
}

TEST_F(Picking, HoverHighlightsWhatAClickWouldPickAndTheStatusLineSaysHowToPick) {
    app->onCommand(kApplyForces); // mode 9
    EXPECT_NE(window.status.find("Pick nodes: a click picks, with Ctrl held it unpicks"),
              std::string::npos);
    const int corner = nodeAt(10, 10);
    app->onMouseMove(pixelOfNode(corner));
    ASSERT_TRUE(app->highlight().hovered);
    EXPECT_EQ(app->highlight().hovered->kind, render::ItemKind::Node);
    EXPECT_EQ(app->highlight().hovered->id, corner);
    EXPECT_NE(window.status.find("under the cursor: node " + std::to_string(corner) +
                                 " (10.00000, 10.00000, 0.00000)"),
              std::string::npos);
    platform::click(*app, pixelOfNode(corner));
    EXPECT_NE(window.status.find("1 node picked: " + std::to_string(corner)), std::string::npos);

    app->setRectanglePicking(true); // a click sets a corner now: nothing is hovered
    app->onMouseMove(pixelOfNode(corner));
    EXPECT_FALSE(app->highlight().hovered);
    EXPECT_NE(window.status.find("a rectangle"), std::string::npos);
}

TEST_F(Picking, HiddenPolygonsAndTheirNodesCannotBePicked) {
    app->edit([](Model& m) { return m.setPolygonsVisible({0}, false); }, EditScope::Display);
    app->onCommand(kMeshQuad);
    platform::click(*app, pixelOf({3, 3, 0}));
    EXPECT_TRUE(app->picks().polygons.empty());
    app->onCommand(kApplyForces);
    platform::click(*app, pixelOfNode(nodeAt(5, 5)));
    EXPECT_TRUE(app->picks().nodes.empty());
    EXPECT_EQ(shownItems(app->model(), kModePickNodes), std::vector<int>{});
}

} // namespace
} // namespace shellfem::preprocessor::app::testing
