#include "preprocessor/model/model.h"

#include "preprocessor/model/id_checks.h"
#include "preprocessor/model/model_compaction.h"
#include "preprocessor/model/model_queries.h"

namespace shellfem::preprocessor {

namespace {

// Removes the elements of the marked polygons and the nodes no other element uses.
void removeMeshOf(ModelData& data, const std::vector<bool>& polygonPicked, std::string& notice) {
    std::vector<bool> elementRemoved(data.elements.size(), false);
    for (std::size_t e = 0; e < data.elements.size(); ++e)
        elementRemoved[e] = polygonPicked[static_cast<std::size_t>(data.elements[e].polygon)];
    std::vector<bool> nodeRemoved = nodesFreedBy(data, elementRemoved);
    removeElements(data, elementRemoved);
    removeNodes(data, nodeRemoved, notice);
}

// Removes record `id` of a material or thickness list when no polygon uses it,
// and moves the later IDs down by one in every polygon's `attribute`.
template <class T>
EditResult deleteUnusedAttribute(ModelData& data, std::vector<T>& list, int Polygon::*attribute,
                                 int id, const std::string& kind) {
    if (std::string problem = checkIds({id}, list.size(), kind.c_str()); !problem.empty())
        return refusedEdit(problem);
    const std::vector<int> users = polygonsUsing(data, attribute, id);
    if (!users.empty()) {
        std::string names;
        for (int p : users)
            names += (names.empty() ? "" : ", ") + std::to_string(p);
        return refusedEdit(kind + " " + std::to_string(id) + " is used by polygon" +
                           (users.size() == 1 ? " " : "s ") + names + "; give " +
                           (users.size() == 1 ? "it" : "them") +
                           " another one before deleting it.");
    }
    list.erase(list.begin() + id);
    for (Polygon& polygon : data.polygons)
        if (polygon.*attribute > id)
            --(polygon.*attribute);
    return {};
}

} // namespace

EditResult Model::deleteMaterial(int id) {
    return deleteUnusedAttribute(data_, data_.materials, &Polygon::material, id, "Material");
}

EditResult Model::deleteThickness(int id) {
    return deleteUnusedAttribute(data_, data_.thicknesses, &Polygon::thickness, id, "Thickness");
}

EditResult Model::deletePoints(const std::vector<int>& points) {
    if (std::string problem = checkIds(points, data_.points.size(), "Point"); !problem.empty())
        return refusedEdit(problem);
    std::vector<bool> removed = markIds(points, data_.points.size());
    std::vector<bool> usedByPolygon(data_.points.size(), false);
    for (const Polygon& polygon : data_.polygons)
        for (int point : polygon.vertices)
            usedByPolygon[static_cast<std::size_t>(point)] = true;
    EditResult result;
    std::string kept;
    for (std::size_t p = 0; p < removed.size(); ++p)
        if (removed[p] && usedByPolygon[p]) {
            removed[p] = false;
            kept += (kept.empty() ? "" : ", ") + std::to_string(p);
        }
    if (!kept.empty())
        result.message = "Points used by a polygon were kept: " + kept + ".";

    std::vector<int> index = keptIndices(removed);
    eraseMarked(data_.points, removed);
    for (Polygon& polygon : data_.polygons)
        for (int& point : polygon.vertices)
            point = index[static_cast<std::size_t>(point)];
    selection_ = Selection{};
    rebuildDerived();
    return result;
}

EditResult Model::deletePolygons(const std::vector<int>& polygons) {
    if (std::string problem = checkIds(polygons, data_.polygons.size(), "Polygon");
        !problem.empty())
        return refusedEdit(problem);
    std::vector<bool> picked = markIds(polygons, data_.polygons.size());
    EditResult result;
    removeMeshOf(data_, picked, result.message);
    removePolygons(data_, picked);
    selection_ = Selection{};
    rebuildDerived();
    return result;
}

EditResult Model::deleteMesh(const std::vector<int>& polygons) {
    if (std::string problem = checkIds(polygons, data_.polygons.size(), "Polygon");
        !problem.empty())
        return refusedEdit(problem);
    EditResult result;
    removeMeshOf(data_, markIds(polygons, data_.polygons.size()), result.message);
    selection_.nodes.clear();
    rebuildDerived();
    return result;
}

} // namespace shellfem::preprocessor
