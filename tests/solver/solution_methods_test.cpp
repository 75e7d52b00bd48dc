#include "examples/generator/plate_model.h"
#include "formats/solving_file.h"
#include "solver/node_coupling.h"
#include "solver/skyline_solver.h"
#include "solver/solution_method.h"
#include "solver/sparse_cholesky_solver.h"
#include "solver/static_analysis.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <memory>
#include <string>

namespace shellfem {
namespace {

// A clamped strip of nx × 2 elements: the skyline's band is already narrow.
SolvingModel longStrip(int nx) {
    PlateOptions o;
    o.nx = nx;
    o.ny = 2;
    o.a = 0.05 * nx;
    o.b = 0.1;
    o.support = PlateOptions::Support::Clamped;
    o.pressure = -50.0;
    return makeRectangularPlate(o);
}

SolvingModel clampedPlate(int n) {
    PlateOptions o;
    o.nx = o.ny = n;
    o.pressure = -1000.0;
    o.support = PlateOptions::Support::Clamped;
    return makeRectangularPlate(o);
}

std::vector<ElementNodes> elementNodes(const SolvingModel& model) {
    std::vector<ElementNodes> nodes;
    for (const ElementRecord& e : model.elements)
        nodes.push_back(e.nodes);
    return nodes;
}

// Every entry within `tolerance` of the largest expected one.
void expectNear(const std::vector<double>& actual, const std::vector<double>& expected,
                double tolerance) {
    ASSERT_EQ(actual.size(), expected.size());
    double largest = 0.0;
    for (double v : expected)
        largest = std::max(largest, std::abs(v));
    ASSERT_GT(largest, 0.0);
    for (std::size_t i = 0; i < actual.size(); ++i)
        ASSERT_NEAR(actual[i], expected[i], tolerance * largest) << "equation " << i;
}

void expectSameDisplacements(const SolvingModel& model, const std::string& name) {
    SCOPED_TRACE(name);
    std::vector<double> skyline, sparse;
    ASSERT_TRUE(solveDisplacements(model, skyline, MethodRequest::Skyline).ok());
    ASSERT_TRUE(solveDisplacements(model, sparse, MethodRequest::Sparse).ok());
    expectNear(sparse, skyline, 1e-9);
}

TEST(SolutionMethods, BothGiveTheSameDisplacements) {
    for (const char* example : {"simply_supported_plate", "cantilever", "four_panel_plate"}) {
        SolvingModel model;
        ASSERT_TRUE(readSolvingFile(std::string(SHELLFEM_SOURCE_DIR) + "/examples/" + example +
                                        "/shell_fem_solving.txt",
                                    model)
                        .ok());
        expectSameDisplacements(model, example);
    }
    expectSameDisplacements(longStrip(120), "strip");
    expectSameDisplacements(clampedPlate(24), "plate");
    expectSameDisplacements(clampedPlate(60), "plate on two threads");
}

SolutionCost skylineCost(const SolvingModel& model) {
    StaticAnalysis analysis(model);
    EXPECT_TRUE(analysis.setUp(MethodRequest::Skyline).ok());
    return analysis.solver().cost();
}

SolutionCost sparseCost(const SolvingModel& model) {
    return SparseCholeskySolver(static_cast<int>(model.nodes.size()), elementNodes(model)).cost();
}

TEST(SolutionMethods, TheChoiceTakesTheSkylineOnAStripAndTheSparsePathOnAPlate) {
    const double plenty = std::numeric_limits<double>::infinity();
    const SolvingModel strip = longStrip(400);
    EXPECT_EQ(chooseMethod(skylineCost(strip), sparseCost(strip),
                           static_cast<int>(6 * strip.nodes.size()), plenty),
              SolutionMethod::Skyline);
    const SolvingModel plate = clampedPlate(100);
    const SolutionCost skyline = skylineCost(plate);
    const SolutionCost sparse = sparseCost(plate);
    const int equations = static_cast<int>(6 * plate.nodes.size());
    EXPECT_GT(skyline.flops, 4 * sparse.flops);
    EXPECT_GT(skyline.bytes, sparse.bytes);
    EXPECT_EQ(chooseMethod(skyline, sparse, equations, plenty), SolutionMethod::Sparse);

    // The automatic analysis follows the same prediction.
    StaticAnalysis automatic(plate);
    ASSERT_TRUE(automatic.setUp().ok());
    EXPECT_EQ(automatic.method(), SolutionMethod::Sparse);
}

TEST(SolutionMethods, AMethodThatDoesNotFitIsNotChosen) {
    const SolutionCost fastButLarge{8e9, 1e9};
    const SolutionCost slowButSmall{1e9, 1e12};
    EXPECT_EQ(chooseMethod(fastButLarge, slowButSmall, 1000, 16e9), SolutionMethod::Skyline);
    EXPECT_EQ(chooseMethod(fastButLarge, slowButSmall, 1000, 4e9), SolutionMethod::Sparse);
    EXPECT_EQ(chooseMethod(slowButSmall, fastButLarge, 1000, 4e9), SolutionMethod::Skyline);
    // Neither fits: the smaller one is tried.
    EXPECT_EQ(chooseMethod(fastButLarge, slowButSmall, 1000, 1e8), SolutionMethod::Sparse);
    EXPECT_GT(usableMemoryBytes(), 0.0);
}

TEST(SolutionMethods, AMechanismIsReportedAtTheSameNodeAndDofOnBothPaths) {
    SolvingModel unrestrained = longStrip(6);
    unrestrained.restraints.clear();
    SolvingModel looseNode = clampedPlate(4);
    looseNode.nodes.push_back({2.0, 2.0, 0.0}); // in no element and not restrained
    for (const SolvingModel* model : {&unrestrained, &looseNode}) {
        std::vector<double> u;
        const Outcome skyline = solveDisplacements(*model, u, MethodRequest::Skyline);
        const Outcome sparse = solveDisplacements(*model, u, MethodRequest::Sparse);
        ASSERT_FALSE(skyline.ok());
        EXPECT_EQ(sparse.status, Status::Failed);
        EXPECT_EQ(sparse.message, skyline.message);
    }
}

// The model's stiffness in a sparse solver that factorises in two domains from
// `twoDomainsFrom` equations on; restrained DOFs are held as the analysis holds them.
std::unique_ptr<SparseCholeskySolver>
assembledSparse(const SolvingModel& model, int twoDomainsFrom = kTwoDomainsFromEquations) {
    StaticAnalysis analysis(model);
    EXPECT_TRUE(analysis.setUp(MethodRequest::Skyline).ok());
    auto solver = std::make_unique<SparseCholeskySolver>(static_cast<int>(model.nodes.size()),
                                                         elementNodes(model), twoDomainsFrom);
    solver->allocate();
    for (std::size_t e = 0; e < model.elements.size(); ++e) {
        ElementMatrix K;
        analysis.elements()[e].stiffness(K);
        solver->addElementMatrix(elementEquations(model.elements[e]), K.data());
    }
    for (const RestraintRecord& r : model.restraints)
        for (int d = 0; d < kDofsPerNode; ++d)
            if (r.flags[static_cast<std::size_t>(d)] == 1)
                solver->setDiagonal(kDofsPerNode * r.node + d, 1e20);
    return solver;
}

TEST(SolutionMethods, TheSparseKernelNamesTheFailingEquationInTheOriginalNumbering) {
    // Without the skyline to locate it again: the plate's only loose node must
    // come back under its own number, whatever the order of elimination.
    SolvingModel model = clampedPlate(6);
    const int loose = static_cast<int>(model.nodes.size());
    model.nodes.push_back({2.0, 2.0, 0.0});
    for (int twoDomainsFrom : {kTwoDomainsFromEquations, 1}) {
        auto solver = assembledSparse(model, twoDomainsFrom);
        int steps = 0;
        const auto failure = solver->factorize([&](std::int64_t) { ++steps; });
        ASSERT_TRUE(failure);
        EXPECT_EQ(failure->equation / kDofsPerNode, loose);
        EXPECT_EQ(failure->originalDiagonal, 0.0);
        EXPECT_EQ(steps, 1);
    }
}

// Two clamped plates side by side that no element joins: a graph in two pieces.
SolvingModel twoSeparatePlates(int n) {
    SolvingModel model = clampedPlate(n);
    const SolvingModel right = clampedPlate(n);
    const int offset = static_cast<int>(model.nodes.size());
    for (Vec3 p : right.nodes)
        model.nodes.push_back({p.x + 10.0, p.y, p.z});
    for (ElementRecord e : right.elements) {
        for (int& node : e.nodes)
            node += offset;
        model.elements.push_back(e);
    }
    for (RestraintRecord r : right.restraints) {
        r.node += offset;
        model.restraints.push_back(r);
    }
    return model;
}

TEST(SolutionMethods, TwoDomainsGiveTheWholeFactorsDisplacementsAndPivotReports) {
    SolvingModel unrestrained = longStrip(40);
    unrestrained.restraints.clear();
    SolvingModel looseNode = clampedPlate(12);
    looseNode.nodes.push_back({2.0, 2.0, 0.0});
    struct Case {
        const char* name;
        SolvingModel model;
        bool splits;
    };
    const Case cases[] = {{"plate", clampedPlate(20), true},
                          {"strip", longStrip(150), true},
                          {"two separate plates", twoSeparatePlates(8), true},
                          {"one element", clampedPlate(1), false},
                          {"unrestrained strip", unrestrained, true},
                          {"loose node", looseNode, true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto whole = assembledSparse(c.model, std::numeric_limits<int>::max());
        auto split = assembledSparse(c.model, 1);
        EXPECT_FALSE(whole->factorizesInTwoDomains());
        EXPECT_EQ(split->factorizesInTwoDomains(), c.splits);
        const auto wholeFailure = whole->factorize({});
        const auto splitFailure = split->factorize({});
        ASSERT_EQ(bool(splitFailure), bool(wholeFailure));
        if (wholeFailure) {
            EXPECT_EQ(splitFailure->equation, wholeFailure->equation);
            EXPECT_EQ(splitFailure->originalDiagonal, wholeFailure->originalDiagonal);
            continue;
        }
        std::vector<double> f(6 * c.model.nodes.size());
        for (std::size_t i = 0; i < f.size(); ++i)
            f[i] = std::sin(0.37 * static_cast<double>(i)) + (i % 6 == 2 ? -2.0 : 0.0);
        std::vector<double> expected, u;
        whole->solve(f, expected, {});
        split->solve(f, u, {});
        expectNear(u, expected, 1e-10);
    }
}

TEST(SolutionMethods, AnIsolatedNodeWithAllSixDofsHeldStaysValidOnBothPaths) {
    SolvingModel model = clampedPlate(6);
    const int held = static_cast<int>(model.nodes.size());
    model.nodes.push_back({2.0, 2.0, 0.0});
    model.restraints.push_back({held, {1, 1, 1, 1, 1, 1}});
    model.forces.push_back({held, {5, 5, 5, 5, 5, 5}});
    for (MethodRequest request : {MethodRequest::Skyline, MethodRequest::Sparse}) {
        std::vector<double> u;
        ASSERT_TRUE(solveDisplacements(model, u, request).ok());
        for (int d = 0; d < kDofsPerNode; ++d)
            EXPECT_EQ(u[static_cast<std::size_t>(kDofsPerNode * held + d)], 0.0);
        EXPECT_LT(*std::min_element(u.begin(), u.end()), 0.0); // the plate still sags
    }
}

TEST(SolutionMethods, TheSolverVariableForcesAPathOrIsRefused) {
    MethodRequest request = MethodRequest::Sparse;
    EXPECT_TRUE(parseMethodRequest(std::nullopt, request).ok());
    EXPECT_EQ(request, MethodRequest::Automatic);
    EXPECT_TRUE(parseMethodRequest(std::string(), request).ok());
    EXPECT_EQ(request, MethodRequest::Automatic);
    EXPECT_TRUE(parseMethodRequest(std::string("skyline"), request).ok());
    EXPECT_EQ(request, MethodRequest::Skyline);
    EXPECT_TRUE(parseMethodRequest(std::string("sparse"), request).ok());
    EXPECT_EQ(request, MethodRequest::Sparse);
    for (const char* bad : {"Sparse", "skyline ", "cholesky"}) {
        const Outcome refused = parseMethodRequest(std::string(bad), request);
        EXPECT_EQ(refused.status, Status::Refused);
        EXPECT_NE(refused.message.find(std::string("\"") + bad + "\""), std::string::npos);
    }
}

TEST(NodeCoupling, ListsEachNodesLowerPartnersOnceEndingWithItself) {
    // Two elements sharing the edge 1–4, and node 5 in no element.
    const NodeCoupling coupling(6, {{0, 1, 4, 3}, {1, 2, 4, 4}});
    auto partners = [&](int node) {
        return std::vector<int>(coupling.partners().begin() + coupling.start(node),
                                coupling.partners().begin() + coupling.start(node + 1));
    };
    EXPECT_EQ(partners(0), (std::vector<int>{0}));
    EXPECT_EQ(partners(2), (std::vector<int>{1, 2}));
    EXPECT_EQ(partners(3), (std::vector<int>{0, 1, 3}));
    EXPECT_EQ(partners(4), (std::vector<int>{0, 1, 2, 3, 4}));
    EXPECT_EQ(partners(5), (std::vector<int>{5}));
    EXPECT_EQ(coupling.partnerIndex(2, 4), 2);
    EXPECT_EQ(coupling.partnerIndex(4, 4), 4);
}

} // namespace
} // namespace shellfem
