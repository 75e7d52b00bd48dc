#include "test_models.h"

namespace shellfem::preprocessor {
namespace {

using namespace testing;

// Two unit squares side by side, meshed 2 x 2 each, with a load on each square,
// restraints along x = 0 and a force at x = 2.
Model twoMeshedSquares() {
    Model model = modelWithAttributes();
    int left = addRectangle(model, 0, 0, 1, 1);
    int right = addRectangle(model, 1, 0, 2, 1);
    EXPECT_TRUE(model.meshPolygons({left, right}, divisions(2, 2)).ok());
    EXPECT_TRUE(model.applyPolygonLoad({left}, {-1, -1, -1, -1}).ok());
    EXPECT_TRUE(model.applyPolygonLoad({right}, {-2, -2, -2, -2}).ok());
    std::vector<int> edge, tip;
    for (std::size_t n = 0; n < model.data().nodes.size(); ++n) {
        double x = model.data().nodes[n].position.x;
        if (x == 0.0)
            edge.push_back(static_cast<int>(n));
        if (x == 2.0)
            tip.push_back(static_cast<int>(n));
    }
    EXPECT_TRUE(model.applyRestraints(edge, {1, 1, 1, 1, 1, 1}, ApplyMode::Replace).ok());
    EXPECT_TRUE(model.applyForces(tip, {0, 0, -3, 0, 0, 0}, ApplyMode::Replace).ok());
    return model;
}

TEST(ModelStore, DeletingAPolygonRenumbersEverythingThatRefersToLaterRecords) {
    Model model = twoMeshedSquares();
    EditResult r = model.deletePolygons({0});
    ASSERT_TRUE(r.ok()) << r.message;
    const ModelData& data = model.data();
    ASSERT_EQ(data.polygons.size(), 1u);
    ASSERT_EQ(data.elements.size(), 4u);
    ASSERT_EQ(data.nodes.size(), 9u);
    for (const Element& e : data.elements) {
        EXPECT_EQ(e.polygon, 0);
        for (int node : e.nodes)
            EXPECT_GE(data.nodes[static_cast<std::size_t>(node)].position.x, 1.0);
    }
    ASSERT_EQ(data.polygonLoads.size(), 1u);
    EXPECT_EQ(data.polygonLoads[0].polygon, 0);
    EXPECT_EQ(data.polygonLoads[0].q[0], -2.0);
    // The restrained nodes at x = 0 went with the polygon; the forces stay on x = 2.
    EXPECT_TRUE(data.restraints.empty());
    EXPECT_NE(r.message.find("The restraint on node"), std::string::npos);
    ASSERT_EQ(data.forces.size(), 3u);
    for (const NodalForce& f : data.forces)
        EXPECT_EQ(data.nodes[static_cast<std::size_t>(f.node)].position.x, 2.0);
    EXPECT_EQ(model.display().forceOfNode.size(), 9u);
}

TEST(ModelStore, DeletingPointsKeepsThoseOfPolygonsAndRenumbersTheRest) {
    Model model = modelWithAttributes();
    int loose = addPoint(model, 5, 5);
    int square = addRectangle(model, 0, 0, 1, 1);
    EditResult r = model.deletePoints({loose, 1});
    ASSERT_TRUE(r.ok());
    EXPECT_NE(r.message.find("kept: 1"), std::string::npos) << r.message;
    ASSERT_EQ(model.data().points.size(), 4u);
    EXPECT_EQ(model.data().polygons[static_cast<std::size_t>(square)].vertices,
              (std::vector<int>{0, 1, 2, 3}));
    EXPECT_DOUBLE_EQ(model.polygonGeometry()[0].area, 1.0);
}

TEST(ModelStore, CopiesOfPointsAreShiftedByMultiplesOfTheOffset) {
    Model model = modelWithAttributes();
    addPoint(model, 1, 2, 3);
    addPoint(model, 0, 0, 0);
    EditResult r = model.copyPoints({0, 1}, {0, 0, 2}, 3);
    ASSERT_TRUE(r.ok());
    ASSERT_EQ(r.created, (std::vector<int>{2, 3, 4, 5, 6, 7}));
    EXPECT_EQ(model.data().points[6].position.z, 9.0);
    EXPECT_EQ(model.data().points[7].position.z, 6.0);
    EXPECT_EQ(model.extent().max.z, 9.0);
    EXPECT_FALSE(model.copyPoints({0}, {0, 0, 0}, 1).ok());
    EXPECT_FALSE(model.copyPoints({8}, {0, 0, 1}, 1).ok());
}

TEST(ModelStore, RestraintsAndForcesAreReplacedOrCombinedAsAsked) {
    Model model = twoMeshedSquares();
    int node = model.data().restraints[0].node;
    ASSERT_TRUE(model.applyRestraints({node}, {0, 0, 1, 0, 0, 0}, ApplyMode::Replace).ok());
    ASSERT_TRUE(model.applyRestraints({node, node}, {1, 0, 0, 0, 0, 0}, ApplyMode::Add).ok());
    int restraint = model.display().restraintOfNode[static_cast<std::size_t>(node)];
    EXPECT_EQ(model.data().restraints[static_cast<std::size_t>(restraint)].flags,
              (std::array<int, 6>{1, 0, 1, 0, 0, 0}));
    EXPECT_FALSE(model.applyRestraints({node}, {2, 0, 0, 0, 0, 0}, ApplyMode::Add).ok());

    int tip = model.data().forces[0].node;
    ASSERT_TRUE(model.applyForces({tip, tip}, {1, 0, 0, 0, 0, 0}, ApplyMode::Add).ok());
    EXPECT_EQ(model.data().forces[0].values, (std::array<double, 6>{1, 0, -3, 0, 0, 0}));
    ASSERT_TRUE(model.applyForces({tip}, {0, 2, 0, 0, 0, 0}, ApplyMode::Replace).ok());
    ASSERT_EQ(model.data().forces.size(), 3u);
    int record = model.display().forceOfNode[static_cast<std::size_t>(tip)];
    EXPECT_EQ(model.data().forces[static_cast<std::size_t>(record)].values,
              (std::array<double, 6>{0, 2, 0, 0, 0, 0}));

    // A node with two records from a file: Replace leaves only the new one.
    ModelData data = model.data();
    data.restraints.push_back({node, {0, 0, 0, 0, 0, 1}});
    model.assign(data);
    ASSERT_TRUE(model.applyRestraints({node}, {0, 1, 0, 0, 0, 0}, ApplyMode::Replace).ok());
    int records = 0;
    for (const Restraint& r : model.data().restraints)
        if (r.node == node) {
            ++records;
            EXPECT_EQ(r.flags, (std::array<int, 6>{0, 1, 0, 0, 0, 0}));
        }
    EXPECT_EQ(records, 1);
    EXPECT_FALSE(model.applyForces({-1}, {0, 2, 0, 0, 0, 0}, ApplyMode::Replace).ok());
}

TEST(ModelStore, AddingToANodeWithTwoRecordsChangesItsLastRecord) {
    Model model = twoMeshedSquares();
    const int tip = model.data().forces[0].node;
    ModelData data = model.data();
    data.forces.push_back({tip, {0, 0, 0, 0, 0, 1}});
    model.assign(data);
    ASSERT_TRUE(model.applyForces({tip}, {1, 0, 0, 0, 0, 0}, ApplyMode::Add).ok());
    ASSERT_EQ(model.data().forces.size(), 4u);
    EXPECT_EQ(model.data().forces[0].values, (std::array<double, 6>{0, 0, -3, 0, 0, 0}));
    EXPECT_EQ(model.data().forces[3].values, (std::array<double, 6>{1, 0, 0, 0, 0, 1}));
    EXPECT_EQ(model.display().forceOfNode[static_cast<std::size_t>(tip)], 3);
}

TEST(ModelStore, RepeatedPicksAndForeignFlagsDoNotChangeWhatIsApplied) {
    Model model = twoMeshedSquares();
    ASSERT_TRUE(model.applyPolygonLoad({0, 0}, {-5, -5, -5, -5}).ok());
    int loadsOnPolygon0 = 0;
    for (const PolygonLoad& l : model.data().polygonLoads)
        loadsOnPolygon0 += l.polygon == 0 ? 1 : 0;
    EXPECT_EQ(loadsOnPolygon0, 1);

    // A flag of 7 from a file leaves the DOF free; adding a fixed UX makes it 1.
    ModelData data = model.data();
    data.restraints[0].flags = {7, 7, 0, 0, 0, 0};
    const int node = data.restraints[0].node;
    model.assign(data);
    ASSERT_TRUE(model.applyRestraints({node}, {1, 0, 0, 0, 0, 0}, ApplyMode::Add).ok());
    EXPECT_EQ(model.data().restraints[0].flags, (std::array<int, 6>{1, 0, 0, 0, 0, 0}));
}

TEST(ModelStore, WhatActsOnANodeOrPolygonCombinesAllOfItsRecords) {
    Model model = twoMeshedSquares();
    const int tip = model.data().forces[0].node;
    const int edge = model.data().restraints[0].node;
    ModelData data = model.data();
    data.forces.push_back({tip, {1, 0, 0.5, 0, 0, 2}});
    data.restraints.push_back({edge, {0, 0, 0, 0, 0, 0}});
    data.restraints.push_back({tip, {7, 1, 0, 0, 0, 0}});
    data.polygonLoads.push_back({1, {0.5, 0, 0, 1}});
    model.assign(data);

    int free = -1; // the centre of the left square carries nothing
    for (std::size_t n = 0; n < model.data().nodes.size(); ++n)
        if (model.data().nodes[n].position.x == 0.5 && model.data().nodes[n].position.y == 0.5)
            free = static_cast<int>(n);
    ASSERT_GE(free, 0);
    const auto forces = forcesOnNodes(model.data(), {tip, free, tip});
    ASSERT_EQ(forces.size(), 3u);
    EXPECT_EQ(forces[0], (std::array<double, 6>{1, 0, -2.5, 0, 0, 2}));
    EXPECT_FALSE(forces[1]);
    EXPECT_EQ(forces[2], forces[0]);

    const auto restraints = restraintsOnNodes(model.data(), {edge, tip, free});
    EXPECT_EQ(restraints[0], (std::array<int, 6>{1, 1, 1, 1, 1, 1}));
    EXPECT_EQ(restraints[1], (std::array<int, 6>{0, 1, 0, 0, 0, 0})); // 7 fixes nothing
    EXPECT_FALSE(restraints[2]);

    const auto loads = loadsOnPolygons(model.data(), {1, 0});
    EXPECT_EQ(loads[0], (std::array<double, 4>{-1.5, -2, -2, -1}));
    EXPECT_EQ(loads[1], (std::array<double, 4>{-1, -1, -1, -1}));
    EXPECT_TRUE(loadsOnPolygons(model.data(), {}).empty());
    const auto stale = forcesOnNodes(model.data(), {-1, 999, tip});
    EXPECT_FALSE(stale[0]);
    EXPECT_FALSE(stale[1]);
    EXPECT_EQ(stale[2], forces[0]);
}

TEST(ModelStore, MeshingBesideNodesThatShareAPositionJoinsTheRightNodes) {
    Model model = modelWithAttributes();
    int left = addRectangle(model, 0, 0, 1, 1);
    int right = addRectangle(model, 1, 0, 2, 1);
    ASSERT_TRUE(model.meshPolygons({left}, divisions(1, 1)).ok());
    // A file may hold a node twice: put a copy of node 0 in front of the others.
    ModelData data = model.data();
    data.nodes.insert(data.nodes.begin(), data.nodes[0]);
    for (Element& e : data.elements)
        for (int& n : e.nodes)
            ++n;
    model.assign(data);
    ASSERT_TRUE(model.meshPolygons({right}, divisions(1, 1)).ok());
    const ModelData& meshed = model.data();
    for (const Element& e : meshed.elements) {
        if (e.polygon != right)
            continue;
        for (int n : e.nodes) {
            const Vec3& p = meshed.nodes[static_cast<std::size_t>(n)].position;
            EXPECT_TRUE(p.x == 1.0 || p.x == 2.0) << "node " << n << " at x=" << p.x;
        }
    }
    EXPECT_EQ(meshed.nodes.size(), 7u);
}

TEST(ModelStore, ElementsFinerThanTheMergingToleranceAreRefused) {
    // A 10 mm square in a model 100 units across, divided 200 × 200.
    Model model = modelWithAttributes();
    addPoint(model, 100, 100);
    int tiny = addRectangle(model, 0, 0, 0.01, 0.01);
    EditResult result = model.meshPolygons({tiny}, divisions(200, 200));
    EXPECT_FALSE(result.ok());
    EXPECT_NE(result.message.find("too small"), std::string::npos) << result.message;
    EXPECT_TRUE(model.data().elements.empty());
}

TEST(ModelStore, HidingAPolygonHidesItsElementsAndTheNodesOnlyTheyUse) {
    Model model = twoMeshedSquares();
    ASSERT_TRUE(model.setPolygonsVisible({0}, false).ok());
    const ModelData& data = model.data();
    for (const Element& e : data.elements)
        EXPECT_EQ(e.visible, e.polygon == 1);
    for (const Node& n : data.nodes)
        EXPECT_EQ(n.visible, n.position.x >= 1.0);
    model.showAll();
    for (const Node& n : data.nodes)
        EXPECT_TRUE(n.visible);
}

TEST(ModelStore, PicksHoldEachIdOnceInPickOrderAndDeletionsForgetThem) {
    Model model = twoMeshedSquares();
    std::vector<int>& outline = model.selection().polygonOutline;
    pick(outline, {3, 1, 2});
    pick(outline, {1, 0});
    EXPECT_EQ(outline, (std::vector<int>{3, 1, 2, 0}));
    unpick(outline, {1, 7});
    EXPECT_EQ(outline, (std::vector<int>{3, 2, 0}));
    pick(model.selection().polygons, {1});
    ASSERT_TRUE(model.deletePolygons(model.selection().polygons).ok());
    EXPECT_TRUE(model.selection().polygons.empty());
    EXPECT_TRUE(model.selection().polygonOutline.empty());
    pick(model.selection().points, {0});
    model.escape();
    EXPECT_TRUE(model.selection().points.empty());
}

TEST(ModelStore, OnlyUnusedMaterialsAndThicknessesAreDeletedAndLaterIdsMoveDown) {
    Model model = modelWithAttributes(0.01);
    ASSERT_TRUE(model.addMaterial({70000.0, 0.33}).ok());
    ASSERT_TRUE(model.addMaterial({1000.0, 0.2}).ok());
    ASSERT_TRUE(model.addThickness(0.02).ok());
    const int first = addRectangle(model, 0, 0, 1, 1);
    const int second = addRectangle(model, 1, 0, 2, 1);
    const int third = addRectangle(model, 2, 0, 3, 1);
    ASSERT_TRUE(model.setPolygonAttributes({second, third}, 2, 1).ok());
    ASSERT_TRUE(model.meshPolygons({first, second}, divisions(1, 1)).ok());
    const ModelData before = model.data();

    EditResult used = model.deleteMaterial(2);
    EXPECT_FALSE(used.ok());
    EXPECT_EQ(used.message,
              "Material 2 is used by polygons 1, 2; give them another one before deleting it.");
    EXPECT_EQ(model.deleteThickness(0).message,
              "Thickness 0 is used by polygon 0; give it another one before deleting it.");
    EXPECT_EQ(model.deleteMaterial(3).message, "Material 3 does not exist (there are 3).");
    EXPECT_EQ(model.deleteThickness(-1).message, "Thickness -1 does not exist (there are 2).");
    EXPECT_EQ(model.data().materials.size(), 3u);
    EXPECT_EQ(model.data().thicknesses.size(), 2u);

    ASSERT_TRUE(model.deleteMaterial(1).ok());
    const ModelData& data = model.data();
    ASSERT_EQ(data.materials.size(), 2u);
    EXPECT_EQ(data.materials[1].E, 1000.0);
    EXPECT_EQ(data.polygons[first].material, 0);
    EXPECT_EQ(data.polygons[second].material, 1); // still the E = 1000 material
    EXPECT_EQ(data.polygons[third].material, 1);
    EXPECT_EQ(data.polygons[second].thickness, 1);
    EXPECT_EQ(data.elements.size(), before.elements.size());

    ASSERT_TRUE(model.setPolygonAttributes({first}, 0, 1).ok());
    ASSERT_TRUE(model.deleteThickness(0).ok());
    ASSERT_EQ(data.thicknesses, std::vector<double>{0.02});
    for (const Polygon& polygon : data.polygons)
        EXPECT_EQ(polygon.thickness, 0);
}

TEST(ModelStore, BadInputIsRefusedAndLeavesTheModelAsItWas) {
    Model model = modelWithAttributes();
    int a = addPoint(model, 0, 0), b = addPoint(model, 1, 0), c = addPoint(model, 2, 0);
    EXPECT_FALSE(model.createPolygon({a, b}, 0, 0).ok());
    EXPECT_FALSE(model.createPolygon({a, b, c}, 0, 0).ok()); // on a line: no area
    EXPECT_FALSE(model.createPolygon({a, b, 7}, 0, 0).ok());
    EXPECT_FALSE(model.createPolygon({a, b, b, addPoint(model, 1, 1)}, 0, 0).ok());
    EditResult noMaterial = model.createPolygon({a, b, addPoint(model, 0, 1)}, 1, 0);
    EXPECT_EQ(noMaterial.message, "Material 1 does not exist (there are 1).");
    EXPECT_FALSE(model.addMaterial({0.0, 0.3}).ok());
    EXPECT_FALSE(model.addMaterial({1.0, 0.5}).ok());
    EXPECT_FALSE(model.editThickness(0, -1.0).ok());
    EXPECT_TRUE(model.data().polygons.empty());
    EXPECT_EQ(model.data().materials.size(), 1u);
    EXPECT_EQ(model.data().thicknesses[0], 0.01);
}

} // namespace
} // namespace shellfem::preprocessor
