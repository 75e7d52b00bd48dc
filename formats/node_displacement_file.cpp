#include "formats/node_displacement_file.h"

#include "formats/pattern_scanner.h"

#include <fstream>
#include <sstream>

namespace shellfem {

namespace {

Outcome readDisplacements(PatternScanner& scan, std::vector<double>& displacements,
                          const std::string& fileName) {
    const auto fail = [&](std::size_t at, const std::string& problem) {
        return Outcome::failure(Status::Malformed,
                                fileName + ", " + scan.describe(at) + "\n  " + problem);
    };
    std::size_t at = scan.position();
    if (!scan.literal(" Node dx dy dz rx ry rz "))
        return fail(at, "expected the header \"Node dx dy dz rx ry rz\"");
    for (int node = 0; !scan.atEnd(); ++node) {
        at = scan.position();
        int number = 0;
        if (!scan.readInt(number) || !scan.literal(":"))
            return fail(at, "expected \"" + std::to_string(node) + ":\" and six displacements");
        if (number != node)
            return fail(at, "expected node " + std::to_string(node) + ", found node " +
                                std::to_string(number));
        for (int d = 0; d < 6; ++d) {
            double value = 0.0;
            if (!scan.readDouble(value))
                return fail(at, "node " + std::to_string(node) +
                                    ": expected six numbers dx dy dz rx ry rz");
            displacements.push_back(value);
        }
    }
    return Outcome::success();
}

} // namespace

Outcome readNodeDisplacementFile(std::istream& in, std::vector<double>& displacements,
                                 const std::string& fileName) {
    displacements.clear();
    std::ostringstream text;
    text << in.rdbuf();
    PatternScanner scan(text.str());
    Outcome result = readDisplacements(scan, displacements, fileName);
    if (!result.ok())
        displacements.clear();
    return result;
}

Outcome readNodeDisplacementFile(const std::string& path, std::vector<double>& displacements) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        displacements.clear();
        return Outcome::failure(Status::CannotOpen, "cannot open " + path);
    }
    return readNodeDisplacementFile(in, displacements, path);
}

} // namespace shellfem
