// Writes the bundled pre-processor example, a hipped roof, as a preprocessing
// file and its exported solving file:  make_roof_example MODEL.kvx SOLVING.txt
#include "examples/generator/roof_model.h"
#include "preprocessor/export/solving_export.h"
#include "preprocessor/files/kvx_file.h"

#include <iostream>

int main(int argc, char** argv) {
    using namespace shellfem;
    if (argc != 3) {
        std::cerr << "usage: make_roof_example MODEL.kvx SOLVING.txt\n";
        return 2;
    }
    preprocessor::Model model;
    Outcome outcome = makeHippedRoof(model);
    if (outcome.ok())
        outcome = preprocessor::writeKvxFile(argv[1], model);
    // The solving file is what the program exports after opening the example.
    preprocessor::Model opened;
    if (outcome.ok())
        outcome = preprocessor::readKvxFile(argv[1], opened);
    if (outcome.ok())
        outcome = preprocessor::exportSolvingFile(argv[2], opened);
    if (!outcome.ok()) {
        std::cerr << "make_roof_example: " << outcome.message << "\n";
        return 1;
    }
    return 0;
}
