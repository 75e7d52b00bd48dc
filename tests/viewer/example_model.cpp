#include "example_model.h"

#include <cmath>

namespace shellfem::viewer::testing {

ContourModel cylinderPanel(int nx, int ny) {
    ContourModel m;
    const double pi = std::acos(-1.0);
    const double radius = 10.0, lengthY = 16.0;
    for (int j = 0; j <= ny; ++j)
        for (int i = 0; i <= nx; ++i) {
            const double t = 0.5 * pi * i / nx;
            m.nodes.push_back({radius * std::cos(t), lengthY * j / ny, radius * std::sin(t)});
        }
    auto nodeStress = [&](int node, double side) {
        const Vec3& p = m.nodes[node];
        const double s = std::sin(p.y / lengthY * pi); // largest in the middle of the length
        StressValues v{};
        v[0] = side * 120.0 * s * p.x / radius;
        v[1] = side * 80.0 * std::cos(p.y / lengthY * pi) + 10.0 * p.z;
        v[2] = 0.0;
        v[3] = 30.0 * s * std::cos(p.x);
        v[4] = 5.0 * p.z / radius;
        v[5] = -5.0 * p.x / radius;
        v[6] = equivalentStress(v[0], v[1], v[2], v[3], v[4], v[5]);
        return v;
    };
    for (int j = 0; j < ny; ++j)
        for (int i = 0; i < nx; ++i) {
            ContourElement e;
            const int n0 = j * (nx + 1) + i;
            e.nodes = {n0, n0 + 1, n0 + nx + 2, n0 + nx + 1};
            for (int k = 0; k < 4; ++k) {
                e.top[k] = nodeStress(e.nodes[k], 1.0);
                e.bottom[k] = nodeStress(e.nodes[k], -1.0);
            }
            m.elements.push_back(e);
        }
    return m;
}

ContourModel flatPlate(int nx, int ny) {
    ContourModel m;
    for (int j = 0; j <= ny; ++j)
        for (int i = 0; i <= nx; ++i)
            m.nodes.push_back({double(i), double(j), 0.0});
    for (int j = 0; j < ny; ++j)
        for (int i = 0; i < nx; ++i) {
            ContourElement e;
            const int n0 = j * (nx + 1) + i;
            e.nodes = {n0, n0 + 1, n0 + nx + 2, n0 + nx + 1};
            for (int k = 0; k < 4; ++k) {
                const double x = m.nodes[e.nodes[k]].x;
                e.top[k] = {10.0 * x, 0, 0, 0, 0, 0, 10.0 * x};
                e.bottom[k] = {-10.0 * x, 0, 0, 0, 0, 0, 10.0 * x};
            }
            m.elements.push_back(e);
        }
    return m;
}

} // namespace shellfem::viewer::testing
