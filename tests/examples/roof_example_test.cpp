#include "examples/generator/roof_model.h"
#include "formats/solving_file.h"
#include "preprocessor/export/solving_export.h"
#include "preprocessor/files/kvx_file.h"
#include "solver/static_analysis.h"
#include "tests/support/same_solving_model.h"
#include "tests/support/temp_path.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <fstream>
#include <set>
#include <sstream>

namespace shellfem {
namespace {

using preprocessor::Model;
using preprocessor::ModelData;

const std::string kFolder = std::string(SHELLFEM_SOURCE_DIR) + "/examples/hipped_roof/";
const std::string kModelFile = kFolder + "hipped_roof.kvx";
const std::string kSolvingFile = kFolder + "shell_fem_solving.txt";

std::string fileText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

Model committedModel() {
    Model model;
    const Outcome read = preprocessor::readKvxFile(kModelFile, model);
    EXPECT_TRUE(read.ok()) << read.message;
    return model;
}

TEST(RoofExample, CommittedFilesAreWhatTheGeneratorAndTheExportWrite) {
    Model generated;
    const Outcome made = makeHippedRoof(generated);
    ASSERT_TRUE(made.ok()) << made.message;
    std::ostringstream kvx;
    preprocessor::writeKvx(kvx, generated.data());
    EXPECT_EQ(kvx.str(), fileText(kModelFile)) << "run make_roof_example again";

    // The solving file is what the program exports after opening the example.
    const std::string exported = uniqueTempPath("roof_solving.txt");
    const Outcome written = preprocessor::exportSolvingFile(exported, committedModel());
    ASSERT_TRUE(written.ok()) << written.message;
    SolvingModel fromExport, committed;
    ASSERT_TRUE(readSolvingFile(exported, fromExport).ok());
    const Outcome read = readSolvingFile(kSolvingFile, committed);
    ASSERT_TRUE(read.ok()) << read.message << "\nrun make_roof_example again";
    expectSameModel(committed, fromExport, kSolvingFile);
    std::remove(exported.c_str());
}

TEST(RoofExample, UsesEveryKindOfRecord) {
    const Model model = committedModel();
    const ModelData& data = model.data();
    EXPECT_EQ(data.materials.size(), 2u);
    EXPECT_EQ(data.thicknesses.size(), 2u);
    std::set<std::pair<int, int>> attributes;
    bool triangle = false;
    for (const preprocessor::Polygon& p : data.polygons) {
        attributes.insert({p.material, p.thickness});
        triangle = triangle || p.vertices.size() == 3;
        EXPECT_TRUE(p.meshed);
    }
    EXPECT_EQ(attributes.size(), 2u);
    EXPECT_TRUE(triangle);

    bool varyingLoad = false;
    for (const preprocessor::PolygonLoad& load : data.polygonLoads)
        varyingLoad = varyingLoad || load.q[0] != load.q[2];
    EXPECT_TRUE(varyingLoad) << "no load varies over its polygon";

    bool force = false, moment = false;
    for (const preprocessor::NodalForce& f : data.forces) {
        force = force || f.values[0] != 0 || f.values[1] != 0 || f.values[2] != 0;
        moment = moment || f.values[3] != 0 || f.values[4] != 0 || f.values[5] != 0;
    }
    EXPECT_TRUE(force && moment);

    std::set<std::array<int, 6>> flagSets;
    for (const preprocessor::Restraint& r : data.restraints)
        flagSets.insert(r.flags);
    EXPECT_GE(flagSets.size(), 3u) << "the restraints are not mixed";
}

// As the program does it: open, mesh all polygons again as the example was
// meshed (the supports and forces stay on their nodes, which may be numbered
// otherwise), export and solve.
TEST(RoofExample, RemeshesExportsAndSolvesWithTheRidgeGoingDown) {
    Model model = committedModel();
    const std::size_t nodes = model.data().nodes.size();
    const std::size_t elements = model.data().elements.size();
    const std::size_t restraints = model.data().restraints.size();
    const std::size_t forces = model.data().forces.size();
    const preprocessor::MeshResult remeshed =
        model.meshPolygons({0, 1, 2, 3}, hippedRoofMeshControl());
    ASSERT_TRUE(remeshed.ok()) << remeshed.message;
    EXPECT_EQ(model.data().nodes.size(), nodes);
    EXPECT_EQ(model.data().elements.size(), elements);
    EXPECT_EQ(model.data().restraints.size(), restraints);
    EXPECT_EQ(model.data().forces.size(), forces);

    SolvingModel solving;
    const Outcome built = preprocessor::buildSolvingModel(model.data(), solving);
    ASSERT_TRUE(built.ok()) << built.message;
    std::vector<double> displacements;
    const Outcome solved = solveDisplacements(solving, displacements);
    ASSERT_TRUE(solved.ok()) << solved.message;
    ASSERT_EQ(displacements.size(), 6 * solving.nodes.size());
    double ridge = 0.0, largest = 0.0;
    for (std::size_t n = 0; n < solving.nodes.size(); ++n) {
        for (std::size_t d = 0; d < 6; ++d)
            ASSERT_TRUE(std::isfinite(displacements[6 * n + d])) << "node " << n;
        largest = std::max(largest, std::abs(displacements[6 * n + 2]));
        if (std::abs(solving.nodes[n].z - 2.0) < 1e-9)
            ridge = std::min(ridge, displacements[6 * n + 2]);
    }
    // Snow and the mast loads outweigh the suction: the ridge sags, by a
    // fraction of a millimetre for a 12 cm concrete shell of 8 m.
    EXPECT_LT(ridge, 0.0);
    EXPECT_LT(largest, 1e-3);
}

} // namespace
} // namespace shellfem
