#include "solver/result_staging.h"

#include "formats/safe_file_write.h"
#include "solver/thread_team.h"

#include <atomic>
#include <condition_variable>
#include <deque>
#include <exception>
#include <mutex>
#include <optional>

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

namespace {

// The written files waiting for their sync, handed from the writers to the
// thread that syncs them.
class SyncQueue {
public:
    explicit SyncQueue(int writers) : writers_(writers) {}

    void push(std::size_t file) {
        const std::lock_guard<std::mutex> lock(mutex_);
        waiting_.push_back(file);
        changed_.notify_one();
    }
    void writerDone() {
        const std::lock_guard<std::mutex> lock(mutex_);
        --writers_;
        changed_.notify_one();
    }
    // The next file to sync; none once every writer is done and all are synced.
    std::optional<std::size_t> next() {
        std::unique_lock<std::mutex> lock(mutex_);
        changed_.wait(lock, [this] { return !waiting_.empty() || writers_ == 0; });
        if (waiting_.empty())
            return std::nullopt;
        const std::size_t file = waiting_.front();
        waiting_.pop_front();
        return file;
    }

private:
    std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<std::size_t> waiting_;
    int writers_;
};

} // namespace

Outcome ResultStaging::writeTogether(const std::vector<ResultFile>& files) {
    std::vector<std::string> paths;
    for (const ResultFile& file : files)
        paths.push_back((folder_ / file.name).string());
    std::vector<char> done(files.size(), 0); // written and on the disk
    std::atomic<std::size_t> next{0};
    std::exception_ptr thrown;
    std::mutex thrownLock;
    const auto keepThrown = [&] {
        next = files.size(); // the run fails: no more files to start
        const std::lock_guard<std::mutex> lock(thrownLock);
        if (!thrown)
            thrown = std::current_exception();
    };
    const auto writeFiles = [&](SyncQueue* queue) noexcept {
        try {
            for (std::size_t i; (i = next++) < files.size();)
                if (writeTemporaryFile(paths[i], files[i].writer)) {
                    done[i] = 1;
                    if (queue)
                        queue->push(i);
                }
        } catch (...) {
            keepThrown();
        }
    };
    const auto syncFile = [&](std::size_t i) noexcept {
        try {
            done[i] = syncTemporaryFile(paths[i]);
        } catch (...) {
            done[i] = 0;
            keepThrown();
        }
    };
    // Two threads format, a third waits for the disk to take each file as soon
    // as it is written; without helpers the calling thread does it all in turn.
    SyncQueue queue(2);
    runOnTeam(3, [&](int thread, ThreadTeam& team) {
        if (team.size < 3) {
            writeFiles(nullptr);
            for (std::size_t i = 0; i < files.size(); ++i)
                if (done[i])
                    syncFile(i);
        } else if (thread == 2) {
            while (const std::optional<std::size_t> i = queue.next())
                syncFile(*i);
        } else {
            writeFiles(&queue);
            queue.writerDone();
        }
    });
    for (std::size_t i = 0; i < files.size(); ++i)
        if (done[i])
            staged_.push_back({paths[i], files[i].failureMessage});
    if (thrown)
        std::rethrow_exception(thrown);
    for (std::size_t i = 0; i < files.size(); ++i)
        if (!done[i])
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
