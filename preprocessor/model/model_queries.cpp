#include "preprocessor/model/model_queries.h"

namespace shellfem::preprocessor {

std::vector<std::vector<int>> elementsByPolygon(const ModelData& data) {
    std::vector<std::vector<int>> elementsOfPolygon(data.polygons.size());
    for (std::size_t e = 0; e < data.elements.size(); ++e)
        elementsOfPolygon[static_cast<std::size_t>(data.elements[e].polygon)].push_back(
            static_cast<int>(e));
    return elementsOfPolygon;
}

Vec3 elementNormal(const ModelData& data, const Element& element) {
    auto at = [&](std::size_t corner) {
        return data.nodes[static_cast<std::size_t>(element.nodes[corner])].position;
    };
    return cross(at(1) - at(0), at(3) - at(0));
}

std::vector<int> polygonsUsing(const ModelData& data, int Polygon::*attribute, int id) {
    std::vector<int> users;
    for (std::size_t p = 0; p < data.polygons.size(); ++p)
        if (data.polygons[p].*attribute == id)
            users.push_back(static_cast<int>(p));
    return users;
}

std::vector<Vec3> cornersOf(const ModelData& data, const std::vector<int>& vertices) {
    std::vector<Vec3> corners;
    corners.reserve(vertices.size());
    for (int point : vertices)
        corners.push_back(data.points[static_cast<std::size_t>(point)].position);
    return corners;
}

} // namespace shellfem::preprocessor
