// Checks a screenshot of Pelunar (a binary PPM, P6): the contour must be drawn
// with several distinct band colours, and the legend must be there: a column
// of at least six equally tall, differently coloured boxes with text beside it.
// Prints what it found; exit code 0 when both are present, 1 otherwise.
#include "ppm_image.h"

#include <algorithm>
#include <cstdlib>
#include <iostream>
#include <map>
#include <set>
#include <string>
#include <tuple>

namespace {

using namespace pelunar_gui_test;

bool light(const std::tuple<int, int, int>& c) {
    const auto [r, g, b] = c;
    return r > 150 && g > 150 && b > 150;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::cerr << "usage: screenshot_check SCREEN.ppm\n";
        return 2;
    }
    Image image;
    if (!readPpm(argv[1], image)) {
        std::cerr << "cannot read " << argv[1] << " as a binary PPM\n";
        return 2;
    }
    // Band colours: saturated colours that each cover a real area.
    std::map<std::tuple<int, int, int>, int> area;
    for (int y = 0; y < image.height; ++y)
        for (int x = 0; x < image.width; ++x) {
            const auto c = image.at(x, y);
            if (saturated(c))
                ++area[c];
        }
    int bands = 0;
    for (const auto& [c, n] : area)
        bands += n >= 150;
    // The legend: in some column, six or more runs of distinct saturated colours,
    // next to each other and all of one height (the legend's boxes).
    int bestRuns = 0, legendX = -1;
    for (int x = 0; x < image.width; ++x) {
        int y = 0, runs = 0, runHeight = -1, lastEnd = -10;
        std::set<std::tuple<int, int, int>> colours;
        while (y < image.height) {
            const auto c = image.at(x, y);
            int end = y;
            while (end < image.height && image.at(x, end) == c)
                ++end;
            const int h = end - y;
            if (saturated(c) && h >= 8 && h <= 80) {
                const bool continues = y - lastEnd <= 3 && runHeight > 0 &&
                                       std::abs(h - runHeight) <= 2 && !colours.count(c);
                if (continues) {
                    ++runs;
                } else {
                    runs = 1;
                    colours.clear();
                }
                colours.insert(c);
                runHeight = h;
                lastEnd = end;
                if (runs > bestRuns) {
                    bestRuns = runs;
                    legendX = x;
                }
            }
            y = end;
        }
    }
    // Text beside the legend boxes: light pixels just right of the column (black background).
    int textPixels = 0;
    if (legendX >= 0)
        for (int y = 0; y < image.height; ++y)
            for (int x = legendX + 1; x < std::min(image.width, legendX + 120); ++x)
                textPixels += light(image.at(x, y)) && !saturated(image.at(x, y));
    std::cout << "band colours: " << bands << ", legend boxes in one column: " << bestRuns
              << " (x = " << legendX << "), light text pixels beside them: " << textPixels << "\n";
    const bool ok = bands >= 6 && bestRuns >= 6 && textPixels >= 100;
    std::cout << (ok ? "contour and legend are drawn" : "contour or legend missing") << "\n";
    return ok ? 0 : 1;
}
