#include "formats/node_displacement_file.h"

#include "formats/file_text.h"
#include "formats/pattern_scanner.h"

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

Outcome readDisplacementText(std::string text, std::vector<double>& displacements,
                             const std::string& fileName) {
    displacements.clear();
    PatternScanner scan(std::move(text));
    Outcome result = readDisplacements(scan, displacements, fileName);
    if (!result.ok())
        displacements.clear();
    return result;
}

} // namespace

Outcome readNodeDisplacementFile(std::istream& in, std::vector<double>& displacements,
                                 const std::string& fileName) {
    return readDisplacementText(readAllText(in), displacements, fileName);
}

Outcome readNodeDisplacementFile(const std::string& path, std::vector<double>& displacements) {
    const Outcome read = readWithinMemory(path, [&] {
        std::string text;
        if (!readFileText(path, text))
            return Outcome::failure(Status::CannotOpen, "cannot open " + path);
        return readDisplacementText(std::move(text), displacements, path);
    });
    if (!read.ok())
        displacements.clear();
    return read;
}

} // namespace shellfem
