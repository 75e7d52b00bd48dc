// The skyline LDLᵀ in panels of columns, shared by a few threads.
//
// Column j of K holds g(i, j) = K(i, j) − Σ_k L(k, i)·g(k, j) before it is
// divided into L(i, j) = g(i, j)/D(i). A panel of columns j0 ≤ j < j1 is
// factorised in four steps:
//   1. rows above the panel (i < j0): every panel column is a triangular solve
//      with the finished columns, independent of the other panel columns;
//   2. those rows are divided by D, their g kept in a panel buffer and their
//      part of each pivot summed;
//   3. rows inside the panel receive the products over rows above it;
//   4. the small triangle inside the panel is finished column by column with
//      the pivot test and the progress callback, on the calling thread.
// Steps 1–3 split the panel's columns between the threads; the entries are read
// and written in place in the skyline store, in blocks of rows × columns whose
// inner products use every loaded vector several times.
#include "solver/band_window_ldlt.h"
#include "solver/dot_kernels.h"
#include "solver/thread_team.h"

#include <algorithm>
#include <vector>

namespace shellfem {

namespace {

using dots::blockDots;
using dots::dotProduct;

// Rows of finished columns and panel columns per kernel call: 3 × 4 products
// fill the sixteen vector registers with their sums and operands.
constexpr int kBlockRows = 3;
constexpr int kBlockColumns = 4;
// Rows above a panel applied at a time: a thread's columns over this many rows
// stay in its second-level cache, and a block's finished columns in the first,
// while the chunk meets every row below it.
constexpr int kRowChunk = 512;

template <int Rows>
void blockDotsWithRows(int columns, const double* const* a, const double* const* b, int length,
                       double* result) {
    switch (columns) {
    case 4:
        return blockDots<Rows, 4>(a, b, length, result);
    case 3:
        return blockDots<Rows, 3>(a, b, length, result);
    case 2:
        return blockDots<Rows, 2>(a, b, length, result);
    default:
        return blockDots<Rows, 1>(a, b, length, result);
    }
}

void blockDotsOfSize(int rows, int columns, const double* const* a, const double* const* b,
                     int length, double* result) {
    switch (rows) {
    case 3:
        return blockDotsWithRows<3>(columns, a, b, length, result);
    case 2:
        return blockDotsWithRows<2>(columns, a, b, length, result);
    default:
        return blockDotsWithRows<1>(columns, a, b, length, result);
    }
}

// Columns first..end−1 and, for each thread t, its share bounds[t]..bounds[t+1]−1.
struct Panel {
    int first = 0;
    int end = 0;
    std::vector<int> bounds;
};

class PanelFactorization {
public:
    PanelFactorization(SkylineMatrix& K, const FactorizationOptions& options)
        : K_(K), profile_(K.profile()), width_(std::max(1, options.panelWidth)),
          threads_(std::max(1, options.threads)), stride_(largestHeight()),
          saved_(static_cast<std::size_t>(width_) * static_cast<std::size_t>(stride_)),
          pivotParts_(static_cast<std::size_t>(width_)) {}

    std::optional<PivotFailure> run(const std::function<void(int)>& columnDone) {
        columnDone_ = &columnDone;
        runOnTeam(threads_, [this](int thread, ThreadTeam& team) { work(thread, team); });
        return stop_.outcome();
    }

private:
    // Every thread walks all panels; the barriers order the steps.
    void work(int thread, ThreadTeam& team) {
        const int n = profile_.equations();
        for (int first = 0; first < n; first += width_) {
            const Panel panel = panelAt(first, team.size);
            const int begin = panel.bounds[static_cast<std::size_t>(thread)];
            const int end = panel.bounds[static_cast<std::size_t>(thread) + 1];
            solveAbovePanel(panel, begin, end);
            divideAbovePanel(panel, begin, end);
            team.barrier.wait();
            reduceInsidePanel(panel, begin, end);
            team.barrier.wait();
            if (thread == 0)
                stop_.run([&] { return finishPanel(panel); });
            team.barrier.wait();
            if (stop_.stopped())
                return;
        }
    }

    int largestHeight() const {
        int height = 1;
        for (int c = 0; c < profile_.equations(); ++c)
            height = std::max(height, profile_.height(c));
        return height;
    }

    // The panel from `first` with its columns shared out by the work their
    // rows above the panel take, in whole column groups.
    Panel panelAt(int first, int threads) const {
        Panel panel;
        panel.first = first;
        panel.end = std::min(profile_.equations(), first + width_);
        std::vector<double> work;
        double total = 0.0;
        for (int j = first; j < panel.end; ++j) {
            const double above = std::max(0, first - profile_.top(j));
            total += above * (0.5 * above + (j - first));
            work.push_back(total);
        }
        panel.bounds.push_back(first);
        for (int t = 1; t < threads; ++t) {
            const double share = total * t / threads;
            int split = first;
            while (split < panel.end && work[static_cast<std::size_t>(split - first)] < share)
                split += kBlockColumns;
            panel.bounds.push_back(std::min(split, panel.end));
        }
        panel.bounds.push_back(panel.end);
        return panel;
    }

    int top(int column) const { return profile_.top(column); }
    double* column(int c) { return K_.column(c); }
    // g(j0−1−t, j) at [t] for a panel column j whose panel starts at j0.
    double* saved(const Panel& panel, int j) {
        return saved_.data() + static_cast<std::size_t>(j - panel.first) * stride_;
    }

    // Columns from `first` (at most `limit`, before `end`) that share its top
    // row: a block of such columns needs no products beyond a common range.
    int equalTops(int first, int end, int limit) const {
        int count = 1;
        while (count < limit && first + count < end && top(first + count) == top(first))
            ++count;
        return count;
    }

    // Step 1: rows above the panel. A chunk of rows k0..k1−1 is first finished
    // from its own rows (all rows above it have been applied already), then
    // applied to every row below it, for all own columns at once.
    void solveAbovePanel(const Panel& panel, int begin, int end) {
        if (begin >= end)
            return;
        int rowTop = panel.first;
        for (int j = begin; j < end; ++j)
            rowTop = std::min(rowTop, top(j));
        for (int k0 = rowTop; k0 < panel.first; k0 += kRowChunk) {
            const int k1 = std::min(panel.first, k0 + kRowChunk);
            for (int i = k0; i < k1;) {
                const int rows = equalTops(i, k1, kBlockRows);
                for (int g = begin; g < end;) {
                    const int columns = equalTops(g, end, kBlockColumns);
                    solveBlock(i, rows, g, columns, k0);
                    g += columns;
                }
                i += rows;
            }
            for (int i = k1; i < panel.first;) {
                const int rows = equalTops(i, panel.first, kBlockRows);
                for (int g = begin; g < end;) {
                    const int columns = equalTops(g, end, kBlockColumns);
                    applyChunk(i, rows, g, columns, k0, k1);
                    g += columns;
                }
                i += rows;
            }
        }
    }

    // Rows i..i+rows−1 of columns g..g+columns−1, each set with one top row,
    // from rows `from`..i−1, which are final.
    void solveBlock(int i, int rows, int g, int columns, int from) {
        if (top(g) > i)
            return solveEntries(i, rows, g, columns, from);
        const int common = std::max({top(i), top(g), from});
        const double* a[kBlockRows];
        const double* b[kBlockColumns];
        for (int r = 0; r < rows; ++r)
            a[r] = column(i + r) + (r + 1);
        for (int c = 0; c < columns; ++c)
            b[c] = column(g + c) + (g + c - i + 1);
        double sums[kBlockRows * kBlockColumns];
        blockDotsOfSize(rows, columns, a, b, i - common, sums);
        // Rows inside the block, each from the ones above it.
        for (int r = 0; r < rows; ++r) {
            const double* l = column(i + r);
            for (int c = 0; c < columns; ++c) {
                double* cj = column(g + c) + (g + c - i);
                double value = cj[-r] - sums[r * columns + c];
                for (int s = 0; s < r; ++s)
                    value -= l[r - s] * cj[-s];
                cj[-r] = value;
            }
        }
    }

    // The same block entry by entry, where the columns' top cuts into it.
    void solveEntries(int i, int rows, int g, int columns, int from) {
        for (int q = i; q < i + rows; ++q)
            for (int j = g; j < g + columns; ++j) {
                if (q < top(j))
                    continue;
                const int length = q - std::max({top(q), top(j), from});
                if (length > 0)
                    column(j)[j - q] -= dotProduct(column(q) + 1, column(j) + (j - q + 1), length);
            }
    }

    // Rows i..i+rows−1 (at or below k1) of columns g..g+columns−1 receive the
    // products over the finished rows k0..k1−1.
    void applyChunk(int i, int rows, int g, int columns, int k0, int k1) {
        const int common = std::max({top(i), top(g), k0});
        if (common >= k1)
            return;
        const double* a[kBlockRows];
        const double* b[kBlockColumns];
        for (int r = 0; r < rows; ++r)
            a[r] = column(i + r) + (i + r - k1 + 1);
        for (int c = 0; c < columns; ++c)
            b[c] = column(g + c) + (g + c - k1 + 1);
        double sums[kBlockRows * kBlockColumns];
        blockDotsOfSize(rows, columns, a, b, k1 - common, sums);
        for (int r = 0; r < rows; ++r)
            for (int c = 0; c < columns; ++c)
                column(g + c)[g + c - i - r] -= sums[r * columns + c];
    }

    // Step 2: L(k, j) = g(k, j)/D(k) for rows above the panel; g is kept.
    void divideAbovePanel(const Panel& panel, int begin, int end) {
        for (int j = begin; j < end; ++j) {
            double* cj = column(j);
            double* kept = saved(panel, j);
            double part = 0.0;
            for (int k = top(j); k < panel.first; ++k) {
                const double g = cj[j - k];
                const double l = g / column(k)[0];
                kept[panel.first - 1 - k] = g;
                cj[j - k] = l;
                if (l != 0.0)
                    part += g * l;
            }
            pivotParts_[static_cast<std::size_t>(j - panel.first)] = part;
        }
    }

    // Step 3: g(q, j) −= Σ L(k, q)·g(k, j) over rows k above the panel, for
    // panel rows q < j; any order, as these sums use finished rows only.
    void reduceInsidePanel(const Panel& panel, int begin, int end) {
        const int j0 = panel.first;
        for (int i = j0; i < end - 1;) {
            const int rows = equalTops(i, panel.end, kBlockRows);
            for (int g = begin; g < end;) {
                const int columns = equalTops(g, end, kBlockColumns);
                if (g + columns - 1 > i)
                    reduceInsideBlock(panel, i, rows, g, columns);
                g += columns;
            }
            i += rows;
        }
    }

    void reduceInsideBlock(const Panel& panel, int i, int rows, int g, int columns) {
        const int j0 = panel.first;
        const int common = std::min(j0, std::max(top(i), top(g)));
        // Both operands start at row j0−1: finished columns in place, the panel's saved g.
        const double* a[kBlockRows];
        const double* b[kBlockColumns];
        for (int r = 0; r < rows; ++r)
            a[r] = column(i + r) + (i + r - j0 + 1);
        for (int c = 0; c < columns; ++c)
            b[c] = saved(panel, g + c);
        double sums[kBlockRows * kBlockColumns];
        blockDotsOfSize(rows, columns, a, b, j0 - common, sums);
        for (int r = 0; r < rows; ++r)
            for (int c = 0; c < columns; ++c) {
                const int q = i + r;
                const int j = g + c;
                if (q < j && q >= top(j))
                    column(j)[j - q] -= sums[r * columns + c];
            }
    }

    // Step 4: the triangle inside the panel, the pivots and their test.
    std::optional<PivotFailure> finishPanel(const Panel& panel) {
        const int j0 = panel.first;
        for (int j = j0; j < panel.end; ++j) {
            double* cj = column(j);
            const int inside = std::max(j0, top(j));
            for (int q = inside; q < j; ++q) {
                const int length = q - std::max(inside, top(q));
                if (length > 0)
                    cj[j - q] -= dotProduct(column(q) + 1, cj + (j - q + 1), length);
            }
            const double original = cj[0];
            double pivot = original - pivotParts_[static_cast<std::size_t>(j - j0)];
            for (int q = inside; q < j; ++q) {
                const double g = cj[j - q];
                const double l = g / column(q)[0];
                cj[j - q] = l;
                if (l != 0.0)
                    pivot -= g * l;
            }
            cj[0] = pivot;
            if (auto failure = testPivot(j, pivot, original))
                return failure;
            if (*columnDone_)
                (*columnDone_)(j);
        }
        return std::nullopt;
    }

    SkylineMatrix& K_;
    const SkylineProfile& profile_;
    const int width_;
    const int threads_;
    const int stride_;
    std::vector<double> saved_;
    std::vector<double> pivotParts_;
    const std::function<void(int)>* columnDone_ = nullptr;
    TeamStop stop_;
};

} // namespace

std::optional<PivotFailure> factorizeInPanels(SkylineMatrix& K, const FactorizationOptions& options,
                                              const std::function<void(int)>& columnDone) {
    return PanelFactorization(K, options).run(columnDone);
}

} // namespace shellfem
