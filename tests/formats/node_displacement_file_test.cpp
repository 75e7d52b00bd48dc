#include "formats/node_displacement_file.h"

#include <gtest/gtest.h>

#include <sstream>

namespace shellfem {
namespace {

Outcome readText(const std::string& text, std::vector<double>& displacements) {
    std::istringstream in(text);
    return readNodeDisplacementFile(in, displacements, "Node_Dis.txt");
}

const std::string kHeader =
    "           Node             dx             dy             dz             rx             ry"
    "             rz\n";

TEST(NodeDisplacementFile, ReadsWhatTheSolverWrote) {
    std::vector<double> u;
    const Outcome read = readNodeDisplacementFile(SHELLFEM_GOLDEN_DIR "/Node_Dis.txt", u);
    ASSERT_TRUE(read.ok()) << read.message;
    ASSERT_EQ(u.size(), 6u * 6u);           // the golden strip has six nodes
    EXPECT_DOUBLE_EQ(u[2], -5.27979e-19);   // node 0, dz
    EXPECT_DOUBLE_EQ(u[6 + 3], 9.1352e-20); // node 1, rx
}

TEST(NodeDisplacementFile, ReadsTheLayoutWithAnyWidths) {
    std::vector<double> u;
    ASSERT_TRUE(readText(kHeader + "             0:              0              0         -0.001"
                                   "              0         0.0002              0\n"
                                   "1:1 2 3 4 5 6\n",
                         u)
                    .ok());
    EXPECT_EQ(u, (std::vector<double>{0, 0, -0.001, 0, 0.0002, 0, 1, 2, 3, 4, 5, 6}));
    ASSERT_TRUE(readText(kHeader, u).ok()); // no nodes at all
    EXPECT_TRUE(u.empty());
}

TEST(NodeDisplacementFile, RefusesWhatIsNotTheLayoutNamingFileAndLine) {
    const struct {
        std::string text;
        std::string message;
    } cases[] = {
        {"", "Node_Dis.txt, the file ends early, after line 0\n  expected the header \"Node dx dy "
             "dz rx ry rz\""},
        {"NPOIN=3\n", "Node_Dis.txt, line 1: \"NPOIN=3\"\n  expected the header \"Node dx dy dz "
                      "rx ry rz\""},
        {kHeader + "0: 1 2 3 4 5 6\n2: 1 2 3 4 5 6\n",
         "Node_Dis.txt, line 3: \"2: 1 2 3 4 5 6\"\n  expected node 1, found node 2"},
        {kHeader + "0: 1 2 3 4 5\n", "Node_Dis.txt, line 2: \"0: 1 2 3 4 5\"\n  node 0: expected "
                                     "six numbers dx dy dz rx ry rz"},
        {kHeader + "0: 1 2 3 x 5 6\n",
         "Node_Dis.txt, line 2: \"0: 1 2 3 x 5 6\"\n  node 0: expected six numbers dx dy dz rx ry "
         "rz"},
        {kHeader + "0 1 2 3 4 5 6\n",
         "Node_Dis.txt, line 2: \"0 1 2 3 4 5 6\"\n  expected \"0:\" and six displacements"},
    };
    for (const auto& c : cases) {
        std::vector<double> u{1.0};
        const Outcome read = readText(c.text, u);
        EXPECT_EQ(read.status, Status::Malformed) << c.text;
        EXPECT_EQ(read.message, c.message);
        EXPECT_TRUE(u.empty());
    }
    std::vector<double> u{1.0};
    EXPECT_EQ(readNodeDisplacementFile("/nonexistent/Node_Dis.txt", u).status, Status::CannotOpen);
    EXPECT_TRUE(u.empty());
}

} // namespace
} // namespace shellfem
