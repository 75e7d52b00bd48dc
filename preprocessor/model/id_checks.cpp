#include "preprocessor/model/id_checks.h"

#include <algorithm>
#include <cmath>

namespace shellfem::preprocessor {

std::string checkIds(const std::vector<int>& ids, std::size_t count, const char* kind) {
    for (int id : ids)
        if (id < 0 || static_cast<std::size_t>(id) >= count)
            return std::string(kind) + " " + std::to_string(id) + " does not exist (there are " +
                   std::to_string(count) + ").";
    return {};
}

std::string checkAttributes(const ModelData& data, int material, int thickness) {
    if (std::string problem = checkIds({material}, data.materials.size(), "Material");
        !problem.empty())
        return problem;
    return checkIds({thickness}, data.thicknesses.size(), "Thickness");
}

bool validYoungsModulus(double E) {
    return std::isfinite(E) && E > 0.0;
}

bool validPoissonsRatio(double Mu) {
    return std::isfinite(Mu) && Mu > -1.0 && Mu < 0.5;
}

bool validThickness(double tk) {
    return std::isfinite(tk) && tk > 0.0;
}

std::vector<bool> markIds(const std::vector<int>& ids, std::size_t count) {
    std::vector<bool> marked(count, false);
    for (int id : ids)
        marked[static_cast<std::size_t>(id)] = true;
    return marked;
}

std::vector<int> withoutRepeats(const std::vector<int>& ids) {
    std::vector<int> unique;
    for (int id : ids)
        if (std::find(unique.begin(), unique.end(), id) == unique.end())
            unique.push_back(id);
    return unique;
}

} // namespace shellfem::preprocessor
