#include "solver/result_staging.h"

#include "formats/safe_file_write.h"

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

Outcome ResultStaging::putInPlace() {
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
