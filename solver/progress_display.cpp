#include "solver/progress_display.h"

#include <cstdio>
#include <ostream>

namespace shellfem {

ProgressDisplay::ProgressDisplay(std::ostream& out, std::int64_t total, const char* lastEnding)
    : out_(out), total_(total), lastEnding_(lastEnding) {}

void ProgressDisplay::stepDone(std::int64_t done) {
    const int percent = static_cast<int>((done + 1) * 100 / total_);
    char text[64];
    if (done == 0)
        std::snprintf(text, sizeof text, "%2d%%Completed.\b\b\b\b\b\b\b\b\b\b\b\b\b", percent);
    else if (done == total_ - 1)
        std::snprintf(text, sizeof text, "%2d%%Completed.%s", percent, lastEnding_);
    else
        std::snprintf(text, sizeof text, "%2d\b\b", percent);
    out_ << text;
    // Every step is written, but the console is only pushed when the number changes.
    if (percent != shownPercent_ || done == total_ - 1) {
        shownPercent_ = percent;
        out_.flush();
    }
}

} // namespace shellfem
