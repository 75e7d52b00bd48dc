// Writes a plate model as a solving file: make_plate_example plate|cantilever OUTPUT
#include "examples/generator/plate_model.h"

#include <iostream>
#include <string>

int main(int argc, char** argv) {
    if (argc != 3) {
        std::cerr << "usage: make_plate_example plate|cantilever OUTPUT\n";
        return 2;
    }
    shellfem::PlateOptions o;
    const std::string kind = argv[1];
    if (kind == "plate") {
        o.nx = o.ny = 16;
        o.pressure = -1000.0;
    } else if (kind == "cantilever") {
        o.nx = 20;
        o.ny = 4;
        o.b = 0.2;
        o.support = shellfem::PlateOptions::Support::CantileverAtXZero;
        o.tipForceZ = -100.0;
    } else {
        std::cerr << "make_plate_example: unknown model '" << kind << "'\n";
        return 2;
    }
    if (!shellfem::writeSolvingFile(argv[2], shellfem::makeRectangularPlate(o))) {
        std::cerr << "make_plate_example: cannot write " << argv[2] << "\n";
        return 1;
    }
    return 0;
}
