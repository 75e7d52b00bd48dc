#include "preprocessor/mesh/quad_mesher.h"

#include "geometry/bilinear.h"
#include "preprocessor/mesh/division_plan.h"

namespace shellfem::preprocessor {

namespace {

Vec3 bilinear(const std::array<Vec3, 4>& c, double s, double t) {
    const std::array<double, 4> w = bilinearWeights(s, t);
    return w[0] * c[0] + w[1] * c[1] + w[2] * c[2] + w[3] * c[3];
}

// Appends an n1 x n2 mapped mesh of the quadrilateral c0 c1 c2 c3: n1 elements
// along c0-c1, n2 along c1-c2.
void appendMappedMesh(const std::array<Vec3, 4>& c, int n1, int n2, PolygonMesh& mesh) {
    const int first = static_cast<int>(mesh.nodes.size());
    for (int j = 0; j <= n2; ++j)
        for (int i = 0; i <= n1; ++i)
            mesh.nodes.push_back(
                bilinear(c, static_cast<double>(i) / n1, static_cast<double>(j) / n2));
    auto node = [&](int i, int j) { return first + j * (n1 + 1) + i; };
    for (int j = 0; j < n2; ++j)
        for (int i = 0; i < n1; ++i)
            mesh.elements.push_back(
                {node(i, j), node(i + 1, j), node(i + 1, j + 1), node(i, j + 1)});
}

PolygonMesh meshPolygon(const PolygonToMesh& polygon, const std::vector<int>& edgeDivisions) {
    PolygonMesh mesh;
    mesh.polygon = polygon.polygon;
    const auto& c = polygon.corners;
    const std::size_t n = c.size();
    if (n == 4) {
        appendMappedMesh({c[0], c[1], c[2], c[3]}, edgeDivisions[0], edgeDivisions[1], mesh);
        return mesh;
    }
    // One quadrilateral per corner: the corner, the middle of its outgoing edge,
    // the centre, the middle of its incoming edge.
    Vec3 centre = polygonCentre(c);
    const int half = edgeDivisions[0] / 2;
    for (std::size_t k = 0; k < n; ++k) {
        Vec3 outgoingMiddle = 0.5 * (c[k] + c[(k + 1) % n]);
        Vec3 incomingMiddle = 0.5 * (c[(k + n - 1) % n] + c[k]);
        appendMappedMesh({c[k], outgoingMiddle, centre, incomingMiddle}, half, half, mesh);
    }
    return mesh;
}

} // namespace

Outcome meshQuadrilaterals(const std::vector<PolygonToMesh>& polygons,
                           const std::vector<MeshedEdge>& meshedEdges, const MeshControl& control,
                           double tolerance, std::vector<PolygonMesh>& meshes) {
    std::vector<std::vector<int>> divisions;
    if (Outcome planned = planDivisions(polygons, meshedEdges, control, tolerance, divisions);
        !planned.ok())
        return planned;
    long long elementCount = 0;
    for (std::size_t p = 0; p < polygons.size(); ++p) {
        const auto& d = divisions[p];
        elementCount += polygons[p].corners.size() == 4
                            ? static_cast<long long>(d[0]) * d[1]
                            : static_cast<long long>(d.size()) * (d[0] / 2) * (d[0] / 2);
    }
    if (elementCount > kMaximumElementsPerMeshing)
        return Outcome::failure(Status::Refused,
                                "Meshing would create " + std::to_string(elementCount) +
                                    " elements, more than the " +
                                    std::to_string(kMaximumElementsPerMeshing) +
                                    " allowed at once; choose fewer divisions or a larger "
                                    "element size.");
    meshes.clear();
    for (std::size_t p = 0; p < polygons.size(); ++p)
        meshes.push_back(meshPolygon(polygons[p], divisions[p]));
    return Outcome::success();
}

} // namespace shellfem::preprocessor
