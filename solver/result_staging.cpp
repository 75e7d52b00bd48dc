#include "solver/result_staging.h"

#include "formats/safe_file_write.h"
#include "solver/thread_team.h"

#include <atomic>
#include <exception>
#include <mutex>

namespace shellfem {

ResultStaging::ResultStaging(std::filesystem::path folder) : folder_(std::move(folder)) {}

ResultStaging::~ResultStaging() {
    for (const Staged& file : staged_)
        discardTemporaryFile(file.path);
}

bool ResultStaging::write(const std::string& name, const std::string& failureMessage,
                          const std::function<void(std::ostream&)>& writer) {
    const std::string path = (folder_ / name).string();
    if (!writeTemporaryFile(path, writer))
        return false;
    staged_.push_back({path, failureMessage});
    return true;
}

Outcome ResultStaging::writeTogether(const std::vector<ResultFile>& files) {
    std::vector<char> written(files.size(), 0);
    std::atomic<std::size_t> next{0};
    std::exception_ptr thrown;
    std::mutex thrownLock;
    const auto writeFiles = [&]() noexcept {
        try {
            // Each file is synced as soon as it is written: the disk then takes
            // it while the other thread formats the next one.
            for (std::size_t i; (i = next++) < files.size();) {
                const std::string path = (folder_ / files[i].name).string();
                written[i] = writeTemporaryFile(path, files[i].writer) && syncTemporaryFile(path);
            }
        } catch (...) {
            next = files.size(); // the run fails: no more files to start
            const std::lock_guard<std::mutex> lock(thrownLock);
            if (!thrown)
                thrown = std::current_exception();
        }
    };
    // Without a second thread the calling one writes them all.
    runOnTeam(2, [&](int, ThreadTeam&) { writeFiles(); });
    for (std::size_t i = 0; i < files.size(); ++i)
        if (written[i])
            staged_.push_back({(folder_ / files[i].name).string(), files[i].failureMessage});
    if (thrown)
        std::rethrow_exception(thrown);
    for (std::size_t i = 0; i < files.size(); ++i)
        if (!written[i])
            return Outcome::failure(Status::CannotOpen, files[i].failureMessage);
    return Outcome::success();
}

Outcome ResultStaging::putInPlace() {
    // Every file on the disk before the first replaces its old one: a file the
    // disk refuses leaves all the old results as they were.
    for (std::size_t i = 0; i < staged_.size(); ++i)
        if (!syncTemporaryFile(staged_[i].path)) {
            const std::string message = staged_[i].failureMessage;
            staged_.erase(staged_.begin() + static_cast<std::ptrdiff_t>(i));
            return Outcome::failure(Status::CannotOpen, message);
        }
    for (std::size_t i = 0; i < staged_.size(); ++i)
        if (!putTemporaryInPlace(staged_[i].path)) {
            const std::string message = staged_[i].failureMessage;
            staged_.erase(staged_.begin(), staged_.begin() + static_cast<std::ptrdiff_t>(i) + 1);
            return Outcome::failure(Status::CannotOpen, message);
        }
    staged_.clear();
    return Outcome::success();
}

} // namespace shellfem
