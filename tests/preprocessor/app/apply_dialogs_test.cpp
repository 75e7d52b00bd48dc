#include "app_test_support.h"

#include "preprocessor/app/dialogs/applied_values.h"
#include "preprocessor/app/dialogs/apply_forces_dialog.h"
#include "preprocessor/app/dialogs/apply_restraints_dialog.h"
#include "preprocessor/app/dialogs/polygon_loads_dialog.h"

namespace shellfem::preprocessor::app::testing {
namespace {

using namespace command;
using Forces = ApplyForcesDialog;
using BCs = ApplyRestraintsDialog;
using Loads = PolygonLoadsDialog;
using Row = std::vector<std::string>;
using Rows = std::vector<Row>;
using Texts = std::vector<std::string>;

// The meshed plate (clamped along x = 0, a force of Fz = -1 at (10, 10)), saved,
// so that a star in the title means a change.
class ApplyDialogs : public AppFixture {
protected:
    void SetUp() override {
        AppFixture::SetUp();
        buildMeshedPlate();
        gui.fileAnswers.push_back((folder / "plate.kvx").string());
        app->onCommand(kFileSave);
        gui.messages.clear();
        tip = nodeAt(10, 10);
        clamped = nodeAt(0, 5);
        centre = nodeAt(5, 5);
    }
    const ModelData& data() const { return app->model().data(); }
    void pickNodes(std::vector<int> nodes) {
        Selection picks = app->picks();
        picks.nodes = std::move(nodes);
        app->setPicks(picks);
    }
    void pickPolygons(std::vector<int> polygons) {
        Selection picks = app->picks();
        picks.polygons = std::move(polygons);
        app->setPicks(picks);
    }
    std::optional<std::array<double, 6>> forceOn(int node) const {
        return forcesOnNodes(data(), {node})[0];
    }
    std::optional<std::array<int, 6>> restraintOf(int node) const {
        return restraintsOnNodes(data(), {node})[0];
    }
    bool unsaved() const { return window.title.find(" *") != std::string::npos; }

    int tip = -1, clamped = -1, centre = -1;
};

TEST_F(ApplyDialogs, ForcesReplaceOrAddOnThePickedNodesAndTheListFollows) {
    platform::FakeDialog& d = open(kApplyForces, "Apply Force(s)");
    EXPECT_TRUE(d.checked(PickingControls::kPick)); // mode 9 from the command
    EXPECT_TRUE(d.checked(ApplyModeChoice::kReplace));
    EXPECT_EQ(d.text(Forces::kMz), "0");
    app->onCommand(kViewKit); // look straight down, so that no two nodes meet on the screen
    gui.dialog("View Kit")->press(1011);
    gui.dialog("View Kit")->press(1049);
    platform::click(*app, pixelOfNode(tip));
    platform::click(*app, pixelOfNode(centre));
    EXPECT_EQ(d.text(PickingControls::kPicked),
              "2 nodes picked: " + std::to_string(tip) + ", " + std::to_string(centre));
    EXPECT_EQ(d.rows(Forces::kForceList),
              (Rows{{std::to_string(tip), "0", "0", "-1", "0", "0", "0"},
                    {std::to_string(centre), "-", "-", "-", "-", "-", "-"}}));

    d.type(Forces::kFx, "2");
    d.type(Forces::kFz, " -0.5 ");
    d.press(Forces::kApply);
    EXPECT_TRUE(takeMessages().empty());
    EXPECT_EQ(forceOn(tip), (std::array<double, 6>{2, 0, -0.5, 0, 0, 0}));
    EXPECT_EQ(forceOn(centre), forceOn(tip));
    EXPECT_EQ(data().forces.size(), 2u);
    EXPECT_EQ(d.rows(Forces::kForceList)[1],
              (Row{std::to_string(centre), "2", "0", "-0.5", "0", "0", "0"}));
    EXPECT_TRUE(unsaved());

    d.choose(ApplyModeChoice::kAdd);
    d.type(Forces::kMz, "3");
    d.press(Forces::kApply);
    EXPECT_EQ(forceOn(tip), (std::array<double, 6>{4, 0, -1, 0, 0, 3}));
    EXPECT_EQ(data().forces.size(), 2u);

    pickNodes({centre});
    d.press(Forces::kRemove);
    EXPECT_TRUE(takeMessages().empty());
    EXPECT_FALSE(forceOn(centre));
    EXPECT_TRUE(forceOn(tip));
    EXPECT_EQ(d.rows(Forces::kForceList),
              (Rows{{std::to_string(centre), "-", "-", "-", "-", "-", "-"}}));
    d.press(Forces::kRemove);
    EXPECT_EQ(takeMessages(), Texts{"None of the picked nodes carries a force."});
}

TEST_F(ApplyDialogs, ForcesWithAWrongFieldOrNoPickedNodeChangeNothing) {
    platform::FakeDialog& d = open(kApplyForces, "Apply Force(s)");
    d.type(Forces::kFy, "5");
    d.press(Forces::kApply);
    d.press(Forces::kRemove);
    EXPECT_EQ(takeMessages(), (Texts{"No node is picked: pick the nodes in the view.",
                                     "No node is picked: pick the nodes in the view."}));

    pickNodes({tip, centre});
    d.type(Forces::kMy, "1.5.2");
    d.type(Forces::kMz, "");
    d.press(Forces::kApply);
    EXPECT_EQ(takeMessages(), Texts{"The field \"My\" must hold a number; \"1.5.2\" is not one."});
    d.type(Forces::kFx, "1e999");
    d.press(Forces::kApply); // the first wrong field is named
    EXPECT_EQ(takeMessages(), Texts{"The field \"Fx\" must hold a number; \"1e999\" is not one."});
    for (int id : {Forces::kFx, Forces::kFy, Forces::kMy, Forces::kMz})
        d.type(id, "0");
    d.press(Forces::kApply);
    EXPECT_EQ(takeMessages(), Texts{"Every component is 0: enter a force or a moment, or press "
                                    "Remove to take the forces off the picked nodes."});
    EXPECT_EQ(forceOn(tip), (std::array<double, 6>{0, 0, -1, 0, 0, 0}));
    EXPECT_FALSE(forceOn(centre));
    EXPECT_FALSE(unsaved());

    app->edit([](Model& m) {
        m.clear();
        return EditResult{};
    });
    d.type(Forces::kFz, "1");
    d.press(Forces::kApply);
    EXPECT_EQ(takeMessages(),
              Texts{"The model has no nodes yet: mesh its polygons first (Meshing > Quad)."});
}

TEST_F(ApplyDialogs, RestraintsFixTheCheckedDofsReplacingOrJoiningEarlierOnes) {
    platform::FakeDialog& d = open(kApplyRestraints, "ApplyBC(s)");
    EXPECT_TRUE(d.checked(PickingControls::kPick));
    EXPECT_TRUE(app->plotSwitches().nodes);
    pickNodes({clamped, tip});
    EXPECT_EQ(d.rows(BCs::kRestraintList),
              (Rows{{std::to_string(clamped), "1", "1", "1", "1", "1", "1"},
                    {std::to_string(tip), "-", "-", "-", "-", "-", "-"}}));

    d.press(BCs::kCheckAll);
    EXPECT_TRUE(d.checked(BCs::kRY));
    d.press(BCs::kCheckNone);
    EXPECT_FALSE(d.checked(BCs::kUX));
    d.choose(BCs::kUZ);
    d.press(BCs::kApply);
    EXPECT_TRUE(takeMessages().empty());
    EXPECT_EQ(restraintOf(clamped), (std::array<int, 6>{0, 0, 1, 0, 0, 0}));
    EXPECT_EQ(restraintOf(tip), restraintOf(clamped));
    EXPECT_EQ(restraintOf(nodeAt(0, 0)), (std::array<int, 6>{1, 1, 1, 1, 1, 1}));
    EXPECT_TRUE(unsaved());

    d.choose(ApplyModeChoice::kAdd);
    d.choose(BCs::kUZ); // off again
    d.choose(BCs::kRX);
    d.press(BCs::kApply);
    EXPECT_EQ(restraintOf(tip), (std::array<int, 6>{0, 0, 1, 1, 0, 0}));
    EXPECT_EQ(d.rows(BCs::kRestraintList)[0],
              (Row{std::to_string(clamped), "0", "0", "1", "1", "0", "0"}));

    d.press(BCs::kRemove);
    EXPECT_FALSE(restraintOf(clamped));
    EXPECT_FALSE(restraintOf(tip));
    EXPECT_TRUE(restraintOf(nodeAt(0, 10)));
    d.press(BCs::kRemove);
    EXPECT_EQ(takeMessages(), Texts{"None of the picked nodes is restrained."});
}

TEST_F(ApplyDialogs, RestraintsWithoutACheckedDofOrAPickedNodeChangeNothing) {
    platform::FakeDialog& d = open(kApplyRestraints, "ApplyBC(s)");
    d.choose(BCs::kRZ);
    d.press(BCs::kApply);
    EXPECT_EQ(takeMessages(), Texts{"No node is picked: pick the nodes in the view."});
    pickNodes({tip});
    d.choose(BCs::kRZ); // off: nothing checked
    d.choose(ApplyModeChoice::kAdd);
    d.press(BCs::kApply);
    EXPECT_EQ(takeMessages(), Texts{"No degree of freedom is checked: check those to fix, or "
                                    "press Remove to free the picked nodes."});
    EXPECT_FALSE(restraintOf(tip));
    EXPECT_FALSE(unsaved());
}

// The plate and a triangle beside it (polygon 1, not meshed).
class PolygonLoadDialog : public ApplyDialogs {
protected:
    void SetUp() override {
        ApplyDialogs::SetUp();
        app->edit([](Model& m) {
            return m.createPolygon({1, 2, m.addPoint({20, 5, 0}).created[0]}, 0, 0);
        });
        gui.messages.clear();
    }
    std::optional<std::array<double, 4>> loadOn(int polygon) const {
        return loadsOnPolygons(data(), {polygon})[0];
    }
};

TEST_F(PolygonLoadDialog, CornerPressuresReplaceTheLoadsOfThePickedPolygons) {
    platform::FakeDialog& d = open(kApplyPolygonLoads, "Apply Distributed Load on Polygon(s)");
    EXPECT_TRUE(d.checked(PickingControls::kPick)); // mode 7
    EXPECT_EQ(app->controller().mode(), kModePickPolygons);
    d.press(PickingControls::kPickAll);
    EXPECT_EQ(d.rows(Loads::kLoadList),
              (Rows{{"0", "4", "-", "-", "-", "-"}, {"1", "3", "-", "-", "-", "-"}}));

    const std::vector<std::pair<int, const char*>> q = {
        {Loads::kQ0, "-1"}, {Loads::kQ1, "-2"}, {Loads::kQ2, "-3"}, {Loads::kQ3, "-4"}};
    for (const auto& [id, text] : q)
        d.type(id, text);
    d.press(Loads::kApply);
    EXPECT_EQ(takeMessages(), Texts{"Polygon 1 does not have four corners: it carries q0 = -1 all "
                                    "over; q1, q2 and q3 apply to four-corner polygons only."});
    EXPECT_EQ(loadOn(0), (std::array<double, 4>{-1, -2, -3, -4}));
    EXPECT_EQ(d.rows(Loads::kLoadList)[0], (Row{"0", "4", "-1", "-2", "-3", "-4"}));

    for (int id : {Loads::kQ1, Loads::kQ2, Loads::kQ3})
        d.type(id, "-1");
    d.press(Loads::kApply); // uniform: no notice, and one load per polygon
    EXPECT_TRUE(takeMessages().empty());
    EXPECT_EQ(data().polygonLoads.size(), 2u);
    EXPECT_EQ(loadOn(0), (std::array<double, 4>{-1, -1, -1, -1}));

    pickPolygons({1});
    d.press(Loads::kRemove);
    EXPECT_FALSE(loadOn(1));
    EXPECT_TRUE(loadOn(0));
    d.press(Loads::kRemove);
    EXPECT_EQ(takeMessages(), Texts{"None of the picked polygons carries a load."});
}

TEST_F(PolygonLoadDialog, AWrongCornerValueOrNoPickedPolygonLoadsNothing) {
    platform::FakeDialog& d = open(kApplyPolygonLoads, "Apply Distributed Load on Polygon(s)");
    d.type(Loads::kQ0, "-1");
    d.press(Loads::kApply);
    EXPECT_EQ(takeMessages(),
              Texts{"No polygon is picked: pick the polygons to load in the view."});
    pickPolygons({0});
    d.type(Loads::kQ2, "2 kN");
    d.press(Loads::kApply);
    EXPECT_EQ(takeMessages(), Texts{"The field \"q2\" must hold a number; \"2 kN\" is not one."});
    d.type(Loads::kQ0, "0");
    d.type(Loads::kQ2, "0");
    d.press(Loads::kApply);
    EXPECT_EQ(takeMessages(), Texts{"Every corner value is 0: enter the pressure, or press Remove "
                                    "to take the loads off the picked polygons."});
    EXPECT_TRUE(data().polygonLoads.empty());
}

TEST(UniformLoadNotice, NamesOnlyPolygonsWithoutFourCornersAndOnlyForVaryingLoads) {
    ModelData data;
    data.polygons.resize(4);
    data.polygons[0].vertices = {0, 1, 2, 3};
    data.polygons[1].vertices = {0, 1, 2};
    data.polygons[2].vertices = {0, 1, 2, 3, 4};
    data.polygons[3].vertices = {1, 2, 3};
    EXPECT_EQ(uniformLoadNotice(data, {0, 1, 2}, {2, 2, 2, 2}), "");
    EXPECT_EQ(uniformLoadNotice(data, {0}, {1, 2, 3, 4}), "");
    EXPECT_EQ(uniformLoadNotice(data, {2, 0, 3}, {1.5, 1.5, 1.5, 0}),
              "Polygons 2, 3 do not have four corners: they carry q0 = 1.5 all over; q1, q2 and q3 "
              "apply to four-corner polygons only.");
}

} // namespace
} // namespace shellfem::preprocessor::app::testing
