// Writes the example cylinder panel as "Shell_AverageStrs.txt" (or the named
// file) for the viewer's screenshot test and for trying Pelunar by hand.
#include "example_model.h"

#include <fstream>
#include <iostream>

int main(int argc, char** argv) {
    const char* name = argc > 1 ? argv[1] : shellfem::kAverageStressFileName;
    std::ofstream out(name);
    shellfem::writeContourFile(out, shellfem::viewer::testing::cylinderPanel());
    out.flush();
    if (!out) {
        std::cerr << "cannot write " << name << "\n";
        return 1;
    }
    return 0;
}
