#include "examples/generator/verification_models.h"

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <sstream>

namespace shellfem {
namespace {

const std::string kFolder = std::string(SHELLFEM_SOURCE_DIR) + "/examples/verification/";

// Values agree to round-off: the committed files may come from another compiler.
void expectClose(double committed, double generated, const std::string& what) {
    EXPECT_NEAR(committed, generated, 1e-12 * std::max(1.0, std::fabs(generated))) << what;
}

void expectSameModel(const SolvingModel& a, const SolvingModel& b, const std::string& file) {
    ASSERT_EQ(a.materials.size(), b.materials.size()) << file;
    ASSERT_EQ(a.nodes.size(), b.nodes.size()) << file;
    ASSERT_EQ(a.elements.size(), b.elements.size()) << file;
    ASSERT_EQ(a.restraints.size(), b.restraints.size()) << file;
    ASSERT_EQ(a.forces.size(), b.forces.size()) << file;
    ASSERT_EQ(a.loads.size(), b.loads.size()) << file;
    for (std::size_t i = 0; i < a.materials.size(); ++i) {
        expectClose(a.materials[i].E, b.materials[i].E, file + " E");
        expectClose(a.materials[i].Mu, b.materials[i].Mu, file + " Mu");
    }
    EXPECT_EQ(a.thicknesses, b.thicknesses) << file;
    for (std::size_t i = 0; i < a.nodes.size(); ++i) {
        const std::string node = file + " node " + std::to_string(i);
        expectClose(a.nodes[i].x, b.nodes[i].x, node);
        expectClose(a.nodes[i].y, b.nodes[i].y, node);
        expectClose(a.nodes[i].z, b.nodes[i].z, node);
    }
    for (std::size_t i = 0; i < a.elements.size(); ++i)
        EXPECT_EQ(a.elements[i].nodes, b.elements[i].nodes) << file << " element " << i;
    for (std::size_t i = 0; i < a.restraints.size(); ++i) {
        EXPECT_EQ(a.restraints[i].node, b.restraints[i].node) << file << " restraint " << i;
        EXPECT_EQ(a.restraints[i].flags, b.restraints[i].flags) << file << " restraint " << i;
    }
    for (std::size_t i = 0; i < a.forces.size(); ++i) {
        EXPECT_EQ(a.forces[i].node, b.forces[i].node) << file << " force " << i;
        for (std::size_t d = 0; d < 6; ++d)
            expectClose(a.forces[i].values[d], b.forces[i].values[d],
                        file + " force " + std::to_string(i));
    }
    for (std::size_t i = 0; i < a.loads.size(); ++i) {
        EXPECT_EQ(a.loads[i].element, b.loads[i].element) << file << " load " << i;
        EXPECT_EQ(a.loads[i].q, b.loads[i].q) << file << " load " << i;
    }
}

TEST(VerificationModels, CommittedFilesAreWhatTheGeneratorWrites) {
    const std::vector<VerificationCase> cases = verificationCases();
    for (const VerificationCase& c : cases) {
        SolvingModel committed;
        const Outcome read = readSolvingFile(kFolder + solvingFileName(c), committed);
        ASSERT_TRUE(read.ok()) << read.message
                               << "\nregenerate: build/bin/make_verification_models "
                                  "examples/verification";
        expectSameModel(committed, c.model, solvingFileName(c));
    }
    std::ifstream in(kFolder + "cases.txt", std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    EXPECT_EQ(text.str(), casesTable(cases));
}

TEST(VerificationModels, EveryProblemHasAReferenceAndEveryProbeNamesANodeOfItsModel) {
    std::ifstream in(kFolder + "references.txt");
    std::string references((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    for (const VerificationCase& c : verificationCases()) {
        EXPECT_NE(references.find("\n" + c.problem + " |"), std::string::npos) << c.problem;
        ASSERT_FALSE(c.probe.empty()) << c.problem;
        for (const ProbeTerm& t : c.probe) {
            EXPECT_LT(static_cast<std::size_t>(t.node), c.model.nodes.size()) << c.problem;
            EXPECT_TRUE(t.dof >= 0 && t.dof < 6) << c.problem;
        }
    }
}

} // namespace
} // namespace shellfem
