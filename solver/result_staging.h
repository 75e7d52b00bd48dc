#pragma once

#include "common/outcome.h"

#include <filesystem>
#include <functional>
#include <iosfwd>
#include <string>
#include <vector>

namespace shellfem {

// One result file: its name, what the run says should it fail, and its writer.
struct ResultFile {
    std::string name;
    std::string failureMessage;
    std::function<void(std::ostream&)> writer;
};

// The result files of one run. Each is written into a temporary file beside its
// name as the run goes, and all are put in place together once the run has
// succeeded: a run that fails, at any step, leaves no result file of its own, and
// no file that another program reads is ever half-written.
class ResultStaging {
public:
    explicit ResultStaging(std::filesystem::path folder);
    ResultStaging(const ResultStaging&) = delete;
    ResultStaging& operator=(const ResultStaging&) = delete;
    // Removes every temporary file that was not put in place.
    ~ResultStaging();

    // Writes the temporary file of `name`; false when any of it could not be written.
    // `failureMessage` is what the run says should the file not be put in place.
    bool write(const std::string& name, const std::string& failureMessage,
               const std::function<void(std::ostream&)>& writer);

    // Writes the temporary files of `files` on two threads, which is twice as fast
    // where formatting the numbers is the cost, while a third puts each on the
    // disk as soon as it is written; each writer may only read what the others read. Fails
    // with the message of the first file, in the order given, that could not be
    // written or put on the disk; an exception of a writer comes out after both
    // threads have stopped.
    Outcome writeTogether(const std::vector<ResultFile>& files);

    // Puts every written file on the disk and then in place, in the order
    // written; the failure's message is that of the file that could not be put
    // on the disk or in place.
    Outcome putInPlace();

private:
    struct Staged {
        std::string path;
        std::string failureMessage;
    };
    std::filesystem::path folder_;
    std::vector<Staged> staged_;
};

} // namespace shellfem
