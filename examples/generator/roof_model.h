#pragma once

#include "common/outcome.h"
#include "preprocessor/mesh/mesh_control.h"
#include "preprocessor/model/model.h"

namespace shellfem {

// A hipped roof 8 × 6 on plan, eaves at z = 0 and a ridge 2 long at z = 2, built
// the way a user builds it in the pre-processor: two trapezoids (concrete,
// t = 0.12) and two triangular hips (a lighter slab, t = 0.08); snow that
// grows towards the eaves and wind suction on the trapezoids, snow on the hips;
// a mast load with moments at each end of the ridge; the eaves held vertically,
// one corner pinned and its neighbour along the south eave on a roller in x.
// Fails only when an edit of the pre-processor's model is refused.
Outcome makeHippedRoof(preprocessor::Model& model);

// How the four polygons are meshed (all of them together, by element size), as
// a user would in Meshing → Quad.
preprocessor::MeshControl hippedRoofMeshControl();

} // namespace shellfem
