#include "viewer/contour/stress_listing.h"

#include <gtest/gtest.h>

#include <sstream>

namespace shellfem::viewer {
namespace {

// Two elements sharing the edge of nodes 1 and 2: element 0 is 0 1 2 3, element 1 is 1 4 5 2.
// Corner k carries SX = k+1 on top and -(k+1) at the bottom.
ContourModel twoElements() {
    ContourModel model;
    model.nodes.resize(6);
    model.elements.resize(2);
    model.elements[0].nodes = {0, 1, 2, 3};
    model.elements[1].nodes = {1, 4, 5, 2};
    for (ContourElement& element : model.elements)
        for (std::size_t k = 0; k < 4; ++k) {
            const double sx = static_cast<double>(k) + 1.0;
            element.top[k] = {sx, -2.5, 0, 1e-7, 0, 0, 1234567};
            element.bottom[k] = {-sx, 2.5, 0, 0, 0, 0, 1234567};
        }
    return model;
}

const char* const kValueHeader =
    " Surface             SX             SY             SZ            TXY"
    "            TXZ            TYZ             SE\n";

TEST(StressListing, SelectedElementsCornerByCornerTopThenBottom) {
    std::ostringstream out;
    writeSelectedElementStresses(out, twoElements(), {0, 1});
    const std::string expected =
        std::string(" Element  Corner    Node") + kValueHeader +
        "       1       0       1     top              1           -2.5              0"
        "          1e-07              0              0    1.23457e+06\n"
        "       1       0       1  bottom             -1            2.5              0"
        "              0              0              0    1.23457e+06\n"
        "       1       1       4     top              2           -2.5              0"
        "          1e-07              0              0    1.23457e+06\n"
        "       1       1       4  bottom             -2            2.5              0"
        "              0              0              0    1.23457e+06\n"
        "       1       2       5     top              3           -2.5              0"
        "          1e-07              0              0    1.23457e+06\n"
        "       1       2       5  bottom             -3            2.5              0"
        "              0              0              0    1.23457e+06\n"
        "       1       3       2     top              4           -2.5              0"
        "          1e-07              0              0    1.23457e+06\n"
        "       1       3       2  bottom             -4            2.5              0"
        "              0              0              0    1.23457e+06\n";
    EXPECT_EQ(out.str(), expected);
}

TEST(StressListing, SelectedNodeListsEveryElementCornerOnIt) {
    std::ostringstream out;
    writeSelectedNodeStresses(out, twoElements(), {0, 0, 1, 0, 0, 0});
    const std::string expected =
        std::string("    Node Element  Corner") + kValueHeader +
        "       2       0       2     top              3           -2.5              0"
        "          1e-07              0              0    1.23457e+06\n"
        "       2       0       2  bottom             -3            2.5              0"
        "              0              0              0    1.23457e+06\n"
        "       2       1       3     top              4           -2.5              0"
        "          1e-07              0              0    1.23457e+06\n"
        "       2       1       3  bottom             -4            2.5              0"
        "              0              0              0    1.23457e+06\n";
    EXPECT_EQ(out.str(), expected);
}

TEST(StressListing, NodesComeInNodeOrderWhateverTheElementOrder) {
    std::ostringstream out;
    writeSelectedNodeStresses(out, twoElements(), {0, 0, 0, 0, 1, 1});
    std::istringstream lines(out.str());
    std::string line;
    std::getline(lines, line); // header
    std::vector<std::string> leading;
    while (std::getline(lines, line))
        leading.push_back(line.substr(0, 24));
    EXPECT_EQ(leading,
              (std::vector<std::string>{"       4       1       1", "       4       1       1",
                                        "       5       1       2", "       5       1       2"}));
}

TEST(StressListing, NothingSelectedOrShortFlagsGiveTheHeaderAlone) {
    for (const std::vector<char>& flags : {std::vector<char>{}, std::vector<char>{0}}) {
        std::ostringstream elements, nodes;
        writeSelectedElementStresses(elements, twoElements(), flags);
        writeSelectedNodeStresses(nodes, twoElements(), flags);
        EXPECT_EQ(elements.str(), std::string(" Element  Corner    Node") + kValueHeader);
        EXPECT_EQ(nodes.str(), std::string("    Node Element  Corner") + kValueHeader);
    }
}

} // namespace
} // namespace shellfem::viewer
