#include "app_test_support.h"

#include "preprocessor/app/dialogs/copy_geopt_dialog.h"
#include "preprocessor/app/dialogs/create_polygon_dialog.h"
#include "preprocessor/app/dialogs/materials_thicknesses_dialog.h"
#include "preprocessor/app/picking_controls.h"

namespace shellfem::preprocessor::app::testing {
namespace {

using namespace command;
using Poly = CreatePolygonDialog;
using Copy = CopyGeoPtDialog;
using Attr = MaterialsThicknessesDialog;
using Rows = std::vector<std::vector<std::string>>;
using Texts = std::vector<std::string>;

// Two materials, two thicknesses and the corners 0..3 of a 10 × 10 square in z = 0,
// with point 4 at its centre.
class ModelingDialogs : public AppFixture {
protected:
    void SetUp() override {
        AppFixture::SetUp();
        app->edit([](Model& m) {
            m.addMaterial(kSteel);
            m.addMaterial({70000.0, 0.33});
            m.addThickness(0.1);
            m.addThickness(0.25);
            for (const Vec3& p :
                 {Vec3{0, 0, 0}, Vec3{10, 0, 0}, Vec3{10, 10, 0}, Vec3{0, 10, 0}, Vec3{5, 5, 0}})
                m.addPoint(p);
            return EditResult{};
        });
        gui.fileAnswers.push_back((folder / "square.kvx").string());
        app->onCommand(kFileSave); // so that a star in the title means a change
        gui.messages.clear();
    }
    const ModelData& data() const { return app->model().data(); }
    std::array<double, 3> coordinates(int point) const {
        const Vec3& p = data().points[static_cast<std::size_t>(point)].position;
        return {p.x, p.y, p.z};
    }
};

TEST_F(ModelingDialogs, CreatePolygonListsTheClickedCornersAndCreatesThePolygon) {
    platform::FakeDialog& d = open(kCreatePolygon, "Create Polygon(s)");
    EXPECT_TRUE(d.checked(Poly::kAddCorners));
    EXPECT_EQ(d.items(Poly::kMaterial), (Texts{"#0 E=210000 Mu=0.3", "#1 E=70000 Mu=0.33"}));
    EXPECT_EQ(d.items(Poly::kThickness), (Texts{"#0 TK=0.1", "#1 TK=0.25"}));
    EXPECT_EQ(d.selection(Poly::kMaterial), 0);
    EXPECT_FALSE(d.enabled(Poly::kUndoLast));

    for (int point : {0, 1, 2, 4})
        platform::click(*app, pixelOfPoint(point));
    EXPECT_EQ(d.rows(Poly::kCorners)[1],
              (std::vector<std::string>{"2", "1", "10.00000", "0.00000", "0.00000"}));
    d.press(Poly::kUndoLast);
    platform::click(*app, pixelOfPoint(3));
    ASSERT_EQ(d.rows(Poly::kCorners).size(), 4u);
    EXPECT_EQ(d.rows(Poly::kCorners)[3][1], "3");

    d.setSelection(Poly::kMaterial, 1);
    d.setSelection(Poly::kThickness, 1);
    d.press(Poly::kCreate);
    EXPECT_TRUE(takeMessages().empty());
    ASSERT_EQ(data().polygons.size(), 1u);
    EXPECT_EQ(data().polygons[0].vertices, (std::vector<int>{0, 1, 2, 3}));
    EXPECT_EQ(data().polygons[0].material, 1);
    EXPECT_EQ(data().polygons[0].thickness, 1);
    EXPECT_TRUE(app->picks().polygonOutline.empty());
    EXPECT_TRUE(d.rows(Poly::kCorners).empty());
    EXPECT_EQ(d.selection(Poly::kMaterial), 1); // kept for the next polygon

    // A material added elsewhere appears; the choice stays.
    app->edit([](Model& m) { return m.addMaterial({1000.0, 0.2}); });
    EXPECT_EQ(d.items(Poly::kMaterial).size(), 3u);
    EXPECT_EQ(d.selection(Poly::kMaterial), 1);
}

TEST_F(ModelingDialogs, CreatePolygonRefusesMissingAttributesAndTooFewCornersAndKeepsThem) {
    platform::FakeDialog& d = open(kCreatePolygon, "Create Polygon(s)");
    platform::click(*app, pixelOfPoint(0));
    platform::click(*app, pixelOfPoint(1));
    d.press(Poly::kCreate);
    EXPECT_EQ(takeMessages(), Texts{"A polygon needs at least 3 points; 2 were given."});
    EXPECT_EQ(app->picks().polygonOutline, (std::vector<int>{0, 1}));

    platform::click(*app, pixelOfPoint(2));
    d.setSelection(Poly::kThickness, -1); // none chosen
    d.press(Poly::kCreate);
    EXPECT_EQ(takeMessages(), Texts{"The field \"Thickness\" must name a thickness; choose one."});
    EXPECT_TRUE(data().polygons.empty());
    EXPECT_EQ(app->picks().polygonOutline.size(), 3u);
    EXPECT_EQ(window.title.find('*'), std::string::npos);

    app->edit([](Model& m) {
        ModelData withoutMaterials = m.data();
        withoutMaterials.materials.clear();
        m.assign(withoutMaterials);
        return EditResult{};
    });
    d.press(Poly::kCreate);
    EXPECT_EQ(takeMessages(), Texts{"The field \"Material\" must name a material; there is none "
                                    "yet: add one with Modeling > Material&Thick."});
    EXPECT_TRUE(data().polygons.empty());
}

TEST_F(ModelingDialogs, CreatePolygonGivesPickedPolygonsTheChosenAttributes) {
    app->edit([](Model& m) { return m.createPolygon({0, 1, 2, 3}, 0, 0); });
    platform::FakeDialog& d = open(kCreatePolygon, "Create Polygon(s)");
    d.press(Poly::kSetAttributes);
    EXPECT_EQ(takeMessages(), Texts{"No polygon is picked: choose \"Pick polygons\" and click them "
                                    "in the view."});

    d.choose(Poly::kPickPolygons);
    EXPECT_EQ(app->controller().mode(), kModePickPolygons);
    EXPECT_FALSE(d.checked(Poly::kAddCorners));
    platform::click(*app, pixelOfPoint(4)); // inside the square
    EXPECT_EQ(d.text(Poly::kPickedPolygons), "1 polygon picked: 0");
    d.setSelection(Poly::kThickness, 1);
    d.press(Poly::kSetAttributes);
    EXPECT_EQ(data().polygons[0].thickness, 1);
    EXPECT_EQ(data().polygons[0].material, 0);

    // All, Pan and Zoom carry the View Kit's identifiers.
    d.press(1047);
    EXPECT_EQ(app->controller().mode(), view3d::kModePan);
    EXPECT_FALSE(d.checked(Poly::kPickPolygons));
    d.press(1048);
    EXPECT_EQ(app->controller().mode(), view3d::kModeZoomWindow);
    d.choose(Poly::kAddCorners);
    EXPECT_EQ(app->controller().mode(), kModeOutlineAdd);
}

TEST_F(ModelingDialogs, CopyGeoPtCopiesThePickedPointsAlongTheOffset) {
    platform::FakeDialog& d = open(kCopyGeoPt, "Copy GeoPt(s)");
    EXPECT_TRUE(d.checked(PickingControls::kPick));
    EXPECT_TRUE(d.checked(PickingControls::kPoint));
    platform::click(*app, pixelOfPoint(3));
    platform::click(*app, pixelOfPoint(0));
    EXPECT_EQ(d.rows(Copy::kPickedList), (Rows{{"3", "0.00000", "10.00000", "0.00000"},
                                               {"0", "0.00000", "0.00000", "0.00000"}}));
    d.type(Copy::kDz, "2.5");
    d.type(Copy::kCopies, "2");
    d.press(Copy::kCopy);
    EXPECT_TRUE(takeMessages().empty());
    ASSERT_EQ(data().points.size(), 9u);
    EXPECT_EQ(coordinates(5), (std::array<double, 3>{0, 10, 2.5}));
    EXPECT_EQ(coordinates(8), (std::array<double, 3>{0, 0, 5}));
    EXPECT_EQ(app->picks().points, (std::vector<int>{3, 0}));
    d.press(1046); // All: the copies come into view
    EXPECT_NE(window.title.find(" *"), std::string::npos);
}

TEST_F(ModelingDialogs, CopyGeoPtNamesTheWrongFieldAndCopiesNothing) {
    platform::FakeDialog& d = open(kCopyGeoPt, "Copy GeoPt(s)");
    d.type(Copy::kDx, "1");
    d.press(Copy::kCopy);
    EXPECT_EQ(takeMessages(), Texts{"No point is picked: pick the points to copy in the view."});
    d.press(PickingControls::kPickAll);
    for (const char* bad : {"0", "2.5", "1001", ""}) {
        d.type(Copy::kCopies, bad);
        d.press(Copy::kCopy);
        const std::string shown =
            bad[0] ? "\"" + std::string(bad) + "\" is not one." : std::string("it is empty.");
        EXPECT_EQ(takeMessages(), Texts{"The field \"Number of copies\" must hold a whole number "
                                        "from 1 to 1000; " +
                                        shown});
    }
    d.type(Copy::kCopies, "3");
    d.type(Copy::kDy, "1e");
    d.press(Copy::kCopy);
    EXPECT_EQ(takeMessages(), Texts{"The field \"dY\" must hold a number; \"1e\" is not one."});
    d.type(Copy::kDx, "0");
    d.type(Copy::kDy, "0");
    d.press(Copy::kCopy);
    EXPECT_EQ(takeMessages(), Texts{"The offset of the copies must be finite and not zero."});
    EXPECT_EQ(data().points.size(), 5u);
    EXPECT_EQ(window.title.find('*'), std::string::npos);
}

TEST_F(ModelingDialogs, MaterialsAreAddedChangedAndDeletedWhereUnused) {
    app->edit([](Model& m) { return m.createPolygon({0, 1, 2, 3}, 1, 0); });
    platform::FakeDialog& d = open(kMaterialThick, "Materials and Thicknesses");
    EXPECT_EQ(d.rows(Attr::kMaterialList),
              (Rows{{"0", "210000", "0.3", "none"}, {"1", "70000", "0.33", "0"}}));
    EXPECT_EQ(d.rows(Attr::kThicknessList), (Rows{{"0", "0.1", "0"}, {"1", "0.25", "none"}}));

    d.type(Attr::kE, "2e5");
    d.type(Attr::kMu, "-0.2");
    d.press(Attr::kAddMaterial);
    ASSERT_EQ(data().materials.size(), 3u);
    EXPECT_EQ(data().materials[2].Mu, -0.2);
    EXPECT_EQ(d.selection(Attr::kMaterialList), 2);

    d.setSelection(Attr::kMaterialList, 1);
    d.press(Attr::kMaterialList);
    EXPECT_EQ(d.text(Attr::kE), "70000");
    d.type(Attr::kMu, "0.34");
    d.press(Attr::kChangeMaterial);
    EXPECT_EQ(data().materials[1].Mu, 0.34);
    EXPECT_EQ(data().materials[1].E, 70000.0);

    d.press(Attr::kDeleteMaterial); // row 1 is used by polygon 0
    EXPECT_EQ(takeMessages(),
              Texts{"Material 1 is used by polygon 0; give it another one before deleting it."});
    d.setSelection(Attr::kMaterialList, 0);
    d.press(Attr::kDeleteMaterial);
    EXPECT_TRUE(takeMessages().empty());
    EXPECT_EQ(d.rows(Attr::kMaterialList)[0],
              (std::vector<std::string>{"0", "70000", "0.34", "0"}));
    EXPECT_EQ(data().polygons[0].material, 0);
    EXPECT_EQ(d.selection(Attr::kMaterialList), -1);

    d.type(Attr::kTK, "0.5");
    d.press(Attr::kAddThickness);
    d.setSelection(Attr::kThicknessList, 1);
    d.press(Attr::kDeleteThickness);
    EXPECT_EQ(data().thicknesses, (std::vector<double>{0.1, 0.5}));
    d.setSelection(Attr::kThicknessList, 1);
    d.type(Attr::kTK, "0.75");
    d.press(Attr::kChangeThickness);
    EXPECT_EQ(data().thicknesses[1], 0.75);
    EXPECT_TRUE(takeMessages().empty());
}

TEST_F(ModelingDialogs, MaterialsAndThicknessesOutOfRangeNameTheFieldAndChangeNothing) {
    platform::FakeDialog& d = open(kMaterialThick, "Materials and Thicknesses");
    const ModelData before = data();
    const std::vector<std::pair<std::string, std::string>> wrong = {
        {"0", "0.3"}, {"-5", "0.3"}, {"1e400", "0.3"}, {"100", "0.5"}, {"100", "-1"}, {"100", "x"}};
    for (const auto& [E, Mu] : wrong) {
        d.type(Attr::kE, E);
        d.type(Attr::kMu, Mu);
        d.press(Attr::kAddMaterial);
        const Texts shown = takeMessages();
        ASSERT_EQ(shown.size(), 1u) << E << " " << Mu;
        const bool badE = E == "0" || E == "-5" || E == "1e400";
        EXPECT_EQ(shown[0].rfind(badE ? "The field \"E\" must hold a number greater than 0;"
                                      : "The field \"Mu\" must hold a number between -1 and 0.5 "
                                        "(both excluded);",
                                 0),
                  0u)
            << shown[0];
    }
    d.type(Attr::kTK, "-0.1");
    d.press(Attr::kAddThickness);
    d.setSelection(Attr::kThicknessList, 0);
    d.press(Attr::kChangeThickness);
    EXPECT_EQ(takeMessages(),
              (Texts{"The field \"TK\" must hold a number greater than 0; \"-0.1\" is not one.",
                     "The field \"TK\" must hold a number greater than 0; \"-0.1\" is not one."}));
    d.setSelection(Attr::kMaterialList, -1);
    d.press(Attr::kChangeMaterial);
    d.press(Attr::kDeleteMaterial);
    EXPECT_EQ(takeMessages(), (Texts{"Choose the material in the list first.",
                                     "Choose the material in the list first."}));
    EXPECT_EQ(data().materials.size(), before.materials.size());
    EXPECT_EQ(data().materials[0].E, before.materials[0].E);
    EXPECT_EQ(data().thicknesses, before.thicknesses);
    EXPECT_EQ(window.title.find('*'), std::string::npos);
}

} // namespace
} // namespace shellfem::preprocessor::app::testing
