#include "app_test_support.h"

#include "platform/fake/recording_canvas.h"
#include "preprocessor/app/corvanta_commands.h"

#include <cmath>
#include <set>

namespace shellfem::preprocessor::app::testing {
namespace {

using namespace command;

TEST_F(AppFixture, StartUpAnglesTitleBackgroundFlagsAndSwitches) {
    const double pi = std::acos(-1.0);
    EXPECT_EQ(app->controller().alphaDegrees(), -135.0);
    EXPECT_EQ(app->controller().betaDegrees(), 35.26);
    EXPECT_EQ(app->controller().view().alpha(), -0.75 * pi);
    EXPECT_EQ(app->controller().view().beta(), 0.1958888888888889 * pi);
    EXPECT_EQ(app->controller().mode(), 0);

    EXPECT_NE(window.title.find("Corvanta"), std::string::npos);
    EXPECT_NE(window.title.find("(壳结构分析程序)"), std::string::npos);
    EXPECT_NE(window.title.find("2021/10/24"), std::string::npos);
    EXPECT_EQ(window.title.find('*'), std::string::npos);
    EXPECT_FALSE(window.status.empty());

    EXPECT_TRUE(window.menuChecked(kBlackBackground));
    EXPECT_FALSE(window.menuChecked(kWhiteBackground));
    platform::RecordingCanvas canvas(800, 600);
    app->onPaint(canvas);
    ASSERT_FALSE(canvas.calls.empty());
    EXPECT_EQ(canvas.calls[0].brush, (platform::Color{0, 0, 0}));

    EXPECT_FALSE(app->files().hasFileName());
    EXPECT_FALSE(app->solved());
    const render::PlotSwitches& s = app->plotSwitches();
    EXPECT_TRUE(s.points && s.polygons && s.elements && s.nodes && s.forces && s.polygonLoads &&
                s.elementLoads && s.restraints);
    EXPECT_FALSE(s.pointNumbers || s.polygonNumbers || s.nodeNumbers || s.elementNumbers ||
                 s.polygonColourMode);
}

TEST_F(AppFixture, PaintingDrawsTheModelBehindItsSwitchesAndTheRubberBandLast) {
    buildMeshedPlate();
    platform::RecordingCanvas all(800, 600);
    app->onPaint(all);
    render::PlotSwitches none;
    for (bool render::PlotSwitches::*layer :
         {&render::PlotSwitches::points, &render::PlotSwitches::polygons,
          &render::PlotSwitches::elements, &render::PlotSwitches::nodes,
          &render::PlotSwitches::forces, &render::PlotSwitches::polygonLoads,
          &render::PlotSwitches::elementLoads, &render::PlotSwitches::restraints})
        none.*layer = false;
    app->setPlotSwitches(none);
    platform::RecordingCanvas bare(800, 600);
    app->onPaint(bare);
    EXPECT_GT(all.calls.size(), bare.calls.size() + 10);

    app->onCharacter('Z');
    platform::click(*app, {100, 100});
    app->onMouseMove({300, 200});
    platform::RecordingCanvas banded(800, 600);
    app->onPaint(banded);
    ASSERT_EQ(banded.calls.back().kind, platform::RecordingCanvas::Kind::Rectangle);
    EXPECT_EQ(banded.calls.back().pen.color, (platform::Color{255, 255, 255}));
}

TEST_F(AppFixture, EveryMenuIsReachableByItsUnderlinedLetterAndEveryCommandIsListedOnce) {
    const std::vector<int> expected = {40012, 40048, 40049, 40077, 40083, 40070, 40087,
                                       40044, 40045, 40023, 40010, 40014, 40090, 40017,
                                       40019, 40064, 40021, 40079, 40085};
    std::vector<int> ids;
    std::vector<std::string> menus;
    for (const platform::MenuItem& item : corvantaMenu()) {
        ids.push_back(item.id);
        const std::string top = item.path.substr(0, item.path.find('/'));
        if (menus.empty() || menus.back() != top)
            menus.push_back(top);
        EXPECT_EQ(item.mark != platform::MenuMark::None,
                  item.id == kWhiteBackground || item.id == kBlackBackground);
    }
    EXPECT_EQ(ids, expected);
    EXPECT_EQ(menus, (std::vector<std::string>{"&File", "&View", "&Modeling", "M&eshing", "&Apply",
                                               "&Solve", "&Postprocess"}));
    std::set<char> letters;
    for (const std::string& menu : menus)
        letters.insert(static_cast<char>(std::tolower(menu[menu.find('&') + 1])));
    EXPECT_EQ(letters.size(), menus.size()); // no two menus share a letter
}

TEST_F(AppFixture, ChoosingEitherBackgroundTogglesAndTheCheckMarksFollow) {
    app->onCommand(kBlackBackground); // already checked: switches to white
    EXPECT_TRUE(app->whiteBackground());
    EXPECT_TRUE(window.menuChecked(kWhiteBackground));
    EXPECT_FALSE(window.menuChecked(kBlackBackground));
    platform::RecordingCanvas canvas(800, 600);
    app->onPaint(canvas);
    EXPECT_EQ(canvas.calls[0].brush, (platform::Color{255, 255, 255}));

    app->onCommand(kWhiteBackground); // checked now: back to black
    EXPECT_FALSE(app->whiteBackground());
    EXPECT_TRUE(window.menuChecked(kBlackBackground));
    app->onCommand(kWhiteBackground);
    EXPECT_TRUE(app->whiteBackground());
}

// What each command sets besides its dialog.
struct CommandEffect {
    int id;
    int mode; // -1: unchanged
    bool rectangleOff;
    std::vector<bool render::PlotSwitches::*> on;
    std::vector<bool render::PlotSwitches::*> off;
};

TEST_F(AppFixture, ModeCommandsSetTheirModeRectanglePickingAndSwitchesAndRepaint) {
    using S = render::PlotSwitches;
    const std::vector<CommandEffect> effects = {
        {kHidePolygons,
         7,
         false,
         {&S::polygons},
         {&S::elements, &S::nodes, &S::nodeNumbers, &S::elementNumbers}},
        {kCreatePolygon, 5, true, {}, {}},
        {kCopyGeoPt, 3, true, {}, {}},
        {kMeshQuad, 7, false, {&S::polygons, &S::polygonNumbers, &S::elements}, {}},
        {kApplyForces, 9, false, {}, {}},
        {kApplyPolygonLoads, 7, false, {&S::polygonNumbers}, {&S::elements}},
        {kApplyRestraints, 9, false, {&S::nodes, &S::elements}, {}},
        {kCreateGeoPt, -1, false, {}, {}},
        {kMaterialThick, -1, false, {}, {}},
        {kPlotControls, -1, false, {}, {}},
    };
    for (const CommandEffect& effect : effects) {
        // Start from the opposite of every effect.
        S start;
        for (bool S::*on : effect.on)
            start.*on = false;
        for (bool S::*off : effect.off)
            start.*off = true;
        app->setPlotSwitches(start);
        app->setPickingMode(2);
        app->setRectanglePicking(true);
        const int redraws = window.redraws;
        app->onCommand(effect.id);
        EXPECT_EQ(app->controller().mode(), effect.mode < 0 ? 2 : effect.mode) << effect.id;
        EXPECT_EQ(app->rectanglePicking(), !effect.rectangleOff) << effect.id;
        for (bool S::*on : effect.on)
            EXPECT_TRUE(app->plotSwitches().*on) << effect.id;
        for (bool S::*off : effect.off)
            EXPECT_FALSE(app->plotSwitches().*off) << effect.id;
        EXPECT_GT(window.redraws, redraws) << effect.id;
    }
}

TEST_F(AppFixture, CommandsOpenTheirDialogsBesideTheWindowOnceAndRaiseThemAgain) {
    app->onCommand(kCreateGeoPt);
    app->onCommand(kMeshQuad);
    app->onCommand(kViewKit);
    ASSERT_NE(gui.dialog("Create GeoPt"), nullptr);
    ASSERT_NE(gui.dialog("Meshing Quad"), nullptr);
    ASSERT_NE(gui.dialog("View Kit"), nullptr);
    EXPECT_EQ(gui.dialog("View Kit")->text(1043), "-135.00");
    EXPECT_EQ(gui.dialog("View Kit")->text(1044), "35.26");

    app->onCommand(kCreateGeoPt);
    EXPECT_EQ(gui.opened["Create GeoPt"], 1);
    EXPECT_EQ(gui.dialog("Create GeoPt")->raised, 1);

    gui.dialog("Create GeoPt")->press(ModelessDialog::kClose);
    EXPECT_EQ(gui.dialog("Create GeoPt"), nullptr);
    app->onCommand(kMeshQuad);
    gui.dialog("Meshing Quad")->closeByUser();
    EXPECT_EQ(gui.dialog("Meshing Quad"), nullptr);
    app->onCommand(kCreateGeoPt);
    EXPECT_EQ(gui.opened["Create GeoPt"], 2);
}

TEST_F(AppFixture, KeysPanZoomFitAndRestoreTheAnglesAndTheWheelZoomsOnlyInModes0To2) {
    buildMeshedPlate();
    app->onCharacter('P');
    EXPECT_EQ(app->controller().mode(), 1);
    app->onCharacter('z');
    EXPECT_EQ(app->controller().mode(), 2);

    const double scale = app->controller().view().placement().scale;
    app->onWheel({400, 300}, 120);
    EXPECT_NEAR(app->controller().view().placement().scale, scale * 1.1, 1e-9);
    app->onCommand(kApplyForces); // mode 9
    app->onWheel({400, 300}, 120);
    EXPECT_NEAR(app->controller().view().placement().scale, scale * 1.1, 1e-9);

    const view3d::Matrix4 before = app->controller().view().matrix();
    app->onKeyDown(platform::Key::Left);
    EXPECT_NE(app->controller().view().matrix(), before);
    app->onCharacter('O');
    for (int i = 0; i < 16; ++i)
        EXPECT_NEAR(app->controller().view().matrix()[i], before[i], 1e-12);
    app->onCharacter('a');
    EXPECT_NEAR(app->controller().view().placement().scale, scale, 1e-9);
}

TEST_F(AppFixture, EscapeForgetsThePicksDropsAHalfMadeRectangleAndRepaints) {
    buildMeshedPlate();
    app->onCommand(kApplyRestraints);
    platform::click(*app, pixelOfNode(0));
    ASSERT_EQ(app->picks().nodes.size(), 1u);
    app->setRectanglePicking(true);
    platform::click(*app, {10, 10});
    ASSERT_EQ(app->controller().mouse().clicks, 1);
    const int redraws = window.redraws;
    app->onCharacter(27);
    EXPECT_TRUE(app->picks().nodes.empty());
    EXPECT_EQ(app->controller().mouse().clicks, 0);
    EXPECT_GT(window.redraws, redraws);
}

TEST_F(AppFixture, AnEditShowsItsRefusalOrNoticeThenRefreshesTheDialogsAndRedraws) {
    app->onCommand(kCreateGeoPt);
    const int redraws = window.redraws;
    EditResult refused = app->edit([](Model& m) { return m.addThickness(-1.0); });
    EXPECT_FALSE(refused.ok());
    EXPECT_EQ(takeMessages(), std::vector<std::string>{"The thickness TK must be greater than 0."});
    EXPECT_EQ(window.title.find('*'), std::string::npos); // nothing changed

    app->edit([](Model& m) {
        EditResult r = m.addPoint({1, 2, 3});
        r.message = "a notice";
        return r;
    });
    EXPECT_EQ(takeMessages(), std::vector<std::string>{"a notice"});
    EXPECT_NE(window.title.find(" *"), std::string::npos);
    EXPECT_GT(window.redraws, redraws);
}

TEST_F(AppFixture, DisplayEditsLeaveNoUnsavedChangesAndPicksOfMissingRecordsAreDropped) {
    buildMeshedPlate();
    ASSERT_TRUE(app->files().unsaved());
    app->onCommand(kHidePolygons);
    Selection picks;
    picks.polygons = {0, 7, -1};
    picks.nodes = {2, 900};
    app->setPicks(picks);
    EXPECT_EQ(app->picks().polygons, std::vector<int>{0});
    EXPECT_EQ(app->picks().nodes, std::vector<int>{2});
}

} // namespace
} // namespace shellfem::preprocessor::app::testing
