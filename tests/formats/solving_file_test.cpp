#include "formats/solving_file.h"
#include "tests/support/memory_limit.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <unistd.h>

namespace shellfem {
namespace {

const char* const kTwoElements = R"(### Quon_Shell release=1.000000 ###
Shell
Number of materials:NMT=1
#0:
E=2.1e11
Mu=0.3
Number of thicknesses:NTK=1
#0:
TK=0.01
Number of nodal points:NPOIN=6
0:0,0,0
1:1,0,0
2:2,0,0
3:0,1,0
4:1,1,0

5:2,1,0
Number of elements:NELEM=2
0:0,1,4,3[0,0]
1:1,2,5,4[0,0]
Number of restricted nodal points:NRN=2
0:1 1 1 1 1 1
3:1 1 1 2 0 1
Number of forces:NFOR=1
5<0,0,-1000,0,0,0>
Number of distributed loads:NDL=1
1:-10,-10,-10,-12.5
)";

Outcome readText(const std::string& text, SolvingModel& model) {
    std::istringstream in(text);
    return readSolvingFile(in, model, "shell_fem_solving.txt");
}

std::string replaced(std::string text, const std::string& from, const std::string& to) {
    auto at = text.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    return text.replace(at, from.size(), to);
}

TEST(SolvingFile, ReadsEverySectionIncludingBlankLinesAndLongRelease) {
    SolvingModel m;
    Outcome r = readText(kTwoElements, m);
    ASSERT_TRUE(r.ok()) << r.message;
    ASSERT_EQ(m.nodes.size(), 6u);
    EXPECT_EQ(m.nodes[5].x, 2.0);
    EXPECT_EQ(m.materials[0].E, 2.1e11);
    EXPECT_EQ(m.thicknesses[0], 0.01);
    ASSERT_EQ(m.elements.size(), 2u);
    EXPECT_EQ(m.elements[1].nodes, (std::array<int, 4>{1, 2, 5, 4}));
    ASSERT_EQ(m.restraints.size(), 2u);
    EXPECT_EQ(m.restraints[1].node, 3);
    EXPECT_EQ(m.restraints[1].flags, (std::array<int, 6>{1, 1, 1, 2, 0, 1}));
    EXPECT_EQ(m.forces[0].values[2], -1000.0);
    EXPECT_EQ(m.loads[0].q[3], -12.5);
}

TEST(SolvingFile, WriteThenReadGivesTheSameModel) {
    SolvingModel m;
    ASSERT_TRUE(readText(kTwoElements, m).ok());
    m.nodes[4].y = 1.0 / 3.0;
    std::ostringstream out;
    writeSolvingFile(out, m);
    SolvingModel back;
    Outcome r = readText(out.str(), back);
    ASSERT_TRUE(r.ok()) << r.message;
    EXPECT_EQ(back.nodes[4].y, 1.0 / 3.0);
    EXPECT_EQ(back.elements[1].nodes, m.elements[1].nodes);
    EXPECT_EQ(back.restraints[1].flags, m.restraints[1].flags);
    EXPECT_EQ(back.loads[0].q, m.loads[0].q);
    EXPECT_EQ(back.forces[0].values, m.forces[0].values);
}

TEST(SolvingFile, EmptyForceAndLoadSectionsAreValid) {
    std::string text = kTwoElements;
    text = text.substr(0, text.find("Number of forces")) +
           "Number of forces:NFOR=0\nNumber of distributed loads:NDL=0\n";
    SolvingModel m;
    ASSERT_TRUE(readText(text, m).ok());
    EXPECT_TRUE(m.forces.empty());
    EXPECT_TRUE(m.loads.empty());
}

TEST(SolvingFile, OtherReleaseIsRefusedWithTheReleaseMessage) {
    SolvingModel m;
    Outcome r = readText(replaced(kTwoElements, "1.000000", "1.1"), m);
    EXPECT_EQ(r.status, Status::WrongVersion);
    EXPECT_EQ(r.message, "Release File Number error!");
}

struct BadCase {
    const char* from;
    const char* to;
    const char* expectedInMessage;
};

TEST(SolvingFile, MalformedContentNamesLineAndRecordAndLeavesModelEmpty) {
    const BadCase cases[] = {
        {"NPOIN=6", "NPOIN=-6",
         "line 10: \"Number of nodal points:NPOIN=-6\"\n  node count: the count is negative"},
        {"1:1,2,5,4[0,0]", "1:1,2,6,4[0,0]",
         "line 20: \"1:1,2,6,4[0,0]\"\n  element 1: node index 6 is out of range (NPOIN=6)"},
        {"1:1,2,5,4[0,0]", "1:1,2,5,4[1,0]", "element 1: material index 1 is out of range (NMT=1)"},
        {"1:1,2,5,4[0,0]", "1:1,2,5,4[0,-1]",
         "element 1: thickness index -1 is out of range (NTK=1)"},
        {"3:1 1 1 2 0 1", "7:1 1 1 2 0 1", "restraint 1: node index 7 is out of range"},
        {"5<0,0,-1000", "6<0,0,-1000", "force 0: node index 6 is out of range"},
        {"1:-10,-10,-10,-12.5", "2:-10,-10,-10,-12.5",
         "distributed load 0: element index 2 is out of range (NELEM=2)"},
        {"4:1,1,0", "4:1,x,0", "line 15: \"4:1,x,0\"\n  node 4: expected"},
        {"Mu=0.3", "Mu=abc", "material 0: expected"},
        {"NELEM=2", "NELEM=3",
         "line 21: \"Number of restricted nodal points:NRN=2\"\n  element 2: expected"},
    };
    for (const BadCase& c : cases) {
        SolvingModel m;
        Outcome r = readText(replaced(kTwoElements, c.from, c.to), m);
        EXPECT_EQ(r.status, Status::Malformed) << c.to;
        EXPECT_NE(r.message.find(c.expectedInMessage), std::string::npos) << r.message;
        EXPECT_EQ(r.message.rfind("shell_fem_solving.txt, ", 0), 0u) << r.message;
        EXPECT_TRUE(m.nodes.empty() && m.elements.empty());
    }
}

TEST(SolvingFile, TruncatedFileAndHugeCountAreReportedNotAllocated) {
    std::string text = kTwoElements;
    SolvingModel m;
    Outcome r = readText(text.substr(0, text.find("Number of restricted")), m);
    EXPECT_EQ(r.status, Status::Malformed);
    EXPECT_NE(r.message.find("ends early, after line 20"), std::string::npos) << r.message;

    r = readText(replaced(text, "NPOIN=6", "NPOIN=2000000000"), m);
    EXPECT_EQ(r.status, Status::Malformed);
    EXPECT_NE(r.message.find("node 6"), std::string::npos) << r.message;
}

TEST(SolvingFile, MissingFileIsCannotOpen) {
    SolvingModel m;
    Outcome r = readSolvingFile(std::string("/nonexistent/shell_fem_solving.txt"), m);
    EXPECT_EQ(r.status, Status::CannotOpen);
    EXPECT_EQ(r.message, "Preprocessor file read error!");
}

std::string sectionsBeforeForces() {
    return "### Quon_Shell release=1.0 ###\nShell\nNumber of materials:NMT=0\n"
           "Number of thicknesses:NTK=0\nNumber of nodal points:NPOIN=0\n"
           "Number of elements:NELEM=0\nNumber of restricted nodal points:NRN=0\n";
}

TEST(SolvingFile, ACountTakesNoMoreMemoryThanTheFileHolds) {
    if (!SHELLFEM_MEMORY_LIMITS)
        GTEST_SKIP() << "no address-space limit under the sanitizers";
    // 20 MB after a count of 2^31 - 1: a reservation by count or by bytes needs over 1 GB.
    std::string text = sectionsBeforeForces() + "Number of forces:NFOR=2147483647\n";
    text.append(20u << 20, 'x');
    EXPECT_TRUE(succeedsWithinMemory(384u << 20, [&] {
        SolvingModel m;
        const Outcome r = readText(text, m);
        return r.status == Status::Malformed &&
               r.message.find("force 0: expected") != std::string::npos;
    }));
}

TEST(SolvingFile, MagnitudesWhoseProductsOverflowAreRefusedWithTheirRecord) {
    const BadCase cases[] = {
        {"E=2.1e11", "E=1e308",
         "line 5: \"E=1e308\"\n  material 0: E=1e+308 is beyond the largest magnitude accepted "
         "(1e+150)"},
        {"TK=0.01", "TK=-2e151", "thickness 0: TK=-2e+151 is beyond"},
        {"4:1,1,0", "4:1,1e200,0", "line 15: \"4:1,1e200,0\"\n  node 4: y=1e+200 is beyond"},
        {"5<0,0,-1000,0,0,0>", "5<0,0,1e308,0,0,0>", "force 0: Fz=1e+308 is beyond"},
        {"1:-10,-10,-10,-12.5", "1:-10,-10,-10,1e160", "distributed load 0: q3=1e+160 is beyond"},
    };
    for (const BadCase& c : cases) {
        SolvingModel m;
        const Outcome r = readText(replaced(kTwoElements, c.from, c.to), m);
        EXPECT_EQ(r.status, Status::Malformed) << c.to;
        EXPECT_NE(r.message.find(c.expectedInMessage), std::string::npos) << r.message;
        EXPECT_TRUE(m.nodes.empty());
    }
    SolvingModel m;
    EXPECT_TRUE(readText(replaced(kTwoElements, "E=2.1e11", "E=1e150"), m).ok());
}

TEST(SolvingFile, AShortRecordIsReportedAtItsOwnLine) {
    const BadCase cases[] = {
        {"E=2.1e11", "E=", "line 5: \"E=\"\n  material 0: expected"},
        {"TK=0.01", "TK=", "line 9: \"TK=\"\n  thickness 0: expected"},
        {"#0:\nTK", "#:\nTK", "line 8: \"#:\"\n  thickness 0: expected"},
    };
    for (const BadCase& c : cases) {
        SolvingModel m;
        const Outcome r = readText(replaced(kTwoElements, c.from, c.to), m);
        EXPECT_NE(r.message.find(c.expectedInMessage), std::string::npos) << r.message;
    }
}

TEST(SolvingFile, AFolderGivenAsTheFileCannotBeOpened) {
    const std::string folder =
        ::testing::TempDir() + "shellfem_solving_folder_" + std::to_string(::getpid());
    std::filesystem::create_directories(folder);
    SolvingModel m;
    const Outcome r = readSolvingFile(folder, m);
    std::filesystem::remove(folder);
    EXPECT_EQ(r.status, Status::CannotOpen);
    EXPECT_EQ(r.message, "Preprocessor file read error!");
}

} // namespace
} // namespace shellfem
