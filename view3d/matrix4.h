#pragma once

#include "geometry/vec3.h"

#include <array>

namespace shellfem::view3d {

// A 4x4 matrix stored row by row, applied to row vectors: out = (x, y, z, 1) · M.
using Matrix4 = std::array<double, 16>;

Matrix4 identityMatrix();

// a · b (row-vector convention: first a, then b).
Matrix4 multiply(const Matrix4& a, const Matrix4& b);

// The view matrix for Alpha = a and Beta = b in radians.
Matrix4 viewMatrix(double alpha, double beta);

// Outputs 0, 1 and 2 of (p, 1) · M: screen right (u), screen up (v) and the
// depth, which grows towards the eye for a view matrix.
struct PlanePoint {
    double u = 0.0;
    double v = 0.0;
    double depth = 0.0;
};
PlanePoint transformPoint(const Matrix4& m, const Vec3& p);

// Gauss–Jordan elimination with full pivoting on a copy of `m`. Returns false,
// leaving `inverse` untouched, when the largest remaining pivot p satisfies
// p + 1 == 1 in double arithmetic (the matrix counts as singular). Library code
// never ends the program: the caller decides what a singular matrix means.
bool invertMatrix(const Matrix4& m, Matrix4& inverse);

// Translation by t, and rotation by `angle` radians about the unit direction
// `axis` through the origin (right-hand rule), both for row vectors.
Matrix4 translationMatrix(const Vec3& t);
Matrix4 rotationMatrix(const Vec3& axis, double angle);

// Makes rows 0..2 orthonormal again: X stays (normalised),
// Z = X × Y, Y = Z × X, each normalised; row 3 (translation) is unchanged.
void reorthonormaliseRows(Matrix4& m);

} // namespace shellfem::view3d
