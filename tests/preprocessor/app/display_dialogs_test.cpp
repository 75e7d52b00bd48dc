#include "app_test_support.h"

#include "preprocessor/app/dialogs/hide_polygons_dialog.h"
#include "preprocessor/app/dialogs/plot_controls_dialog.h"
#include "preprocessor/app/picking_controls.h"

namespace shellfem::preprocessor::app::testing {
namespace {

using namespace command;
using Plot = PlotControlsDialog;
using Hide = HidePolygonsDialog;
using Rows = std::vector<std::vector<std::string>>;
using Texts = std::vector<std::string>;

class DisplayDialogs : public AppFixture {};

TEST_F(DisplayDialogs, PlotControlsSwitchEveryLayerAndFollowTheMenu) {
    using S = render::PlotSwitches;
    const std::vector<std::pair<int, bool S::*>> boxes = {
        {Plot::kPoints, &S::points},
        {Plot::kPolygons, &S::polygons},
        {Plot::kElements, &S::elements},
        {Plot::kNodes, &S::nodes},
        {Plot::kForces, &S::forces},
        {Plot::kPolygonLoads, &S::polygonLoads},
        {Plot::kElementLoads, &S::elementLoads},
        {Plot::kRestraints, &S::restraints},
        {Plot::kPointNumbers, &S::pointNumbers},
        {Plot::kPolygonNumbers, &S::polygonNumbers},
        {Plot::kNodeNumbers, &S::nodeNumbers},
        {Plot::kElementNumbers, &S::elementNumbers},
        {Plot::kColourMode, &S::polygonColourMode},
    };
    platform::FakeDialog& d = open(kPlotControls, "Plot Controls");
    for (const auto& [id, layer] : boxes) {
        SCOPED_TRACE(id);
        const bool start = app->plotSwitches().*layer;
        EXPECT_EQ(d.checked(id), start);
        const int redraws = window.redraws;
        d.choose(id);
        EXPECT_EQ(app->plotSwitches().*layer, !start);
        EXPECT_GT(window.redraws, redraws);
        for (const auto& [other, otherLayer] : boxes) // only that one changed
            if (other != id) {
                EXPECT_EQ(app->plotSwitches().*otherLayer, S{}.*otherLayer);
            }
        d.choose(id);
        EXPECT_EQ(app->plotSwitches().*layer, start);
    }

    EXPECT_FALSE(d.enabled(Plot::kByThickness)); // colour mode off
    d.choose(Plot::kColourMode);
    EXPECT_TRUE(d.enabled(Plot::kByThickness));
    d.choose(Plot::kByThickness);
    EXPECT_EQ(app->plotSwitches().colourBy, render::PolygonColouring::Thickness);
    EXPECT_TRUE(app->plotSwitches().polygonColourMode);

    // Menu commands that switch layers or the background show in the boxes.
    app->onCommand(kMeshQuad);
    EXPECT_TRUE(d.checked(Plot::kPolygonNumbers));
    app->onCommand(kHidePolygons);
    EXPECT_FALSE(d.checked(Plot::kElements));
    EXPECT_FALSE(d.checked(Plot::kNodes));
    EXPECT_TRUE(d.checked(Plot::kBlack));
    app->onCommand(kWhiteBackground);
    EXPECT_TRUE(d.checked(Plot::kWhite));
    EXPECT_FALSE(d.checked(Plot::kBlack));

    // ... and the dialog's background moves the menu's check marks.
    d.choose(Plot::kBlack);
    EXPECT_FALSE(app->whiteBackground());
    EXPECT_TRUE(window.menuChecked(kBlackBackground));
    EXPECT_FALSE(window.menuChecked(kWhiteBackground));
    EXPECT_TRUE(takeMessages().empty());
    EXPECT_EQ(window.title.find('*'), std::string::npos);
}

class HidePolygons : public DisplayDialogs {
protected:
    void SetUp() override {
        DisplayDialogs::SetUp();
        app->edit([](Model& m) {
            m.addMaterial(kSteel);
            m.addThickness(0.1);
            for (int i = 0; i < 3; ++i)
                addRectangle(m, 10.0 * i, 0, 10.0 * i + 10, 10);
            return m.meshPolygons({1}, divisions(2, 2));
        });
        gui.fileAnswers.push_back((folder / "three.kvx").string());
        app->onCommand(kFileSave);
        EXPECT_FALSE(app->files().unsaved());
        gui.messages.clear();
    }
    void pick(std::vector<int> polygons) {
        Selection picks = app->picks();
        picks.polygons = std::move(polygons);
        app->setPicks(picks);
    }
    bool unsaved() const { return app->files().unsaved(); }
};

TEST_F(HidePolygons, HidesThePickedPolygonsAndShowsThemAgainWithoutTouchingTheFile) {
    platform::FakeDialog& d = open(kHidePolygons, "Hide Polygon(s)");
    EXPECT_TRUE(d.checked(PickingControls::kPick)); // mode 7 from the command
    EXPECT_EQ(d.text(Hide::kHiddenCount), "0 of 3 polygons hidden");
    EXPECT_FALSE(d.enabled(Hide::kShowAll));

    pick({2, 1});
    d.press(Hide::kHide);
    EXPECT_TRUE(takeMessages().empty());
    const ModelData& data = app->model().data();
    EXPECT_FALSE(data.polygons[1].visible);
    EXPECT_FALSE(data.polygons[2].visible);
    EXPECT_TRUE(data.polygons[0].visible);
    EXPECT_FALSE(data.elements[0].visible);
    EXPECT_TRUE(app->picks().polygons.empty()); // hidden ones cannot stay picked
    EXPECT_EQ(d.rows(Hide::kHiddenList), (Rows{{"1", "4", "4"}, {"2", "4", "0"}}));
    EXPECT_EQ(d.text(Hide::kHiddenCount), "2 of 3 polygons hidden");
    EXPECT_FALSE(unsaved());

    // The chosen row follows its polygon while the list changes.
    d.setSelection(Hide::kHiddenList, 1);
    pick({0});
    d.press(Hide::kHide);
    EXPECT_EQ(d.rows(Hide::kHiddenList).size(), 3u);
    EXPECT_EQ(d.selection(Hide::kHiddenList), 2);
    d.press(Hide::kShow);
    EXPECT_TRUE(data.polygons[2].visible);
    EXPECT_EQ(d.rows(Hide::kHiddenList), (Rows{{"0", "4", "0"}, {"1", "4", "4"}}));

    d.press(Hide::kShowAll);
    for (const Polygon& polygon : data.polygons)
        EXPECT_TRUE(polygon.visible);
    EXPECT_TRUE(data.elements[0].visible);
    EXPECT_TRUE(d.rows(Hide::kHiddenList).empty());
    EXPECT_FALSE(unsaved());
    EXPECT_TRUE(takeMessages().empty());
}

TEST_F(HidePolygons, WithoutPicksOrAChosenRowNothingChanges) {
    platform::FakeDialog& d = open(kHidePolygons, "Hide Polygon(s)");
    d.press(Hide::kHide);
    pick({0});
    d.press(Hide::kHide);
    d.setSelection(Hide::kHiddenList, -1);
    d.press(Hide::kShow);
    EXPECT_EQ(takeMessages(), (Texts{"No polygon is picked: pick the polygons to hide in the view.",
                                     "Choose the hidden polygon to show in the list, or press "
                                     "Show all."}));
    EXPECT_FALSE(app->model().data().polygons[0].visible);
    EXPECT_TRUE(app->model().data().polygons[1].visible);
}

} // namespace
} // namespace shellfem::preprocessor::app::testing
