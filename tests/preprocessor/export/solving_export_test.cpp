#include "preprocessor/export/solving_export.h"

#include "formats/safe_file_write.h"
#include "platform/fake/fake_process_services.h"
#include "test_models.h"
#include "tests/support/temp_path.h"
#include "tests/support/write_failures.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>

namespace shellfem::preprocessor {
namespace {

using namespace testing;

// A parallelogram plate meshed 3 x 2, restrained along its first edge.
Model restrainedParallelogram() {
    Model model = modelWithAttributes(0.02);
    int plate = addPolygon(model, {addPoint(model, 0, 0), addPoint(model, 3, 0),
                                   addPoint(model, 4, 2), addPoint(model, 1, 2)});
    EXPECT_TRUE(model.meshPolygons({plate}, divisions(3, 2)).ok());
    std::vector<int> edge;
    for (std::size_t n = 0; n < model.data().nodes.size(); ++n)
        if (model.data().nodes[n].position.y == 0.0)
            edge.push_back(static_cast<int>(n));
    EXPECT_TRUE(model.applyRestraints(edge, {1, 1, 1, 1, 1, 1}, ApplyMode::Replace).ok());
    return model;
}

TEST(SolvingExport, LinearlyVaryingLoadIsInterpolatedToEveryElementCorner) {
    Model model = restrainedParallelogram();
    // q = 1 + 2x - 3y at the corners; bilinear interpolation over a parallelogram
    // reproduces a linear field exactly.
    auto q = [](const Vec3& p) { return 1.0 + 2.0 * p.x - 3.0 * p.y; };
    ASSERT_TRUE(
        model.applyPolygonLoad({0}, {q({0, 0, 0}), q({3, 0, 0}), q({4, 2, 0}), q({1, 2, 0})}).ok());
    SolvingModel solving;
    const Outcome built = buildSolvingModel(model.data(), solving);
    ASSERT_TRUE(built.ok()) << built.message;
    ASSERT_EQ(solving.loads.size(), 6u);
    for (const DistributedLoadRecord& load : solving.loads) {
        const ElementRecord& e = solving.elements[static_cast<std::size_t>(load.element)];
        for (std::size_t c = 0; c < 4; ++c)
            EXPECT_NEAR(load.q[c], q(solving.nodes[static_cast<std::size_t>(e.nodes[c])]), 1e-12);
    }
    EXPECT_EQ(solving.restraints.size(), 4u);
    EXPECT_EQ(solving.nodes.size(), 12u);
}

TEST(SolvingExport, LoadOnATrapezoidTakesTheCornerValuesAndEdgeAveragesExactly) {
    Model model = modelWithAttributes();
    std::vector<Vec3> corners{{0, 0, 0}, {4, 0, 0}, {3, 2, 1}, {0.5, 3, 0}};
    std::vector<int> points;
    for (const Vec3& c : corners)
        points.push_back(addPoint(model, c.x, c.y, c.z));
    int plate = addPolygon(model, points);
    ASSERT_TRUE(model.meshPolygons({plate}, divisions(4, 2)).ok());
    ASSERT_TRUE(model.applyRestraints({0}, {1, 1, 1, 1, 1, 1}, ApplyMode::Replace).ok());
    const std::array<double, 4> q{1, 5, -2, 7};
    ASSERT_TRUE(model.applyPolygonLoad({plate}, q).ok());
    SolvingModel solving;
    const Outcome built = buildSolvingModel(model.data(), solving);
    ASSERT_TRUE(built.ok()) << built.message;
    // Expected intensity at the corners and at the middles of the edges.
    std::vector<std::pair<Vec3, double>> known;
    for (std::size_t k = 0; k < 4; ++k) {
        known.push_back({corners[k], q[k]});
        known.push_back({0.5 * (corners[k] + corners[(k + 1) % 4]), 0.5 * (q[k] + q[(k + 1) % 4])});
    }
    int checked = 0;
    for (const DistributedLoadRecord& load : solving.loads)
        for (std::size_t c = 0; c < 4; ++c) {
            const Vec3& p = solving.nodes[static_cast<std::size_t>(
                solving.elements[static_cast<std::size_t>(load.element)].nodes[c])];
            for (const auto& [where, value] : known)
                if (length(p - where) < 1e-12) {
                    EXPECT_NEAR(load.q[c], value, 1e-12);
                    ++checked;
                }
        }
    // Corners lie in one element each; edge middles in two.
    EXPECT_EQ(checked, 4 + 4 * 2);
}

TEST(SolvingExport, ElementsTakeTheirPolygonsAttributesAndOtherPolygonsAUniformLoad) {
    Model model = restrainedParallelogram();
    ASSERT_TRUE(model.addMaterial({70000, 0.25}).ok());
    ASSERT_TRUE(model.addThickness(0.5).ok());
    EditResult triangle = model.createPolygon({1, 2, addPoint(model, 5, -1)}, 1, 1);
    ASSERT_TRUE(triangle.ok());
    ASSERT_TRUE(model.meshPolygons({triangle.created[0]}, divisions(2, 2)).ok());
    ASSERT_TRUE(model.applyPolygonLoad(triangle.created, {-4, 9, 9, 9}).ok());
    SolvingModel solving;
    const Outcome built = buildSolvingModel(model.data(), solving);
    ASSERT_TRUE(built.ok()) << built.message;
    ASSERT_EQ(solving.elements.size(), 6u + 3u);
    for (std::size_t e = 0; e < solving.elements.size(); ++e) {
        int polygon = model.data().elements[e].polygon;
        EXPECT_EQ(solving.elements[e].material, polygon);
        EXPECT_EQ(solving.elements[e].thickness, polygon);
    }
    ASSERT_EQ(solving.loads.size(), 3u);
    for (const DistributedLoadRecord& load : solving.loads) {
        EXPECT_EQ(model.data().elements[static_cast<std::size_t>(load.element)].polygon, 1);
        EXPECT_EQ(load.q, (std::array<double, 4>{-4, -4, -4, -4}));
    }
}

TEST(SolvingExport, ElementTurnedAgainstItsPolygonTakesTheLoadWithTheOtherSign) {
    Model model = restrainedParallelogram();
    ModelData data = model.data();
    std::swap(data.elements[0].nodes[1], data.elements[0].nodes[3]);
    data.polygonLoads.push_back({0, {2, 2, 2, 2}});
    SolvingModel solving;
    const Outcome built = buildSolvingModel(data, solving);
    ASSERT_TRUE(built.ok()) << built.message;
    EXPECT_EQ(solving.loads[0].q[0], -2.0);
    EXPECT_EQ(solving.loads[1].q[0], 2.0);
}

struct UnsolvableCase {
    const char* name;
    std::function<void(ModelData&)> spoil;
    const char* expected;
};

class UnsolvableModel : public ::testing::TestWithParam<UnsolvableCase> {};

TEST_P(UnsolvableModel, IsRefusedWithAMessageAndNothingWritten) {
    ModelData data = restrainedParallelogram().data();
    GetParam().spoil(data);
    SolvingModel solving;
    const Outcome built = buildSolvingModel(data, solving);
    EXPECT_EQ(built.status, Status::Refused);
    EXPECT_NE(built.message.find(GetParam().expected), std::string::npos) << built.message;
    EXPECT_TRUE(solving.nodes.empty());

    Model model;
    model.assign(data);
    const std::string path = uniqueTempPath("unsolvable_solving.txt");
    std::remove(path.c_str());
    EXPECT_EQ(exportSolvingFile(path, model).message, built.message);
    EXPECT_FALSE(std::ifstream(path).good());
}

INSTANTIATE_TEST_SUITE_P(
    Faults, UnsolvableModel,
    ::testing::Values(
        UnsolvableCase{"no_elements", [](ModelData& d) { d.elements.clear(); }, "no elements"},
        UnsolvableCase{"missing_material", [](ModelData& d) { d.materials.clear(); },
                       "Polygon 0 uses material 0, which does not exist (NMT=0)"},
        UnsolvableCase{"missing_thickness", [](ModelData& d) { d.polygons[0].thickness = 3; },
                       "uses thickness 3, which does not exist"},
        UnsolvableCase{"zero_modulus", [](ModelData& d) { d.materials[0].E = 0.0; }, "E=0"},
        UnsolvableCase{"poisson_half", [](ModelData& d) { d.materials[0].Mu = 0.5; }, "Mu=0.5"},
        UnsolvableCase{"poisson_minus_one", [](ModelData& d) { d.materials[0].Mu = -1.0; },
                       "Mu=-1"},
        UnsolvableCase{"zero_thickness", [](ModelData& d) { d.thicknesses[0] = 0.0; }, "TK=0"},
        UnsolvableCase{"no_restraint", [](ModelData& d) { d.restraints.clear(); },
                       "No degree of freedom is restrained"},
        UnsolvableCase{"only_free_flags",
                       [](ModelData& d) {
                           for (Restraint& r : d.restraints)
                               r.flags = {0, 0, 2, 0, 0, 0};
                       },
                       "No degree of freedom is restrained"},
        UnsolvableCase{"loose_node",
                       [](ModelData& d) {
                           d.nodes.push_back({{9, 9, 9}});
                       },
                       "Node 12 belongs to no element"},
        UnsolvableCase{"load_on_unmeshed_polygon",
                       [](ModelData& d) {
                           d.polygons.push_back(d.polygons[0]);
                           d.polygonLoads.push_back({1, {1, 1, 1, 1}});
                       },
                       "Polygon 1 carries a distributed load but is not meshed"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(SolvingExport, AFarOrWarpedNodeNeverGivesANonFiniteLoad) {
    Model model = restrainedParallelogram();
    ASSERT_TRUE(model.applyPolygonLoad({0}, {-1, -2, -3, -4}).ok());
    for (double far : {1e70, 1e149, -1e150}) {
        SCOPED_TRACE(far);
        ModelData data = model.data();
        Vec3& node = data.nodes[data.elements[4].nodes[2]].position;
        node.x = far;
        node.z = 0.5; // warped as well
        SolvingModel solving;
        const Outcome built = buildSolvingModel(data, solving);
        ASSERT_TRUE(built.ok() || built.message.rfind("Polygon 0", 0) == 0) << built.message;
        std::ostringstream text;
        writeSolvingFile(text, solving);
        EXPECT_EQ(text.str().find("nan"), std::string::npos);
        EXPECT_EQ(text.str().find("inf"), std::string::npos);
        std::istringstream in(text.str());
        SolvingModel back;
        EXPECT_TRUE(!built.ok() || readSolvingFile(in, back).ok());
    }
}

TEST(SolvingExport, AValueTheSolverWouldRefuseIsNamedAndNothingIsWritten) {
    Model model = restrainedParallelogram();
    ModelData data = model.data();
    data.nodes[3].position.y = 2e150;
    SolvingModel solving;
    Outcome built = buildSolvingModel(data, solving);
    EXPECT_EQ(built.status, Status::Refused);
    EXPECT_NE(built.message.find("node 3: y=2e+150 is beyond the largest magnitude"),
              std::string::npos)
        << built.message;
    EXPECT_TRUE(solving.nodes.empty());

    data = model.data();
    data.forces.push_back({5, {0, 0, -1e300, 0, 0, 0}});
    built = buildSolvingModel(data, solving);
    EXPECT_NE(built.message.find("force 0: Fz=-1e+300"), std::string::npos) << built.message;
}

std::string readWhole(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

TEST(SolvingExport, AFullDiskOrAReadOnlyFolderKeepsTheEarlierSolvingFile) {
    Model model = restrainedParallelogram();
    const std::string folder = uniqueTempPath("export");
    std::filesystem::create_directory(folder);
    const std::string path = folder + "/shell_fem_solving.txt";
    ASSERT_TRUE(exportSolvingFile(path, model).ok());
    const std::string earlier = readWhole(path);
    ASSERT_TRUE(model.applyPolygonLoad({0}, {-1, -1, -1, -1}).ok());
    const auto kept = [&](const Outcome& o) {
        return o.status == Status::CannotOpen &&
               o.message.find("Cannot write the solving file") != std::string::npos &&
               readWhole(path) == earlier && !std::filesystem::exists(temporaryPathFor(path));
    };
    Outcome written;
    {
        FileSizeLimit fullDisk(300);
        written = exportSolvingFile(path, model);
    }
    EXPECT_TRUE(kept(written)) << written.message;
    EXPECT_TRUE(
        succeedsInReadOnlyFolder(folder, [&] { return kept(exportSolvingFile(path, model)); }));
    EXPECT_TRUE(exportSolvingFile(path, model).ok());
    EXPECT_NE(readWhole(path), earlier);
    std::filesystem::remove_all(folder);
}

} // namespace
} // namespace shellfem::preprocessor
