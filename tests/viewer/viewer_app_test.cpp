#include "platform/fake/recording_canvas.h"
#include "viewer/contour/contour_legend.h"
#include "viewer_test_support.h"

#include <cmath>
#include <set>

namespace shellfem::viewer::testing {
namespace {

using namespace command;
using Kind = platform::RecordingCanvas::Kind;

const std::pair<std::string, std::string> kReadError{"Warning!", "应力云图文件读取错误!"};

TEST_F(ViewerFixture, StartWithoutTheFileShowsTheReadErrorAndFails) {
    EXPECT_FALSE(fresh().start());
    ASSERT_EQ(gui.messages.size(), 1u);
    EXPECT_EQ(gui.messages[0], kReadError);
}

TEST_F(ViewerFixture, MalformedFilesGetTheReadErrorWithoutCrashing) {
    const std::string good = [] {
        std::ostringstream s;
        writeContourFile(s, cylinderPanel(2, 2));
        return s.str();
    }();
    const std::string cases[] = {
        "",
        "NPOIN=-4\nNELEM=1\n",
        "NPOIN=2000000000\nNELEM=2000000000\n0,0,0\n",
        "NPOIN=4\nNELEM=1\n0,0,0\n1,0,0\n1,1,0\n0,1,0\n0,1,2,99\n",
        good.substr(0, good.size() / 2), // truncated
        "NPOIN=1\nNELEM=0\nx,y,z\n",
    };
    for (const std::string& text : cases) {
        writeText(kAverageStressFileName, text);
        gui.messages.clear();
        EXPECT_FALSE(fresh().start()) << text.substr(0, 40);
        ASSERT_EQ(gui.messages.size(), 1u);
        EXPECT_EQ(gui.messages[0], kReadError);
        EXPECT_NE(console.str().find("Pelunar: "), std::string::npos); // the reason, for the user
    }
}

TEST_F(ViewerFixture, StartShowsTheSeContourFromTheStartAnglesFitted) {
    ViewerApp& app = started();
    EXPECT_TRUE(app.loaded());
    EXPECT_EQ(app.model().nodes.size(), cylinderPanel().nodes.size());
    const DisplayStates& d = app.display();
    EXPECT_TRUE(d.contour);
    EXPECT_EQ(d.component, 6);
    EXPECT_EQ(d.elementFill, Show::None);
    EXPECT_EQ(d.outlines, Show::None);
    EXPECT_EQ(d.nodes, Show::None);
    EXPECT_EQ(d.nodeNumbers, Show::None);
    EXPECT_EQ(d.elementNumbers, Show::None);
    EXPECT_EQ(app.backgroundIndex(), 0);
    EXPECT_EQ(app.controller().mode(), 0);
    EXPECT_EQ(app.controller().alphaDegrees(), 225.0);
    EXPECT_EQ(app.controller().betaDegrees(), 35.26);
    const double pi = std::acos(-1.0);
    EXPECT_NEAR(app.controller().view().alpha(), pi * 1.25, 1e-14);
    EXPECT_NEAR(app.controller().view().beta(), pi * 0.1958888888888889, 1e-14);
    // Fitted into the window left of the legend: every node inside it.
    for (const view3d::ScreenPoint& n : app.projectedNodes()) {
        EXPECT_GE(n.x, 0);
        EXPECT_LE(n.x, 800 - kLegendWidthPixels);
        EXPECT_GE(n.y, 0);
        EXPECT_LE(n.y, 600);
    }
    EXPECT_EQ(app.controller().view().placement().cx, (800 - kLegendWidthPixels) / 2);
}

TEST_F(ViewerFixture, StartMarksContourSeTheUnplotAllItemsAndBlack) {
    started();
    const std::set<int> marked = {kPlotContour,        kComponentSe,     kOutlinesNone,
                                  kNodesNone,          kElementsNone,    kNodeNumbersNone,
                                  kElementNumbersNone, kBackgroundBlack, kSurfaceTop};
    for (int id : checkableCommands())
        EXPECT_EQ(window.menuChecked(id), marked.count(id) > 0) << id;
}

TEST_F(ViewerFixture, MenuHasEveryIdentifierOfThePartOnce) {
    std::set<int> ids;
    for (const platform::MenuItem& m : viewerMenu())
        EXPECT_TRUE(ids.insert(m.id).second) << m.id;
    for (int id = 40001; id <= 40032; ++id) {
        const bool unused = id == 40013 || id == 40017 || id == 40018;
        EXPECT_EQ(ids.count(id) > 0, !unused) << id;
    }
    // The additions are numbered apart from them.
    for (int id : {kSavePicture, kDeformedShape, kDeformationScale, kSurfaceTop, kSurfaceBottom,
                   kSurfaceMembrane, kSurfaceBending, kAveragingJump, kLegendSettings}) {
        EXPECT_EQ(ids.count(id), 1u) << id;
        EXPECT_GT(id, 40032);
    }
}

TEST_F(ViewerFixture, ChoosingAComponentWhileTheContourIsOffTurnsItOn) {
    ViewerApp& app = started();
    app.onCommand(kPlotContour);
    EXPECT_FALSE(app.display().contour);
    EXPECT_FALSE(window.menuChecked(kPlotContour));
    app.onCommand(kElementsAll); // plain fill
    EXPECT_EQ(app.display().elementFill, Show::All);
    app.onCommand(kComponentSx + 1); // Sy
    EXPECT_TRUE(app.display().contour);
    EXPECT_EQ(app.display().component, 1);
    EXPECT_EQ(app.display().elementFill, Show::None);
    EXPECT_TRUE(window.menuChecked(kPlotContour));
    EXPECT_TRUE(window.menuChecked(kComponentSx + 1));
    EXPECT_FALSE(window.menuChecked(kComponentSe)); // the mark moved
    EXPECT_TRUE(window.menuChecked(kElementsNone));
    EXPECT_FALSE(window.menuChecked(kElementsAll));
    for (int id = kComponentSx; id <= kComponentSe; ++id) {
        app.onCommand(id);
        EXPECT_EQ(app.display().component, id - kComponentSx);
        for (int other = kComponentSx; other <= kComponentSe; ++other)
            EXPECT_EQ(window.menuChecked(other), other == id);
    }
}

TEST_F(ViewerFixture, PlotCtrlsContourToggles) {
    ViewerApp& app = started();
    const int before = window.redraws;
    app.onCommand(kPlotContour);
    EXPECT_FALSE(app.display().contour);
    EXPECT_FALSE(window.menuChecked(kPlotContour));
    EXPECT_GT(window.redraws, before);
    app.onCommand(kElementsSelected);
    EXPECT_EQ(app.display().elementFill, Show::Selected);
    EXPECT_TRUE(window.menuChecked(kElementsSelected));
    app.onCommand(kPlotContour); // on again: fill off, the mark on Unplot All Elements
    EXPECT_TRUE(app.display().contour);
    EXPECT_TRUE(window.menuChecked(kPlotContour));
    EXPECT_EQ(app.display().elementFill, Show::None);
    EXPECT_TRUE(window.menuChecked(kElementsNone));
    EXPECT_FALSE(window.menuChecked(kElementsSelected));
    EXPECT_EQ(app.display().component, 6); // the component stays
}

TEST_F(ViewerFixture, PlotElementsTurnsTheContourOffAndUnplotKeepsItOff) {
    ViewerApp& app = started();
    app.onCommand(kElementsAll);
    EXPECT_FALSE(app.display().contour);
    EXPECT_EQ(app.display().elementFill, Show::All);
    EXPECT_FALSE(window.menuChecked(kPlotContour));
    app.onCommand(kElementsNone);
    EXPECT_EQ(app.display().elementFill, Show::None);
    EXPECT_FALSE(app.display().contour);
    EXPECT_TRUE(window.menuChecked(kElementsNone));
}

TEST_F(ViewerFixture, RadioGroupsMoveTheirCheckMark) {
    ViewerApp& app = started();
    struct Group {
        int first;
        Show DisplayStates::*state;
    } groups[] = {{kOutlinesAll, &DisplayStates::outlines},
                  {kNodesAll, &DisplayStates::nodes},
                  {kNodeNumbersAll, &DisplayStates::nodeNumbers},
                  {kElementNumbersAll, &DisplayStates::elementNumbers}};
    for (const Group& g : groups)
        for (int k : {0, 1, 2, 1}) {
            app.onCommand(g.first + k);
            EXPECT_EQ(app.display().*(g.state), static_cast<Show>(k)) << g.first + k;
            for (int j = 0; j < 3; ++j)
                EXPECT_EQ(window.menuChecked(g.first + j), j == k) << g.first + j;
        }
    // The other groups were left alone.
    EXPECT_TRUE(app.display().contour);
    EXPECT_EQ(app.display().component, 6);
}

TEST_F(ViewerFixture, BackgroundsAndTheirMarks) {
    ViewerApp& app = started();
    app.onCommand(kBackgroundWhite);
    EXPECT_EQ(app.backgroundIndex(), 1);
    EXPECT_TRUE(window.menuChecked(kBackgroundWhite));
    EXPECT_FALSE(window.menuChecked(kBackgroundBlack));
    platform::RecordingCanvas canvas(800, 600);
    app.onPaint(canvas);
    ASSERT_FALSE(canvas.calls.empty());
    EXPECT_EQ(canvas.calls[0].kind, Kind::Rectangle);
    EXPECT_TRUE(canvas.calls[0].fill);
    EXPECT_EQ(canvas.calls[0].brush, (platform::Color{255, 255, 255}));
    app.onCommand(kBackgroundBlack);
    EXPECT_EQ(app.backgroundIndex(), 0);
    EXPECT_TRUE(window.menuChecked(kBackgroundBlack));
    EXPECT_FALSE(window.menuChecked(kBackgroundWhite));
}

TEST_F(ViewerFixture, PaintClearsThenDrawsTheContourWithLegend) {
    ViewerApp& app = started();
    platform::RecordingCanvas canvas(800, 600);
    app.onPaint(canvas);
    ASSERT_FALSE(canvas.calls.empty());
    EXPECT_EQ(canvas.calls[0].brush, (platform::Color{0, 0, 0}));
    std::set<std::tuple<int, int, int>> colours;
    for (const auto* c : canvas.of(Kind::FillPolygon))
        colours.insert({c->brush.r, c->brush.g, c->brush.b});
    EXPECT_GE(colours.size(), 6u); // several bands
    bool seTitle = false;
    for (const auto* c : canvas.of(Kind::Text))
        seTitle = seTitle || c->text.find("Se") != std::string::npos;
    EXPECT_TRUE(seTitle);
}

TEST_F(ViewerFixture, RubberBandIsDrawnLastInZoomMode) {
    ViewerApp& app = started();
    app.onCharacter('Z');
    platform::click(app, {100, 100});
    app.onMouseMove({200, 150});
    platform::RecordingCanvas canvas(800, 600);
    app.onPaint(canvas);
    ASSERT_FALSE(canvas.calls.empty());
    const auto& last = canvas.calls.back();
    EXPECT_EQ(last.kind, Kind::Rectangle);
    EXPECT_TRUE(last.outline);
    EXPECT_EQ(last.pen.color, (platform::Color{255, 255, 255}));
}

TEST_F(ViewerFixture, FileOpenThatFailsKeepsTheModelShown) {
    ViewerApp& app = started();
    const std::size_t nodes = app.model().nodes.size();
    writeText("broken.txt", "NPOIN=3\nNELEM=1\n0,0,0\n");
    gui.fileAnswers.push_back(std::string("broken.txt"));
    app.onCommand(kFileOpen);
    ASSERT_EQ(gui.fileDialogs.size(), 1u);
    EXPECT_EQ(gui.fileDialogs[0].title, "Open file for shell average stress contour ");
    EXPECT_EQ(gui.fileDialogs[0].filter, "Text Files (*.txt)");
    EXPECT_EQ(gui.fileDialogs[0].defaultExtension, "txt");
    ASSERT_EQ(gui.messages.size(), 1u);
    EXPECT_EQ(gui.messages[0], kReadError);
    EXPECT_EQ(app.model().nodes.size(), nodes);
    EXPECT_TRUE(app.loaded());
    EXPECT_FALSE(gui.quitCode); // the program goes on
    gui.fileAnswers.push_back(std::string("missing.txt"));
    app.onCommand(kFileOpen);
    EXPECT_EQ(app.model().nodes.size(), nodes);
    app.onCommand(kFileOpen); // cancelled: nothing happens
    EXPECT_EQ(gui.messages.size(), 2u);
}

TEST_F(ViewerFixture, FileOpenReadsTheChosenFileWithTheStoredAnglesFitted) {
    ViewerApp& app = started();
    app.onCommand(kViewKit);
    platform::FakeDialog* kit = gui.dialog("View Kit");
    ASSERT_NE(kit, nullptr);
    kit->press(view3d::viewerViewKitIds().standard[0]); // XOY+
    app.onKeyDown(platform::Key::Left);
    app.selection().elements[0] = 1;
    writeModel("other.txt", cylinderPanel(3, 2));
    gui.fileAnswers.push_back(std::string("other.txt"));
    app.onCommand(kFileOpen);
    EXPECT_TRUE(gui.messages.empty());
    EXPECT_EQ(app.model().elements.size(), 6u);
    EXPECT_EQ(app.selection().elements, std::vector<char>(6, 0));
    EXPECT_EQ(app.selection().nodes.size(), 12u);
    EXPECT_EQ(app.controller().view().matrix(),
              view3d::viewMatrix(view3d::degreesToRadians(-90), view3d::degreesToRadians(90)));
    EXPECT_EQ(app.controller().view().placement().cx, (800 - kLegendWidthPixels) / 2);
}

TEST_F(ViewerFixture, ArrowsThenOReturnToTheViewKitAngles) {
    ViewerApp& app = started();
    const view3d::Matrix4 start = app.controller().view().matrix();
    app.onKeyDown(platform::Key::Up);
    app.onKeyDown(platform::Key::Right);
    EXPECT_NE(app.controller().view().matrix(), start);
    app.onCharacter('o');
    EXPECT_EQ(app.controller().view().matrix(), start);
}

TEST_F(ViewerFixture, SingularViewMatrixEndsTheProgramAsThePartSays) {
    ViewerApp& app = started();
    app.controller().view().setMatrix(view3d::Matrix4{});
    app.onKeyDown(platform::Key::Down);
    EXPECT_NE(console.str().find("err**not inv"), std::string::npos);
    EXPECT_EQ(process.pauses, 1);
    ASSERT_TRUE(gui.quitCode);
    EXPECT_EQ(*gui.quitCode, 1);
    EXPECT_EQ(app.exitCode(), 1);
}

TEST_F(ViewerFixture, SelectCommandsSetTheModesAndOpenTheDialogs) {
    ViewerApp& app = started();
    app.onCommand(kSelectElements);
    EXPECT_EQ(app.controller().mode(), kModeSelectElements);
    ASSERT_NE(gui.dialog("Select Element(s)"), nullptr);
    app.onCommand(kSelectNodes);
    EXPECT_EQ(app.controller().mode(), kModeSelectNodes);
    ASSERT_NE(gui.dialog("Select Node(s)"), nullptr);
    // The wheel does not zoom in a picking mode.
    const double scale = app.controller().view().placement().scale;
    app.onWheel({400, 300}, 120);
    EXPECT_EQ(app.controller().view().placement().scale, scale);
    app.onCharacter('P');
    EXPECT_EQ(app.controller().mode(), 1);
    app.onWheel({400, 300}, 120);
    EXPECT_DOUBLE_EQ(app.controller().view().placement().scale, scale * 1.1);
}

TEST_F(ViewerFixture, OutlineAndNodeStatesMoveTheDialogRadioButtons) {
    ViewerApp& app = started();
    app.onCommand(kSelectElements);
    app.onCommand(kSelectNodes);
    platform::FakeDialog* elements = gui.dialog("Select Element(s)");
    platform::FakeDialog* nodes = gui.dialog("Select Node(s)");
    ASSERT_TRUE(elements && nodes);
    EXPECT_TRUE(elements->checked(SelectionDialog::kShowNone));
    app.onCommand(kOutlinesSelected);
    EXPECT_TRUE(elements->checked(SelectionDialog::kShowSelected));
    EXPECT_FALSE(elements->checked(SelectionDialog::kShowNone));
    EXPECT_TRUE(nodes->checked(SelectionDialog::kShowNone)); // the node dialog shows nodes
    app.onCommand(kNodesAll);
    EXPECT_TRUE(nodes->checked(SelectionDialog::kShowAll));
    // And the other way: the dialog's radio button runs the menu command.
    elements->choose(SelectionDialog::kShowAll);
    EXPECT_EQ(app.display().outlines, Show::All);
    EXPECT_TRUE(window.menuChecked(kOutlinesAll));
    nodes->choose(SelectionDialog::kShowSelected);
    EXPECT_EQ(app.display().nodes, Show::Selected);
    EXPECT_TRUE(window.menuChecked(kNodesSelected));
}

} // namespace
} // namespace shellfem::viewer::testing
