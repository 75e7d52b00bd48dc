#include "examples/generator/plate_model.h"

namespace shellfem {

namespace {

bool acrossY(const PlateOptions& o) {
    return o.ny <= o.nx;
}

} // namespace

int plateNode(const PlateOptions& o, int i, int j) {
    return acrossY(o) ? i * (o.ny + 1) + j : j * (o.nx + 1) + i;
}

SolvingModel makeRectangularPlate(const PlateOptions& o) {
    SolvingModel m;
    m.materials.push_back({o.E, o.Mu});
    m.thicknesses.push_back(o.thickness);
    m.nodes.resize(static_cast<std::size_t>((o.nx + 1) * (o.ny + 1)));
    for (int i = 0; i <= o.nx; ++i)
        for (int j = 0; j <= o.ny; ++j)
            m.nodes[static_cast<std::size_t>(plateNode(o, i, j))] = {o.a * i / o.nx, o.b * j / o.ny,
                                                                     0.0};
    for (int i = 0; i < o.nx; ++i)
        for (int j = 0; j < o.ny; ++j) {
            ElementRecord e;
            e.nodes = {plateNode(o, i, j), plateNode(o, i + 1, j), plateNode(o, i + 1, j + 1),
                       plateNode(o, i, j + 1)};
            m.elements.push_back(e);
        }
    for (int i = 0; i <= o.nx; ++i)
        for (int j = 0; j <= o.ny; ++j) {
            RestraintRecord r;
            r.node = plateNode(o, i, j);
            const bool xEdge = i == 0 || i == o.nx;
            const bool yEdge = j == 0 || j == o.ny;
            if (o.support == PlateOptions::Support::SimplySupported && (xEdge || yEdge))
                r.flags = {1, 1, 1, xEdge ? 1 : 0, yEdge ? 1 : 0, 0};
            else if ((o.support == PlateOptions::Support::CantileverAtXZero && i == 0) ||
                     (o.support == PlateOptions::Support::Clamped && (xEdge || yEdge)))
                r.flags = {1, 1, 1, 1, 1, 1};
            else
                continue;
            m.restraints.push_back(r);
        }
    if (o.tipForceZ != 0.0)
        for (int j = 0; j <= o.ny; ++j) {
            // Trapezoidal share of the edge: half at the two corners.
            const double share = (j == 0 || j == o.ny) ? 0.5 / o.ny : 1.0 / o.ny;
            m.forces.push_back({plateNode(o, o.nx, j), {0, 0, o.tipForceZ * share, 0, 0, 0}});
        }
    if (o.pressure != 0.0)
        for (std::size_t e = 0; e < m.elements.size(); ++e)
            m.loads.push_back(
                {static_cast<int>(e), {o.pressure, o.pressure, o.pressure, o.pressure}});
    return m;
}

} // namespace shellfem
