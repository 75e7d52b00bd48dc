#include "app_test_support.h"

#include "preprocessor/app/dialogs/create_geopt_dialog.h"
#include "preprocessor/app/dialogs/meshing_quad_dialog.h"
#include "preprocessor/app/field_reader.h"

namespace shellfem::preprocessor::app::testing {
namespace {

using namespace command;
using Geo = CreateGeoPtDialog;
using Mesh = MeshingQuadDialog;

TEST(FieldReader, NumbersReadWholeAndFiniteOnly) {
    for (const char* good : {"1", " -2.5 ", "3e2", "+0.125", ".5"})
        EXPECT_TRUE(parseNumber(good)) << good;
    for (const char* bad : {"", "  ", "abc", "12.5abc", "1,5", "0x1A", "inf", "nan", "1e999"})
        EXPECT_FALSE(parseNumber(bad)) << bad;
}

class Dialogs : public AppFixture {};

TEST_F(Dialogs, CreateGeoPtAddsAPointAndListsEveryPoint) {
    platform::FakeDialog& d = open(kCreateGeoPt, "Create GeoPt");
    EXPECT_EQ(d.text(Geo::kX), "0");
    d.type(Geo::kX, "1.5");
    d.type(Geo::kY, "-2");
    d.type(Geo::kZ, " 3e-1 ");
    d.press(Geo::kAdd);
    EXPECT_TRUE(takeMessages().empty());
    ASSERT_EQ(app->model().data().points.size(), 1u);
    const Vec3& p = app->model().data().points[0].position;
    EXPECT_EQ(p.x, 1.5);
    EXPECT_EQ(p.y, -2.0);
    EXPECT_EQ(p.z, 0.3);
    d.type(Geo::kX, "4");
    d.press(Geo::kAdd);
    EXPECT_EQ(d.selection(Geo::kList), 1);
    EXPECT_NE(window.title.find(" *"), std::string::npos);

    // The list shows the model as it is, also after edits made elsewhere.
    app->edit([](Model& m) { return m.addPoint({7, 8, 9}); });
    d.setSelection(Geo::kList, 2);
    d.press(Geo::kList);
    EXPECT_EQ(d.text(Geo::kX), "7.00000");
    EXPECT_EQ(d.text(Geo::kZ), "9.00000");
}

TEST_F(Dialogs, CreateGeoPtNamesTheFirstFieldThatDoesNotReadAndAddsNothing) {
    platform::FakeDialog& d = open(kCreateGeoPt, "Create GeoPt");
    d.type(Geo::kY, "2,5");
    d.type(Geo::kZ, "");
    d.press(Geo::kAdd);
    EXPECT_EQ(takeMessages(),
              std::vector<std::string>{"The field \"Y\" must hold a number; \"2,5\" is not one."});
    EXPECT_TRUE(app->model().data().points.empty());
    d.type(Geo::kY, "2");
    d.press(Geo::kAdd);
    EXPECT_EQ(takeMessages(),
              std::vector<std::string>{"The field \"Z\" must hold a number; it is empty."});
    EXPECT_EQ(window.title.find('*'), std::string::npos);
}

class MeshingQuad : public Dialogs {
protected:
    void SetUp() override {
        Dialogs::SetUp();
        app->edit([](Model& m) {
            m.addMaterial(kSteel);
            m.addThickness(0.1);
            addRectangle(m, 0, 0, 10, 10);
            addRectangle(m, 10, 0, 20, 10);
            return EditResult{};
        });
        gui.messages.clear();
    }
    void pick(std::vector<int> polygons) {
        Selection picks = app->picks();
        picks.polygons = std::move(polygons);
        app->setPicks(picks);
    }
};

TEST_F(MeshingQuad, MeshesThePickedPolygonsAndReportsTheSkylineProfile) {
    platform::FakeDialog& d = open(kMeshQuad, "Meshing Quad");
    EXPECT_TRUE(d.checked(Mesh::kByDivisions));
    EXPECT_TRUE(d.checked(PickingControls::kPick)); // mode 7 from the command
    EXPECT_FALSE(d.enabled(Mesh::kElementSize));
    EXPECT_EQ(d.text(PickingControls::kPicked), "No polygon picked");
    pick({1});
    EXPECT_EQ(d.text(PickingControls::kPicked), "1 polygon picked: 1");

    d.type(Mesh::kDivisions01, "3");
    d.type(Mesh::kDivisions12, "2");
    d.press(Mesh::kMesh);
    const std::vector<std::string> shown = takeMessages();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].rfind("Polygons meshed: 1.\nThe model now has 6 elements and 12 nodes.", 0),
              0u);
    EXPECT_NE(shown[0].find("skyline entries"), std::string::npos);
    EXPECT_EQ(app->model().data().elements.size(), 6u);

    // By size: both polygons, the neighbour's divisions kept where they meet.
    d.press(PickingControls::kPickAll);
    d.choose(Mesh::kBySize);
    EXPECT_TRUE(d.enabled(Mesh::kElementSize));
    EXPECT_FALSE(d.enabled(Mesh::kDivisions01));
    d.type(Mesh::kElementSize, "5");
    d.press(Mesh::kMesh);
    ASSERT_EQ(takeMessages().size(), 1u);
    EXPECT_GE(app->model().data().elements.size(), 8u);
}

TEST_F(MeshingQuad, WrongFieldsAndMissingPicksMeshNothing) {
    platform::FakeDialog& d = open(kMeshQuad, "Meshing Quad");
    d.press(Mesh::kMesh); // nothing picked: the model's refusal
    EXPECT_EQ(takeMessages(), std::vector<std::string>{"No polygon was picked for meshing."});

    pick({0});
    for (const char* bad : {"0", "2.5", "x", "1001"}) {
        d.type(Mesh::kDivisions12, bad);
        d.press(Mesh::kMesh);
        EXPECT_EQ(takeMessages(),
                  std::vector<std::string>{"The field \"Edges 1-2 and 3-0\" must hold a whole "
                                           "number from 1 to 1000; \"" +
                                           std::string(bad) + "\" is not one."});
    }
    d.choose(Mesh::kBySize);
    d.type(Mesh::kElementSize, "-1");
    d.press(Mesh::kMesh);
    EXPECT_EQ(takeMessages(),
              std::vector<std::string>{"The field \"Element size\" must hold a "
                                       "number greater than 0; \"-1\" is not one."});
    EXPECT_TRUE(app->model().data().elements.empty());
}

TEST_F(MeshingQuad, ThePickingBoxSetsTheModeAndTheGestureAndFollowsOtherChanges) {
    platform::FakeDialog& d = open(kMeshQuad, "Meshing Quad");
    d.choose(PickingControls::kUnpick);
    EXPECT_EQ(app->controller().mode(), kModeUnpickPolygons);
    d.choose(PickingControls::kRectangle);
    EXPECT_TRUE(app->rectanglePicking());
    app->onCharacter('P'); // pan: neither Pick nor Unpick
    EXPECT_FALSE(d.checked(PickingControls::kPick));
    EXPECT_FALSE(d.checked(PickingControls::kUnpick));
    d.press(PickingControls::kPickAll);
    EXPECT_EQ(d.text(PickingControls::kPicked), "2 polygons picked: 0, 1");
    d.press(PickingControls::kClear);
    EXPECT_TRUE(app->picks().polygons.empty());
}

} // namespace
} // namespace shellfem::preprocessor::app::testing
