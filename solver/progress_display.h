#pragma once

#include <cstdint>
#include <iosfwd>

namespace shellfem {

// The console percentage shown while a loop over `total` steps runs: the first
// step writes " p%Completed." and backs over it, later steps overwrite the
// number in place, the last step writes "p%Completed." plus `lastEnding`.
class ProgressDisplay {
public:
    ProgressDisplay(std::ostream& out, std::int64_t total, const char* lastEnding);
    // Reports that step `done` (0-based) has finished.
    void stepDone(std::int64_t done);

private:
    std::ostream& out_;
    std::int64_t total_;
    const char* lastEnding_;
    int shownPercent_ = -1;
};

} // namespace shellfem
