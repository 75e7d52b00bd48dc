#include "examples/generator/verification_models.h"
#include "tests/support/same_solving_model.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

namespace shellfem {
namespace {

const std::string kFolder = std::string(SHELLFEM_SOURCE_DIR) + "/examples/verification/";

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
