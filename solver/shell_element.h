#pragma once

#include "geometry/vec3.h"

#include <array>
#include <string>

namespace shellfem {

// Degrees of freedom per node, in the order u, v, w, θx, θy, θz.
inline constexpr int kDofsPerNode = 6;
inline constexpr int kNodesPerElement = 4;
inline constexpr int kElementDofs = kDofsPerNode * kNodesPerElement;

// 24 × 24, row-major, DOF order: node 0's six, node 1's six, ...
using ElementMatrix = std::array<double, kElementDofs * kElementDofs>;
using ElementVector = std::array<double, kElementDofs>;
// SX, SY, SZ, TXY, TXZ, TYZ in global axes.
using SurfaceStress = std::array<double, 6>;
using CornerStresses = std::array<SurfaceStress, kNodesPerElement>;

// Flat four-node shell: a plane-stress membrane with a drilling rotation and a
// thick plate with assumed transverse shear strains, uncoupled in local axes.
// Pure math: it keeps its geometry and material and computes on demand.
class ShellElement {
public:
    // Corners in connectivity order (global coordinates); E, Poisson's ratio Mu, thickness TK.
    ShellElement(const std::array<Vec3, 4>& corners, double E, double Mu, double TK);

    // Empty when the element can be integrated; otherwise what is wrong with its shape.
    std::string geometryProblem() const;

    // Rows x', y', z' of the local axes in global components (the matrix λ).
    const std::array<Vec3, 3>& axes() const { return axes_; }
    const Vec3& normal() const { return axes_[2]; }
    double thickness() const { return t_; }

    // Stiffness in global axes, K = Tᵀ K_l T.
    void stiffness(ElementMatrix& K) const;
    // Equivalent nodal loads in global axes of a pressure along z' with corner intensities q.
    void pressureLoad(const std::array<double, 4>& q, ElementVector& f) const;
    // Top (z' = +t/2) and bottom (z' = −t/2) stresses at the corners, global axes,
    // from the element's 24 global displacements.
    void cornerStresses(const ElementVector& displacements, CornerStresses& top,
                        CornerStresses& bottom) const;
    // The same at the centre (ξ = η = 0).
    void centreStresses(const ElementVector& displacements, SurfaceStress& top,
                        SurfaceStress& bottom) const;

    // Local in-plane corner coordinates (projections x'·Pk, y'·Pk).
    const std::array<double, 4>& localX() const { return x_; }
    const std::array<double, 4>& localY() const { return y_; }

private:
    struct ShapeDerivatives {
        std::array<double, 4> N, dNdx, dNdy;
        double detJ;
    };
    ShapeDerivatives shapeAt(double xi, double eta) const;
    ElementVector toLocal(const ElementVector& displacements) const;
    void surfaceStresses(const ElementVector& localDisplacements, double xi, double eta,
                         SurfaceStress& top, SurfaceStress& bottom) const;

    void membraneStiffness(std::array<double, 144>& Km) const;
    void plateStiffness(std::array<double, 144>& Kp) const;
    void shearStrainMatrix(double xi, double eta, double detJ, std::array<double, 24>& Bs) const;
    void toGlobal(const std::array<double, 576>& local, ElementMatrix& K) const;

    std::array<Vec3, 4> corners_;
    double E_, Mu_, t_;
    std::array<Vec3, 3> axes_{};
    std::array<double, 4> x_{}, y_{};
};

} // namespace shellfem
