#pragma once

#include "preprocessor/model/model_data.h"

#include <array>
#include <optional>
#include <vector>

namespace shellfem::preprocessor {

// Read-only look-ups over a model whose IDs are all in range.

// The IDs of each polygon's elements, in element order, one list per polygon.
std::vector<std::vector<int>> elementsByPolygon(const ModelData& data);

// The element's normal by its corner order, (n1 - n0) x (n3 - n0), not normalised.
Vec3 elementNormal(const ModelData& data, const Element& element);

// The IDs of the polygons whose `attribute` (&Polygon::material or
// &Polygon::thickness) is `id`, in polygon order.
std::vector<int> polygonsUsing(const ModelData& data, int Polygon::*attribute, int id);

// Positions of the geometric points listed, in the order given.
std::vector<Vec3> cornersOf(const ModelData& data, const std::vector<int>& vertices);

// Positions of the polygon's corners in vertex order.
inline std::vector<Vec3> cornersOf(const ModelData& data, const Polygon& polygon) {
    return cornersOf(data, polygon.vertices);
}

// What the solver applies to each listed node or polygon, all of its records
// together: forces and loads add up, and a DOF is fixed when any record holds a 1
// for it. Nothing for one without records, or for an ID that names no record.
std::vector<std::optional<std::array<double, 6>>> forcesOnNodes(const ModelData& data,
                                                                const std::vector<int>& nodes);
std::vector<std::optional<std::array<int, 6>>> restraintsOnNodes(const ModelData& data,
                                                                 const std::vector<int>& nodes);
std::vector<std::optional<std::array<double, 4>>> loadsOnPolygons(const ModelData& data,
                                                                  const std::vector<int>& polygons);

} // namespace shellfem::preprocessor
