#include "preprocessor/mesh/node_numbering.h"

#include "test_models.h"

#include <cmath>
#include <cstdio>
#include <string>

namespace shellfem::preprocessor {
namespace {

using namespace testing;

TEST(NodeNumbering, SkylineCountsEveryColumnUpToItsLowestNeighbour) {
    // Two elements in a row, nodes 0 1 2 along the bottom and 3 4 5 along the
    // top, and node 6 in no element (six columns of height 1).
    std::vector<std::array<int, 4>> elements{{0, 1, 4, 3}, {1, 2, 5, 4}};
    // Lowest neighbours 0 0 1 0 0 1: node distances 0+1+1+3+4+4 = 13.
    EXPECT_EQ(skylineEntries(7, elements), 36 * 13 + 21 * 6 + 6);
}

TEST(NodeNumbering, ReverseCuthillMcKeeIsAPermutationThatKeepsLooseNodesLast) {
    std::vector<std::array<int, 4>> elements{{5, 0, 3, 7}, {0, 1, 2, 3}};
    std::vector<int> order = reverseCuthillMcKee(9, elements);
    std::vector<int> sorted = order;
    std::sort(sorted.begin(), sorted.end());
    for (int i = 0; i < 9; ++i)
        EXPECT_EQ(sorted[static_cast<std::size_t>(i)], i);
    EXPECT_EQ(order[4], 6);
    EXPECT_EQ(order[6], 7);
    EXPECT_EQ(order[8], 8);
}

// A rectangle of polygons meshed together, and the grid spacing of its mesh.
struct PolygonGrid {
    const char* name;
    int polygonsAlongX;
    int polygonsAlongY;
    double polygonWidth;
    double polygonHeight;
    int divisionsAlongX;
    int divisionsAlongY;
};

class NumberedGrid : public ::testing::TestWithParam<PolygonGrid> {};

// The profile of the stored numbering is close to that of the same mesh numbered
// by hand across its short direction (column after column along the long one).
TEST_P(NumberedGrid, ProfileIsAboutAsSmallAsNumberingByHandAcrossTheShortDirection) {
    const PolygonGrid& grid = GetParam();
    Model model = modelWithAttributes();
    std::vector<int> polygons;
    for (int i = 0; i < grid.polygonsAlongX; ++i)
        for (int j = 0; j < grid.polygonsAlongY; ++j)
            polygons.push_back(addRectangle(model, grid.polygonWidth * i, grid.polygonHeight * j,
                                            grid.polygonWidth * (i + 1),
                                            grid.polygonHeight * (j + 1)));
    MeshResult r =
        model.meshPolygons(polygons, divisions(grid.divisionsAlongX, grid.divisionsAlongY));
    ASSERT_TRUE(r.ok()) << r.message;
    const ModelData& data = model.data();
    const int columns = grid.polygonsAlongX * grid.divisionsAlongX + 1;
    const int rows = grid.polygonsAlongY * grid.divisionsAlongY + 1;
    ASSERT_EQ(data.nodes.size(), static_cast<std::size_t>(columns * rows));

    const double dx = grid.polygonWidth / grid.divisionsAlongX;
    const double dy = grid.polygonHeight / grid.divisionsAlongY;
    const bool longAlongX = columns >= rows;
    std::vector<std::array<int, 4>> stored, byHand;
    for (const Element& e : data.elements) {
        stored.push_back(e.nodes);
        std::array<int, 4> hand;
        for (std::size_t c = 0; c < 4; ++c) {
            const Vec3& p = data.nodes[static_cast<std::size_t>(e.nodes[c])].position;
            int i = static_cast<int>(std::lround(p.x / dx));
            int j = static_cast<int>(std::lround(p.y / dy));
            hand[c] = longAlongX ? i * rows + j : j * columns + i;
        }
        byHand.push_back(hand);
    }
    long long handSkyline = skylineEntries(data.nodes.size(), byHand);
    EXPECT_EQ(r.skylineStored, skylineEntries(data.nodes.size(), stored));
    EXPECT_LT(r.skylineStored, r.skylineAsGenerated);
    EXPECT_LE(r.skylineStored, handSkyline * 105 / 100);
    std::printf("%s: skyline entries as generated %lld, stored %lld, by hand %lld\n", grid.name,
                r.skylineAsGenerated, r.skylineStored, handSkyline);
}

INSTANTIATE_TEST_SUITE_P(Layouts, NumberedGrid,
                         ::testing::Values(
                             // The polygons' first edges run along the strip, so the mesher
                             // generates nodes along the long direction.
                             PolygonGrid{"strip_of_three", 3, 1, 4.0, 1.0, 8, 3},
                             PolygonGrid{"square_of_four", 2, 2, 0.5, 0.5, 8, 8},
                             PolygonGrid{"tall_block_of_six", 2, 3, 1.0, 2.0, 3, 5}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(NodeNumbering, RenumberingIsKeptOnlyWhenItShrinksTheProfile) {
    // A single column of elements numbered across is already optimal.
    Model model = modelWithAttributes();
    int strip = addRectangle(model, 0, 0, 1, 10);
    MeshResult r = model.meshPolygons({strip}, divisions(1, 10));
    ASSERT_TRUE(r.ok()) << r.message;
    EXPECT_EQ(r.skylineStored, r.skylineAsGenerated);
    for (std::size_t n = 0; n < model.data().nodes.size(); ++n)
        EXPECT_NEAR(model.data().nodes[n].position.y, static_cast<double>(n / 2), 1e-12);
}

} // namespace
} // namespace shellfem::preprocessor
