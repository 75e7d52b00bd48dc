#include "tests/support/write_failures.h"
#include "viewer/contour/selection_file.h"
#include "viewer/contour/stress_listing.h"
#include "viewer_test_support.h"

#include <numeric>

namespace shellfem::viewer::testing {
namespace {

using namespace command;
using D = SelectionDialog;

std::size_t count(const std::vector<char>& flags) {
    return static_cast<std::size_t>(
        std::count_if(flags.begin(), flags.end(), [](char c) { return c != 0; }));
}

platform::PixelPoint centreOf(const ViewerApp& app, int element) {
    const std::vector<view3d::ScreenPoint> nodes = app.projectedNodes();
    platform::PixelPoint c;
    for (int n : app.model().elements[element].nodes) {
        c.x += nodes[n].x / 4;
        c.y += nodes[n].y / 4;
    }
    return c;
}

struct SelectionFixture : ViewerFixture {
    void SetUp() override {
        ViewerFixture::SetUp();
        started(flatPlate(6, 4)); // 24 elements, 35 nodes
    }
    ViewerApp& app() { return *app_; }
    platform::FakeDialog& openElements() {
        app().onCommand(kSelectElements);
        platform::FakeDialog* d = gui.dialog("Select Element(s)");
        EXPECT_NE(d, nullptr);
        return *d;
    }
    platform::FakeDialog& openNodes() {
        app().onCommand(kSelectNodes);
        platform::FakeDialog* d = gui.dialog("Select Node(s)");
        EXPECT_NE(d, nullptr);
        return *d;
    }
};

TEST_F(SelectionFixture, OpensWithPointPickingSelectAndTheCount) {
    platform::FakeDialog& d = openElements();
    EXPECT_TRUE(d.checked(D::kPickPoint));
    EXPECT_TRUE(d.checked(D::kPickSelects));
    EXPECT_EQ(d.text(D::kCount), "Selected: 0 of 24 elements");
    EXPECT_EQ(d.text(D::kStep), "1");
    app().onCommand(kSelectElements); // again: the same dialog comes to the front
    EXPECT_EQ(gui.opened["Select Element(s)"], 1);
    EXPECT_EQ(d.raised, 1);
}

TEST_F(SelectionFixture, PointPickSelectsTheElementUnderTheCursorAndEscapeClears) {
    platform::FakeDialog& d = openElements();
    platform::click(app(), centreOf(app(), 9));
    EXPECT_EQ(app().selection().elements[9], 1);
    EXPECT_EQ(count(app().selection().elements), 1u);
    EXPECT_EQ(d.text(D::kCount), "Selected: 1 of 24 elements");
    d.choose(D::kPickUnselects);
    platform::click(app(), centreOf(app(), 9));
    EXPECT_EQ(count(app().selection().elements), 0u);
    d.choose(D::kPickSelects);
    platform::click(app(), centreOf(app(), 3));
    platform::click(app(), {-50, -50}); // nothing there
    EXPECT_EQ(count(app().selection().elements), 1u);
    app().onCharacter(27);
    EXPECT_EQ(count(app().selection().elements), 0u);
    EXPECT_EQ(d.text(D::kCount), "Selected: 0 of 24 elements");
}

TEST_F(SelectionFixture, RectanglePickSelectsWhatLiesWhollyInsideAndUnselects) {
    platform::FakeDialog& d = openElements();
    d.choose(D::kPickRectangle);
    EXPECT_EQ(app().controller().mode(), kModeSelectElements);
    platform::click(app(), {0, 0});
    EXPECT_TRUE(app().controller().rubberBand());
    app().onMouseMove({800, 600});
    platform::click(app(), {800, 600});
    EXPECT_EQ(count(app().selection().elements), 24u);
    // Unselect with a rectangle around one element's centre only: nothing lies wholly inside.
    d.choose(D::kPickUnselects);
    const platform::PixelPoint c = centreOf(app(), 5);
    platform::click(app(), {c.x - 2, c.y - 2});
    platform::click(app(), {c.x + 2, c.y + 2});
    EXPECT_EQ(count(app().selection().elements), 24u);
    platform::click(app(), {-10, -10});
    platform::click(app(), {810, 610});
    EXPECT_EQ(count(app().selection().elements), 0u);
    // Escape also drops a half-made rectangle.
    platform::click(app(), {10, 10});
    app().onCharacter(27);
    EXPECT_FALSE(app().controller().rubberBand());
}

TEST_F(SelectionFixture, NodePickingWithPointAndRectangle) {
    platform::FakeDialog& d = openNodes();
    const std::vector<view3d::ScreenPoint> nodes = app().projectedNodes();
    platform::click(app(), {nodes[8].x + 2, nodes[8].y - 1});
    EXPECT_EQ(app().selection().nodes[8], 1);
    EXPECT_EQ(d.text(D::kCount), "Selected: 1 of 35 nodes");
    d.choose(D::kPickRectangle);
    platform::click(app(), {0, 0});
    platform::click(app(), {800, 600});
    EXPECT_EQ(count(app().selection().nodes), 35u);
    EXPECT_EQ(count(app().selection().elements), 0u);
    app().onCharacter(27); // mode 4: nodes are cleared
    EXPECT_EQ(count(app().selection().nodes), 0u);
}

TEST_F(SelectionFixture, RangesSelectAndUnselectByNumber) {
    platform::FakeDialog& d = openElements();
    d.type(D::kFrom, "2");
    d.type(D::kTo, "10");
    d.type(D::kStep, "4");
    d.press(D::kRangeSelect);
    EXPECT_EQ(count(app().selection().elements), 3u);
    EXPECT_EQ(app().selection().elements[2], 1);
    EXPECT_EQ(app().selection().elements[6], 1);
    EXPECT_EQ(app().selection().elements[10], 1);
    d.type(D::kFrom, " 6 ");
    d.type(D::kTo, "");
    d.type(D::kStep, "");
    d.press(D::kRangeUnselect);
    EXPECT_EQ(app().selection().elements[6], 0);
    EXPECT_EQ(count(app().selection().elements), 2u);
    EXPECT_TRUE(gui.messages.empty());
    d.type(D::kFrom, "3x");
    d.press(D::kRangeSelect);
    ASSERT_EQ(gui.messages.size(), 1u);
    EXPECT_EQ(gui.messages[0].first, "Warning!");
    d.type(D::kFrom, "20");
    d.type(D::kTo, "99");
    d.press(D::kRangeSelect);
    ASSERT_EQ(gui.messages.size(), 2u); // out of range: the core names the problem
    EXPECT_FALSE(gui.messages[1].second.empty());
    EXPECT_EQ(count(app().selection().elements), 2u);
}

TEST_F(SelectionFixture, SelectAllAndClear) {
    platform::FakeDialog& d = openNodes();
    d.press(D::kSelectAll);
    EXPECT_EQ(count(app().selection().nodes), 35u);
    EXPECT_EQ(d.text(D::kCount), "Selected: 35 of 35 nodes");
    d.press(D::kClear);
    EXPECT_EQ(count(app().selection().nodes), 0u);
}

TEST_F(SelectionFixture, SaveAndLoadSelectionFiles) {
    platform::FakeDialog& d = openElements();
    app().selection().elements[1] = app().selection().elements[7] = 1;
    gui.fileAnswers.push_back(std::string("chosen.txt"));
    d.press(D::kSave);
    ASSERT_FALSE(gui.fileDialogs.empty());
    EXPECT_EQ(gui.fileDialogs.back().filter, "Text Files (*.txt)");
    EXPECT_EQ(gui.fileDialogs.back().defaultExtension, "txt");
    EXPECT_EQ(readText("chosen.txt"), "1\n7\n");
    d.press(D::kClear);
    gui.fileAnswers.push_back(std::string("chosen.txt"));
    d.press(D::kLoad);
    EXPECT_EQ(count(app().selection().elements), 2u);
    EXPECT_EQ(app().selection().elements[7], 1);
    EXPECT_EQ(d.text(D::kCount), "Selected: 2 of 24 elements");
    // A bad file is refused with its line and leaves the selection alone.
    writeText("bad.txt", "3\n99\n");
    gui.fileAnswers.push_back(std::string("bad.txt"));
    d.press(D::kLoad);
    ASSERT_EQ(gui.messages.size(), 1u);
    EXPECT_NE(gui.messages[0].second.find("bad.txt"), std::string::npos);
    EXPECT_EQ(count(app().selection().elements), 2u);
    EXPECT_EQ(app().selection().elements[3], 0);
    // Cancelled dialogs do nothing; a missing file is reported.
    d.press(D::kLoad);
    gui.fileAnswers.push_back(std::string("no-such-file.txt"));
    d.press(D::kLoad);
    EXPECT_EQ(gui.messages.size(), 2u);
}

TEST_F(SelectionFixture, ListingsAreWrittenAndOpened) {
    platform::FakeDialog& elements = openElements();
    elements.press(D::kList); // nothing selected
    ASSERT_EQ(gui.messages.size(), 1u);
    EXPECT_TRUE(gui.openedTextFiles.empty());
    app().selection().elements[4] = 1;
    elements.press(D::kList);
    ASSERT_EQ(gui.openedTextFiles.size(), 1u);
    EXPECT_EQ(gui.openedTextFiles[0], "SelectedElemStress.txt");
    std::ostringstream expected;
    writeSelectedElementStresses(expected, app().model(), app().selection().elements);
    EXPECT_EQ(readText("SelectedElemStress.txt"), expected.str());
    EXPECT_FALSE(expected.str().empty());

    platform::FakeDialog& nodes = openNodes();
    app().selection().nodes[0] = 1;
    nodes.press(D::kList);
    ASSERT_EQ(gui.openedTextFiles.size(), 2u);
    EXPECT_EQ(gui.openedTextFiles[1], "SelectedNodeStress.txt");
    std::ostringstream expectedNodes;
    writeSelectedNodeStresses(expectedNodes, app().model(), app().selection().nodes);
    EXPECT_EQ(readText("SelectedNodeStress.txt"), expectedNodes.str());
}

TEST_F(SelectionFixture, SelectionFilesAndListingsOnAFullDiskKeepTheEarlierFiles) {
    platform::FakeDialog& d = openElements();
    for (std::size_t e = 0; e < app().selection().elements.size(); ++e)
        app().selection().elements[e] = 1;
    writeText("chosen.txt", "2\n");
    writeText("SelectedElemStress.txt", "earlier listing\n");
    {
        FileSizeLimit fullDisk(20);
        gui.fileAnswers.push_back(std::string("chosen.txt"));
        d.press(D::kSave);
        d.press(D::kList);
    }
    ASSERT_EQ(gui.messages.size(), 2u);
    EXPECT_EQ(gui.messages[0].second, "The selection could not be written to chosen.txt.");
    EXPECT_EQ(gui.messages[1].second, "SelectedElemStress.txt could not be written.");
    EXPECT_EQ(readText("chosen.txt"), "2\n");
    EXPECT_EQ(readText("SelectedElemStress.txt"), "earlier listing\n");
    EXPECT_TRUE(gui.openedTextFiles.empty());
    EXPECT_FALSE(std::ifstream("chosen.txt.saving"));
    EXPECT_FALSE(std::ifstream("SelectedElemStress.txt.saving"));
}

TEST_F(SelectionFixture, AReadOnlyFolderIsReportedForSelectionsAndListings) {
    platform::FakeDialog& d = openNodes();
    app().selection().nodes[3] = 1;
    gui.fileAnswers.push_back(std::string("chosen.txt"));
    EXPECT_TRUE(succeedsInReadOnlyFolder(".", [&] {
        d.press(D::kSave);
        d.press(D::kList);
        return gui.messages.size() == 2 && gui.openedTextFiles.empty() &&
               !std::ifstream("chosen.txt") && !std::ifstream("SelectedNodeStress.txt");
    }));
}

TEST_F(SelectionFixture, AFolderChosenAsASelectionFileCannotBeOpened) {
    platform::FakeDialog& d = openElements();
    app().selection().elements[5] = 1;
    ASSERT_EQ(::mkdir("folder.txt", 0755), 0);
    gui.fileAnswers.push_back(std::string("folder.txt"));
    d.press(D::kLoad);
    ASSERT_EQ(gui.messages.size(), 1u);
    EXPECT_EQ(gui.messages[0].second, "The selection file folder.txt cannot be opened.");
    EXPECT_EQ(app().selection().elements[5], 1);
}

TEST_F(SelectionFixture, ClosingTheDialogLeavesItsPickingMode) {
    platform::FakeDialog& d = openElements();
    EXPECT_EQ(app().controller().mode(), kModeSelectElements);
    d.press(D::kClose);
    EXPECT_EQ(gui.dialog("Select Element(s)"), nullptr);
    EXPECT_FALSE(app().elementDialog().isOpen());
    EXPECT_EQ(app().controller().mode(), 0);
    platform::FakeDialog& n = openNodes();
    app().onCharacter('Z'); // another mode chosen meanwhile stays
    n.closeByUser();
    EXPECT_EQ(app().controller().mode(), 2);
    // The Pick button brings the picking mode back.
    platform::FakeDialog& again = openNodes();
    app().onCharacter('P');
    again.press(D::kPickInView);
    EXPECT_EQ(app().controller().mode(), kModeSelectNodes);
}

TEST(WholeNumbers, ParseStrictly) {
    int v = -1;
    EXPECT_TRUE(parseWholeNumber("12", v));
    EXPECT_EQ(v, 12);
    EXPECT_TRUE(parseWholeNumber("  -3 ", v));
    EXPECT_EQ(v, -3);
    EXPECT_FALSE(parseWholeNumber("", v));
    EXPECT_FALSE(parseWholeNumber("1.5", v));
    EXPECT_FALSE(parseWholeNumber("7a", v));
    EXPECT_FALSE(parseWholeNumber("99999999999", v));
}

} // namespace
} // namespace shellfem::viewer::testing
