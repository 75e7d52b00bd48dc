#include "preprocessor/model/model.h"

#include "preprocessor/model/id_checks.h"
#include "preprocessor/model/model_queries.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace shellfem::preprocessor {

namespace {

std::string checkMaterial(const Material& m) {
    if (!validYoungsModulus(m.E))
        return "Young's modulus E must be greater than 0.";
    if (!validPoissonsRatio(m.Mu))
        return "Poisson's ratio Mu must lie between -1 and 0.5 (both excluded).";
    return {};
}

std::string checkThickness(double tk) {
    if (!validThickness(tk))
        return "The thickness TK must be greater than 0.";
    return {};
}

bool isFinite(const Vec3& p) {
    return std::isfinite(p.x) && std::isfinite(p.y) && std::isfinite(p.z);
}

// Drops the restraint or force records that sit on a marked node.
template <class Record>
void removeRecordsOnNodes(std::vector<Record>& list, const std::vector<bool>& picked) {
    list.erase(
        std::remove_if(list.begin(), list.end(),
                       [&](const Record& r) { return picked[static_cast<std::size_t>(r.node)]; }),
        list.end());
}

// Gives each node (listed once) a restraint or force record holding `values`. In
// Replace mode the node's earlier records go first; in Add mode a node that has
// records gets `values` merged into its last one, component by component.
template <class Record, class Values, class Combine>
void applyToNodes(std::vector<Record>& list, Values Record::*field, std::size_t nodeCount,
                  const std::vector<int>& nodes, const Values& values, ApplyMode mode,
                  Combine combine) {
    if (mode == ApplyMode::Replace)
        removeRecordsOnNodes(list, markIds(nodes, nodeCount));
    std::vector<int> lastRecordOfNode(nodeCount, -1);
    for (std::size_t r = 0; r < list.size(); ++r)
        lastRecordOfNode[static_cast<std::size_t>(list[r].node)] = static_cast<int>(r);
    for (int node : nodes) {
        int existing = lastRecordOfNode[static_cast<std::size_t>(node)];
        if (existing < 0) {
            list.push_back({node, values});
        } else {
            Values& merged = list[static_cast<std::size_t>(existing)].*field;
            for (std::size_t d = 0; d < merged.size(); ++d)
                merged[d] = combine(merged[d], values[d]);
        }
    }
}

} // namespace

void Model::clear() {
    data_ = ModelData{};
    selection_ = Selection{};
    rebuildDerived();
}

void Model::assign(ModelData data) {
    selection_ = Selection{};
    replaceData(std::move(data));
}

void Model::replaceData(ModelData data) {
    data_ = std::move(data);
    rebuildDerived();
}

void Model::rebuildDerived() {
    const std::size_t polygonCount = data_.polygons.size();
    geometry_.clear();
    geometry_.reserve(polygonCount);
    for (const Polygon& polygon : data_.polygons)
        geometry_.push_back(shellfem::preprocessor::polygonGeometry(cornersOf(data_, polygon)));

    display_ = DisplayTables{};
    display_.loadOfPolygon.assign(polygonCount, -1);
    display_.restraintOfNode.assign(data_.nodes.size(), -1);
    display_.forceOfNode.assign(data_.nodes.size(), -1);
    for (const std::vector<int>& elements : elementsByPolygon(data_))
        display_.elementCountOfPolygon.push_back(static_cast<int>(elements.size()));
    for (std::size_t p = 0; p < polygonCount; ++p)
        data_.polygons[p].meshed = display_.elementCountOfPolygon[p] > 0;
    for (std::size_t l = 0; l < data_.polygonLoads.size(); ++l)
        display_.loadOfPolygon[static_cast<std::size_t>(data_.polygonLoads[l].polygon)] =
            static_cast<int>(l);
    for (std::size_t r = 0; r < data_.restraints.size(); ++r)
        display_.restraintOfNode[static_cast<std::size_t>(data_.restraints[r].node)] =
            static_cast<int>(r);
    for (std::size_t f = 0; f < data_.forces.size(); ++f)
        display_.forceOfNode[static_cast<std::size_t>(data_.forces[f].node)] = static_cast<int>(f);

    // Elements follow their polygon's visibility; a node is shown while a shown
    // element uses it, and a node of no element is always shown.
    std::vector<bool> nodeUsed(data_.nodes.size(), false);
    std::vector<bool> nodeShown(data_.nodes.size(), false);
    for (Element& e : data_.elements) {
        e.visible = data_.polygons[static_cast<std::size_t>(e.polygon)].visible;
        for (int node : e.nodes) {
            nodeUsed[static_cast<std::size_t>(node)] = true;
            if (e.visible)
                nodeShown[static_cast<std::size_t>(node)] = true;
        }
    }
    for (std::size_t n = 0; n < data_.nodes.size(); ++n)
        data_.nodes[n].visible = nodeShown[n] || !nodeUsed[n];

    extent_ = ModelExtent{};
    const double inf = std::numeric_limits<double>::infinity();
    Vec3 low{inf, inf, inf};
    Vec3 high{-inf, -inf, -inf};
    bool any = false;
    auto include = [&](const Vec3& p) {
        low = {std::min(low.x, p.x), std::min(low.y, p.y), std::min(low.z, p.z)};
        high = {std::max(high.x, p.x), std::max(high.y, p.y), std::max(high.z, p.z)};
        any = true;
    };
    for (const GeometricPoint& p : data_.points)
        include(p.position);
    for (const Node& n : data_.nodes)
        include(n.position);
    if (any) {
        extent_.min = low;
        extent_.max = high;
        extent_.size = length(high - low);
    }
}

EditResult Model::addMaterial(const Material& material) {
    if (std::string problem = checkMaterial(material); !problem.empty())
        return refusedEdit(problem);
    data_.materials.push_back(material);
    EditResult r;
    r.created.push_back(static_cast<int>(data_.materials.size() - 1));
    return r;
}

EditResult Model::editMaterial(int id, const Material& material) {
    if (std::string problem = checkIds({id}, data_.materials.size(), "Material"); !problem.empty())
        return refusedEdit(problem);
    if (std::string problem = checkMaterial(material); !problem.empty())
        return refusedEdit(problem);
    data_.materials[static_cast<std::size_t>(id)] = material;
    return {};
}

EditResult Model::addThickness(double thickness) {
    if (std::string problem = checkThickness(thickness); !problem.empty())
        return refusedEdit(problem);
    data_.thicknesses.push_back(thickness);
    EditResult r;
    r.created.push_back(static_cast<int>(data_.thicknesses.size() - 1));
    return r;
}

EditResult Model::editThickness(int id, double thickness) {
    if (std::string problem = checkIds({id}, data_.thicknesses.size(), "Thickness");
        !problem.empty())
        return refusedEdit(problem);
    if (std::string problem = checkThickness(thickness); !problem.empty())
        return refusedEdit(problem);
    data_.thicknesses[static_cast<std::size_t>(id)] = thickness;
    return {};
}

EditResult Model::addPoint(const Vec3& position) {
    if (!isFinite(position))
        return refusedEdit("The point's coordinates must be finite numbers.");
    data_.points.push_back({position, true});
    rebuildDerived();
    EditResult r;
    r.created.push_back(static_cast<int>(data_.points.size() - 1));
    return r;
}

EditResult Model::copyPoints(const std::vector<int>& points, const Vec3& offset, int copies) {
    if (std::string problem = checkIds(points, data_.points.size(), "Point"); !problem.empty())
        return refusedEdit(problem);
    if (copies < 1)
        return refusedEdit("The number of copies must be at least 1.");
    if (!isFinite(offset) || length(offset) == 0.0)
        return refusedEdit("The offset of the copies must be finite and not zero.");
    EditResult r;
    for (int k = 1; k <= copies; ++k)
        for (int point : points) {
            Vec3 p = data_.points[static_cast<std::size_t>(point)].position +
                     static_cast<double>(k) * offset;
            data_.points.push_back({p, true});
            r.created.push_back(static_cast<int>(data_.points.size() - 1));
        }
    rebuildDerived();
    return r;
}

EditResult Model::createPolygon(const std::vector<int>& points, int material, int thickness) {
    if (points.size() < 3)
        return refusedEdit("A polygon needs at least 3 points; " + std::to_string(points.size()) +
                           " were given.");
    if (std::string problem = checkIds(points, data_.points.size(), "Point"); !problem.empty())
        return refusedEdit(problem);
    if (std::string problem = checkAttributes(data_, material, thickness); !problem.empty())
        return refusedEdit(problem);
    std::vector<int> sorted = points;
    std::sort(sorted.begin(), sorted.end());
    if (auto twice = std::adjacent_find(sorted.begin(), sorted.end()); twice != sorted.end())
        return refusedEdit("Point " + std::to_string(*twice) +
                           " appears twice in the polygon; each corner must be a different point.");
    PolygonGeometry g = shellfem::preprocessor::polygonGeometry(cornersOf(data_, points));
    double tolerance = coincidenceTolerance(extent_);
    if (g.area <= tolerance * tolerance)
        return refusedEdit(
            "The points of the polygon enclose no area (they coincide or lie on a line).");
    Polygon polygon;
    polygon.vertices = points;
    polygon.material = material;
    polygon.thickness = thickness;
    data_.polygons.push_back(polygon);
    rebuildDerived();
    EditResult r;
    r.created.push_back(static_cast<int>(data_.polygons.size() - 1));
    return r;
}

EditResult Model::setPolygonAttributes(const std::vector<int>& polygons, int material,
                                       int thickness) {
    if (std::string problem = checkIds(polygons, data_.polygons.size(), "Polygon");
        !problem.empty())
        return refusedEdit(problem);
    if (std::string problem = checkAttributes(data_, material, thickness); !problem.empty())
        return refusedEdit(problem);
    for (int p : polygons) {
        data_.polygons[static_cast<std::size_t>(p)].material = material;
        data_.polygons[static_cast<std::size_t>(p)].thickness = thickness;
    }
    rebuildDerived();
    return {};
}

EditResult Model::applyPolygonLoad(const std::vector<int>& polygons,
                                   const std::array<double, 4>& q) {
    if (std::string problem = checkIds(polygons, data_.polygons.size(), "Polygon");
        !problem.empty())
        return refusedEdit(problem);
    for (double value : q)
        if (!std::isfinite(value))
            return refusedEdit("The load intensities q0..q3 must be finite numbers.");
    // One record per polygon: the solver adds every record, so a repeat would double the load.
    const std::vector<int> picked = withoutRepeats(polygons);
    removePolygonLoads(picked);
    for (int p : picked)
        data_.polygonLoads.push_back({p, q});
    rebuildDerived();
    return {};
}

EditResult Model::removePolygonLoads(const std::vector<int>& polygons) {
    if (std::string problem = checkIds(polygons, data_.polygons.size(), "Polygon");
        !problem.empty())
        return refusedEdit(problem);
    std::vector<bool> picked = markIds(polygons, data_.polygons.size());
    auto& loads = data_.polygonLoads;
    loads.erase(std::remove_if(loads.begin(), loads.end(),
                               [&](const PolygonLoad& l) {
                                   return picked[static_cast<std::size_t>(l.polygon)];
                               }),
                loads.end());
    rebuildDerived();
    return {};
}

EditResult Model::applyRestraints(const std::vector<int>& nodes, const std::array<int, 6>& flags,
                                  ApplyMode mode) {
    if (std::string problem = checkIds(nodes, data_.nodes.size(), "Node"); !problem.empty())
        return refusedEdit(problem);
    for (int flag : flags)
        if (flag != 0 && flag != 1)
            return refusedEdit("Restraint flags must be 0 (free) or 1 (fixed).");
    // Only a flag of 1 fixes a DOF; any other value read from a file is free.
    applyToNodes(data_.restraints, &Restraint::flags, data_.nodes.size(), withoutRepeats(nodes),
                 flags, mode, [](int a, int b) { return (a == 1 || b == 1) ? 1 : 0; });
    rebuildDerived();
    return {};
}

EditResult Model::applyForces(const std::vector<int>& nodes, const std::array<double, 6>& values,
                              ApplyMode mode) {
    if (std::string problem = checkIds(nodes, data_.nodes.size(), "Node"); !problem.empty())
        return refusedEdit(problem);
    for (double value : values)
        if (!std::isfinite(value))
            return refusedEdit("Force and moment components must be finite numbers.");
    applyToNodes(data_.forces, &NodalForce::values, data_.nodes.size(), withoutRepeats(nodes),
                 values, mode, [](double a, double b) { return a + b; });
    rebuildDerived();
    return {};
}

EditResult Model::removeRestraints(const std::vector<int>& nodes) {
    if (std::string problem = checkIds(nodes, data_.nodes.size(), "Node"); !problem.empty())
        return refusedEdit(problem);
    removeRecordsOnNodes(data_.restraints, markIds(nodes, data_.nodes.size()));
    rebuildDerived();
    return {};
}

EditResult Model::removeForces(const std::vector<int>& nodes) {
    if (std::string problem = checkIds(nodes, data_.nodes.size(), "Node"); !problem.empty())
        return refusedEdit(problem);
    removeRecordsOnNodes(data_.forces, markIds(nodes, data_.nodes.size()));
    rebuildDerived();
    return {};
}

EditResult Model::setPolygonsVisible(const std::vector<int>& polygons, bool visible) {
    if (std::string problem = checkIds(polygons, data_.polygons.size(), "Polygon");
        !problem.empty())
        return refusedEdit(problem);
    for (int p : polygons)
        data_.polygons[static_cast<std::size_t>(p)].visible = visible;
    rebuildDerived();
    return {};
}

void Model::showAll() {
    for (GeometricPoint& p : data_.points)
        p.visible = true;
    for (Polygon& p : data_.polygons)
        p.visible = true;
    rebuildDerived();
}

} // namespace shellfem::preprocessor
