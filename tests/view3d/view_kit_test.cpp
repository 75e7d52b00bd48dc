#include "platform/fake/fake_gui.h"
#include "view3d/view_kit.h"

#include <gtest/gtest.h>

#include <cmath>
#include <set>

namespace shellfem::view3d {
namespace {

struct Fixture : ::testing::Test {
    ViewController controller{225.0, 35.26};
    int redraws = 0;
    platform::FakeGui gui;
    ViewKit kit{controller, [this] { ++redraws; }, viewerViewKitIds()};
    ViewKitIds ids = viewerViewKitIds();

    void SetUp() override {
        controller.view().setPoints({{0, 0, 0}, {4, 0, 0}, {4, 2, 0}, {0, 2, 1}});
        controller.resize(800, 600);
        controller.applyStoredAngles(true);
    }
    platform::FakeDialog& open() {
        kit.open(gui);
        platform::FakeDialog* d = gui.dialog("View Kit");
        EXPECT_NE(d, nullptr);
        return *d;
    }
};

TEST_F(Fixture, OpensWithTheStoredDegrees) {
    platform::FakeDialog& d = open();
    EXPECT_EQ(d.text(ids.alpha), "225.00");
    EXPECT_EQ(d.text(ids.beta), "35.26");
    EXPECT_TRUE(kit.isOpen());
    kit.open(gui); // a second open raises the same dialog
    EXPECT_EQ(gui.opened["View Kit"], 1);
    EXPECT_EQ(d.raised, 1);
}

TEST_F(Fixture, EveryStandardViewSetsItsAnglesFitsAndRedraws) {
    platform::FakeDialog& d = open();
    for (std::size_t i = 0; i < kStandardViews.size(); ++i) {
        controller.view().pan(17, 3);
        const int before = redraws;
        d.press(ids.standard[i]);
        EXPECT_EQ(redraws, before + 1);
        EXPECT_EQ(controller.alphaDegrees(), kStandardViews[i].alpha);
        EXPECT_EQ(controller.betaDegrees(), kStandardViews[i].beta);
        EXPECT_EQ(d.text(ids.alpha), platform::twoDecimals(kStandardViews[i].alpha));
        EXPECT_EQ(d.text(ids.beta), platform::twoDecimals(kStandardViews[i].beta));
        EXPECT_EQ(controller.view().matrix(), viewMatrix(degreesToRadians(kStandardViews[i].alpha),
                                                         degreesToRadians(kStandardViews[i].beta)));
        EXPECT_EQ(controller.view().placement().cx, 400) << kStandardViews[i].name; // fitted
    }
    EXPECT_EQ(d.text(ids.alpha), "-45.00");
    EXPECT_EQ(d.text(ids.beta), "-35.26");
}

TEST_F(Fixture, XoyPlusButtonLooksDownZ) {
    platform::FakeDialog& d = open();
    d.press(ids.standard[0]);
    const platform::PixelPoint o = controller.view().modelToPixel({0, 0, 0});
    const platform::PixelPoint x = controller.view().modelToPixel({1, 0, 0});
    const platform::PixelPoint y = controller.view().modelToPixel({0, 1, 0});
    EXPECT_GT(x.x, o.x);
    EXPECT_NEAR(x.y, o.y, 1e-9);
    EXPECT_LT(y.y, o.y);
    EXPECT_NEAR(y.x, o.x, 1e-9);
}

TEST_F(Fixture, ApplyReadsPlainDecimalsWithoutFitting) {
    platform::FakeDialog& d = open();
    controller.view().pan(30, 0);
    const int cx = controller.view().placement().cx;
    d.type(ids.alpha, "30.5");
    d.type(ids.beta, "12abc");
    d.press(ids.apply);
    EXPECT_EQ(controller.alphaDegrees(), 30.5);
    EXPECT_EQ(controller.betaDegrees(), 12.0);
    EXPECT_EQ(controller.view().placement().cx, cx); // no fit
    EXPECT_EQ(controller.view().matrix(), viewMatrix(degreesToRadians(30.5), degreesToRadians(12)));
    EXPECT_EQ(redraws, 1);
    d.type(ids.alpha, "not a number");
    d.type(ids.beta, "");
    d.press(ids.apply);
    EXPECT_EQ(controller.alphaDegrees(), 0.0);
    EXPECT_EQ(controller.betaDegrees(), 0.0);
}

TEST_F(Fixture, AllPanZoomAndExit) {
    platform::FakeDialog& d = open();
    controller.view().pan(30, 30);
    d.press(ids.all);
    EXPECT_EQ(controller.view().placement().cx, 400);
    EXPECT_EQ(redraws, 1);
    d.press(ids.pan);
    EXPECT_EQ(controller.mode(), kModePan);
    d.press(ids.zoom);
    EXPECT_EQ(controller.mode(), kModeZoomWindow);
    d.press(ids.exit);
    EXPECT_FALSE(kit.isOpen());
    EXPECT_EQ(gui.dialog("View Kit"), nullptr);
    // Opening again shows the stored values once more.
    platform::FakeDialog& again = open();
    EXPECT_EQ(again.text(ids.alpha), "225.00");
    again.closeByUser();
    EXPECT_FALSE(kit.isOpen());
}

TEST(ViewKitIdsTest, BothTemplatesHaveTwentyOneDistinctIdentifiers) {
    for (const ViewKitIds& ids : {viewerViewKitIds(), preprocessorViewKitIds()}) {
        std::set<int> all(ids.standard.begin(), ids.standard.end());
        for (int id : {ids.alpha, ids.beta, ids.apply, ids.all, ids.pan, ids.zoom, ids.exit})
            all.insert(id);
        EXPECT_EQ(all.size(), 21u);
    }
    EXPECT_EQ(viewerViewKitIds().standard[0], 1027);        // XOY+
    EXPECT_EQ(viewerViewKitIds().standard[13], 1040);       // ES-
    EXPECT_EQ(preprocessorViewKitIds().standard[1], 1014);  // XOY-
    EXPECT_EQ(preprocessorViewKitIds().standard[12], 1020); // ES+
    EXPECT_EQ(preprocessorViewKitIds().exit, 1049);
}

TEST(ViewKitForm, HoldsEveryControlInsideTheDialog) {
    ViewController controller{0, 0};
    ViewKit kit{controller, [] {}, preprocessorViewKitIds()};
    const platform::DialogTemplate t = kit.form();
    for (const platform::ControlTemplate& c : t.controls) {
        EXPECT_GE(c.x, 0);
        EXPECT_LE(c.x + c.width, t.width) << c.text;
        EXPECT_LE(c.y + c.height, t.height) << c.text;
    }
    EXPECT_NE(t.find(1045), nullptr);
    EXPECT_EQ(t.find(1045)->text, "Apply");
}

} // namespace
} // namespace shellfem::view3d

namespace shellfem::view3d {
namespace {

TEST(ViewButtons, PickingDialogsShareAllPanAndZoom) {
    ViewController c(-135, 35.26);
    c.view().setPoints({{0, 0, 0}, {2, 1, 0}});
    c.resize(400, 300);
    c.applyStoredAngles(true);
    c.view().pan(50, 50);
    const ViewKitIds ids = preprocessorViewKitIds();
    int redraws = 0;
    auto redraw = [&] { ++redraws; };
    EXPECT_TRUE(handleViewButton(c, ids, 1046, redraw));
    EXPECT_EQ(c.view().placement().cx, 200);
    EXPECT_EQ(redraws, 1);
    c.setMode(7);
    EXPECT_TRUE(handleViewButton(c, ids, 1047, redraw));
    EXPECT_EQ(c.mode(), kModePan);
    EXPECT_TRUE(handleViewButton(c, ids, 1048, redraw));
    EXPECT_EQ(c.mode(), kModeZoomWindow);
    EXPECT_FALSE(handleViewButton(c, ids, 1049, redraw)); // Exit is the dialog's own
    EXPECT_FALSE(handleViewButton(c, ids, 1011, redraw));
}

} // namespace
} // namespace shellfem::view3d
