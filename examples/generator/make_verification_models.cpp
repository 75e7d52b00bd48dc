// Writes the verification set into a folder: one solving file per problem and
// mesh, and "cases.txt", which says for each file the displacement compared.
//   make_verification_models FOLDER
#include "examples/generator/verification_models.h"
#include "formats/number_format.h"

#include <filesystem>
#include <fstream>
#include <iostream>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: make_verification_models FOLDER\n";
        return 2;
    }
    const std::filesystem::path folder = argv[1];
    std::string table =
        "# Written by make_verification_models. Per line: problem, mesh, solving file, and the\n"
        "# compared value as node:dof:factor terms (dof 0..5 = dx dy dz rx ry rz), summed.\n";
    for (const shellfem::VerificationCase& c : shellfem::verificationCases()) {
        const std::string file = c.problem + "_" + c.mesh + ".txt";
        if (!shellfem::writeSolvingFile((folder / file).string(), c.model)) {
            std::cerr << "make_verification_models: cannot write " << (folder / file) << "\n";
            return 1;
        }
        table += c.problem + " " + c.mesh + " " + file + " ";
        for (std::size_t t = 0; t < c.probe.size(); ++t) {
            table += t ? "," : "";
            shellfem::appendInt(table, c.probe[t].node);
            table += ':';
            shellfem::appendInt(table, c.probe[t].dof);
            table += ':';
            shellfem::appendExact(table, c.probe[t].factor);
        }
        table += '\n';
    }
    std::ofstream out(folder / "cases.txt", std::ios::binary);
    out << table;
    if (!out.flush()) {
        std::cerr << "make_verification_models: cannot write " << (folder / "cases.txt") << "\n";
        return 1;
    }
    return 0;
}
