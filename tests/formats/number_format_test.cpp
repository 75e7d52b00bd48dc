#include "formats/number_format.h"

#include <gtest/gtest.h>

#include <cstdio>

namespace shellfem {
namespace {

std::string printfG(double v) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%g", v);
    return buffer;
}

TEST(NumberFormat, GeneralMatchesPrintfG) {
    for (double v : {0.0, -0.0, 1.0, 100.0, -1000.0, 1.5e-07, 0.0001, 1e-5, 123456.0, 1234567.0,
                     -0.333333333, 2.5e+20, 1e20, 6.02214076e23, 9.999995, 0.1 + 0.2})
        EXPECT_EQ(formatGeneral(v), printfG(v)) << v;
}

TEST(NumberFormat, FieldsAreRightAlignedAndNeverCut) {
    std::string s;
    appendRightInt(s, 7, 14);
    s += ':';
    appendRightGeneral(s, -1.5e-07, 15);
    EXPECT_EQ(s, "             7:       -1.5e-07");
    s.clear();
    appendRight(s, "a-very-long-field-text", 4);
    EXPECT_EQ(s, "a-very-long-field-text");
}

TEST(NumberFormat, ExactReadsBackTheSameDouble) {
    for (double v : {0.1, 2.1e11, 1.0 / 3.0, -7.25e-300}) {
        std::string s;
        appendExact(s, v);
        EXPECT_EQ(std::stod(s), v) << s;
    }
}

} // namespace
} // namespace shellfem
