#include "examples/generator/plate_model.h"
#include "solver/reaction_file.h"
#include "solver/reactions.h"
#include "solver/static_analysis.h"

#include <gtest/gtest.h>

#include <sstream>

namespace shellfem {
namespace {

ReactionBalance solvedReactions(const SolvingModel& model) {
    StaticAnalysis analysis(model);
    EXPECT_TRUE(analysis.setUp().ok());
    analysis.allocateMatrix();
    analysis.assemble();
    analysis.formLoads();
    const Outcome solved = analysis.solve();
    EXPECT_TRUE(solved.ok()) << solved.message;
    return computeReactions(model, analysis.elements(), analysis.displacements());
}

std::string reactionText(const ReactionBalance& balance) {
    std::ostringstream out;
    writeReactionFile(out, balance);
    return out.str();
}

void expectBalanced(const ReactionBalance& b) {
    for (std::size_t c = 0; c < 6; ++c)
        EXPECT_LT(b.residuals[c], 1e-9) << "component " << c;
    EXPECT_TRUE(b.inEquilibrium());
}

PlateOptions cantilever() {
    PlateOptions o;
    o.nx = 8;
    o.ny = 2;
    o.b = 0.2;
    o.support = PlateOptions::Support::CantileverAtXZero;
    o.tipForceZ = -100.0;
    return o;
}

TEST(Reactions, ClampedEdgeOfACantileverCarriesTheTipForceAndItsMoment) {
    const PlateOptions o = cantilever();
    const ReactionBalance b = solvedReactions(makeRectangularPlate(o));
    ASSERT_EQ(b.nodes.size(), 3u);
    Resultant clamp{};
    for (std::size_t j = 0; j < b.nodes.size(); ++j) {
        EXPECT_EQ(b.nodes[j].node, plateNode(o, 0, static_cast<int>(j)));
        for (std::size_t d = 0; d < 6; ++d)
            clamp[d] += b.nodes[j].values[d];
    }
    // The support pushes up by P and holds the bending moment P·L at x = 0.
    EXPECT_NEAR(clamp[2], 100.0, 1e-9 * 100.0);
    EXPECT_NEAR(clamp[4], -100.0 * o.a, 1e-9 * 100.0);
    EXPECT_NEAR(b.loads[4], 100.0 * o.a, 1e-12);
    EXPECT_NEAR(b.reactions[3], -b.loads[3], 1e-9 * 100.0);
    expectBalanced(b);
}

TEST(Reactions, SimplySupportedPlateCarriesThePressureTimesTheArea) {
    PlateOptions o;
    o.nx = o.ny = 8;
    o.a = 2.0;
    o.b = 1.5;
    o.pressure = -1000.0;
    SolvingModel m = makeRectangularPlate(o);
    // A force straight into a support: the support takes it, the plate never sees it.
    m.forces.push_back({plateNode(o, 0, 0), {0, 0, 50.0, 0, 0, 0}});
    const ReactionBalance b = solvedReactions(m);
    EXPECT_EQ(b.nodes.size(), 4u * 8u);
    const double load = -1000.0 * o.a * o.b;
    EXPECT_NEAR(b.loads[2], load + 50.0, 1e-9 * 3000.0);
    EXPECT_NEAR(b.reactions[2], -(load + 50.0), 1e-9 * 3000.0);
    // Moments of the pressure about the origin: its resultant acts at the centre.
    EXPECT_NEAR(b.loads[3], load * o.b / 2, 1e-9 * 3000.0);
    EXPECT_NEAR(b.loads[4], -load * o.a / 2, 1e-9 * 3000.0);
    expectBalanced(b);
}

TEST(Reactions, CornerVaryingPressureOnADistortedMeshTotalsTheIntegralOfItsField) {
    PlateOptions o;
    o.nx = o.ny = 4;
    SolvingModel m = makeRectangularPlate(o);
    // Shift the interior nodes so that no element is a parallelogram.
    for (int i = 1; i < o.nx; ++i)
        for (int j = 1; j < o.ny; ++j) {
            Vec3& p = m.nodes[static_cast<std::size_t>(plateNode(o, i, j))];
            p.x += 0.06 * ((i + 2 * j) % 3 - 1);
            p.y += 0.05 * ((2 * i + j) % 3 - 1);
        }
    // q = 100 + 300·x − 200·y at each corner: bilinear in every element, so the
    // element fields together are exactly this linear field.
    auto q = [&](int node) {
        const Vec3& p = m.nodes[static_cast<std::size_t>(node)];
        return 100.0 + 300.0 * p.x - 200.0 * p.y;
    };
    for (std::size_t e = 0; e < m.elements.size(); ++e) {
        const auto& n = m.elements[e].nodes;
        m.loads.push_back({static_cast<int>(e), {q(n[0]), q(n[1]), q(n[2]), q(n[3])}});
    }
    const ReactionBalance b = solvedReactions(m);
    // Over the unit square: ∫q = 150, ∫y·q = 175/3, ∫x·q = 100.
    EXPECT_NEAR(b.loads[2], 150.0, 1e-9 * 150.0);
    EXPECT_NEAR(b.loads[3], 175.0 / 3.0, 1e-9 * 150.0);
    EXPECT_NEAR(b.loads[4], -100.0, 1e-9 * 150.0);
    EXPECT_NEAR(b.loads[0], 0.0, 1e-12);
    EXPECT_NEAR(b.reactions[2], -150.0, 1e-9 * 150.0);
    expectBalanced(b);
}

TEST(Reactions, APenaltyTooWeakForTheStiffnessIsFlaggedAndANormalOneIsNot) {
    PlateOptions o = cantilever();
    const std::string normal = reactionText(solvedReactions(makeRectangularPlate(o)));
    EXPECT_NE(normal.find("\nEquilibrium is met: the largest residual is "), std::string::npos);
    EXPECT_EQ(normal.find("not met"), std::string::npos);

    // Element stiffness of about 1e18 against the restraint penalty of 1e20: the
    // clamped nodes give way by a percent of the tip motion.
    o.E = 2.1e18;
    const ReactionBalance weak = solvedReactions(makeRectangularPlate(o));
    EXPECT_FALSE(weak.inEquilibrium());
    EXPECT_GT(weak.residuals[weak.worstComponent()], 1e-6);
    EXPECT_NE(reactionText(weak).find("\nEquilibrium is not met: the residual of Fz is "),
              std::string::npos)
        << reactionText(weak);
}

TEST(Reactions, WarpedElementsLeaveAMomentOutOfBalance) {
    PlateOptions o = cantilever();
    SolvingModel m = makeRectangularPlate(o);
    ASSERT_TRUE(solvedReactions(m).inEquilibrium());
    // A hyperbolic-paraboloid twist: no element is flat any more.
    for (Vec3& p : m.nodes)
        p.z = 0.1 * (p.x - 0.5) * (p.y - 0.1);
    const ReactionBalance warped = solvedReactions(m);
    EXPECT_FALSE(warped.inEquilibrium());
    EXPECT_GE(warped.worstComponent(), 3u); // a moment
    EXPECT_LT(warped.residuals[2], 1e-9);   // the forces still balance
}

TEST(Reactions, ANonFiniteSolutionIsNeverInEquilibrium) {
    ReactionBalance b;
    b.residuals = {0, 0, std::nan(""), 0, 0, 0};
    EXPECT_EQ(b.worstComponent(), 2u);
    EXPECT_FALSE(b.inEquilibrium());
}

TEST(Reactions, FileListsEachRestrainedNodeOnceWithDashesAtItsFreeDofs) {
    PlateOptions o;
    o.nx = 2;
    o.ny = 1;
    o.support = PlateOptions::Support::CantileverAtXZero;
    o.tipForceZ = -10.0;
    SolvingModel m = makeRectangularPlate(o);
    const int tip = plateNode(o, 2, 0);
    // Two records for one node add their fixed DOFs; a flag of 2 fixes nothing.
    m.restraints.push_back({tip, {0, 0, 1, 0, 0, 2}});
    m.restraints.push_back({tip, {0, 0, 0, 1, 0, 0}});
    m.restraints.push_back({plateNode(o, 1, 1), {2, 0, 0, 0, 0, 0}});
    const std::string text = reactionText(solvedReactions(m));
    std::istringstream lines(text);
    std::string line;
    std::vector<std::string> nodeLines;
    std::getline(lines, line);
    EXPECT_EQ(line, "           Node             Fx             Fy             Fz             Mx"
                    "             My             Mz");
    while (std::getline(lines, line) && !line.empty())
        nodeLines.push_back(line);
    ASSERT_EQ(nodeLines.size(), 3u) << text;
    EXPECT_EQ(nodeLines[0].substr(0, 15), "             0:");
    const std::string tipLine = nodeLines[2];
    EXPECT_EQ(tipLine.substr(0, 15), std::string(13, ' ') + std::to_string(tip) + ":");
    EXPECT_EQ(tipLine.substr(15, 30), std::string(14, ' ') + "-" + std::string(14, ' ') + "-");
    EXPECT_EQ(tipLine.substr(75), std::string(14, ' ') + "-" + std::string(14, ' ') + "-");
    EXPECT_NE(text.find("\n         Loads:"), std::string::npos);
    EXPECT_NE(text.find("\n     Reactions:"), std::string::npos);
    EXPECT_NE(text.find("\n      Residual:"), std::string::npos);
}

} // namespace
} // namespace shellfem
