#include "preprocessor/model/model_queries.h"

namespace shellfem::preprocessor {

std::vector<std::vector<int>> elementsByPolygon(const ModelData& data) {
    std::vector<std::vector<int>> elementsOfPolygon(data.polygons.size());
    for (std::size_t e = 0; e < data.elements.size(); ++e)
        elementsOfPolygon[static_cast<std::size_t>(data.elements[e].polygon)].push_back(
            static_cast<int>(e));
    return elementsOfPolygon;
}

std::vector<Vec3> cornersOf(const ModelData& data, const std::vector<int>& vertices) {
    std::vector<Vec3> corners;
    corners.reserve(vertices.size());
    for (int point : vertices)
        corners.push_back(data.points[static_cast<std::size_t>(point)].position);
    return corners;
}

} // namespace shellfem::preprocessor
