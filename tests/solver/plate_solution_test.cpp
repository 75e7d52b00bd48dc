#include "examples/generator/plate_model.h"
#include "solver/static_analysis.h"

#include <gtest/gtest.h>

#include <cmath>

namespace shellfem {
namespace {

double bendingStiffness(const PlateOptions& o) {
    return o.E * std::pow(o.thickness, 3) / (12.0 * (1.0 - o.Mu * o.Mu));
}

std::vector<double> solved(const SolvingModel& model) {
    std::vector<double> u;
    const Outcome solvedModel = solveDisplacements(model, u);
    EXPECT_TRUE(solvedModel.ok()) << solvedModel.message;
    return u;
}

TEST(PlateSolution, SimplySupportedSquareConvergesToKirchhoffSeries) {
    PlateOptions o;
    o.nx = o.ny = 16;
    o.pressure = -1000.0;
    const std::vector<double> u = solved(makeRectangularPlate(o));
    const double centre = u[6 * static_cast<std::size_t>(plateNode(o, 8, 8)) + 2];
    // Navier series: w = 0.00406235·q·a⁴/D at the centre.
    const double kirchhoff = 0.00406235 * o.pressure * std::pow(o.a, 4) / bendingStiffness(o);
    EXPECT_NEAR(centre / kirchhoff, 1.0, 0.01) << centre << " vs " << kirchhoff;
    // Symmetry of the square: the two quarter points on the axes move alike.
    EXPECT_NEAR(u[6 * plateNode(o, 4, 8) + 2], u[6 * plateNode(o, 8, 4) + 2],
                1e-9 * std::fabs(centre));
}

TEST(PlateSolution, CantileverTipFollowsBeamTheory) {
    PlateOptions o;
    o.nx = 20;
    o.ny = 2;
    o.b = 0.1;
    o.support = PlateOptions::Support::CantileverAtXZero;
    o.tipForceZ = -100.0;
    o.Mu = 0.0; // a beam has no plate stiffening
    const std::vector<double> u = solved(makeRectangularPlate(o));
    const double inertia = o.b * std::pow(o.thickness, 3) / 12.0;
    const double beam = o.tipForceZ * std::pow(o.a, 3) / (3.0 * o.E * inertia);
    EXPECT_NEAR(u[6 * plateNode(o, o.nx, 1) + 2] / beam, 1.0, 0.01);
}

TEST(PlateSolution, PressureOnOneRectangleGivesQuarterCornerForcesAndRecordsAdd) {
    SolvingModel m;
    m.materials = {{2.1e11, 0.3}};
    m.thicknesses = {0.01};
    m.nodes = {{0, 0, 0}, {2, 0, 0}, {2, 3, 0}, {0, 3, 0}};
    m.elements = {{{0, 1, 2, 3}, 0, 0}};
    m.loads = {{0, {-5, -5, -5, -5}}, {0, {-5, -5, -5, -5}}};
    m.forces = {{2, {1, 2, 3, 4, 5, 6}}};
    StaticAnalysis analysis(m);
    ASSERT_TRUE(analysis.setUp().ok());
    analysis.allocateMatrix();
    analysis.formLoads();
    const auto& f = analysis.loads();
    for (std::size_t k = 0; k < 4; ++k)
        EXPECT_NEAR(f[6 * k + 2], -10.0 * 6.0 / 4.0 + (k == 2 ? 3.0 : 0.0), 1e-12);
    EXPECT_EQ(f[6 * 2 + 5], 6.0);
    EXPECT_EQ(f[3], 0.0);
}

TEST(PlateSolution, RestraintFlagsOtherThanOneLeaveTheDofFree) {
    PlateOptions o;
    o.nx = o.ny = 4;
    o.pressure = -1000.0;
    SolvingModel m = makeRectangularPlate(o);
    const std::vector<double> reference = solved(m);
    // Flag 2 on an interior node changes nothing; restraining a DOF twice is as once.
    m.restraints.push_back({plateNode(o, 2, 2), {0, 0, 2, 0, 0, 0}});
    m.restraints.push_back(m.restraints.front());
    const std::vector<double> same = solved(m);
    for (std::size_t i = 0; i < reference.size(); ++i)
        EXPECT_NEAR(same[i], reference[i],
                    1e-12 * std::fabs(reference[6 * plateNode(o, 2, 2) + 2]));
    m.restraints.back() = {plateNode(o, 2, 2), {0, 0, 1, 0, 0, 0}};
    // The penalty leaves round-off far below the free deflection.
    EXPECT_NEAR(solved(m)[6 * plateNode(o, 2, 2) + 2], 0.0,
                1e-12 * std::fabs(reference[6 * plateNode(o, 2, 2) + 2]));
}

TEST(PlateSolution, MechanismIsReportedWithNodeAndDof) {
    PlateOptions o;
    o.nx = o.ny = 2;
    SolvingModel m = makeRectangularPlate(o);
    m.restraints.clear();
    std::vector<double> u;
    Outcome solvedModel = solveDisplacements(m, u);
    EXPECT_FALSE(solvedModel.ok());
    EXPECT_NE(solvedModel.message.find("singular at node"), std::string::npos)
        << solvedModel.message;

    // A node outside every element is fine only when all six DOFs are held.
    m = makeRectangularPlate(o);
    m.nodes.push_back({5, 5, 5});
    m.restraints.push_back({static_cast<int>(m.nodes.size()) - 1, {1, 1, 1, 1, 1, 0}});
    solvedModel = solveDisplacements(m, u);
    EXPECT_FALSE(solvedModel.ok());
    EXPECT_NE(solvedModel.message.find("node 9, degree of freedom RZ"), std::string::npos)
        << solvedModel.message;
    m.restraints.back().flags[5] = 1;
    solvedModel = solveDisplacements(m, u);
    EXPECT_TRUE(solvedModel.ok()) << solvedModel.message;
}

} // namespace
} // namespace shellfem
