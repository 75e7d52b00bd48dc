// The skyline LDLᵀ on a sliding dense band window, for profiles close to a band.
//
// The columns that the coming panels still read are copied, finished, into a
// dense band store W (LAPACK's upper band layout: column j from row j − kd down
// to its diagonal, zeros above its top). A sub-block of W is then a plain
// column-major matrix with leading dimension kd, so that a panel of columns
// j0 ≤ j < j1 whose rows above it start at r0 is factorised at matrix–matrix
// speed by the BLAS, the panel's columns shared by two threads:
//   1. g(r0..j0−1, panel) = U⁻ᵀ·K(r0..j0−1, panel), U the unit upper triangle
//      of L over rows and columns r0..j0−1 (a triangular solve);
//   2. L = g/D for those rows, and H = g/√D in a dense buffer;
//   3. Lᵀ·g = Hᵀ·H (a symmetric rank update, D being positive) off the panel's
//      own triangle, its diagonal included;
//   4. the triangle inside the panel in narrow blocks of columns, each by
//      steps 1–3 over the blocks before it and then column by column with the
//      pivot test and the progress callback, as the panel kernel does;
// then the panel's columns go back to the skyline store, while the next panel
// is factorised. Entries above a column's top stay exact zeros, so the dense
// arithmetic gives the profile's result; it only pays where the window is not
// much larger than the profile.
#include "solver/band_window_ldlt.h"

#include "solver/blas_threads.h"
#include "solver/dot_kernels.h"
#include "solver/thread_team.h"

#include <cblas.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

namespace shellfem {

namespace {

using dots::dotProduct;

// Columns finished together inside a panel: small enough that their own
// triangle, done by inner products, is a small part of the panel's work.
constexpr int kBlockWidth = 16;
// Columns per triangular solve: wide enough for the BLAS's speed, narrow
// enough that their tops differ little.
constexpr int kSolveWidth = 96;

// For each j the lowest top of columns j..n−1: no panel from j on reads a row
// above it.
std::vector<int> lowestTopsFrom(const SkylineProfile& profile) {
    const int n = profile.equations();
    std::vector<int> lowest(static_cast<std::size_t>(n));
    int low = n;
    for (int j = n - 1; j >= 0; --j) {
        low = std::min(low, profile.top(j));
        lowest[static_cast<std::size_t>(j)] = low;
    }
    return lowest;
}

int panelRowTop(const SkylineProfile& profile, int first, int end) {
    int rowTop = first;
    for (int j = first; j < end; ++j)
        rowTop = std::min(rowTop, profile.top(j));
    return rowTop;
}

class BandWindowFactorization {
public:
    BandWindowFactorization(SkylineMatrix& K, const BandWindowPlan& plan, int threads)
        : K_(K), profile_(K.profile()), plan_(plan), kd_(plan.bandRows - 1),
          threads_(std::max(1, threads)), lowest_(lowestTopsFrom(profile_)),
          window_(static_cast<std::size_t>(plan.bandRows) *
                  static_cast<std::size_t>(plan.windowColumns)),
          kept_(static_cast<std::size_t>(std::max(plan.reach, plan.width)) *
                static_cast<std::size_t>(plan.width)),
          inverses_(static_cast<std::size_t>(std::max(plan.reach, plan.width))),
          rootInverses_(inverses_.size()), originals_(static_cast<std::size_t>(plan.width)) {}

    std::optional<PivotFailure> run(const std::function<void(int)>& columnDone) {
        columnDone_ = &columnDone;
        // The team shares each panel out; every BLAS call runs on its caller's thread.
        BlasThreads oneEach(1);
        runOnTeam(threads_, [this](int thread, ThreadTeam& team) { work(thread, team); });
        storePanel(storedEnd_, loadedEnd_);
        return stop_.outcome();
    }

private:
    // Every thread walks all panels; the barriers order the steps. The threads
    // share the panel's columns, and two of them its rank update; then thread 0
    // finishes the panel's triangle while thread 1 stores the panel before it.
    void work(int thread, ThreadTeam& team) {
        const int n = profile_.equations();
        for (int first = 0; first < n; first += plan_.width) {
            const int end = std::min(n, first + plan_.width);
            const int rowTop = panelRowTop(profile_, first, end);
            if (thread == 0) {
                makeRoom(first, end);
                scaleRows(rowTop, first);
                loadedEnd_ = end;
            }
            team.barrier.wait();
            const int own = first + (end - first) * thread / team.size;
            const int ownEnd = first + (end - first) * (thread + 1) / team.size;
            loadPanel(first, own, ownEnd);
            if (rowTop < first) {
                solveAbovePanel(rowTop, first, own, ownEnd);
                divideAbovePanel(rowTop, first, own, ownEnd);
            }
            team.barrier.wait();
            const int updaters = std::min(2, team.size);
            if (thread < updaters)
                reduceInsidePanel(rowTop, first, end, thread, updaters);
            team.barrier.wait();
            if (thread == 0) {
                stop_.run([&] { return finishPanel(first, end, *columnDone_); });
                if (team.size == 1)
                    storePanel(first, end);
            } else if (thread == 1) {
                storePanel(storedEnd_, first);
            }
            team.barrier.wait();
            // Read by thread 1 after the next panel's first barrier.
            if (thread == 0)
                storedEnd_ = team.size == 1 ? end : first;
            if (stop_.stopped())
                return;
        }
    }

    // Entry (i, j) of W, j − kd ≤ i ≤ j; the entries of a column are contiguous
    // downwards and a step to the next column is kd, so that (i, j) at
    // `entry(i, j)` starts a column-major matrix with leading dimension kd.
    double* entry(int i, int j) {
        return window_.data() + static_cast<std::size_t>(j - origin_) * plan_.bandRows +
               static_cast<std::size_t>(kd_ - (j - i));
    }

    // Drops the columns that no panel from `first` on reads and that are
    // stored, once the panel would run past the end of W.
    void makeRoom(int first, int end) {
        if (end - origin_ <= plan_.windowColumns)
            return;
        const int origin = std::min(lowest_[static_cast<std::size_t>(first)], storedEnd_);
        const std::size_t offset = static_cast<std::size_t>(origin - origin_) * plan_.bandRows;
        const std::size_t kept = static_cast<std::size_t>(first - origin) * plan_.bandRows;
        std::memmove(window_.data(), window_.data() + offset, kept * sizeof(double));
        origin_ = origin;
    }

    // Panel columns begin..end−1 from the skyline store, with zeros above their tops.
    void loadPanel(int first, int begin, int end) {
        for (int j = begin; j < end; ++j) {
            const int top = profile_.top(j);
            double* w = entry(j - kd_, j);
            std::fill(w, w + (top - (j - kd_)), 0.0);
            const double* c = K_.column(j);
            double* below = entry(top, j);
            for (int i = top; i <= j; ++i)
                below[i - top] = c[j - i];
            originals_[static_cast<std::size_t>(j - first)] = c[0];
        }
    }

    // Finished columns begin..end−1 back into the skyline store.
    void storePanel(int begin, int end) {
        for (int j = begin; j < end; ++j) {
            const int top = profile_.top(j);
            double* c = K_.column(j);
            const double* below = entry(top, j);
            for (int i = top; i <= j; ++i)
                c[j - i] = below[i - top];
        }
    }

    // Steps 1–3 on the calling thread for finished rows rowFrom..first−1 and
    // columns first..end−1: those rows of the columns become final, and the
    // rows below get their products.
    void applyFinishedRows(int rowFrom, int first, int end) {
        if (rowFrom >= first)
            return;
        scaleRows(rowFrom, first);
        solveAbovePanel(rowFrom, first, first, end);
        divideAbovePanel(rowFrom, first, first, end);
        reduceInsidePanel(rowFrom, first, end, 0, 1);
    }

    // 1/D and 1/√D of the finished rows rowTop..first−1.
    void scaleRows(int rowTop, int first) {
        for (int k = rowTop; k < first; ++k) {
            const double d = *entry(k, k);
            inverses_[static_cast<std::size_t>(k - rowTop)] = 1.0 / d;
            rootInverses_[static_cast<std::size_t>(k - rowTop)] = 1.0 / std::sqrt(d);
        }
    }

    // Step 1: g over rows rowTop..first−1 of columns begin..end−1 by triangular
    // solves with Uᵀ, in groups of columns that start from their own top row:
    // rows above a column's top are zeros, and solving them is work lost.
    void solveAbovePanel(int rowTop, int first, int begin, int end) {
        for (int group = begin; group < end; group += kSolveWidth) {
            const int groupEnd = std::min(end, group + kSolveWidth);
            const int from = std::max(rowTop, panelRowTop(profile_, group, groupEnd));
            if (from < first)
                cblas_dtrsm(CblasColMajor, CblasLeft, CblasUpper, CblasTrans, CblasUnit,
                            first - from, groupEnd - group, 1.0, entry(from, from), kd_,
                            entry(from, group), kd_);
        }
    }

    // Step 2: L = g/D for those rows, and H = g/√D kept column by column.
    void divideAbovePanel(int rowTop, int first, int begin, int end) {
        const int rows = first - rowTop;
        for (int j = begin; j < end; ++j) {
            double* column = entry(rowTop, j);
            double* h = kept(rowTop, first, j);
            for (int t = 0; t < rows; ++t) {
                const double g = column[t];
                column[t] = g * inverses_[static_cast<std::size_t>(t)];
                h[t] = g * rootInverses_[static_cast<std::size_t>(t)];
            }
        }
    }

    double* kept(int rowTop, int first, int j) {
        return kept_.data() + static_cast<std::size_t>(j - first) * (first - rowTop);
    }

    // Step 3: the panel's own triangle, diagonal included, loses Lᵀ·g = Hᵀ·H
    // over the rows above it: a symmetric rank update, as the pivots are
    // positive. Of `shares` threads, share 0 takes the columns up to `split`,
    // the last the others: the two parts take equal work at split = width/√2.
    void reduceInsidePanel(int rowTop, int first, int end, int share, int shares) {
        const int rows = first - rowTop;
        if (rows <= 0)
            return;
        const int split =
            shares == 1 ? end
                        : first + static_cast<int>(std::lround((end - first) / std::sqrt(2.0)));
        if (share == 0)
            cblas_dsyrk(CblasColMajor, CblasUpper, CblasTrans, split - first, rows, -1.0,
                        kept(rowTop, first, first), rows, 1.0, entry(first, first), kd_);
        if (share == shares - 1 && split < end) {
            cblas_dgemm(CblasColMajor, CblasTrans, CblasNoTrans, split - first, end - split, rows,
                        -1.0, kept(rowTop, first, first), rows, kept(rowTop, first, split), rows,
                        1.0, entry(first, split), kd_);
            cblas_dsyrk(CblasColMajor, CblasUpper, CblasTrans, end - split, rows, -1.0,
                        kept(rowTop, first, split), rows, 1.0, entry(split, split), kd_);
        }
    }

    // Step 4: the triangle inside the panel in narrower blocks of columns,
    // each taking the rows of the blocks before it by steps 1–3.
    std::optional<PivotFailure> finishPanel(int first, int end,
                                            const std::function<void(int)>& columnDone) {
        for (int blockFirst = first; blockFirst < end; blockFirst += kBlockWidth) {
            const int blockEnd = std::min(end, blockFirst + kBlockWidth);
            applyFinishedRows(std::max(first, panelRowTop(profile_, blockFirst, blockEnd)),
                              blockFirst, blockEnd);
            if (auto failure = finishBlock(first, blockFirst, blockEnd, columnDone))
                return failure;
        }
        return std::nullopt;
    }

    // The columns of one block from their own rows; the pivots and their test.
    std::optional<PivotFailure> finishBlock(int first, int blockFirst, int blockEnd,
                                            const std::function<void(int)>& columnDone) {
        for (int j = blockFirst; j < blockEnd; ++j) {
            const int inside = std::max(blockFirst, profile_.top(j));
            for (int q = inside; q < j; ++q) {
                const int from = std::max(inside, profile_.top(q));
                if (q > from)
                    *entry(q, j) -= dotProduct(entry(from, q), entry(from, j), q - from);
            }
            double pivot = *entry(j, j);
            for (int q = inside; q < j; ++q) {
                const double g = *entry(q, j);
                const double l = g / *entry(q, q);
                *entry(q, j) = l;
                if (l != 0.0)
                    pivot -= g * l;
            }
            *entry(j, j) = pivot;
            if (auto failure = testPivot(j, pivot, originals_[static_cast<std::size_t>(j - first)]))
                return failure;
            if (columnDone)
                columnDone(j);
        }
        return std::nullopt;
    }

    SkylineMatrix& K_;
    const SkylineProfile& profile_;
    const BandWindowPlan plan_;
    const int kd_;
    const int threads_;
    const std::vector<int> lowest_;
    // First equation held in W, and the ends of the columns loaded into it and
    // stored back from it.
    int origin_ = 0;
    int loadedEnd_ = 0;
    int storedEnd_ = 0;
    std::vector<double> window_;
    std::vector<double> kept_;
    std::vector<double> inverses_;
    std::vector<double> rootInverses_;
    std::vector<double> originals_;
    const std::function<void(int)>* columnDone_ = nullptr;
    TeamStop stop_;
};

} // namespace

BandWindowPlan planBandWindow(const SkylineProfile& profile, int width) {
    BandWindowPlan plan;
    plan.width = std::max(1, width);
    const int n = profile.equations();
    const std::vector<int> lowest = lowestTopsFrom(profile);
    for (int first = 0; first < n; first += plan.width) {
        const int end = std::min(n, first + plan.width);
        const int rowTop = panelRowTop(profile, first, end);
        const double rows = first - rowTop;
        const double columns = end - first;
        plan.reach = std::max(plan.reach, first - lowest[static_cast<std::size_t>(first)]);
        // The triangular solves, the rank update and the triangle inside.
        for (int group = first; group < end; group += kSolveWidth) {
            const int groupEnd = std::min(end, group + kSolveWidth);
            const double solved = first - std::max(rowTop, panelRowTop(profile, group, groupEnd));
            plan.flops += solved * solved * (groupEnd - group);
        }
        plan.flops += rows * columns * columns + columns * columns * columns / 3.0;
    }
    // Panel entries lie at most reach + width − 1 above their diagonal. A panel
    // reads at most ld columns of W, the panel before it among them (it is
    // stored while the next one is finished); W holds four times as many, so
    // that moving the columns still read costs a third of loading them.
    plan.bandRows = plan.reach + plan.width;
    plan.windowColumns = 4 * plan.bandRows;
    return plan;
}

double BandWindowPlan::bytes() const {
    return 8.0 * (static_cast<double>(bandRows) * windowColumns +
                  static_cast<double>(std::max(reach, width) + 1) * width +
                  static_cast<double>(width) * width);
}

bool bandWindowPays(const SkylineProfile& profile, const BandWindowPlan& plan) {
    // The profile's work is close to Σ height² flops. The window does 1.09
    // times that on a plate of N = 200 and 1.46 at N = 50, and 1.35, 2.8 and
    // 7.3 times on uniform bands of heights 400, 126 and 60; it ran 1.5–2.9
    // times as fast as the panel kernel on all of them but the smallest plate,
    // where the two are about even. Where a few tall columns widen it, its
    // work grows with the square of their height and the panels win.
    constexpr double kLargestWorkRatio = 3.0;
    constexpr double kLargestWindowBytes = 256.0 * (1 << 20);
    double flops = 0.0;
    for (int j = 0; j < profile.equations(); ++j) {
        const double height = j - profile.top(j);
        flops += height * height;
    }
    const double storeBytes = 8.0 * static_cast<double>(profile.entries());
    return plan.flops <= kLargestWorkRatio * flops &&
           plan.bytes() <= std::max(kLargestWindowBytes, storeBytes / 4.0);
}

std::optional<PivotFailure> factorizeOnBandWindow(SkylineMatrix& K, const BandWindowPlan& plan,
                                                  int threads,
                                                  const std::function<void(int)>& columnDone) {
    return BandWindowFactorization(K, plan, threads).run(columnDone);
}

} // namespace shellfem
