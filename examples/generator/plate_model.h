#pragma once

#include "formats/solving_file.h"

namespace shellfem {

// A flat rectangular plate a × b in the x–y plane, meshed nx × ny with
// counter-clockwise elements (normal +z). Nodes are numbered across the
// shorter side first, which keeps the skyline profile small.
struct PlateOptions {
    enum class Support {
        // Every edge: u = v = w = 0 and the rotation about the edge's in-plane normal
        // held ("hard" support); the rotation about the edge itself is free.
        SimplySupported,
        CantileverAtXZero, // the edge x = 0 clamped, the rest free
        Clamped,           // every edge: all six DOFs held
    };
    int nx = 8;
    int ny = 8;
    double a = 1.0;
    double b = 1.0;
    double E = 2.1e11;
    double Mu = 0.3;
    double thickness = 0.01;
    double pressure = 0.0;  // along the element normal on every element
    double tipForceZ = 0.0; // total Fz spread over the nodes of the edge x = a
    Support support = Support::SimplySupported;
};

SolvingModel makeRectangularPlate(const PlateOptions& options);

// Node number of grid point (i, j), i along x (0..nx), j along y (0..ny).
int plateNode(const PlateOptions& options, int i, int j);

} // namespace shellfem
