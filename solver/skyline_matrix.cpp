#include "solver/skyline_matrix.h"

namespace shellfem {

SkylineMatrix::SkylineMatrix(const SkylineProfile& profile)
    : profile_(&profile), store_(static_cast<std::size_t>(profile.entries())) {}

} // namespace shellfem
