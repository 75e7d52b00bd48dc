#pragma once

#include <cstring>

// Inner products of contiguous vectors, the arithmetic of the skyline
// factorisation. Several partial sums per product so that the loops vectorise
// without reassociation flags; the including file decides on fused multiply-add.
namespace shellfem::dots {

constexpr int kLanes = 4;

#if defined(__GNUC__)
// Four doubles as one value; the compiler maps it to a 256-bit vector register.
typedef double Lanes __attribute__((vector_size(kLanes * sizeof(double))));
#else
struct Lanes {
    double v[kLanes];
    Lanes& operator+=(const Lanes& o) {
        for (int i = 0; i < kLanes; ++i)
            v[i] += o.v[i];
        return *this;
    }
    Lanes operator*(const Lanes& o) const {
        Lanes r;
        for (int i = 0; i < kLanes; ++i)
            r.v[i] = v[i] * o.v[i];
        return r;
    }
    double operator[](int i) const { return v[i]; }
};
#endif

inline Lanes loadLanes(const double* p) {
    Lanes v;
    std::memcpy(&v, p, sizeof v);
    return v;
}

// Keeps a loaded vector in a register: otherwise the compiler folds the load
// into every multiply-add that uses it, and the loads, not the arithmetic, set the pace.
inline void holdInRegister(Lanes& v) {
#if defined(__GNUC__) && defined(__AVX__)
    __asm__("" : "+x"(v));
#else
    (void)v;
#endif
}

inline double sumLanes(const Lanes& v) {
    return (v[0] + v[1]) + (v[2] + v[3]);
}

// result[r·Cols + c] = Σ_t a[r][t]·b[c][t] over t < length. Every loaded
// vector of `a` serves Cols products and every one of `b` Rows products, which
// with Rows × Cols = 12 keeps the multiply-add units, not the loads, busy.
template <int Rows, int Cols>
void blockDots(const double* const* a, const double* const* b, int length, double* result) {
    Lanes sums[Rows][Cols] = {};
    int t = 0;
    for (; t + kLanes <= length; t += kLanes) {
        Lanes av[Rows];
        for (int r = 0; r < Rows; ++r) {
            av[r] = loadLanes(a[r] + t);
            holdInRegister(av[r]);
        }
        for (int c = 0; c < Cols; ++c) {
            Lanes bv = loadLanes(b[c] + t);
            holdInRegister(bv);
            for (int r = 0; r < Rows; ++r)
                sums[r][c] += av[r] * bv;
        }
    }
    for (int r = 0; r < Rows; ++r)
        for (int c = 0; c < Cols; ++c) {
            double tail = 0.0;
            for (int u = t; u < length; ++u)
                tail += a[r][u] * b[c][u];
            result[r * Cols + c] = sumLanes(sums[r][c]) + tail;
        }
}

inline double dotProduct(const double* a, const double* b, int length) {
    double result;
    blockDots<1, 1>(&a, &b, length, &result);
    return result;
}

} // namespace shellfem::dots
