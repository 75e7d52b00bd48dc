#pragma once

namespace shellfem::preprocessor {

// How polygons are divided into elements.
struct MeshControl {
    enum class Mode { Divisions, ElementSize };
    Mode mode = Mode::Divisions;
    // Four-corner polygons: elements along edges 0-1 and 2-3, and along edges 1-2 and 3-0.
    // Other polygons are split into one quadrilateral per corner, each divided
    // ceil(divisionsAlong01 / 2) times both ways, so that every polygon edge gets
    // an even count.
    int divisionsAlong01 = 1;
    int divisionsAlong12 = 1;
    // Longest element edge wanted (model units). Counts are raised where needed so
    // that the polygons meshed together, and their meshed neighbours, conform.
    double elementSize = 0.0;
};

} // namespace shellfem::preprocessor
