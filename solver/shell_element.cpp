#include "solver/shell_element.h"

#include <algorithm>
#include <cmath>

namespace shellfem {

namespace {

// 2 × 2 Gauss rule; this literal, not the exact root 1/√3, is the element's definition.
constexpr double kGauss = 0.5773502692;
constexpr double kGaussPoints[4][2] = {
    {-kGauss, -kGauss}, {-kGauss, kGauss}, {kGauss, -kGauss}, {kGauss, kGauss}};
constexpr double kCornerPoints[4][2] = {{-1.0, -1.0}, {1.0, -1.0}, {1.0, 1.0}, {-1.0, 1.0}};

Vec3 unit(const Vec3& v) {
    return (1.0 / length(v)) * v;
}

// Isotropic plane-stress law scaled by `factor`: factor · [[1, ν, 0], [ν, 1, 0], [0, 0, (1−ν)/2]].
struct PlaneStressLaw {
    double d11, d12, d33;
    PlaneStressLaw(double factor, double nu)
        : d11(factor), d12(factor * nu), d33(factor * (1.0 - nu) / 2.0) {}
    std::array<double, 3> apply(const std::array<double, 3>& e) const {
        return {d11 * e[0] + d12 * e[1], d12 * e[0] + d11 * e[1], d33 * e[2]};
    }
};

} // namespace

ShellElement::ShellElement(const std::array<Vec3, 4>& corners, double E, double Mu, double TK)
    : corners_(corners), E_(E), Mu_(Mu), t_(TK) {
    const Vec3 e1 = corners[1] - corners[0];
    const Vec3 n = cross(e1, corners[3] - corners[0]);
    if (length(e1) > 0.0 && length(n) > 0.0) {
        axes_[0] = unit(e1);
        axes_[2] = unit(n);
        axes_[1] = unit(cross(axes_[2], axes_[0]));
    }
    for (std::size_t k = 0; k < 4; ++k) {
        x_[k] = dot(axes_[0], corners[k]);
        y_[k] = dot(axes_[1], corners[k]);
    }
}

std::string ShellElement::geometryProblem() const {
    const Vec3 e1 = corners_[1] - corners_[0];
    if (length(e1) == 0.0)
        return "its first edge (corner 0 to corner 1) has zero length";
    if (length(cross(e1, corners_[3] - corners_[0])) == 0.0)
        return "corners 0, 1 and 3 lie on one line, so the element has no normal";
    double longest = 0.0;
    for (std::size_t k = 0; k < 4; ++k)
        longest = std::max(longest, length(corners_[(k + 1) % 4] - corners_[k]));
    // det J is a quarter of the local area scale; round-off is far below this.
    const double smallest = 1e-10 * longest * longest / 4.0;
    for (const auto& p : kGaussPoints)
        if (!(shapeAt(p[0], p[1]).detJ > smallest))
            return "the Jacobian determinant is not positive at a Gauss point (the "
                   "quadrilateral crosses itself or its corners are not in order)";
    for (std::size_t k = 0; k < 4; ++k)
        if (!(shapeAt(kCornerPoints[k][0], kCornerPoints[k][1]).detJ > smallest))
            return "the Jacobian determinant is not positive at corner " + std::to_string(k) +
                   " (the quadrilateral is not convex, crosses itself or its corners are not "
                   "in order)";
    return {};
}

ShellElement::ShapeDerivatives ShellElement::shapeAt(double xi, double eta) const {
    ShapeDerivatives s;
    s.N = {(1 - xi) * (1 - eta) / 4, (1 + xi) * (1 - eta) / 4, (1 + xi) * (1 + eta) / 4,
           (1 - xi) * (1 + eta) / 4};
    const double dNdxi[4] = {-(1 - eta) / 4, (1 - eta) / 4, (1 + eta) / 4, -(1 + eta) / 4};
    const double dNdeta[4] = {-(1 - xi) / 4, -(1 + xi) / 4, (1 + xi) / 4, (1 - xi) / 4};
    double j11 = 0, j12 = 0, j21 = 0, j22 = 0;
    for (std::size_t k = 0; k < 4; ++k) {
        j11 += dNdxi[k] * x_[k];
        j12 += dNdxi[k] * y_[k];
        j21 += dNdeta[k] * x_[k];
        j22 += dNdeta[k] * y_[k];
    }
    s.detJ = j11 * j22 - j12 * j21;
    for (std::size_t k = 0; k < 4; ++k) {
        s.dNdx[k] = (j22 * dNdxi[k] - j12 * dNdeta[k]) / s.detJ;
        s.dNdy[k] = (-j21 * dNdxi[k] + j11 * dNdeta[k]) / s.detJ;
    }
    return s;
}

// 12 × 12 over (u, v, θz) of each node: plane stress plus the drilling penalty.
void ShellElement::membraneStiffness(std::array<double, 144>& Km) const {
    Km.fill(0.0);
    const PlaneStressLaw D(E_ / (1.0 - Mu_ * Mu_), Mu_);
    const double gamma = 10.0 * E_ / (2.0 * (1.0 + Mu_)) * t_;
    for (const auto& p : kGaussPoints) {
        const ShapeDerivatives s = shapeAt(p[0], p[1]);
        const double w = std::fabs(s.detJ);
        // B_m columns over (u_a, v_a): strain vectors (εx, εy, γxy).
        std::array<std::array<double, 3>, 8> B{};
        for (std::size_t a = 0; a < 4; ++a) {
            B[2 * a] = {s.dNdx[a], 0.0, s.dNdy[a]};
            B[2 * a + 1] = {0.0, s.dNdy[a], s.dNdx[a]};
        }
        for (std::size_t j = 0; j < 8; ++j) {
            const std::array<double, 3> DB = D.apply(B[j]);
            for (std::size_t i = 0; i < 8; ++i) {
                const double kij = (B[i][0] * DB[0] + B[i][1] * DB[1] + B[i][2] * DB[2]) * t_ * w;
                Km[(3 * (i / 2) + i % 2) * 12 + 3 * (j / 2) + j % 2] += kij;
            }
        }
        // b·d = θz − ½(∂v/∂x − ∂u/∂y)
        std::array<double, 12> b;
        for (std::size_t a = 0; a < 4; ++a) {
            b[3 * a] = 0.5 * s.dNdy[a];
            b[3 * a + 1] = -0.5 * s.dNdx[a];
            b[3 * a + 2] = s.N[a];
        }
        for (std::size_t i = 0; i < 12; ++i)
            for (std::size_t j = 0; j < 12; ++j)
                Km[i * 12 + j] += b[i] * b[j] * gamma * w;
    }
}

// Assumed transverse shear strains (γxz, γyz) at (ξ, η): 2 × 12 over (w, θx, θy) of each node.
void ShellElement::shearStrainMatrix(double xi, double eta, double detJ,
                                     std::array<double, 24>& Bs) const {
    const auto& x = x_;
    const auto& y = y_;
    const double Ax = -x[0] + x[1] + x[2] - x[3], Ay = -y[0] + y[1] + y[2] - y[3];
    const double Bx = x[0] - x[1] + x[2] - x[3], By = y[0] - y[1] + y[2] - y[3];
    const double Cx = -x[0] - x[1] + x[2] + x[3], Cy = -y[0] - y[1] + y[2] + y[3];
    // α: from the middle of edge 3–0 to the middle of edge 1–2; β: from edge 0–1 to edge 2–3.
    double ca = (x[1] + x[2]) / 2 - (x[3] + x[0]) / 2, sa = (y[1] + y[2]) / 2 - (y[3] + y[0]) / 2;
    double cb = (x[2] + x[3]) / 2 - (x[0] + x[1]) / 2, sb = (y[2] + y[3]) / 2 - (y[0] + y[1]) / 2;
    const double la = std::sqrt(ca * ca + sa * sa), lb = std::sqrt(cb * cb + sb * sb);
    ca /= la;
    sa /= la;
    cb /= lb;
    sb /= lb;
    const double Dxi =
        std::sqrt((Ax + eta * Bx) * (Ax + eta * Bx) + (Ay + eta * By) * (Ay + eta * By));
    const double Deta =
        std::sqrt((Cx + xi * Bx) * (Cx + xi * Bx) + (Cy + xi * By) * (Cy + xi * By));
    const double P = (1 - eta) * Deta / (8 * detJ), Q = (1 + eta) * Deta / (8 * detJ);
    const double R = (1 - xi) * Dxi / (8 * detJ), S = (1 + xi) * Dxi / (8 * detJ);

    // The γyz row is the γxz row with (cα, cβ) for (sα, sβ) and every sign reversed.
    auto row = [&](double a, double b, double sign, double* r) {
        r[0] = sign * -0.5 * (P * b - R * a);
        r[1] = sign * -0.25 * (P * (y[1] - y[0]) * b - R * (y[3] - y[0]) * a);
        r[2] = sign * 0.25 * (P * (x[1] - x[0]) * b - R * (x[3] - x[0]) * a);
        r[3] = sign * 0.5 * (S * a + P * b);
        r[4] = sign * -0.25 * (P * (y[1] - y[0]) * b - S * (y[2] - y[1]) * a);
        r[5] = sign * 0.25 * (P * (x[1] - x[0]) * b - S * (x[2] - x[1]) * a);
        r[6] = sign * 0.5 * (Q * b - S * a);
        r[7] = sign * -0.25 * (Q * (y[2] - y[3]) * b - S * (y[2] - y[1]) * a);
        r[8] = sign * 0.25 * (Q * (x[2] - x[3]) * b - S * (x[2] - x[1]) * a);
        r[9] = sign * -0.5 * (Q * b + R * a);
        r[10] = sign * -0.25 * (Q * (y[2] - y[3]) * b - R * (y[3] - y[0]) * a);
        r[11] = sign * 0.25 * (Q * (x[2] - x[3]) * b - R * (x[3] - x[0]) * a);
    };
    row(sa, sb, 1.0, Bs.data());
    row(ca, cb, -1.0, Bs.data() + 12);
}

// 12 × 12 over (w, θx, θy) of each node: bending plus assumed transverse shear.
void ShellElement::plateStiffness(std::array<double, 144>& Kp) const {
    Kp.fill(0.0);
    const PlaneStressLaw Db(E_ * t_ * t_ * t_ / (12.0 * (1.0 - Mu_ * Mu_)), Mu_);
    const double Ds = E_ * t_ / (2.0 * (1.0 + Mu_) * 1.2);
    for (const auto& p : kGaussPoints) {
        const ShapeDerivatives s = shapeAt(p[0], p[1]);
        const double w = std::fabs(s.detJ);
        // B_b columns over (w_a, θx_a, θy_a): curvature vectors (κx, κy, κxy).
        std::array<std::array<double, 3>, 12> Bb{};
        for (std::size_t a = 0; a < 4; ++a) {
            Bb[3 * a + 1] = {0.0, -s.dNdy[a], -s.dNdx[a]};
            Bb[3 * a + 2] = {s.dNdx[a], 0.0, s.dNdy[a]};
        }
        std::array<double, 24> Bs;
        shearStrainMatrix(p[0], p[1], s.detJ, Bs);
        for (std::size_t j = 0; j < 12; ++j) {
            const std::array<double, 3> DB = Db.apply(Bb[j]);
            for (std::size_t i = 0; i < 12; ++i) {
                const double bending = Bb[i][0] * DB[0] + Bb[i][1] * DB[1] + Bb[i][2] * DB[2];
                const double shear = Bs[i] * Ds * Bs[j] + Bs[12 + i] * Ds * Bs[12 + j];
                Kp[i * 12 + j] += (bending + shear) * w;
            }
        }
    }
}

// K = Tᵀ K_l T with T = diag(λ, …, λ): every 3 × 3 block A becomes λᵀ A λ.
void ShellElement::toGlobal(const std::array<double, 576>& local, ElementMatrix& K) const {
    const double L[3][3] = {{axes_[0].x, axes_[0].y, axes_[0].z},
                            {axes_[1].x, axes_[1].y, axes_[1].z},
                            {axes_[2].x, axes_[2].y, axes_[2].z}};
    for (std::size_t I = 0; I < 8; ++I)
        for (std::size_t J = 0; J < 8; ++J) {
            double AL[3][3];
            for (std::size_t r = 0; r < 3; ++r)
                for (std::size_t c = 0; c < 3; ++c) {
                    double sum = 0.0;
                    for (std::size_t m = 0; m < 3; ++m)
                        sum += local[(3 * I + r) * 24 + 3 * J + m] * L[m][c];
                    AL[r][c] = sum;
                }
            for (std::size_t r = 0; r < 3; ++r)
                for (std::size_t c = 0; c < 3; ++c) {
                    double sum = 0.0;
                    for (std::size_t m = 0; m < 3; ++m)
                        sum += L[m][r] * AL[m][c];
                    K[(3 * I + r) * 24 + 3 * J + c] = sum;
                }
        }
}

void ShellElement::stiffness(ElementMatrix& K) const {
    std::array<double, 144> Km, Kp;
    membraneStiffness(Km);
    plateStiffness(Kp);
    // Local positions of (u, v, θz) and of (w, θx, θy) within a node's six.
    constexpr std::size_t membraneDof[3] = {0, 1, 5};
    constexpr std::size_t plateDof[3] = {2, 3, 4};
    std::array<double, 576> local{};
    for (std::size_t a = 0; a < 4; ++a)
        for (std::size_t b = 0; b < 4; ++b)
            for (std::size_t i = 0; i < 3; ++i)
                for (std::size_t j = 0; j < 3; ++j) {
                    local[(6 * a + membraneDof[i]) * 24 + 6 * b + membraneDof[j]] =
                        Km[(3 * a + i) * 12 + 3 * b + j];
                    local[(6 * a + plateDof[i]) * 24 + 6 * b + plateDof[j]] =
                        Kp[(3 * a + i) * 12 + 3 * b + j];
                }
    toGlobal(local, K);
}

void ShellElement::pressureLoad(const std::array<double, 4>& q, ElementVector& f) const {
    std::array<double, 4> fw{};
    for (const auto& p : kGaussPoints) {
        const ShapeDerivatives s = shapeAt(p[0], p[1]);
        const double qp = s.N[0] * q[0] + s.N[1] * q[1] + s.N[2] * q[2] + s.N[3] * q[3];
        for (std::size_t k = 0; k < 4; ++k)
            fw[k] += s.N[k] * qp * std::fabs(s.detJ);
    }
    f.fill(0.0);
    // Tᵀ of a local (0, 0, fw) translation is fw along z'; the local moments are zero.
    const Vec3& n = axes_[2];
    for (std::size_t k = 0; k < 4; ++k) {
        f[6 * k] = n.x * fw[k];
        f[6 * k + 1] = n.y * fw[k];
        f[6 * k + 2] = n.z * fw[k];
    }
}

void ShellElement::cornerStresses(const ElementVector& displacements, CornerStresses& top,
                                  CornerStresses& bottom) const {
    const ElementVector ul = toLocal(displacements);
    for (std::size_t k = 0; k < 4; ++k)
        surfaceStresses(ul, kCornerPoints[k][0], kCornerPoints[k][1], top[k], bottom[k]);
}

void ShellElement::centreStresses(const ElementVector& displacements, SurfaceStress& top,
                                  SurfaceStress& bottom) const {
    surfaceStresses(toLocal(displacements), 0.0, 0.0, top, bottom);
}

ElementVector ShellElement::toLocal(const ElementVector& displacements) const {
    // u_l = T·u: each node's translations and rotations turned into local axes.
    ElementVector ul;
    for (std::size_t block = 0; block < 8; ++block)
        for (std::size_t r = 0; r < 3; ++r)
            ul[3 * block + r] = axes_[r].x * displacements[3 * block] +
                                axes_[r].y * displacements[3 * block + 1] +
                                axes_[r].z * displacements[3 * block + 2];
    return ul;
}

void ShellElement::surfaceStresses(const ElementVector& ul, double xi, double eta,
                                   SurfaceStress& top, SurfaceStress& bottom) const {
    const PlaneStressLaw Dm(E_ / (1.0 - Mu_ * Mu_), Mu_);
    const PlaneStressLaw Db(E_ * t_ * t_ * t_ / (12.0 * (1.0 - Mu_ * Mu_)), Mu_);
    const double tt = t_ * t_;
    const ShapeDerivatives s = shapeAt(xi, eta);
    std::array<double, 3> strain{}, curvature{};
    for (std::size_t a = 0; a < 4; ++a) {
        const double u = ul[6 * a], v = ul[6 * a + 1];
        const double thx = ul[6 * a + 3], thy = ul[6 * a + 4];
        strain[0] += s.dNdx[a] * u;
        strain[1] += s.dNdy[a] * v;
        strain[2] += s.dNdy[a] * u + s.dNdx[a] * v;
        curvature[0] += s.dNdx[a] * thy;
        curvature[1] += -s.dNdy[a] * thx;
        curvature[2] += s.dNdy[a] * thy - s.dNdx[a] * thx;
    }
    const std::array<double, 3> membrane = Dm.apply(strain);
    const std::array<double, 3> moment = Db.apply(curvature);
    for (double side : {1.0, -1.0}) {
        // Surface bending stress 6·M/t².
        const double sx = membrane[0] + side * (6.0 * moment[0] / tt);
        const double sy = membrane[1] + side * (6.0 * moment[1] / tt);
        const double txy = membrane[2] + side * (6.0 * moment[2] / tt);
        // σ = λᵀ σ' λ with σ' = [[sx, txy, 0], [txy, sy, 0], [0, 0, 0]].
        const Vec3& ex = axes_[0];
        const Vec3& ey = axes_[1];
        auto component = [&](double xa, double ya, double xb, double yb) {
            return xa * sx * xb + xa * txy * yb + ya * txy * xb + ya * sy * yb;
        };
        SurfaceStress& out = side > 0 ? top : bottom;
        out = {component(ex.x, ey.x, ex.x, ey.x), component(ex.y, ey.y, ex.y, ey.y),
               component(ex.z, ey.z, ex.z, ey.z), component(ex.x, ey.x, ex.y, ey.y),
               component(ex.x, ey.x, ex.z, ey.z), component(ex.y, ey.y, ex.z, ey.z)};
    }
}

} // namespace shellfem
