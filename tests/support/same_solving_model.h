#pragma once

// Two solving models alike: the same records, their numbers equal to round-off,
// since a committed file may come from another compiler or another build type.
#include "formats/solving_file.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>

namespace shellfem {

inline void expectClose(double committed, double generated, const std::string& what) {
    EXPECT_NEAR(committed, generated, 1e-12 * std::max(1.0, std::fabs(generated))) << what;
}

inline void expectSameModel(const SolvingModel& a, const SolvingModel& b, const std::string& file) {
    ASSERT_EQ(a.materials.size(), b.materials.size()) << file;
    ASSERT_EQ(a.nodes.size(), b.nodes.size()) << file;
    ASSERT_EQ(a.elements.size(), b.elements.size()) << file;
    ASSERT_EQ(a.restraints.size(), b.restraints.size()) << file;
    ASSERT_EQ(a.forces.size(), b.forces.size()) << file;
    ASSERT_EQ(a.loads.size(), b.loads.size()) << file;
    for (std::size_t i = 0; i < a.materials.size(); ++i) {
        expectClose(a.materials[i].E, b.materials[i].E, file + " E");
        expectClose(a.materials[i].Mu, b.materials[i].Mu, file + " Mu");
    }
    EXPECT_EQ(a.thicknesses, b.thicknesses) << file;
    for (std::size_t i = 0; i < a.nodes.size(); ++i) {
        const std::string node = file + " node " + std::to_string(i);
        expectClose(a.nodes[i].x, b.nodes[i].x, node);
        expectClose(a.nodes[i].y, b.nodes[i].y, node);
        expectClose(a.nodes[i].z, b.nodes[i].z, node);
    }
    for (std::size_t i = 0; i < a.elements.size(); ++i)
        EXPECT_EQ(a.elements[i].nodes, b.elements[i].nodes) << file << " element " << i;
    for (std::size_t i = 0; i < a.restraints.size(); ++i) {
        EXPECT_EQ(a.restraints[i].node, b.restraints[i].node) << file << " restraint " << i;
        EXPECT_EQ(a.restraints[i].flags, b.restraints[i].flags) << file << " restraint " << i;
    }
    for (std::size_t i = 0; i < a.forces.size(); ++i) {
        EXPECT_EQ(a.forces[i].node, b.forces[i].node) << file << " force " << i;
        for (std::size_t d = 0; d < 6; ++d)
            expectClose(a.forces[i].values[d], b.forces[i].values[d],
                        file + " force " + std::to_string(i));
    }
    for (std::size_t i = 0; i < a.loads.size(); ++i) {
        EXPECT_EQ(a.loads[i].element, b.loads[i].element) << file << " load " << i;
        for (std::size_t k = 0; k < 4; ++k)
            expectClose(a.loads[i].q[k], b.loads[i].q[k], file + " load " + std::to_string(i));
    }
}

} // namespace shellfem
