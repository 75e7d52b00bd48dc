#pragma once

#include <string>
#include <utility>

namespace shellfem {

// Why an operation did not succeed.
enum class Status {
    Ok,
    CannotOpen,   // a file is missing, unreadable or cannot be created
    WrongVersion, // a file's header names a release this program does not read
    Malformed,    // a record does not scan, an index is out of range, or the file ends early
    Refused,      // the request is not valid for the data it would change
    Failed,       // the operation ran and did not succeed (a singular matrix, a failed write)
};

// The one result type of the project: it succeeded, or why not. `message` says
// what is wrong and where; on success it may still carry a notice for the user.
// Libraries return it; only the programs show it.
struct Outcome {
    Status status = Status::Ok;
    std::string message;

    bool ok() const { return status == Status::Ok; }

    static Outcome success(std::string notice = {}) { return {Status::Ok, std::move(notice)}; }
    static Outcome failure(Status why, std::string message) { return {why, std::move(message)}; }
};

} // namespace shellfem
