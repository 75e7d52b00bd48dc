#pragma once

#include "preprocessor/model/model.h"
#include "preprocessor/model/model_queries.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <utility>

namespace shellfem::preprocessor::testing {

inline const Material kSteel{210000.0, 0.3};

// A model with one material (index 0) and one thickness (index 0).
inline Model modelWithAttributes(double thickness = 0.01, Material material = kSteel) {
    Model model;
    EXPECT_TRUE(model.addMaterial(material).ok());
    EXPECT_TRUE(model.addThickness(thickness).ok());
    return model;
}

inline int addPoint(Model& model, double x, double y, double z = 0.0) {
    EditResult r = model.addPoint({x, y, z});
    EXPECT_TRUE(r.ok()) << r.message;
    return r.created.at(0);
}

inline int addPolygon(Model& model, const std::vector<int>& points) {
    EditResult r = model.createPolygon(points, 0, 0);
    EXPECT_TRUE(r.ok()) << r.message;
    return r.created.at(0);
}

// The rectangle x0..x1 by y0..y1 in the plane z = 0, corners counter-clockwise.
inline int addRectangle(Model& model, double x0, double y0, double x1, double y1) {
    return addPolygon(model, {addPoint(model, x0, y0), addPoint(model, x1, y0),
                              addPoint(model, x1, y1), addPoint(model, x0, y1)});
}

inline MeshControl divisions(int along01, int along12) {
    MeshControl control;
    control.divisionsAlong01 = along01;
    control.divisionsAlong12 = along12;
    return control;
}

inline double elementArea(const ModelData& data, const Element& e) {
    auto at = [&](int corner) {
        return data.nodes[static_cast<std::size_t>(e.nodes[corner])].position;
    };
    return 0.5 * length(cross(at(2) - at(0), at(3) - at(1)));
}

// How many elements use each undirected element edge.
inline std::map<std::pair<int, int>, int> edgeUse(const ModelData& data) {
    std::map<std::pair<int, int>, int> use;
    for (const Element& e : data.elements)
        for (int k = 0; k < 4; ++k) {
            int a = e.nodes[static_cast<std::size_t>(k)];
            int b = e.nodes[static_cast<std::size_t>((k + 1) % 4)];
            ++use[{std::min(a, b), std::max(a, b)}];
        }
    return use;
}

} // namespace shellfem::preprocessor::testing
