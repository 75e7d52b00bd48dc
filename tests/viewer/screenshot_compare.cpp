// Measures screenshots of Pelunar's drawing area (binary PPMs) for the GUI tests:
//   screenshot_compare colours SCREEN.ppm X0 Y0 X1 Y1
//       prints the number of saturated colours that cover 50 pixels or more in the box,
//       then the number of pixels in the viewer's grey of undeformed meshes (105, 105, 105) on
//       black;
//   screenshot_compare differ A.ppm B.ppm X0 Y0 X1 Y1
//       prints the share (0..1) of the box's pixels that differ between A and B.
// Exit code 2 on bad arguments or unreadable pictures.
#include "ppm_image.h"

#include <algorithm>
#include <cstdlib>
#include <iostream>
#include <map>
#include <string>

using namespace pelunar_gui_test;

namespace {

struct Box {
    int x0, y0, x1, y1;
};

bool readBox(char** argv, const Image& image, Box& box) {
    box = {std::atoi(argv[0]), std::atoi(argv[1]), std::atoi(argv[2]), std::atoi(argv[3])};
    box.x1 = std::min(box.x1, image.width);
    box.y1 = std::min(box.y1, image.height);
    return box.x0 >= 0 && box.y0 >= 0 && box.x0 < box.x1 && box.y0 < box.y1;
}

} // namespace

int main(int argc, char** argv) {
    const std::string mode = argc > 1 ? argv[1] : "";
    Image a, b;
    Box box{};
    if (mode == "colours" && argc == 7 && readPpm(argv[2], a) && readBox(argv + 3, a, box)) {
        std::map<std::tuple<int, int, int>, int> area;
        int grey = 0;
        for (int y = box.y0; y < box.y1; ++y)
            for (int x = box.x0; x < box.x1; ++x) {
                const auto c = a.at(x, y);
                if (saturated(c))
                    ++area[c];
                grey += c == std::tuple<int, int, int>{105, 105, 105};
            }
        int colours = 0;
        for (const auto& [c, n] : area)
            colours += n >= 50;
        std::cout << colours << " " << grey << "\n";
        return 0;
    }
    if (mode == "differ" && argc == 8 && readPpm(argv[2], a) && readPpm(argv[3], b) &&
        a.width == b.width && a.height == b.height && readBox(argv + 4, a, box)) {
        long differing = 0, all = 0;
        for (int y = box.y0; y < box.y1; ++y)
            for (int x = box.x0; x < box.x1; ++x) {
                ++all;
                differing += a.at(x, y) != b.at(x, y);
            }
        std::cout << static_cast<double>(differing) / static_cast<double>(all) << "\n";
        return 0;
    }
    std::cerr << "usage: screenshot_compare colours SCREEN.ppm X0 Y0 X1 Y1\n"
                 "       screenshot_compare differ A.ppm B.ppm X0 Y0 X1 Y1\n";
    return 2;
}
