#include "preprocessor/render/screen_projection.h"

namespace shellfem::preprocessor::render {

ScreenVector screenDirection(const view3d::View& view, const Vec3& d) {
    const view3d::Matrix4& m = view.matrix();
    // Row vectors: a direction takes the first three rows and no translation.
    const double u = d.x * m[0] + d.y * m[4] + d.z * m[8];
    const double v = d.x * m[1] + d.y * m[5] + d.z * m[9];
    const double depth = d.x * m[2] + d.y * m[6] + d.z * m[10];
    return {u, -v, depth};
}

ProjectedModel projectModel(const ModelData& data, const view3d::View& view) {
    ProjectedModel projected;
    projected.points.reserve(data.points.size());
    for (const GeometricPoint& p : data.points)
        projected.points.push_back(view.modelToScreen(p.position));
    projected.nodes.reserve(data.nodes.size());
    for (const Node& n : data.nodes)
        projected.nodes.push_back(view.modelToScreen(n.position));
    return projected;
}

} // namespace shellfem::preprocessor::render
