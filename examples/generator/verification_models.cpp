#include "examples/generator/verification_models.h"

#include "examples/generator/plate_model.h"
#include "formats/number_format.h"

#include <cmath>
#include <functional>

namespace shellfem {

namespace {

constexpr double kPi = 3.14159265358979323846;

using Flags = std::array<int, 6>; // UX UY UZ RX RY RZ

// Symmetry about a plane x, y or z = const: the normal translation and the two
// rotations about axes in the plane are held.
constexpr Flags kSymmetryX{1, 0, 0, 0, 1, 1};
constexpr Flags kSymmetryY{0, 1, 0, 1, 0, 1};
constexpr Flags kSymmetryZ{0, 0, 1, 1, 1, 0};
// A rigid end diaphragm in a plane x = const: it holds the translations in its
// plane and, with them, the rotation about x; the shell may rotate about the edge.
constexpr Flags kDiaphragmX{0, 1, 1, 1, 0, 0};

std::string meshName(int n1, int n2) {
    return std::to_string(n1) + "x" + std::to_string(n2);
}

// A mapped n1 × n2 grid of one material and thickness; node (i, j) at
// position(i/n1, j/n2) is number i·(n2+1) + j. Each element's normal is
// ∂position/∂s × ∂position/∂r.
struct Grid {
    int n1, n2;
    SolvingModel model;

    Grid(int n1_, int n2_, const std::function<Vec3(double, double)>& position, Material material,
         double thickness)
        : n1(n1_), n2(n2_) {
        model.materials = {material};
        model.thicknesses = {thickness};
        for (int i = 0; i <= n1; ++i)
            for (int j = 0; j <= n2; ++j)
                model.nodes.push_back(position(double(i) / n1, double(j) / n2));
        for (int i = 0; i < n1; ++i)
            for (int j = 0; j < n2; ++j)
                model.elements.push_back(
                    {{node(i, j), node(i + 1, j), node(i + 1, j + 1), node(i, j + 1)}, 0, 0});
    }

    int node(int i, int j) const { return i * (n2 + 1) + j; }

    // One restraint record per node with the union of the flags `held(i, j)` gives.
    void restrain(const std::function<Flags(int, int)>& held) {
        for (int i = 0; i <= n1; ++i)
            for (int j = 0; j <= n2; ++j) {
                const Flags f = held(i, j);
                if (f != Flags{})
                    model.restraints.push_back({node(i, j), f});
            }
    }

    // A load of `perArea` in global axes on every element, a quarter of each
    // element's share at each of its corners.
    void addAreaLoad(const Vec3& perArea) {
        std::vector<Vec3> nodal(model.nodes.size(), Vec3{0, 0, 0});
        for (const ElementRecord& e : model.elements) {
            auto p = [&](int k) { return model.nodes[static_cast<std::size_t>(e.nodes[k])]; };
            const double area = 0.5 * length(cross(p(2) - p(0), p(3) - p(1)));
            for (int n : e.nodes)
                nodal[static_cast<std::size_t>(n)] =
                    nodal[static_cast<std::size_t>(n)] + (area / 4.0) * perArea;
        }
        for (std::size_t n = 0; n < nodal.size(); ++n)
            model.forces.push_back({static_cast<int>(n), {nodal[n].x, nodal[n].y, nodal[n].z}});
    }
};

Flags held(std::initializer_list<std::pair<bool, Flags>> conditions) {
    Flags f{};
    for (const auto& [applies, flags] : conditions)
        if (applies)
            for (std::size_t d = 0; d < 6; ++d)
                f[d] |= flags[d];
    return f;
}

// Square plate a = 1, t = 0.01 (a/t = 100) with D = E t³/(12(1 − ν²)) = 1 under
// q = 1 downwards, so that the centre deflection is the coefficient of q a⁴/D.
VerificationCase squarePlate(const char* problem, PlateOptions::Support support, int n) {
    PlateOptions o;
    o.nx = o.ny = n;
    o.E = 1.092e7;
    o.Mu = 0.3;
    o.thickness = 0.01;
    o.pressure = -1.0;
    o.support = support;
    return {
        problem, meshName(n, n), makeRectangularPlate(o), {{plateNode(o, n / 2, n / 2), 2, -1}}};
}

// Quarter of the roof: R = 25, length 50 (x from the diaphragm at 0 to midspan
// at 25), 40° from the crown (y = 0) to the free edge; t = 0.25, E = 4.32e8,
// ν = 0, self-weight 90 per unit area. Compared: the downward deflection at the
// middle of the free edge.
VerificationCase scordelisLoRoof(int n) {
    const double R = 25.0, half = 25.0, edge = 40.0 * kPi / 180.0;
    Grid g(
        n, n,
        [&](double s, double r) {
            return Vec3{half * s, R * std::sin(edge * r), R * std::cos(edge * r)};
        },
        {4.32e8, 0.0}, 0.25);
    g.restrain([&](int i, int j) {
        return held({{i == 0, kDiaphragmX}, {i == n, kSymmetryX}, {j == 0, kSymmetryY}});
    });
    g.addAreaLoad({0, 0, -90.0});
    return {"scordelis_lo_roof", meshName(n, n), g.model, {{g.node(n, n), 2, -1}}};
}

// Octant of the cylinder: R = 300, length 600 between rigid end diaphragms
// (x from the diaphragm at 0 to midspan at 300), t = 3, E = 3e6, ν = 0.3, pinched
// at midspan by two opposite radial forces P = 1: P/4 on the octant. Compared:
// the inward deflection under the force.
VerificationCase pinchedCylinder(int n) {
    const double R = 300.0, half = 300.0;
    Grid g(
        n, n,
        [&](double s, double r) {
            const double phi = 0.5 * kPi * s;
            return Vec3{half * r, R * std::cos(phi), R * std::sin(phi)};
        },
        {3e6, 0.3}, 3.0);
    g.restrain([&](int i, int j) {
        return held({{j == 0, kDiaphragmX},
                     {j == n, kSymmetryX},
                     {i == 0, kSymmetryZ},
                     {i == n, kSymmetryY}});
    });
    const int loaded = g.node(n, n); // (300, 0, R)
    g.model.forces.push_back({loaded, {0, 0, -0.25, 0, 0, 0}});
    return {"pinched_cylinder", meshName(n, n), g.model, {{loaded, 2, -1}}};
}

// Quarter of the hemisphere: R = 10, t = 0.04, E = 6.825e7, ν = 0.3, open at 18°
// from the pole, free at the hole and at the equator; forces of 2 at 90°
// intervals on the equator, alternately outwards and inwards: 1 at each of the
// quarter's two load points on its symmetry planes. One node of the hole is held
// vertically against the free rigid-body motion. Compared: the outward deflection
// under the outward force.
VerificationCase pinchedHemisphere(int n) {
    const double R = 10.0, hole = 18.0 * kPi / 180.0;
    Grid g(
        n, n,
        [&](double s, double r) {
            const double theta = hole + (0.5 * kPi - hole) * s; // from the pole
            const double phi = 0.5 * kPi * r;
            return Vec3{R * std::sin(theta) * std::cos(phi), R * std::sin(theta) * std::sin(phi),
                        R * std::cos(theta)};
        },
        {6.825e7, 0.3}, 0.04);
    g.restrain([&](int i, int j) {
        return held(
            {{j == 0, kSymmetryY}, {j == n, kSymmetryX}, {i == 0 && j == 0, {0, 0, 1, 0, 0, 0}}});
    });
    const int outwards = g.node(n, 0); // (R, 0, 0)
    g.model.forces.push_back({outwards, {1.0, 0, 0, 0, 0, 0}});
    g.model.forces.push_back({g.node(n, n), {0, -1.0, 0, 0, 0, 0}});
    return {"pinched_hemisphere", meshName(n, n), g.model, {{outwards, 0, 1}}};
}

// Straight cantilever 6 × 0.2, t = 0.1, E = 1e7, ν = 0.3, clamped at x = 0,
// regular rectangular elements; a unit tip load (force or moment component
// `dof`) shared over the tip nodes, half at the two corners. Compared: the mean
// tip displacement in the load's direction.
VerificationCase straightCantilever(const char* problem, int dof, int k) {
    PlateOptions o;
    o.nx = 6 * k;
    o.ny = k;
    o.a = 6.0;
    o.b = 0.2;
    o.thickness = 0.1;
    o.E = 1e7;
    o.Mu = 0.3;
    o.support = PlateOptions::Support::CantileverAtXZero;
    VerificationCase c{problem, meshName(o.nx, o.ny), makeRectangularPlate(o), {}};
    for (int j = 0; j <= o.ny; ++j) {
        const int tip = plateNode(o, o.nx, j);
        ForceRecord f{tip, {}};
        f.values[static_cast<std::size_t>(dof)] = (j == 0 || j == o.ny) ? 0.5 / o.ny : 1.0 / o.ny;
        c.model.forces.push_back(f);
        c.probe.push_back({tip, dof, 1.0 / (o.ny + 1)});
    }
    return c;
}

} // namespace

std::vector<VerificationCase> verificationCases() {
    std::vector<VerificationCase> cases;
    for (int n : {4, 8, 16})
        cases.push_back(squarePlate("ss_plate", PlateOptions::Support::SimplySupported, n));
    for (int n : {4, 8, 16})
        cases.push_back(squarePlate("clamped_plate", PlateOptions::Support::Clamped, n));
    for (int n : {4, 8, 16})
        cases.push_back(scordelisLoRoof(n));
    for (int n : {4, 8, 16})
        cases.push_back(pinchedCylinder(n));
    for (int n : {4, 8, 16, 32})
        cases.push_back(pinchedHemisphere(n));
    const std::pair<const char*, int> tipLoads[] = {{"cantilever_extension", 0},
                                                    {"cantilever_inplane_shear", 1},
                                                    {"cantilever_outofplane_shear", 2},
                                                    {"cantilever_twist", 3}};
    for (const auto& [problem, dof] : tipLoads)
        for (int k : {1, 2, 4})
            cases.push_back(straightCantilever(problem, dof, k));
    return cases;
}

std::string solvingFileName(const VerificationCase& c) {
    return c.problem + "_" + c.mesh + ".txt";
}

std::string casesTable(const std::vector<VerificationCase>& cases) {
    std::string table =
        "# Written by make_verification_models. Per line: problem, mesh, solving file, and the\n"
        "# compared value as node:dof:factor terms (dof 0..5 = dx dy dz rx ry rz), summed.\n";
    for (const VerificationCase& c : cases) {
        table += c.problem + " " + c.mesh + " " + solvingFileName(c) + " ";
        for (std::size_t t = 0; t < c.probe.size(); ++t) {
            table += t ? "," : "";
            appendInt(table, c.probe[t].node);
            table += ':';
            appendInt(table, c.probe[t].dof);
            table += ':';
            appendExact(table, c.probe[t].factor);
        }
        table += '\n';
    }
    return table;
}

} // namespace shellfem
