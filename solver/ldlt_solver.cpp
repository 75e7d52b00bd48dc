#include "solver/ldlt_solver.h"

#include "solver/band_window_ldlt.h"
#include "solver/dot_kernels.h"

#include <algorithm>
#include <cmath>

namespace shellfem {

namespace {

using dots::blockDots;
using dots::dotProduct;

void multiDotAny(int count, const double* a, const double* const* b, int length, double* result) {
    switch (count) {
    case 6:
        return blockDots<1, 6>(&a, b, length, result);
    case 5:
        return blockDots<1, 5>(&a, b, length, result);
    case 4:
        return blockDots<1, 4>(&a, b, length, result);
    case 3:
        return blockDots<1, 3>(&a, b, length, result);
    case 2:
        return blockDots<1, 2>(&a, b, length, result);
    default:
        return blockDots<1, 1>(&a, b, length, result);
    }
}

constexpr int kMaxBlock = 6;

// Entry (r, c) of column c lives at column(c)[c − r].
class ColumnwiseFactorization {
public:
    explicit ColumnwiseFactorization(SkylineMatrix& K) : K_(K), profile_(K.profile()) {}

    std::optional<PivotFailure> run(const std::function<void(int)>& columnDone) {
        const int n = profile_.equations();
        int j0 = 0;
        while (j0 < n) {
            // Columns of one node share their top row: factorise them as a block.
            int j1 = j0 + 1;
            while (j1 < n && j1 - j0 < kMaxBlock && profile_.top(j1) == profile_.top(j0))
                ++j1;
            reduceByEarlierColumns(j0, j1);
            for (int j = j0; j < j1; ++j) {
                reduceWithinBlock(j0, j);
                if (auto failure = finishColumn(j))
                    return failure;
                if (columnDone)
                    columnDone(j);
            }
            j0 = j1;
        }
        return std::nullopt;
    }

private:
    // g(i, j) −= Σ L(k, i)·g(k, j) for rows i above the block, all block columns at once.
    void reduceByEarlierColumns(int j0, int j1) {
        const int count = j1 - j0;
        const int top = profile_.top(j0);
        double* columns[kMaxBlock];
        for (int c = 0; c < count; ++c)
            columns[c] = K_.column(j0 + c);
        const double* b[kMaxBlock];
        double sums[kMaxBlock];
        for (int i = top + 1; i < j0; ++i) {
            const int first = std::max(profile_.top(i), top);
            const int length = i - first;
            if (length <= 0)
                continue;
            // Rows first..i−1 of column i and of each block column, from row i−1 upwards.
            const double* a = K_.column(i) + 1;
            for (int c = 0; c < count; ++c)
                b[c] = columns[c] + (j0 + c - i + 1);
            multiDotAny(count, a, b, length, sums);
            for (int c = 0; c < count; ++c)
                columns[c][j0 + c - i] -= sums[c];
        }
    }

    // The same for the rows of column j that lie inside its own block.
    void reduceWithinBlock(int j0, int j) {
        double* cj = K_.column(j);
        const int tj = profile_.top(j);
        for (int i = std::max(j0, tj + 1); i < j; ++i) {
            const int first = std::max(profile_.top(i), tj);
            const int length = i - first;
            if (length > 0)
                cj[j - i] -= dotProduct(K_.column(i) + 1, cj + (j - i + 1), length);
        }
    }

    // L(i, j) = g(i, j)/D(i) and D(j) −= g(i, j)·L(i, j); then the pivot test.
    std::optional<PivotFailure> finishColumn(int j) {
        double* cj = K_.column(j);
        const double original = cj[0];
        double pivot = original;
        for (int i = profile_.top(j); i < j; ++i) {
            const double g = cj[j - i];
            const double l = g / K_.column(i)[0];
            cj[j - i] = l;
            if (l != 0.0)
                pivot -= g * l;
        }
        cj[0] = pivot;
        return testPivot(j, pivot, original);
    }

    SkylineMatrix& K_;
    const SkylineProfile& profile_;
};

} // namespace

std::optional<PivotFailure> testPivot(int column, double pivot, double originalDiagonal) {
    if (!(originalDiagonal > 0.0) || !std::isfinite(pivot) ||
        !(pivot > kSmallestPivotRatio * originalDiagonal))
        return PivotFailure{column, pivot, originalDiagonal};
    return std::nullopt;
}

std::optional<PivotFailure> factorizeLDLTColumnwise(SkylineMatrix& K,
                                                    const std::function<void(int)>& columnDone) {
    return ColumnwiseFactorization(K).run(columnDone);
}

std::optional<PivotFailure> factorizeLDLT(SkylineMatrix& K,
                                          const std::function<void(int)>& columnDone) {
    return factorizeLDLT(K, FactorizationOptions{}, columnDone);
}

std::optional<PivotFailure> factorizeLDLT(SkylineMatrix& K, const FactorizationOptions& options,
                                          const std::function<void(int)>& columnDone) {
    if (options.kernel != SkylineKernel::Panels) {
        const BandWindowPlan plan = planBandWindow(K.profile(), options.windowPanelWidth);
        if (options.kernel == SkylineKernel::BandWindow || bandWindowPays(K.profile(), plan))
            return factorizeOnBandWindow(K, plan, options.threads, columnDone);
    }
    return factorizeInPanels(K, options, columnDone);
}

void forwardReduce(const SkylineMatrix& factors, std::vector<double>& f) {
    const SkylineProfile& profile = factors.profile();
    const int n = profile.equations();
    // Column j runs from row j−1 upwards; so does f held in reverse, which turns
    // each step into one contiguous inner product.
    std::vector<double> reversed(f.rbegin(), f.rend());
    for (int j = 1; j < n; ++j) {
        const int length = j - profile.top(j);
        reversed[static_cast<std::size_t>(n - 1 - j)] -=
            dotProduct(factors.column(j) + 1, &reversed[static_cast<std::size_t>(n - j)], length);
    }
    std::copy(reversed.rbegin(), reversed.rend(), f.begin());
}

void backSubstitute(const SkylineMatrix& factors, const std::vector<double>& f,
                    std::vector<double>& u) {
    const SkylineProfile& profile = factors.profile();
    const int n = profile.equations();
    u.resize(static_cast<std::size_t>(n));
    for (int j = 0; j < n; ++j)
        u[static_cast<std::size_t>(j)] = f[static_cast<std::size_t>(j)] / factors.column(j)[0];
    // Column by column over the stored profile: once u[j] is final, remove its
    // part from the rows above it.
    for (int j = n - 1; j > 0; --j) {
        const double* cj = factors.column(j);
        const double uj = u[static_cast<std::size_t>(j)];
        for (int i = profile.top(j); i < j; ++i)
            u[static_cast<std::size_t>(i)] -= cj[j - i] * uj;
    }
}

double factorizationFlops(const SkylineProfile& profile) {
    double flops = 0.0;
    int highestTopSoFar = 0;
    for (int j = 0; j < profile.equations(); ++j) {
        const int tj = profile.top(j);
        const double height = j - tj;
        // Where no column before j starts below tj, column i's inner product
        // with column j runs over rows tj..i−1, a sum in closed form.
        if (highestTopSoFar <= tj)
            flops += height * (height - 1.0);
        else
            for (int i = tj + 1; i < j; ++i)
                flops += 2.0 * (i - std::max(profile.top(i), tj));
        flops += 3.0 * height;
        highestTopSoFar = std::max(highestTopSoFar, tj);
    }
    return flops;
}

} // namespace shellfem
