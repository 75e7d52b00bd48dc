#pragma once

#include <string>

namespace shellfem {

enum class ReadStatus {
    Ok,
    CannotOpen,   // the file is missing or unreadable
    WrongVersion, // the header names a release this program does not read
    Malformed,    // a record does not scan, an index is out of range, or the file ends early
};

// Outcome of reading a hand-over file; `message` says what is wrong and where.
struct ReadResult {
    ReadStatus status = ReadStatus::Ok;
    std::string message;

    bool ok() const { return status == ReadStatus::Ok; }
};

} // namespace shellfem
