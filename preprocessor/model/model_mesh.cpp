#include "preprocessor/model/model.h"

#include "formats/number_format.h"
#include "preprocessor/mesh/conformity.h"
#include "preprocessor/mesh/node_merger.h"
#include "preprocessor/mesh/node_numbering.h"
#include "preprocessor/mesh/quad_mesher.h"
#include "preprocessor/model/id_checks.h"
#include "preprocessor/model/model_compaction.h"
#include "preprocessor/model/model_queries.h"

#include <algorithm>

namespace shellfem::preprocessor {

namespace {

// True when p lies on the segment a-b, ends included, within the tolerance.
bool onSegment(const Vec3& p, const Vec3& a, const Vec3& b, double tolerance) {
    SegmentOffset o = offsetFromSegment(p, a, b);
    return o.along >= -tolerance && o.along <= o.length + tolerance && o.across <= tolerance;
}

// The edges of meshed polygons that stay as they are, with the number of element
// edges that lie on each.
std::vector<MeshedEdge> edgesOfMeshedPolygons(const ModelData& data,
                                              const std::vector<PolygonGeometry>& geometry,
                                              const std::vector<bool>& remeshed, double tolerance) {
    const std::vector<std::vector<int>> elementsOfPolygon = elementsByPolygon(data);
    std::vector<MeshedEdge> edges;
    for (std::size_t p = 0; p < data.polygons.size(); ++p) {
        if (remeshed[p] || elementsOfPolygon[p].empty())
            continue;
        const auto& corners = geometry[p].corners;
        for (std::size_t k = 0; k < corners.size(); ++k) {
            MeshedEdge edge{corners[k], corners[(k + 1) % corners.size()], 0, static_cast<int>(p)};
            if (length(edge.to - edge.from) <= tolerance)
                continue;
            for (int e : elementsOfPolygon[p]) {
                const auto& nodes = data.elements[static_cast<std::size_t>(e)].nodes;
                for (std::size_t c = 0; c < 4; ++c) {
                    const Vec3& a = data.nodes[static_cast<std::size_t>(nodes[c])].position;
                    const Vec3& b =
                        data.nodes[static_cast<std::size_t>(nodes[(c + 1) % 4])].position;
                    if (onSegment(a, edge.from, edge.to, tolerance) &&
                        onSegment(b, edge.from, edge.to, tolerance))
                        ++edge.divisions;
                }
            }
            if (edge.divisions > 0)
                edges.push_back(edge);
        }
    }
    return edges;
}

std::vector<std::array<int, 4>> connectivity(const ModelData& data) {
    std::vector<std::array<int, 4>> elements;
    elements.reserve(data.elements.size());
    for (const Element& e : data.elements)
        elements.push_back(e.nodes);
    return elements;
}

} // namespace

MeshResult Model::meshPolygons(const std::vector<int>& polygons, const MeshControl& control) {
    MeshResult result;
    auto refuse = [&result](std::string message) {
        result.status = Status::Refused;
        result.message = std::move(message);
        return result;
    };
    if (polygons.empty())
        return refuse("No polygon was picked for meshing.");
    if (std::string problem = checkIds(polygons, data_.polygons.size(), "Polygon");
        !problem.empty())
        return refuse(problem);
    std::vector<bool> remeshed = markIds(polygons, data_.polygons.size());
    const double tolerance = coincidenceTolerance(extent_);

    std::vector<PolygonToMesh> toMesh;
    for (std::size_t p = 0; p < remeshed.size(); ++p) {
        if (!remeshed[p])
            continue;
        const PolygonGeometry& g = geometry_[p];
        const Polygon& polygon = data_.polygons[p];
        if (g.area <= tolerance * tolerance)
            return refuse("Polygon " + std::to_string(p) +
                          " encloses no area and cannot be meshed.");
        if (!g.strictlyConvex) {
            int corner = g.firstBadCorner;
            return refuse("Polygon " + std::to_string(p) + " is not convex at its vertex " +
                          std::to_string(corner) + " (point " +
                          std::to_string(polygon.vertices[static_cast<std::size_t>(corner)]) +
                          "); split it into convex polygons before meshing.");
        }
        toMesh.push_back({static_cast<int>(p), polygon.vertices, g.corners});
    }

    std::vector<PolygonMesh> meshes;
    if (Outcome meshed =
            meshQuadrilaterals(toMesh, edgesOfMeshedPolygons(data_, geometry_, remeshed, tolerance),
                               control, tolerance, meshes);
        !meshed.ok())
        return refuse(meshed.message);

    ModelData data = data_;
    std::vector<bool> elementRemoved(data.elements.size(), false);
    for (std::size_t e = 0; e < data.elements.size(); ++e)
        elementRemoved[e] = remeshed[static_cast<std::size_t>(data.elements[e].polygon)];
    std::vector<bool> nodeFreed = nodesFreedBy(data, elementRemoved);
    removeElements(data, elementRemoved);
    const std::size_t keptElements = data.elements.size();

    // New nodes merge with the nodes that stay; a new node at the place of a freed
    // node takes that node over, with the restraints and forces on it.
    NodeMerger kept(tolerance);
    NodeMerger freed(tolerance);
    std::vector<int> nodeOfKept;
    std::vector<int> nodeOfFreed;
    for (std::size_t n = 0; n < data.nodes.size(); ++n) {
        (nodeFreed[n] ? freed : kept).append(data.nodes[n].position);
        (nodeFreed[n] ? nodeOfFreed : nodeOfKept).push_back(static_cast<int>(n));
    }
    for (const PolygonMesh& mesh : meshes) {
        std::vector<int> nodeOfLocal(mesh.nodes.size());
        for (std::size_t local = 0; local < mesh.nodes.size(); ++local) {
            const Vec3& p = mesh.nodes[local];
            int found = kept.find(p);
            if (found < 0) {
                int node = static_cast<int>(data.nodes.size());
                int old = freed.find(p);
                if (old >= 0) {
                    node = nodeOfFreed[static_cast<std::size_t>(old)];
                    nodeFreed[static_cast<std::size_t>(node)] = false;
                } else {
                    data.nodes.push_back({p, true});
                    nodeFreed.push_back(false);
                }
                found = kept.insert(p);
                nodeOfKept.push_back(node);
            }
            nodeOfLocal[local] = nodeOfKept[static_cast<std::size_t>(found)];
        }
        for (const auto& corners : mesh.elements) {
            Element e;
            for (std::size_t c = 0; c < 4; ++c)
                e.nodes[c] = nodeOfLocal[static_cast<std::size_t>(corners[c])];
            e.polygon = mesh.polygon;
            // Elements finer than the merging tolerance collapse onto shared nodes.
            for (std::size_t a = 0; a < 4; ++a)
                for (std::size_t b = a + 1; b < 4; ++b)
                    if (e.nodes[a] == e.nodes[b])
                        return refuse("Polygon " + std::to_string(mesh.polygon) +
                                      " would get elements too small for the size of the "
                                      "model (corners closer than " +
                                      formatGeneral(tolerance) +
                                      " are one node): choose fewer divisions or a larger "
                                      "element size.");
            data.elements.push_back(e);
        }
    }
    std::string notice;
    removeNodes(data, nodeFreed, notice);

    std::vector<Vec3> positions;
    for (const Node& n : data.nodes)
        positions.push_back(n.position);
    std::vector<bool> isNew(data.elements.size(), false);
    std::fill(isNew.begin() + static_cast<std::ptrdiff_t>(keptElements), isNew.end(), true);
    HangingNode hanging;
    if (findHangingNode(positions, connectivity(data), isNew, tolerance, hanging)) {
        const Element& e = data.elements[static_cast<std::size_t>(hanging.element)];
        return refuse("The mesh would not join up: a node at " +
                      describePosition(positions[static_cast<std::size_t>(hanging.node)]) +
                      " lies inside an element edge of polygon " + std::to_string(e.polygon) +
                      ". Polygons must meet corner to corner with matching divisions.");
    }

    // The solver factorises in node order without renumbering: keep the numbering
    // with the smallest profile among the generated one and two reorderings.
    std::vector<std::array<int, 4>> elements = connectivity(data);
    result.skylineAsGenerated = skylineEntries(data.nodes.size(), elements);
    result.skylineStored = result.skylineAsGenerated;
    std::vector<int> best;
    for (std::vector<int> candidate : {reverseCuthillMcKee(data.nodes.size(), elements),
                                       sweepAlongLongestAxis(positions, elements, tolerance)}) {
        std::vector<std::array<int, 4>> renumbered = elements;
        for (auto& e : renumbered)
            for (int& node : e)
                node = candidate[static_cast<std::size_t>(node)];
        long long skyline = skylineEntries(data.nodes.size(), renumbered);
        if (skyline < result.skylineStored) {
            result.skylineStored = skyline;
            best = std::move(candidate);
        }
    }
    if (!best.empty())
        permuteNodes(data, best);

    selection_.nodes.clear();
    replaceData(std::move(data));
    result.message = notice;
    return result;
}

} // namespace shellfem::preprocessor
