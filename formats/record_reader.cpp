#include "formats/record_reader.h"

#include "formats/number_format.h"
#include "formats/value_limits.h"

namespace shellfem {

RecordReader::RecordReader(std::string text, std::string fileName, std::string indexWord)
    : scan_(std::move(text)), fileName_(std::move(fileName)), indexWord_(std::move(indexWord)) {}

bool RecordReader::fail(std::size_t at, const std::string& record, const std::string& problem) {
    result_.status = Status::Malformed;
    result_.message = fileName_ + ", " + scan_.describe(at) + "\n  " + record + ": " + problem;
    return false;
}

bool RecordReader::failVersion(const std::string& message) {
    result_.status = Status::WrongVersion;
    result_.message = message;
    return false;
}

std::string RecordReader::recordName(const char* kind, int i) {
    return std::string(kind) + " " + std::to_string(i);
}

bool RecordReader::readCount(std::string_view label, const char* name, int& count) {
    std::size_t at = scan_.position();
    if (!scan_.literal(label) || !scan_.readInt(count))
        return fail(at, std::string(name) + " count",
                    "expected \"" + std::string(label) + "<count>\"");
    if (count < 0)
        return fail(at, std::string(name) + " count", "the count is negative");
    scan_.literal("\n");
    return true;
}

bool RecordReader::checkMagnitude(std::size_t at, const std::string& record, const char* field,
                                  double value) {
    if (withinLargestMagnitude(value))
        return true;
    return fail(at, record,
                std::string(field) + "=" + formatGeneral(value) +
                    " is beyond the largest magnitude accepted (" +
                    formatGeneral(kLargestMagnitude) + ")");
}

bool RecordReader::checkMagnitudes(std::size_t at, const std::string& record,
                                   const Vec3& position) {
    return checkMagnitude(at, record, "x", position.x) &&
           checkMagnitude(at, record, "y", position.y) &&
           checkMagnitude(at, record, "z", position.z);
}

bool RecordReader::readLabelledValue(const std::string& record, std::string_view label,
                                     double& value, const char* layout) {
    const std::size_t at = scan_.position();
    if (!scan_.literal(label) || !scan_.readDouble(value) || !scan_.literal("\n"))
        return fail(at, record, layout);
    const std::string field(label.substr(0, label.find('=')));
    return checkMagnitude(at, record, field.c_str(), value);
}

bool RecordReader::checkIndex(std::size_t at, const std::string& record, const char* what,
                              int index, std::size_t size, const char* countName) {
    if (index >= 0 && static_cast<std::size_t>(index) < size)
        return true;
    return fail(at, record,
                std::string(what) + " " + indexWord_ + " " + std::to_string(index) +
                    " is out of range (" + countName + "=" + std::to_string(size) + ")");
}

bool RecordReader::readRestraint(int i, std::size_t nodeCount, int& node,
                                 std::array<int, 6>& flags) {
    std::size_t at = scan_.position();
    bool ok = scan_.readInt(node) && scan_.literal(":");
    for (int& flag : flags)
        ok = ok && scan_.readInt(flag);
    if (!ok)
        return fail(at, recordName("restraint", i),
                    "expected \"<node>:<UX> <UY> <UZ> <RX> <RY> <RZ>\"");
    scan_.literal("\n");
    return checkIndex(at, recordName("restraint", i), "node", node, nodeCount, "NPOIN");
}

bool RecordReader::readForce(int i, std::size_t nodeCount, int& node,
                             std::array<double, 6>& values) {
    std::size_t at = scan_.position();
    bool ok = scan_.readInt(node) && scan_.literal("<");
    for (std::size_t d = 0; d < 6; ++d)
        ok = ok && scan_.readDouble(values[d]) && scan_.literal(d < 5 ? "," : ">\n");
    const std::string record = recordName("force", i);
    if (!ok)
        return fail(at, record, "expected \"<node><<Fx>,<Fy>,<Fz>,<Mx>,<My>,<Mz>>\"");
    static const char* const names[] = {"Fx", "Fy", "Fz", "Mx", "My", "Mz"};
    for (std::size_t d = 0; d < 6; ++d)
        if (!checkMagnitude(at, record, names[d], values[d]))
            return false;
    return checkIndex(at, record, "node", node, nodeCount, "NPOIN");
}

} // namespace shellfem
