#include "test_models.h"

#include <cmath>

namespace shellfem::preprocessor {
namespace {

using namespace testing;

// Every polygon meshes into quadrilaterals that tile it exactly: the element areas
// add up to the polygon's, each inner edge is shared by two elements, the free
// edges run round the boundary, and every element faces the polygon's way.
struct ShapeCase {
    const char* name;
    std::vector<Vec3> corners;
    MeshControl control;
    std::size_t expectedElements;
};

class MeshedShape : public ::testing::TestWithParam<ShapeCase> {};

TEST_P(MeshedShape, TilesThePolygonWithQuadsFacingItsWay) {
    const ShapeCase& shape = GetParam();
    for (bool reversed : {false, true}) {
        Model model = modelWithAttributes();
        std::vector<int> points;
        for (const Vec3& c : shape.corners)
            points.push_back(addPoint(model, c.x, c.y, c.z));
        if (reversed)
            std::reverse(points.begin(), points.end());
        int polygon = addPolygon(model, points);
        MeshResult r = model.meshPolygons({polygon}, shape.control);
        ASSERT_TRUE(r.ok()) << r.message;

        const ModelData& data = model.data();
        const PolygonGeometry& g = model.polygonGeometry()[0];
        ASSERT_EQ(data.elements.size(), shape.expectedElements);
        double area = 0.0;
        for (const Element& e : data.elements) {
            area += elementArea(data, e);
            Vec3 n = elementNormal(data, e);
            EXPECT_GT(dot(n, g.normal), 0.99 * length(n)) << shape.name << " reversed=" << reversed;
        }
        EXPECT_NEAR(area, g.area, 1e-12 * g.area) << shape.name;

        double freeLength = 0.0;
        for (const auto& [edge, uses] : edgeUse(data)) {
            EXPECT_LE(uses, 2) << shape.name;
            if (uses == 1)
                freeLength += length(data.nodes[static_cast<std::size_t>(edge.second)].position -
                                     data.nodes[static_cast<std::size_t>(edge.first)].position);
        }
        double perimeter = 0.0;
        for (std::size_t k = 0; k < shape.corners.size(); ++k)
            perimeter += length(shape.corners[(k + 1) % shape.corners.size()] - shape.corners[k]);
        EXPECT_NEAR(freeLength, perimeter, 1e-9 * perimeter) << shape.name;
        EXPECT_TRUE(data.polygons[0].meshed);
    }
}

MeshControl bySize(double size) {
    MeshControl control;
    control.mode = MeshControl::Mode::ElementSize;
    control.elementSize = size;
    return control;
}

INSTANTIATE_TEST_SUITE_P(
    Shapes, MeshedShape,
    ::testing::Values(
        ShapeCase{"skew quadrilateral",
                  {{0, 0, 0}, {4, 0.5, 0}, {3.5, 3, 0}, {0.5, 2, 0}},
                  divisions(5, 3),
                  15},
        ShapeCase{"tilted rectangle by size",
                  {{0, 0, 0}, {3, 0, 3}, {3, 2, 3}, {0, 2, 0}},
                  bySize(1.0),
                  5 * 2},
        ShapeCase{"triangle", {{0, 0, 0}, {2, 0, 0}, {0.5, 1.5, 0}}, divisions(4, 4), 3 * 2 * 2},
        ShapeCase{"pentagon in a slanted plane",
                  {{0, 0, 0}, {2, 0, 1}, {2.5, 1.5, 1.25}, {1, 2.5, 0.5}, {-0.5, 1.5, -0.25}},
                  divisions(2, 7),
                  5}),
    [](const auto& info) {
        std::string name = info.param.name;
        std::replace(name.begin(), name.end(), ' ', '_');
        return name;
    });

TEST(QuadMeshing, PolygonsSharingAnEdgeGetOneConformingMesh) {
    Model model = modelWithAttributes();
    int a = addPoint(model, 0, 0), b = addPoint(model, 2, 0), c = addPoint(model, 2, 1),
        d = addPoint(model, 0, 1), e = addPoint(model, 3, 0), f = addPoint(model, 3, 1);
    int left = addPolygon(model, {a, b, c, d});
    // The right polygon starts at another corner: its shared edge c-b is its edge 1-2.
    int right = addPolygon(model, {f, c, b, e});
    MeshResult r = model.meshPolygons({left, right}, divisions(4, 2));
    ASSERT_TRUE(r.ok()) << r.message;
    // 4 x 2 elements each; the 3 nodes of the shared edge are merged.
    EXPECT_EQ(model.data().elements.size(), 8u + 8u);
    EXPECT_EQ(model.data().nodes.size(), 5u * 3u + 4u * 3u);
    for (const auto& [edge, uses] : edgeUse(model.data()))
        EXPECT_LE(uses, 2);
}

TEST(QuadMeshing, AnEdgeWithDifferentDivisionsOnEachSideIsRefused) {
    Model model = modelWithAttributes();
    int left = addRectangle(model, 0, 0, 1, 1);
    int right = addRectangle(model, 1, 0, 2, 1);
    ASSERT_TRUE(model.meshPolygons({left}, divisions(2, 2)).ok());
    const ModelData before = model.data();

    MeshResult r = model.meshPolygons({right}, divisions(3, 3));
    EXPECT_FALSE(r.ok());
    EXPECT_NE(r.message.find("polygon 0 has 2"), std::string::npos) << r.message;
    EXPECT_EQ(model.data().elements.size(), before.elements.size());
    EXPECT_EQ(model.data().nodes.size(), before.nodes.size());

    // By element size the counts adapt to the meshed neighbour.
    MeshControl control;
    control.mode = MeshControl::Mode::ElementSize;
    control.elementSize = 0.3;
    EXPECT_FALSE(model.meshPolygons({right}, control).ok());
    control.elementSize = 0.5;
    ASSERT_TRUE(model.meshPolygons({right}, control).ok());
    EXPECT_EQ(model.data().nodes.size(), 9u + 6u);
}

TEST(QuadMeshing, ElementSizeRaisesCountsUntilNeighboursAgree) {
    Model model = modelWithAttributes();
    int a = addPoint(model, 0, 0), b = addPoint(model, 1, 0), c = addPoint(model, 1, 1),
        d = addPoint(model, 0, 1), e = addPoint(model, 0.5, 2);
    int square = addPolygon(model, {a, b, c, d});
    int triangle = addPolygon(model, {d, c, e});
    MeshControl control;
    control.mode = MeshControl::Mode::ElementSize;
    control.elementSize = 0.35;
    MeshResult r = model.meshPolygons({square, triangle}, control);
    ASSERT_TRUE(r.ok()) << r.message;
    for (const auto& [edge, uses] : edgeUse(model.data()))
        EXPECT_LE(uses, 2);
    double longest = 0.0;
    for (const auto& [edge, uses] : edgeUse(model.data()))
        longest = std::max(
            longest, length(model.data().nodes[static_cast<std::size_t>(edge.first)].position -
                            model.data().nodes[static_cast<std::size_t>(edge.second)].position));
    EXPECT_LE(longest, 0.35 + 1e-9);
}

TEST(QuadMeshing, AnEdgeMeetingTwoPolygonsIsRefusedAsAHangingNode) {
    Model model = modelWithAttributes();
    int big = addRectangle(model, 0, 0, 1, 2);
    int lower = addRectangle(model, 1, 0, 2, 1);
    int upper = addRectangle(model, 1, 1, 2, 2);
    MeshResult r = model.meshPolygons({big, lower, upper}, divisions(1, 1));
    EXPECT_FALSE(r.ok());
    EXPECT_NE(r.message.find("(1, 1, 0)"), std::string::npos) << r.message;
    EXPECT_TRUE(model.data().elements.empty());
}

TEST(QuadMeshing, NonConvexAndFlatPolygonsAreRefusedByName) {
    Model model = modelWithAttributes();
    int dart = addPolygon(model, {addPoint(model, 0, 0), addPoint(model, 2, 0),
                                  addPoint(model, 0.5, 0.5), addPoint(model, 0, 2)});
    MeshResult r = model.meshPolygons({dart}, divisions(2, 2));
    EXPECT_FALSE(r.ok());
    EXPECT_NE(r.message.find("Polygon 0 is not convex at its vertex 2 (point 2)"),
              std::string::npos)
        << r.message;
    EXPECT_FALSE(model.meshPolygons({5}, divisions(2, 2)).ok());
    EXPECT_FALSE(model.meshPolygons({}, divisions(2, 2)).ok());
}

TEST(QuadMeshing, RemeshingKeepsLoadsOnSurvivingPlacesAndReportsTheOthers) {
    Model model = modelWithAttributes();
    int plate = addRectangle(model, 0, 0, 2, 2);
    ASSERT_TRUE(model.meshPolygons({plate}, divisions(2, 2)).ok());
    const ModelData& data = model.data();
    auto nodeAt = [&](double x, double y) {
        for (std::size_t n = 0; n < data.nodes.size(); ++n)
            if (length(data.nodes[n].position - Vec3{x, y, 0}) < 1e-12)
                return static_cast<int>(n);
        return -1;
    };
    ASSERT_TRUE(model.applyRestraints({nodeAt(0, 0)}, {1, 1, 1, 0, 0, 0}, ApplyMode::Replace).ok());
    ASSERT_TRUE(model.applyForces({nodeAt(1, 1)}, {0, 0, -5, 0, 0, 0}, ApplyMode::Replace).ok());

    // Three divisions have no node at the middle: the force there is reported.
    MeshResult r = model.meshPolygons({plate}, divisions(3, 3));
    ASSERT_TRUE(r.ok()) << r.message;
    EXPECT_EQ(data.elements.size(), 9u);
    EXPECT_EQ(data.nodes.size(), 16u);
    EXPECT_TRUE(data.forces.empty());
    EXPECT_NE(r.message.find("The force on node"), std::string::npos) << r.message;
    EXPECT_NE(r.message.find("(1, 1, 0)"), std::string::npos) << r.message;
    ASSERT_EQ(data.restraints.size(), 1u);
    EXPECT_EQ(data.restraints[0].node, nodeAt(0, 0));
}

} // namespace
} // namespace shellfem::preprocessor
