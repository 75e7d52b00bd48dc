#pragma once

namespace shellfem::viewer {

// A model node after the view transform: x, y in window pixels (x right, y down);
// depth grows towards the eye, so larger depth is drawn later and picked first.
struct ProjectedNode {
    double x = 0, y = 0;
    double depth = 0;
};

} // namespace shellfem::viewer
