#include "solver/skyline_profile.h"

namespace shellfem {

SkylineProfile::SkylineProfile(int equations)
    : heights_(static_cast<std::size_t>(equations), 1),
      diagonals_(static_cast<std::size_t>(equations), 0) {}

void SkylineProfile::finish() {
    std::int64_t address = 0;
    for (std::size_t c = 0; c < heights_.size(); ++c) {
        diagonals_[c] = address;
        address += heights_[c];
    }
    entries_ = address;
}

} // namespace shellfem
