#include "view3d/matrix4.h"

#include <cmath>
#include <utility>

namespace shellfem::view3d {

Matrix4 identityMatrix() {
    Matrix4 m{};
    m[0] = m[5] = m[10] = m[15] = 1.0;
    return m;
}

Matrix4 multiply(const Matrix4& a, const Matrix4& b) {
    Matrix4 r{};
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j) {
            double s = 0.0;
            for (int k = 0; k < 4; ++k)
                s += a[i * 4 + k] * b[k * 4 + j];
            r[i * 4 + j] = s;
        }
    return r;
}

Matrix4 viewMatrix(double a, double b) {
    const double sa = std::sin(a), ca = std::cos(a), sb = std::sin(b), cb = std::cos(b);
    return {-sa, -sb * ca, ca * cb, 0.0, //
            ca,  -sb * sa, sa * cb, 0.0, //
            0.0, cb,       sb,      0.0, //
            0.0, 0.0,      -1.0,    1.0};
}

PlanePoint transformPoint(const Matrix4& m, const Vec3& p) {
    PlanePoint r;
    r.u = p.x * m[0] + p.y * m[4] + p.z * m[8] + m[12];
    r.v = p.x * m[1] + p.y * m[5] + p.z * m[9] + m[13];
    r.depth = p.x * m[2] + p.y * m[6] + p.z * m[10] + m[14];
    return r;
}

bool invertMatrix(const Matrix4& m, Matrix4& inverse) {
    constexpr int n = 4;
    double a[n][n];
    for (int i = 0; i < n; ++i)
        for (int j = 0; j < n; ++j)
            a[i][j] = m[i * n + j];
    int indxr[n], indxc[n];
    bool used[n] = {false, false, false, false};
    for (int i = 0; i < n; ++i) {
        // Full pivoting: the largest element among the rows and columns not yet used.
        double big = -1.0;
        int irow = -1, icol = -1;
        for (int j = 0; j < n; ++j) {
            if (used[j])
                continue;
            for (int k = 0; k < n; ++k) {
                if (used[k])
                    continue;
                if (std::fabs(a[j][k]) > big) {
                    big = std::fabs(a[j][k]);
                    irow = j;
                    icol = k;
                }
            }
        }
        // NaN entries never compare greater, so irow may stay -1: singular too.
        // Singular when the largest pivot vanishes against 1 in double precision.
        volatile double sum = big + 1.0;
        if (irow < 0 || sum == 1.0)
            return false;
        used[icol] = true;
        if (irow != icol)
            for (int l = 0; l < n; ++l)
                std::swap(a[irow][l], a[icol][l]);
        indxr[i] = irow;
        indxc[i] = icol;
        const double pivinv = 1.0 / a[icol][icol];
        a[icol][icol] = 1.0;
        for (int l = 0; l < n; ++l)
            a[icol][l] *= pivinv;
        for (int ll = 0; ll < n; ++ll) {
            if (ll == icol)
                continue;
            const double dum = a[ll][icol];
            a[ll][icol] = 0.0;
            for (int l = 0; l < n; ++l)
                a[ll][l] -= a[icol][l] * dum;
        }
    }
    // Undo the column interchanges in reverse order.
    for (int l = n - 1; l >= 0; --l)
        if (indxr[l] != indxc[l])
            for (int k = 0; k < n; ++k)
                std::swap(a[k][indxr[l]], a[k][indxc[l]]);
    for (int i = 0; i < n; ++i)
        for (int j = 0; j < n; ++j)
            inverse[i * n + j] = a[i][j];
    return true;
}

Matrix4 translationMatrix(const Vec3& t) {
    Matrix4 m = identityMatrix();
    m[12] = t.x;
    m[13] = t.y;
    m[14] = t.z;
    return m;
}

Matrix4 rotationMatrix(const Vec3& axis, double angle) {
    const double len = length(axis);
    const Vec3 k = len > 0.0 ? (1.0 / len) * axis : Vec3{0.0, 0.0, 1.0};
    const double c = std::cos(angle), s = std::sin(angle), t = 1.0 - c;
    // Rodrigues' matrix R for column vectors; row vectors use its transpose.
    const double r[3][3] = {{t * k.x * k.x + c, t * k.x * k.y - s * k.z, t * k.x * k.z + s * k.y},
                            {t * k.x * k.y + s * k.z, t * k.y * k.y + c, t * k.y * k.z - s * k.x},
                            {t * k.x * k.z - s * k.y, t * k.y * k.z + s * k.x, t * k.z * k.z + c}};
    Matrix4 m = identityMatrix();
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j)
            m[i * 4 + j] = r[j][i];
    return m;
}

namespace {

Vec3 row(const Matrix4& m, int i) {
    return {m[i * 4], m[i * 4 + 1], m[i * 4 + 2]};
}
void setRow(Matrix4& m, int i, const Vec3& v) {
    m[i * 4] = v.x;
    m[i * 4 + 1] = v.y;
    m[i * 4 + 2] = v.z;
}
Vec3 normalised(const Vec3& v) {
    const double len = length(v);
    return len > 0.0 ? (1.0 / len) * v : v;
}

} // namespace

void reorthonormaliseRows(Matrix4& m) {
    const Vec3 x = normalised(row(m, 0));
    const Vec3 z = normalised(cross(x, row(m, 1)));
    const Vec3 y = normalised(cross(z, x));
    setRow(m, 0, x);
    setRow(m, 1, y);
    setRow(m, 2, z);
}

} // namespace shellfem::view3d
