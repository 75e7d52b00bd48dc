#pragma once

#include "common/outcome.h"
#include "formats/pattern_scanner.h"

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
    // A count larger than the rest of the file cannot be honest: no memory for it
    // (the first record that is missing then fails).
    template <class T> void reserve(std::vector<T>& list, int count) {
        list.reserve(std::min<std::size_t>(static_cast<std::size_t>(count), scan_.remainingSize()));
    }
    bool checkIndex(std::size_t at, const std::string& record, const char* what, int index,
                    std::size_t size, const char* countName);

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
