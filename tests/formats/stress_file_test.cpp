#include "formats/stress_file.h"
#include "tests/support/memory_limit.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <sstream>

namespace shellfem {
namespace {

ContourModel oneElement() {
    ContourModel m;
    m.nodes = {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}};
    ContourElement e;
    e.nodes = {0, 1, 2, 3};
    for (std::size_t k = 0; k < 4; ++k) {
        e.top[k] = {100.0, 1.5e-07, 0, -2.25, 0, 0, 123.456789};
        e.bottom[k] = {-100.0, 0, 0, 2.25, 0, 0, 98765432.1};
    }
    m.elements.push_back(e);
    return m;
}

TEST(ContourFile, LayoutIsExact) {
    std::ostringstream out;
    writeContourFile(out, oneElement());
    const std::string text = out.str();
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 2 + 4 + 9);
    EXPECT_EQ(text.substr(0, text.find("0,1,2,3\n") + 8),
              "NPOIN=4\nNELEM=1\n0,0,0\n1,0,0\n1,1,0\n0,1,0\n0,1,2,3\n");
    EXPECT_NE(text.find("\n100,1.5e-07,0,-2.25,0,0,123.457\n-100,0,0,2.25,0,0,9.87654e+07\n"),
              std::string::npos)
        << text;
}

TEST(ContourFile, ReadsBackWhatWasWritten) {
    std::ostringstream out;
    writeContourFile(out, oneElement());
    std::istringstream in(out.str());
    ContourModel back;
    Outcome r = readContourFile(in, back, "Shell_AverageStrs.txt");
    ASSERT_TRUE(r.ok()) << r.message;
    ASSERT_EQ(back.elements.size(), 1u);
    EXPECT_EQ(back.elements[0].top[2][0], 100.0);
    EXPECT_EQ(back.elements[0].bottom[3][3], 2.25);
    EXPECT_EQ(back.nodes[2].y, 1.0);
}

TEST(ContourFile, BrokenFilesAreRefusedWithTheirLine) {
    std::ostringstream out;
    writeContourFile(out, oneElement());
    const std::string good = out.str();
    struct Case {
        std::string text;
        const char* expected;
    } cases[] = {
        {"NPOIN=-1\nNELEM=1\n", "line 1"},
        {"NPOIN=4\nNELEM=2000000000\n0,0,0\n", "do not fit"},
        {std::string(good).replace(good.find("0,1,2,3"), 7, "0,1,2,9"),
         "element 0: node 9 is out of range (NPOIN=4)"},
        {good.substr(0, good.size() - 20), "element 0, corner 3"},
        {std::string(good).replace(good.find("1,1,0"), 5, "1;1;0"), "line 5: \"1;1;0\"\n  node 2"},
    };
    for (const Case& c : cases) {
        std::istringstream in(c.text);
        ContourModel m;
        Outcome r = readContourFile(in, m, "f.txt");
        EXPECT_EQ(r.status, Status::Malformed);
        EXPECT_NE(r.message.find(c.expected), std::string::npos) << r.message;
        EXPECT_TRUE(m.nodes.empty() && m.elements.empty());
    }
}

Outcome readContourText(const std::string& text, ContourModel& m) {
    std::istringstream in(text);
    return readContourFile(in, m, "f.txt");
}

TEST(ContourFile, CountsThatFitTheFileSizeTakeOnlyTheMemoryOfWhatIsRead) {
    if (!SHELLFEM_MEMORY_LIMITS)
        GTEST_SKIP() << "no address-space limit under the sanitizers";
    // 20 MB is 9 bytes for each of 2.2 million elements, which would need about 1 GB.
    std::string text = "NPOIN=4\nNELEM=2200000\n0,0,0\n1,0,0\n1,1,0\n0,1,0\n0,1,2,3\n";
    text.append(20u << 20, '\n');
    EXPECT_TRUE(succeedsWithinMemory(384u << 20, [&] {
        ContourModel m;
        const Outcome r = readContourText(text, m);
        return r.status == Status::Malformed &&
               r.message.find("element 0, corner 0") != std::string::npos;
    }));
}

TEST(ContourFile, HugeValuesAndShortLinesAreRefusedAtTheirOwnLine) {
    std::ostringstream out;
    writeContourFile(out, oneElement());
    const std::string good = out.str();
    const std::size_t firstStress = good.find("100,");
    const std::size_t secondStress = good.find('\n', firstStress) + 1;
    struct Case {
        std::string text;
        const char* expected;
    } cases[] = {
        {std::string(good).replace(good.find("1,1,0"), 5, "1,1e200,0"),
         "line 5: \"1,1e200,0\"\n  1e+200 is beyond the largest magnitude accepted (1e+150)"},
        {std::string(good).replace(firstStress, 3, "-1e300"), "line 8: \"-1e300,"},
        // The first stress line loses its last value: blamed on that line, not the next.
        {std::string(good).replace(secondStress - 9, 8, ""),
         "line 8: \"100,1.5e-07,0,-2.25,0,0\"\n  element 0, corner 0"},
    };
    for (const Case& c : cases) {
        ContourModel m;
        const Outcome r = readContourText(c.text, m);
        EXPECT_EQ(r.status, Status::Malformed);
        EXPECT_NE(r.message.find(c.expected), std::string::npos) << r.message;
        EXPECT_TRUE(m.nodes.empty() && m.elements.empty());
    }
}

TEST(ContourFile, AFolderCannotBeOpened) {
    const std::string folder =
        ::testing::TempDir() + "shellfem_contour_folder_" + std::to_string(::getpid());
    std::filesystem::create_directories(folder);
    ContourModel m;
    const Outcome r = readContourFile(folder, m);
    std::filesystem::remove(folder);
    EXPECT_EQ(r.status, Status::CannotOpen);
}

TEST(ContourFile, EquivalentStressOfUniaxialAndPureShear) {
    EXPECT_DOUBLE_EQ(equivalentStress(100, 0, 0, 0, 0, 0), 100.0);
    EXPECT_DOUBLE_EQ(equivalentStress(0, 0, 0, 10, 0, 0), 10.0 * std::sqrt(3.0));
}

} // namespace
} // namespace shellfem
