// Writes the verification set into a folder: one solving file per problem and
// mesh, and "cases.txt", which says for each file the displacement compared.
//   make_verification_models FOLDER
#include "examples/generator/verification_models.h"

#include <filesystem>
#include <fstream>
#include <iostream>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: make_verification_models FOLDER\n";
        return 2;
    }
    const std::filesystem::path folder = argv[1];
    const std::vector<shellfem::VerificationCase> cases = shellfem::verificationCases();
    for (const shellfem::VerificationCase& c : cases) {
        const std::filesystem::path file = folder / shellfem::solvingFileName(c);
        if (!shellfem::writeSolvingFile(file.string(), c.model)) {
            std::cerr << "make_verification_models: cannot write " << file << "\n";
            return 1;
        }
    }
    std::ofstream out(folder / "cases.txt", std::ios::binary);
    out << shellfem::casesTable(cases);
    if (!out.flush()) {
        std::cerr << "make_verification_models: cannot write " << (folder / "cases.txt") << "\n";
        return 1;
    }
    return 0;
}
