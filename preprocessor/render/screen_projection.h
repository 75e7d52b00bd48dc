#pragma once

#include "preprocessor/model/model_data.h"
#include "view3d/view.h"

#include <vector>

namespace shellfem::preprocessor::render {

// The screen image of a model direction, independent of zoom and pan: x to the
// right and y downwards, as window pixels run, in pixels per pixel of model
// length (so a unit vector in the screen plane has length 1, one along the line
// of sight length 0), and the depth component towards the eye.
struct ScreenVector {
    double x = 0.0;
    double y = 0.0;
    double depth = 0.0;
};

ScreenVector screenDirection(const view3d::View& view, const Vec3& direction);

// Every geometric point and node of the model projected once for one paint,
// indexed by their IDs.
struct ProjectedModel {
    std::vector<view3d::ScreenPoint> points;
    std::vector<view3d::ScreenPoint> nodes;
};

ProjectedModel projectModel(const ModelData& data, const view3d::View& view);

inline platform::PixelPoint pixelOf(const view3d::ScreenPoint& p) {
    return {p.x, p.y};
}

} // namespace shellfem::preprocessor::render
