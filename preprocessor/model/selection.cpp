#include "preprocessor/model/selection.h"

#include <algorithm>

namespace shellfem::preprocessor {

void pick(std::vector<int>& picked, const std::vector<int>& ids) {
    for (int id : ids)
        if (std::find(picked.begin(), picked.end(), id) == picked.end())
            picked.push_back(id);
}

void unpick(std::vector<int>& picked, const std::vector<int>& ids) {
    picked.erase(
        std::remove_if(picked.begin(), picked.end(),
                       [&](int id) { return std::find(ids.begin(), ids.end(), id) != ids.end(); }),
        picked.end());
}

} // namespace shellfem::preprocessor
