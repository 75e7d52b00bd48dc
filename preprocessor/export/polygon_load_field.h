#pragma once

#include "geometry/vec3.h"
#include "preprocessor/model/model_data.h"
#include "preprocessor/model/polygon_geometry.h"

#include <array>
#include <vector>

namespace shellfem::preprocessor {

// Position (s, t) in 0..1 x 0..1 of the point of the bilinear surface over the
// corners c0 c1 c2 c3 nearest to `p`: s runs from c0 to c1, t from c0 to c3.
// Always finite, also for a warped quadrilateral or coordinates of any size.
std::array<double, 2> bilinearCoordinates(const std::array<Vec3, 4>& corners, const Vec3& p);

// Pressure at `p` for a load given at the polygon's corners: interpolated
// bilinearly over a four-corner polygon, q0 everywhere on any other polygon.
double loadIntensityAt(const std::vector<Vec3>& corners, const std::array<double, 4>& q,
                       const Vec3& p);

// Pressure at the element's corners 0..3, positive along the element normal, of a
// load `q` given at the corners of the element's polygon and acting along the
// polygon normal: an element turned against its polygon takes it with the other sign.
std::array<double, 4> elementCornerLoads(const ModelData& data, const Element& element,
                                         const PolygonGeometry& polygon,
                                         const std::array<double, 4>& q);

} // namespace shellfem::preprocessor
