#include "platform/console_text.h"

#include <gtest/gtest.h>

namespace shellfem::platform {
namespace {

TEST(ConsoleText, BackspacesAndCarriageReturnsOverwriteInPlaceAsTheSolversPercentagesDo) {
    ConsoleText console;
    console.write("Solving...");
    console.write(" 0%Completed.\b\b\b\b\b\b\b\b\b\b\b\b\b");
    console.write("50\b\b");
    console.write("99\b\b");
    console.write("100%Completed.\n");
    EXPECT_EQ(console.text(), "Solving...100%Completed.\n");

    ConsoleText bar;
    bar.write("step 1\rstep 22\rstep 3\nnext");
    EXPECT_EQ(bar.text(), "step 32\nnext");
    bar.write("\b\b\b\b\b\bX"); // never back over a line feed
    EXPECT_EQ(bar.text(), "step 32\nXext");
}

TEST(ConsoleText, LastLinesLeaveOutTrailingBlankLines) {
    ConsoleText console;
    console.write("a\nb\nc\n\n  \n");
    EXPECT_EQ(console.lastLines(2), "b\nc");
    EXPECT_EQ(console.lastLines(10), "a\nb\nc");
    EXPECT_EQ(ConsoleText().lastLines(3), "");
}

} // namespace
} // namespace shellfem::platform
