#pragma once

#include "common/outcome.h"
#include "formats/pattern_scanner.h"
#include "geometry/vec3.h"

#include <algorithm>
#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace shellfem {

// What the line-oriented model files have in common: count lines, index checks,
// the restraint and force records (written alike in every model file), and
// failure messages that name the file, the line, the record and the problem.
// A reader derives from it and reads its sections in order; every method
// returns false after storing the message in result().
class RecordReader {
public:
    // `indexWord` names the indices in messages ("index", "ID").
    RecordReader(std::string text, std::string fileName, std::string indexWord);

    const Outcome& result() const { return result_; }

protected:
    bool fail(std::size_t at, const std::string& record, const std::string& problem);
    bool failVersion(const std::string& message);
    static std::string recordName(const char* kind, int i);

    // `label` then a count of 0 or more.
    bool readCount(std::string_view label, const char* name, int& count);
    // Room for `count` records, but never for more than the rest of the file can
    // hold at `shortestRecord` characters each: a count cannot make the reader take
    // memory that the file does not back (the first record missing then fails).
    template <class T> void reserve(std::vector<T>& list, int count, std::size_t shortestRecord) {
        list.reserve(std::min<std::size_t>(static_cast<std::size_t>(count),
                                           scan_.remainingSize() / shortestRecord));
    }
    // Refuses a value beyond kLargestMagnitude, naming the record and the field.
    bool checkMagnitude(std::size_t at, const std::string& record, const char* field, double value);
    bool checkMagnitudes(std::size_t at, const std::string& record, const Vec3& position);
    bool checkIndex(std::size_t at, const std::string& record, const char* what, int index,
                    std::size_t size, const char* countName);

    // "<label><value>" alone on its line, such as "E=2.1e11": a failure names that
    // line, with `layout` as the problem; the value must lie within kLargestMagnitude.
    bool readLabelledValue(const std::string& record, std::string_view label, double& value,
                           const char* layout);

    // "node:UX UY UZ RX RY RZ" and "node<Fx,Fy,Fz,Mx,My,Mz>", node below nodeCount.
    bool readRestraint(int i, std::size_t nodeCount, int& node, std::array<int, 6>& flags);
    bool readForce(int i, std::size_t nodeCount, int& node, std::array<double, 6>& values);

    PatternScanner scan_;

private:
    std::string fileName_;
    std::string indexWord_;
    Outcome result_;
};

} // namespace shellfem
