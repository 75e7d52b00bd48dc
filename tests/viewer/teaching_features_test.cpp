// The viewer's teaching additions as a user meets them through the menus and dialogs:
// surfaces, deformed shape, averaging jump, legend settings, probe and pictures.
#include "formats/number_format.h"
#include "platform/fake/recording_canvas.h"
#include "platform/picture/png_file.h"
#include "viewer/contour/contour_legend.h"
#include "viewer_test_support.h"

#include <cmath>
#include <cstdio>
#include <sys/stat.h>

namespace shellfem::viewer::testing {
namespace {

using namespace command;
using Kind = platform::RecordingCanvas::Kind;

// "Node_Dis.txt" as the solver lays it out: fields of 14 and 15 characters.
void writeDisplacements(const std::string& name, const std::vector<double>& u) {
    std::ofstream out(name);
    char field[32];
    for (const char* word : {"Node", "dx", "dy", "dz", "rx", "ry", "rz"}) {
        std::snprintf(field, sizeof field, "%15s", word);
        out << field;
    }
    out << "\n";
    for (std::size_t n = 0; n < u.size() / 6; ++n) {
        std::snprintf(field, sizeof field, "%14zu:", n);
        out << field;
        for (std::size_t d = 0; d < 6; ++d) {
            std::snprintf(field, sizeof field, "%15g", u[6 * n + d]);
            out << field;
        }
        out << "\n";
    }
}

// Translations that grow along x and y, rotations too.
std::vector<double> displacementsFor(const ContourModel& m) {
    std::vector<double> u;
    for (const Vec3& p : m.nodes)
        for (double v : {0.001 * p.y, -0.002 * p.x, 0.004 * p.x * p.y / 100, 1e-4, 0.0, -1e-4})
            u.push_back(v);
    return u;
}

std::vector<std::string> texts(const platform::RecordingCanvas& canvas) {
    std::vector<std::string> found;
    for (const auto* call : canvas.of(Kind::Text))
        found.push_back(call->text);
    return found;
}

bool drawsText(ViewerApp& app, const std::string& text) {
    platform::RecordingCanvas canvas(800, 600);
    app.onPaint(canvas);
    const std::vector<std::string> all = texts(canvas);
    return std::find(all.begin(), all.end(), text) != all.end();
}

struct TeachingFixture : ViewerFixture {
    // The averaged file with the two companions the solver writes beside it.
    ViewerApp& startedWithCompanions(const ContourModel& averaged = cylinderPanel()) {
        writeDisplacements("Node_Dis.txt", displacementsFor(averaged));
        writeModel("Elem_Node_Strs_InContourFormat.txt", unaveraged(averaged));
        return started(averaged);
    }
    // Each element's own values: Se off by (element + corner) / 10 from the averaged ones.
    static ContourModel unaveraged(ContourModel m) {
        for (std::size_t e = 0; e < m.elements.size(); ++e)
            for (std::size_t k = 0; k < 4; ++k)
                m.elements[e].top[k][6] += 0.1 * static_cast<double>(e + k);
        return m;
    }
    platform::PixelPoint elementCentre(int element) {
        const std::vector<view3d::ScreenPoint> nodes = app_->projectedNodes();
        platform::PixelPoint c;
        for (int n : app_->model().elements[static_cast<std::size_t>(element)].nodes) {
            c.x += nodes[static_cast<std::size_t>(n)].x / 4;
            c.y += nodes[static_cast<std::size_t>(n)].y / 4;
        }
        return c;
    }
};

TEST_F(TeachingFixture, SurfacesAreARadioGroupThatShowsTheContourAndNamesTheLegend) {
    ViewerApp& app = started();
    EXPECT_TRUE(window.menuChecked(kSurfaceTop));
    app.onCommand(kPlotContour); // off
    const std::pair<int, const char*> surfaces[] = {{kSurfaceBottom, "Se (bottom surface)"},
                                                    {kSurfaceMembrane, "Se (membrane)"},
                                                    {kSurfaceBending, "Se (bending)"},
                                                    {kSurfaceTop, "Se (top surface)"}};
    for (const auto& [id, title] : surfaces) {
        app.onCommand(id);
        EXPECT_TRUE(app.display().contour);
        for (int other = kSurfaceTop; other <= kSurfaceBending; ++other)
            EXPECT_EQ(window.menuChecked(other), other == id) << other;
        EXPECT_TRUE(drawsText(app, title)) << title;
    }
    app.onCommand(kSurfaceMembrane);
    app.onCommand(kComponentSx); // the surface stays when the component changes
    EXPECT_EQ(app.display().surface, Surface::Membrane);
    EXPECT_TRUE(drawsText(app, "Sx (membrane)"));
}

TEST_F(TeachingFixture, DeformedShapeMovesTheNodesByTheDrawingsScale) {
    ViewerApp& app = startedWithCompanions();
    EXPECT_TRUE(window.menuEnabled(kDeformedShape));
    EXPECT_TRUE(window.menuEnabled(kDeformationScale));
    EXPECT_FALSE(window.menuChecked(kDeformedShape));
    // 0.05 times the largest side of the box around the nodes over the largest translation.
    const ContourModel m = cylinderPanel();
    const std::vector<double> u = displacementsFor(m);
    double largest = 0.0, lo[3] = {1e300, 1e300, 1e300}, hi[3] = {-1e300, -1e300, -1e300};
    for (std::size_t n = 0; n < m.nodes.size(); ++n) {
        const double xyz[3] = {m.nodes[n].x, m.nodes[n].y, m.nodes[n].z};
        for (int d = 0; d < 3; ++d) {
            lo[d] = std::min(lo[d], xyz[d]);
            hi[d] = std::max(hi[d], xyz[d]);
            largest = std::max(largest, std::fabs(u[6 * n + d]));
        }
    }
    const double side = std::max({hi[0] - lo[0], hi[1] - lo[1], hi[2] - lo[2]});
    // The file holds six digits, the expectation full precision.
    EXPECT_NEAR(app.defaultDeformationScale(), 0.05 * side / largest,
                1e-5 * app.deformationScale());
    EXPECT_EQ(app.deformationScale(), app.defaultDeformationScale());

    const std::vector<view3d::ScreenPoint> before = app.projectedNodes();
    const view3d::Placement placement = app.controller().view().placement();
    app.onCommand(kDeformedShape);
    EXPECT_TRUE(app.deformedShown());
    EXPECT_TRUE(window.menuChecked(kDeformedShape));
    const double s = app.deformationScale();
    const std::vector<view3d::ScreenPoint> after = app.projectedNodes();
    for (std::size_t n = 0; n < m.nodes.size(); n += 7) {
        const view3d::ScreenPoint moved = app.controller().view().modelToScreen(
            {m.nodes[n].x + s * u[6 * n], m.nodes[n].y + s * u[6 * n + 1],
             m.nodes[n].z + s * u[6 * n + 2]});
        // The file holds six digits: a hundredth of a pixel.
        EXPECT_NEAR(after[n].x, moved.x, 0.01) << n;
        EXPECT_NEAR(after[n].y, moved.y, 0.01) << n;
    }
    // The view did not jump.
    EXPECT_EQ(app.controller().view().placement().cx, placement.cx);
    EXPECT_EQ(app.controller().view().placement().scale, placement.scale);
    // The undeformed mesh shows behind, and the legend tells the factor.
    platform::RecordingCanvas canvas(800, 600);
    app.onPaint(canvas);
    ASSERT_GT(canvas.calls.size(), m.elements.size());
    EXPECT_EQ(canvas.calls[1].kind, Kind::Polyline);
    bool told = false;
    for (const std::string& t : texts(canvas))
        told = told || t.rfind("Deformed, scale ", 0) == 0;
    EXPECT_TRUE(told);
    app.onCommand(kDeformedShape); // and off again
    EXPECT_EQ(app.projectedNodes()[5].x, before[5].x);
}

TEST_F(TeachingFixture, DeformationScaleDialogSetsChecksAndRestoresTheFactor) {
    ViewerApp& app = startedWithCompanions();
    app.onCommand(kDeformationScale);
    platform::FakeDialog* d = gui.dialog("Deformed Shape");
    ASSERT_NE(d, nullptr);
    EXPECT_EQ(d->text(DeformationDialog::kScale), formatGeneral(app.defaultDeformationScale()));
    d->type(DeformationDialog::kScale, "twelve");
    d->press(DeformationDialog::kApply);
    ASSERT_EQ(gui.messages.size(), 1u);
    EXPECT_EQ(gui.messages[0].second, "Scale factor: \"twelve\" is not a number.");
    EXPECT_FALSE(app.deformedShown());
    d->type(DeformationDialog::kScale, " 250 ");
    d->press(DeformationDialog::kApply);
    EXPECT_EQ(app.deformationScale(), 250.0);
    EXPECT_TRUE(app.deformedShown());
    EXPECT_TRUE(window.menuChecked(kDeformedShape));
    d->press(DeformationDialog::kDefault);
    EXPECT_EQ(app.deformationScale(), app.defaultDeformationScale());
    EXPECT_EQ(d->text(DeformationDialog::kScale), formatGeneral(app.defaultDeformationScale()));
    d->press(DeformationDialog::kClose);
    EXPECT_EQ(gui.dialog("Deformed Shape"), nullptr);
}

TEST_F(TeachingFixture, DeformedShapeIsGreyedOutWithoutAFittingFileAndTheStatusSaysWhy) {
    // No file at all.
    ViewerApp& app = started();
    EXPECT_FALSE(window.menuEnabled(kDeformedShape));
    EXPECT_FALSE(window.menuEnabled(kDeformationScale));
    EXPECT_NE(window.status.find("Deformed Shape unavailable: no Node_Dis.txt beside "
                                 "Shell_AverageStrs.txt"),
              std::string::npos)
        << window.status;
    app.onCommand(kDeformedShape);
    EXPECT_FALSE(app.deformedShown());
    // A file for another mesh: the node counts differ.
    const ContourModel m = cylinderPanel();
    std::vector<double> u = displacementsFor(m);
    u.resize(6 * 10);
    writeDisplacements("Node_Dis.txt", u);
    started(m);
    EXPECT_FALSE(window.menuEnabled(kDeformedShape));
    EXPECT_NE(window.status.find("Node_Dis.txt has 10 nodes where Shell_AverageStrs.txt has " +
                                 std::to_string(m.nodes.size())),
              std::string::npos)
        << window.status;
    // A broken file: its line is named.
    writeText("Node_Dis.txt", "           Node             dx             dy             dz"
                              "             rx             ry             rz\n"
                              "             0:              0              0     oops\n");
    started(m);
    EXPECT_FALSE(window.menuEnabled(kDeformedShape));
    EXPECT_NE(window.status.find("Node_Dis.txt, line 2:"), std::string::npos) << window.status;
    // With a fitting file the item comes back; opening a file without one greys it again.
    writeDisplacements("Node_Dis.txt", displacementsFor(m));
    ViewerApp& fitting = started(m);
    EXPECT_TRUE(window.menuEnabled(kDeformedShape));
    fitting.onCommand(kDeformedShape);
    ASSERT_EQ(::mkdir("other", 0700), 0);
    writeModel("other/Shell_AverageStrs.txt", m);
    gui.fileAnswers.push_back(std::string("other/Shell_AverageStrs.txt"));
    fitting.onCommand(kFileOpen);
    EXPECT_FALSE(window.menuEnabled(kDeformedShape));
    EXPECT_FALSE(fitting.deformedShown());
    EXPECT_NE(window.status.find("no other/Node_Dis.txt beside other/Shell_AverageStrs.txt"),
              std::string::npos)
        << window.status;
}

TEST_F(TeachingFixture, AveragingJumpShowsHowFarEachElementIsFromTheAverage) {
    ViewerApp& app = startedWithCompanions();
    EXPECT_TRUE(window.menuEnabled(kAveragingJump));
    app.onCommand(kAveragingJump);
    EXPECT_TRUE(window.menuChecked(kAveragingJump));
    platform::RecordingCanvas canvas(800, 600);
    app.onPaint(canvas);
    const std::vector<std::string> all = texts(canvas);
    const auto has = [&all](const std::string& t) {
        return std::find(all.begin(), all.end(), t) != all.end();
    };
    EXPECT_TRUE(has("Averaging jump of Se"));
    EXPECT_TRUE(has("(top surface)"));
    EXPECT_TRUE(has("|unaveraged - averaged|:"));
    // Offsets of (element + corner) / 10: from 0 at element 0, corner 0, to the last.
    const std::size_t last = app.model().elements.size() - 1 + 3;
    EXPECT_TRUE(has("Min = 0"));
    EXPECT_TRUE(has("Max = " + formatGeneral(0.1 * static_cast<double>(last))));
    app.onCommand(kAveragingJump);
    EXPECT_FALSE(app.display().averagingJump);
}

TEST_F(TeachingFixture, AveragingJumpIsGreyedOutWithoutTheElementStressesOrForAnotherMesh) {
    started();
    EXPECT_FALSE(window.menuEnabled(kAveragingJump));
    EXPECT_NE(window.status.find("Averaging Jump unavailable: no "
                                 "Elem_Node_Strs_InContourFormat.txt beside"),
              std::string::npos)
        << window.status;
    writeModel("Elem_Node_Strs_InContourFormat.txt", cylinderPanel(3, 3));
    ViewerApp& app = started();
    EXPECT_FALSE(window.menuEnabled(kAveragingJump));
    EXPECT_NE(window.status.find("Elem_Node_Strs_InContourFormat.txt has 16 nodes where "
                                 "Shell_AverageStrs.txt has 117"),
              std::string::npos)
        << window.status;
    app.onCommand(kAveragingJump);
    EXPECT_FALSE(app.display().averagingJump);
}

TEST_F(TeachingFixture, LegendDialogSetsBandsAndRangeAndRefusesBadFields) {
    ViewerApp& app = started();
    app.onCommand(kLegendSettings);
    platform::FakeDialog* d = gui.dialog("Legend");
    ASSERT_NE(d, nullptr);
    EXPECT_EQ(d->text(LegendDialog::kBands), "10");
    EXPECT_TRUE(d->checked(LegendDialog::kFromData));
    const struct {
        const char* bands;
        const char* low;
        const char* high;
        const char* message;
    } bad[] = {{"1", "0", "1", "Bands: give a whole number from 2 to 20."},
               {"21", "0", "1", "Bands: give a whole number from 2 to 20."},
               {"6.5", "0", "1", "Bands: give a whole number from 2 to 20."},
               {"6", "low", "1", "Min: \"low\" is not a number."},
               {"6", "0", "", "Max: \"\" is not a number."},
               {"6", "5", "5", "Min must be less than Max."}};
    d->choose(LegendDialog::kFixed);
    for (const auto& c : bad) {
        gui.messages.clear();
        d->type(LegendDialog::kBands, c.bands);
        d->type(LegendDialog::kLow, c.low);
        d->type(LegendDialog::kHigh, c.high);
        d->press(LegendDialog::kApply);
        ASSERT_EQ(gui.messages.size(), 1u) << c.bands << " " << c.low << " " << c.high;
        EXPECT_EQ(gui.messages[0].second, c.message);
        EXPECT_EQ(app.legendSettings().bands, 10); // nothing changed
        EXPECT_FALSE(app.legendSettings().fixedRange);
    }
    d->type(LegendDialog::kBands, "4");
    d->type(LegendDialog::kLow, "-100");
    d->type(LegendDialog::kHigh, "300");
    d->press(LegendDialog::kApply);
    EXPECT_EQ(app.legendSettings().bands, 4);
    EXPECT_TRUE(app.legendSettings().fixedRange);
    EXPECT_TRUE(drawsText(app, "200"));
    // The settings stay with another component and surface.
    app.onCommand(kComponentSx);
    app.onCommand(kSurfaceBending);
    EXPECT_EQ(app.legendSettings().bands, 4);
    EXPECT_TRUE(drawsText(app, "200"));
    d->choose(LegendDialog::kFromData);
    d->press(LegendDialog::kApply);
    EXPECT_FALSE(app.legendSettings().fixedRange);
    EXPECT_FALSE(drawsText(app, "200"));
}

TEST_F(TeachingFixture, ProbeTellsWhatLiesUnderTheMouseAndAClickPinsIt) {
    ViewerApp& app = startedWithCompanions(flatPlate(6, 4));
    const std::string files = window.status;
    app.onMouseMove(elementCentre(17));
    EXPECT_EQ(window.status.rfind("Element 17, nearest node ", 0), 0u) << window.status;
    EXPECT_NE(window.status.find("Se (top surface) here: "), std::string::npos);
    app.onMouseMove({2, 2}); // off the model: the files' notes again
    EXPECT_EQ(window.status, files);
    // A click pins the values in the Probe panel, with the node's displacements.
    platform::click(app, elementCentre(17));
    ASSERT_TRUE(app.pinnedProbe());
    EXPECT_EQ(app.pinnedProbe()->element, 17);
    platform::FakeDialog* panel = gui.dialog("Probe");
    ASSERT_NE(panel, nullptr);
    // The panel follows the shown quantity.
    app.onCommand(kComponentSx);
    platform::RecordingCanvas canvas(800, 600);
    app.onPaint(canvas); // the pin is marked
    EXPECT_FALSE(canvas.of(Kind::Line).empty());
    panel->closeByUser();
    EXPECT_FALSE(app.pinnedProbe());
    // Picking modes pick; they do not probe.
    app.onCommand(kSelectElements);
    const std::string before = window.status;
    app.onMouseMove(elementCentre(3));
    EXPECT_EQ(window.status, before);
}

TEST_F(TeachingFixture, ProbePanelListsThePinnedValuesAndFollowsTheShownQuantity) {
    ViewerApp& app = startedWithCompanions(flatPlate(6, 4));
    platform::click(app, elementCentre(5));
    platform::FakeDialog* panel = gui.dialog("Probe");
    ASSERT_NE(panel, nullptr);
    const auto value = [panel](const std::string& quantity) {
        for (const std::vector<std::string>& row : panel->rows(ProbePanel::kValues))
            if (row.size() == 2 && row[0] == quantity)
                return row[1];
        return std::string("(no row)");
    };
    EXPECT_EQ(value("Element"), "5");
    const std::size_t node = static_cast<std::size_t>(app.pinnedProbe()->node);
    const std::size_t corner = static_cast<std::size_t>(app.pinnedProbe()->corner);
    EXPECT_EQ(value("Nearest node"),
              std::to_string(node) + " (corner " + std::to_string(corner) + ")");
    EXPECT_EQ(value("Sx at node, top surface"),
              formatGeneral(app.model().elements[5].top[corner][0]));
    EXPECT_EQ(value("dy at node"), formatGeneral(-0.002 * app.model().nodes[node].x));
    EXPECT_NE(value("Se (top surface) here"), "(no row)");
    app.onCommand(kSurfaceBending);
    EXPECT_NE(value("Se (bending) here"), "(no row)");
    EXPECT_EQ(value("Se (top surface) here"), "(no row)");
}

TEST_F(TeachingFixture, SavePictureWritesAPngAtTheChosenSize) {
    ViewerApp& app = started();
    app.onCommand(kSavePicture);
    platform::FakeDialog* d = gui.dialog("Save Picture");
    ASSERT_NE(d, nullptr);
    d->setSelection(PictureDialog::kSize, 1); // twice the window
    gui.fileAnswers.push_back(std::string("picture.png"));
    d->press(PictureDialog::kSave);
    ASSERT_EQ(gui.fileDialogs.back().filter, "PNG Images (*.png)");
    EXPECT_TRUE(gui.messages.empty()) << gui.messages[0].second;
    platform::RgbImage image;
    ASSERT_TRUE(platform::readPngFile("picture.png", image).ok());
    EXPECT_EQ(image.width, 1600);
    EXPECT_EQ(image.height, 1200);
    EXPECT_EQ(image.at(10, 10), platform::FakeGui::kRenderedGrey);
    EXPECT_NE(window.status.find("Saved picture.png (PNG image, 1600 x 1200 pixels)"),
              std::string::npos);
    // What was drawn off the screen is the window's picture, twice as large.
    ASSERT_TRUE(gui.rendered);
    ASSERT_FALSE(gui.rendered->calls.empty());
    EXPECT_EQ(gui.rendered->calls[0].points[1].x, 1600);
    bool legendTitle = false;
    for (const auto* t : gui.rendered->of(Kind::Text))
        legendTitle = legendTitle || (t->text == "Se (top surface)" && t->font.size == 28 &&
                                      t->points[0].x == 2 * (800 - kLegendWidthPixels + 10));
    EXPECT_TRUE(legendTitle);
    // A place that cannot be written is named.
    gui.fileAnswers.push_back(std::string("no/such/folder/picture.png"));
    d->press(PictureDialog::kSave);
    ASSERT_EQ(gui.messages.size(), 1u);
    EXPECT_NE(gui.messages[0].second.find("no/such/folder/picture.png"), std::string::npos);
}

TEST_F(TeachingFixture, SavePictureWritesAnSvgWithEveryPieceAsAPolygon) {
    ViewerApp& app = started();
    app.onCommand(kSavePicture);
    platform::FakeDialog* d = gui.dialog("Save Picture");
    ASSERT_NE(d, nullptr);
    d->choose(PictureDialog::kSvg);
    gui.fileAnswers.push_back(std::string("picture.svg"));
    d->press(PictureDialog::kSave);
    ASSERT_EQ(gui.fileDialogs.back().filter, "SVG Drawings (*.svg)");
    ASSERT_TRUE(gui.messages.empty()) << gui.messages[0].second;
    platform::RecordingCanvas canvas(800, 600);
    app.paintPicture(canvas);
    const std::size_t polygons = canvas.of(Kind::FillPolygon).size();
    const std::size_t rects = canvas.of(Kind::Rectangle).size();
    const std::size_t textCount = canvas.of(Kind::Text).size();
    if (std::system("test -x /usr/bin/python3") != 0)
        GTEST_SKIP() << "no /usr/bin/python3 to parse the SVG";
    // Parsed as XML: the root's size and the numbers of each element.
    const std::string script =
        "import sys, xml.etree.ElementTree as ET\n"
        "root = ET.parse('picture.svg').getroot()\n"
        "ns = '{http://www.w3.org/2000/svg}'\n"
        "count = lambda tag: len(root.findall(ns + tag))\n"
        "print(root.get('width'), root.get('height'), root.get('viewBox'), count('polygon'), "
        "count('rect'), count('text'))\n";
    writeText("count.py", script);
    ASSERT_EQ(std::system("/usr/bin/python3 count.py > counted.txt"), 0);
    EXPECT_EQ(readText("counted.txt"), "800 600 0 0 800 600 " + std::to_string(polygons) + " " +
                                           std::to_string(rects) + " " + std::to_string(textCount) +
                                           "\n");
    EXPECT_GT(polygons, 100u);
}

} // namespace
} // namespace shellfem::viewer::testing
