#include "preprocessor/model/model_queries.h"

namespace shellfem::preprocessor {

namespace {

// Combines, component by component, the values of every record whose `owner`
// is one of `ids`, starting from zeros; one entry per listed ID, in their order.
template <class Record, class Values, class Combine>
std::vector<std::optional<Values>>
combinedRecords(const std::vector<Record>& records, int Record::*owner, Values Record::*values,
                std::size_t ownerCount, const std::vector<int>& ids, Combine combine) {
    auto exists = [ownerCount](int id) {
        return id >= 0 && static_cast<std::size_t>(id) < ownerCount;
    };
    std::vector<int> entryOf(ownerCount, -1);
    for (std::size_t i = 0; i < ids.size(); ++i)
        if (exists(ids[i]))
            entryOf[static_cast<std::size_t>(ids[i])] = static_cast<int>(i);
    std::vector<std::optional<Values>> combined(ids.size());
    for (const Record& record : records) {
        const int entry = entryOf[static_cast<std::size_t>(record.*owner)];
        if (entry < 0)
            continue;
        std::optional<Values>& total = combined[static_cast<std::size_t>(entry)];
        if (!total)
            total = Values{};
        for (std::size_t d = 0; d < total->size(); ++d)
            (*total)[d] = combine((*total)[d], (record.*values)[d]);
    }
    // An ID listed twice gets the entry of its last occurrence.
    for (std::size_t i = 0; i < ids.size(); ++i)
        if (exists(ids[i]))
            combined[i] =
                combined[static_cast<std::size_t>(entryOf[static_cast<std::size_t>(ids[i])])];
    return combined;
}

double sum(double a, double b) {
    return a + b;
}

} // namespace

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

std::vector<std::optional<std::array<double, 6>>> forcesOnNodes(const ModelData& data,
                                                                const std::vector<int>& nodes) {
    return combinedRecords(data.forces, &NodalForce::node, &NodalForce::values, data.nodes.size(),
                           nodes, sum);
}

std::vector<std::optional<std::array<int, 6>>> restraintsOnNodes(const ModelData& data,
                                                                 const std::vector<int>& nodes) {
    return combinedRecords(data.restraints, &Restraint::node, &Restraint::flags, data.nodes.size(),
                           nodes, [](int a, int b) { return (a == 1 || b == 1) ? 1 : 0; });
}

std::vector<std::optional<std::array<double, 4>>>
loadsOnPolygons(const ModelData& data, const std::vector<int>& polygons) {
    return combinedRecords(data.polygonLoads, &PolygonLoad::polygon, &PolygonLoad::q,
                           data.polygons.size(), polygons, sum);
}

} // namespace shellfem::preprocessor
