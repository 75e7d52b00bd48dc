#include "viewer/contour/selection_file.h"

#include <gtest/gtest.h>

#include <sstream>

namespace shellfem::viewer {
namespace {

TEST(SelectionFile, WritesOneNumberPerLineAndReadsItBack) {
    const std::vector<char> flags = {0, 1, 0, 0, 1, 1, 0};
    std::ostringstream out;
    writeSelectionFile(out, flags);
    EXPECT_EQ(out.str(), "1\n4\n5\n");
    std::vector<char> back(7, 1);
    std::istringstream in(out.str());
    ASSERT_TRUE(readSelectionFile(in, back).ok());
    EXPECT_EQ(back, flags);
}

TEST(SelectionFile, ToleratesBlankLinesSpacesAndWindowsLineEnds) {
    std::vector<char> flags(4, 0);
    std::istringstream in("\r\n  2 \r\n\t0\n\n3");
    ASSERT_TRUE(readSelectionFile(in, flags).ok());
    EXPECT_EQ(flags, (std::vector<char>{1, 0, 1, 1}));
    std::istringstream empty("");
    ASSERT_TRUE(readSelectionFile(empty, flags).ok());
    EXPECT_EQ(flags, std::vector<char>(4, 0));
}

TEST(SelectionFile, RefusesBadLinesWithTheirLineNumberAndKeepsTheFlags) {
    struct Case {
        const char* text;
        const char* mentions;
    };
    for (const Case& c :
         {Case{"1\nabc\n", "line 2: \"abc\" is not a whole number"}, Case{"1\n2\n3x\n", "line 3"},
          Case{"1 2\n", "line 1"}, Case{"2.5\n", "line 1"},
          Case{"\n\n10\n", "line 3: 10 is out of range 0..9"},
          Case{"-1\n", "line 1: -1 is out of range"},
          Case{"99999999999999999999999\n", "line 1"}}) {
        std::vector<char> flags(10, 0);
        flags[7] = 1;
        const std::vector<char> before = flags;
        std::istringstream in(c.text);
        const Outcome read = readSelectionFile(in, flags);
        EXPECT_FALSE(read.ok()) << c.text;
        EXPECT_NE(read.message.find(c.mentions), std::string::npos) << read.message;
        EXPECT_EQ(flags, before);
    }
}

TEST(SelectionFile, AnyNumberIsOutOfRangeWhenThereAreNoItems) {
    std::vector<char> flags;
    std::istringstream in("0\n");
    const Outcome read = readSelectionFile(in, flags);
    EXPECT_FALSE(read.ok());
    EXPECT_NE(read.message.find("no items"), std::string::npos) << read.message;
}

} // namespace
} // namespace shellfem::viewer
