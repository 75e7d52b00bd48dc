// The skyline LDLᵀ on a sliding dense band window, for profiles close to a band.
//
// The columns that the coming panels still update are held, with zeros above
// their tops, in a dense band store W (LAPACK's upper band layout: column j from
// row j − kd down to its diagonal). A sub-block of W is then a plain
// column-major matrix with leading dimension kd, so that the BLAS works on it.
// The factorisation looks to the right: for each panel P of columns
// first ≤ j < end whose own triangle is factorised, and R the columns after it
// that reach into its rows (the next panel's columns among them),
//   1. G = U⁻ᵀ·K(P, R), U the unit upper triangle of L inside the panel; then
//      L(P, R) = G/D and H = G/√D in a dense buffer;
//   2. K(R, R) loses Hᵀ·H over its upper triangle (a symmetric rank update, D
//      being positive).
// Both steps go in blocks of columns of R that the threads take in turn. The
// block of the next panel's own columns is updated first, so that thread 0
// factorises that panel's triangle (column by column, with the pivot test and
// the progress callback) while the others update the rest of R. A panel's
// columns are final after step 1 and go back to the skyline store.
// Entries above a column's top are loaded as zeros and stay exact zeros, as
// the rows of G above a column's top are zeros; so the dense arithmetic gives
// the profile's result, and each block skips the rows above its lowest top.
//
// Step 1 multiplies by U⁻¹, inverted once per panel, rather than solving with
// U: the BLAS's triangular product runs 2.5–2.8 times as fast as its
// triangular solve at a panel's sizes, and where the solve took a third of the
// time the product takes a sixth. U is unit triangular and no larger than a
// panel; on the verification models the displacements agree with those of
// the sparse path as closely with the product as with the solve.
#include "solver/band_window_ldlt.h"

#include "solver/blas_threads.h"
#include "solver/dot_kernels.h"
#include "solver/thread_team.h"

#include <cblas.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstring>
#include <vector>

extern "C" void dtrtri_(const char* uplo, const char* diag, const int* n, double* a, const int* lda,
                        int* info);

namespace shellfem {

namespace {

using dots::dotProduct;

// Columns of a panel's triangle finished together by inner products: small
// enough that their own triangle is a small part of the panel's work.
constexpr int kBlockWidth = 16;
// Columns per block of steps 1 and 2 beyond the next panel: wide enough for
// the BLAS's speed, narrow enough that their tops differ little and that the
// threads share the blocks evenly.
constexpr int kChunkWidth = 96;

// The lowest top of columns first..end−1, first ≤ end.
int lowestTop(const SkylineProfile& profile, int first, int end) {
    int top = first;
    for (int j = first; j < end; ++j)
        top = std::min(top, profile.top(j));
    return top;
}

struct ColumnRange {
    int begin;
    int end;
};

// A panel's columns first..end−1, the next panel's end, and the end of the
// columns that the panel updates: past every column whose top lies in a panel
// up to this one, and past the next panel.
struct Panel {
    int first;
    int end;
    int next;
    int span;

    // Blocks of the columns end..span−1: the next panel's columns, then
    // kChunkWidth at a time.
    int blocks() const {
        return next > end ? 1 + (span - next + kChunkWidth - 1) / kChunkWidth : 0;
    }
    ColumnRange block(int b) const {
        if (b == 0)
            return {end, next};
        const int begin = next + (b - 1) * kChunkWidth;
        return {begin, std::min(span, begin + kChunkWidth)};
    }
};

// The panels of a profile in order, each with the columns that it updates.
class PanelSequence {
public:
    PanelSequence(const SkylineProfile& profile, int width)
        : n_(profile.equations()), width_(width),
          spans_(static_cast<std::size_t>((n_ + width - 1) / width), 0) {
        for (int j = 0; j < n_; ++j) {
            int& span = spans_[static_cast<std::size_t>(profile.top(j) / width)];
            span = std::max(span, j + 1);
        }
        int reach = 0;
        for (std::size_t p = 0; p < spans_.size(); ++p) {
            reach = std::max(reach, spans_[p]);
            spans_[p] = reach;
        }
    }

    Panel at(int first) const {
        const int end = std::min(n_, first + width_);
        const int next = std::min(n_, end + width_);
        return {first, end, next, std::max(next, spans_[static_cast<std::size_t>(first / width_)])};
    }

private:
    int n_;
    int width_;
    std::vector<int> spans_;
};

class BandWindowFactorization {
public:
    BandWindowFactorization(SkylineMatrix& K, const BandWindowPlan& plan, int threads)
        : K_(K), profile_(K.profile()), plan_(plan), kd_(plan.bandRows - 1),
          threads_(std::max(1, threads)), panels_(profile_, plan.width),
          window_(static_cast<std::size_t>(plan.bandRows) *
                  static_cast<std::size_t>(plan.windowColumns)),
          h_(static_cast<std::size_t>(plan.width) * static_cast<std::size_t>(plan.bandRows)),
          inverses_(static_cast<std::size_t>(plan.width)), rootInverses_(inverses_.size()),
          blockH_(static_cast<std::size_t>(plan.width) * kBlockWidth),
          unitInverse_(static_cast<std::size_t>(plan.width) *
                       static_cast<std::size_t>(plan.width)) {}

    std::optional<PivotFailure> run(const std::function<void(int)>& columnDone) {
        if (profile_.equations() == 0)
            return std::nullopt;
        columnDone_ = &columnDone;
        // The team shares each panel out; every BLAS call runs on its caller's thread.
        BlasThreads oneEach(1);
        runOnTeam(threads_, [this](int thread, ThreadTeam& team) { work(thread, team); });
        storeColumns(storedEnd_, loadedEnd_);
        return stop_.outcome();
    }

private:
    // Every thread walks all panels; the barriers order the steps.
    void work(int thread, ThreadTeam& team) {
        const int n = profile_.equations();
        if (thread == 0) {
            const Panel first = panels_.at(0);
            loadColumns(0, first.end);
            loadedEnd_ = first.end;
            stop_.run([&] { return factorizeTriangle(first.first, first.end); });
        }
        team.barrier.wait();
        for (int first = 0; first < n && !stop_.stopped(); first += plan_.width) {
            const Panel panel = panels_.at(first);
            const int blocks = panel.blocks();
            if (thread == 0) {
                makeRoom(panel);
                nextForRows_ = 0;
                nextForUpdate_ = 1;
            }
            team.barrier.wait();
            for (int b; (b = nextForRows_.fetch_add(1)) < blocks;)
                computePanelRows(panel, panel.block(b));
            team.barrier.wait();
            if (thread == 0 && blocks > 0) {
                updateBlock(panel, panel.block(0));
                stop_.run([&] { return factorizeTriangle(panel.end, panel.next); });
            }
            if (thread == std::min(1, team.size - 1))
                storeColumns(panel.first, panel.end);
            // The widest blocks first, so that the threads end together.
            for (int b; (b = nextForUpdate_.fetch_add(1)) < blocks;)
                updateBlock(panel, panel.block(blocks - b));
            team.barrier.wait();
            // Read by the other threads after the next panel's first barrier.
            if (thread == 0) {
                storedEnd_ = panel.end;
                loadedEnd_ = std::max(loadedEnd_, panel.span);
            }
        }
    }

    // Entry (i, j) of W, j − kd ≤ i ≤ j; the entries of a column are contiguous
    // downwards and a step to the next column is kd, so that (i, j) at
    // `entry(i, j)` starts a column-major matrix with leading dimension kd.
    double* entry(int i, int j) {
        return window_.data() + static_cast<std::size_t>(j - origin_) * plan_.bandRows +
               static_cast<std::size_t>(kd_ - (j - i));
    }

    // Column j of H, a row for each of the panel's rows.
    double* hColumn(const Panel& panel, int j) {
        return h_.data() + static_cast<std::size_t>(j - panel.end) * plan_.width;
    }

    // Drops the columns before the panel, all stored, once its columns would
    // run past the end of W.
    void makeRoom(const Panel& panel) {
        if (panel.span - origin_ <= plan_.windowColumns)
            return;
        const std::size_t offset = static_cast<std::size_t>(panel.first - origin_) * plan_.bandRows;
        const std::size_t kept =
            static_cast<std::size_t>(loadedEnd_ - panel.first) * plan_.bandRows;
        std::memmove(window_.data(), window_.data() + offset, kept * sizeof(double));
        origin_ = panel.first;
    }

    // Columns begin..end−1 from the skyline store, with zeros above their tops.
    void loadColumns(int begin, int end) {
        for (int j = begin; j < end; ++j) {
            const int top = profile_.top(j);
            double* w = entry(j - kd_, j);
            std::fill(w, w + (top - (j - kd_)), 0.0);
            const double* c = K_.column(j);
            double* below = entry(top, j);
            for (int i = top; i <= j; ++i)
                below[i - top] = c[j - i];
        }
    }

    // Finished columns begin..end−1 back into the skyline store.
    void storeColumns(int begin, int end) {
        for (int j = begin; j < end; ++j) {
            const int top = profile_.top(j);
            double* c = K_.column(j);
            const double* below = entry(top, j);
            for (int i = top; i <= j; ++i)
                c[j - i] = below[i - top];
        }
    }

    // Step 1 for some columns of R, loading those not yet in W: the product
    // from their lowest top, then L and H for all rows of the panel.
    void computePanelRows(const Panel& panel, ColumnRange columns) {
        loadColumns(std::max(columns.begin, loadedEnd_), columns.end);
        const int from = std::max(panel.first, lowestTop(profile_, columns.begin, columns.end));
        if (from < panel.end)
            cblas_dtrmm(CblasColMajor, CblasLeft, CblasUpper, CblasTrans, CblasUnit,
                        panel.end - from, columns.end - columns.begin, 1.0,
                        inverseFrom(panel, from), plan_.width, entry(from, columns.begin), kd_);
        const int rows = panel.end - panel.first;
        for (int j = columns.begin; j < columns.end; ++j) {
            double* column = entry(panel.first, j);
            double* h = hColumn(panel, j);
            for (int t = 0; t < rows; ++t) {
                const double g = column[t];
                column[t] = g * inverses_[static_cast<std::size_t>(t)];
                h[t] = g * rootInverses_[static_cast<std::size_t>(t)];
            }
        }
    }

    // Step 2 for some columns of R: the rows from their lowest top (or the
    // panel's end) lose Hᵀ·H over the panel's rows from that top.
    void updateBlock(const Panel& panel, ColumnRange columns) {
        const int lowest = lowestTop(profile_, columns.begin, columns.end);
        const int from = std::max(panel.first, lowest);
        if (from >= panel.end)
            return;
        const int rowFrom = std::max(panel.end, lowest);
        const int depth = panel.end - from;
        const int width = columns.end - columns.begin;
        const std::size_t offset = static_cast<std::size_t>(from - panel.first);
        const double* hBlock = hColumn(panel, columns.begin) + offset;
        if (rowFrom < columns.begin)
            cblas_dgemm(CblasColMajor, CblasTrans, CblasNoTrans, columns.begin - rowFrom, width,
                        depth, -1.0, hColumn(panel, rowFrom) + offset, plan_.width, hBlock,
                        plan_.width, 1.0, entry(rowFrom, columns.begin), kd_);
        cblas_dsyrk(CblasColMajor, CblasUpper, CblasTrans, width, depth, -1.0, hBlock, plan_.width,
                    1.0, entry(columns.begin, columns.begin), kd_);
    }

    // The triangle of a panel whose columns have all rows above it, in
    // narrower blocks of columns, each taking the rows of the blocks before it
    // by steps 1 and 2 with the 1/D and 1/√D kept of its finished rows; then
    // U⁻¹ of its rows for step 1.
    std::optional<PivotFailure> factorizeTriangle(int first, int end) {
        for (int blockFirst = first; blockFirst < end; blockFirst += kBlockWidth) {
            const int blockEnd = std::min(end, blockFirst + kBlockWidth);
            applyRowsAbove(first, std::max(first, lowestTop(profile_, blockFirst, blockEnd)),
                           blockFirst, blockEnd);
            if (auto failure = finishBlock(blockFirst, blockEnd))
                return failure;
            keepScales(first, blockFirst, blockEnd);
        }
        invertUnitTriangle(first, end);
        return std::nullopt;
    }

    // U⁻¹ of the panel's rows and columns first..end−1, upper triangle only,
    // with leading dimension `width`; its trailing blocks are the inverses of
    // U's trailing blocks.
    void invertUnitTriangle(int first, int end) {
        const int order = end - first;
        const int ld = plan_.width;
        for (int j = 0; j < order; ++j)
            std::copy(entry(first, first + j), entry(first + j, first + j) + 1,
                      unitInverse_.data() + static_cast<std::size_t>(j) * ld);
        int info = 0;
        dtrtri_("U", "U", &order, unitInverse_.data(), &ld, &info);
    }

    const double* inverseFrom(const Panel& panel, int from) const {
        const std::size_t k = static_cast<std::size_t>(from - panel.first);
        return unitInverse_.data() + k * static_cast<std::size_t>(plan_.width) + k;
    }

    // 1/D and 1/√D of the finished rows begin..end−1 of the panel starting at
    // `panelFirst`.
    void keepScales(int panelFirst, int begin, int end) {
        for (int k = begin; k < end; ++k) {
            const double d = *entry(k, k);
            inverses_[static_cast<std::size_t>(k - panelFirst)] = 1.0 / d;
            rootInverses_[static_cast<std::size_t>(k - panelFirst)] = 1.0 / std::sqrt(d);
        }
    }

    // Steps 1 and 2 for the finished rows rowFrom..first−1 of the panel
    // starting at `panelFirst` and the columns first..end−1 of one of its blocks.
    void applyRowsAbove(int panelFirst, int rowFrom, int first, int end) {
        const int rows = first - rowFrom;
        if (rows <= 0)
            return;
        const int columns = end - first;
        cblas_dtrsm(CblasColMajor, CblasLeft, CblasUpper, CblasTrans, CblasUnit, rows, columns, 1.0,
                    entry(rowFrom, rowFrom), kd_, entry(rowFrom, first), kd_);
        for (int j = first; j < end; ++j) {
            double* column = entry(rowFrom, j);
            double* h = blockH_.data() + static_cast<std::size_t>(j - first) * rows;
            const std::size_t scale = static_cast<std::size_t>(rowFrom - panelFirst);
            for (int t = 0; t < rows; ++t) {
                const double g = column[t];
                column[t] = g * inverses_[scale + static_cast<std::size_t>(t)];
                h[t] = g * rootInverses_[scale + static_cast<std::size_t>(t)];
            }
        }
        cblas_dsyrk(CblasColMajor, CblasUpper, CblasTrans, columns, rows, -1.0, blockH_.data(),
                    rows, 1.0, entry(first, first), kd_);
    }

    // The columns of one block from their own rows; the pivots and their test
    // against the diagonal still in the skyline store.
    std::optional<PivotFailure> finishBlock(int blockFirst, int blockEnd) {
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
            if (auto failure = testPivot(j, pivot, K_.column(j)[0]))
                return failure;
            if (*columnDone_)
                (*columnDone_)(j);
        }
        return std::nullopt;
    }

    SkylineMatrix& K_;
    const SkylineProfile& profile_;
    const BandWindowPlan plan_;
    const int kd_;
    const int threads_;
    const PanelSequence panels_;
    // First equation held in W, and the ends of the columns loaded into it and
    // stored back from it.
    int origin_ = 0;
    int loadedEnd_ = 0;
    int storedEnd_ = 0;
    std::vector<double> window_;
    // H of the current panel, a column of panel rows for each column of R.
    std::vector<double> h_;
    // 1/D and 1/√D of the current panel's rows.
    std::vector<double> inverses_;
    std::vector<double> rootInverses_;
    // H of the rows above a block inside the triangle being factorised.
    std::vector<double> blockH_;
    // U⁻¹ of the current panel.
    std::vector<double> unitInverse_;
    std::atomic<int> nextForRows_{0};
    std::atomic<int> nextForUpdate_{0};
    const std::function<void(int)>* columnDone_ = nullptr;
    TeamStop stop_;
};

} // namespace

BandWindowPlan planBandWindow(const SkylineProfile& profile, int width) {
    BandWindowPlan plan;
    const int n = profile.equations();
    plan.width = std::clamp(width, 1, std::max(1, n));
    const PanelSequence panels(profile, plan.width);
    for (int first = 0; first < n; first += plan.width) {
        const Panel panel = panels.at(first);
        plan.bandRows = std::max(plan.bandRows, panel.span - panel.first);
        const double columns = panel.end - panel.first;
        plan.flops += columns * columns * columns / 3.0;
        for (int b = 0; b < panel.blocks(); ++b) {
            const ColumnRange block = panel.block(b);
            const int lowest = lowestTop(profile, block.begin, block.end);
            const double depth = panel.end - std::max(panel.first, lowest);
            if (depth <= 0)
                continue;
            const double blockWidth = block.end - block.begin;
            const double above = block.begin - std::max(panel.end, lowest);
            plan.flops +=
                depth * depth * blockWidth + depth * blockWidth * (2.0 * above + blockWidth + 1.0);
        }
    }
    // W holds four times the columns that a panel updates (but no more than
    // there are), so that moving the columns still needed costs a third of
    // loading them.
    plan.windowColumns = std::max(plan.bandRows, std::min(n, 4 * plan.bandRows));
    return plan;
}

double BandWindowPlan::bytes() const {
    return 8.0 * (static_cast<double>(bandRows) * windowColumns +
                  static_cast<double>(width) * (bandRows + kBlockWidth + 2));
}
bool bandWindowPays(const SkylineProfile& profile, const BandWindowPlan& plan) {
    // The profile's work is close to Σ height² flops; the window's is 1.12
    // times that on a plate of N = 100 and 1.26 at N = 50, and 1.22 and 1.52
    // on uniform bands of heights 400 and 250. The window's rank updates are
    // as deep as a panel is wide, so it needs columns well above that width:
    // on plates the panel kernel is as fast up to N ≈ 75 (an rms height of
    // 450 rows at 192 columns a panel), and the window runs 1.16 times as fast
    // at N = 100, 1.7 times at N = 200; on uniform bands it wins from a height
    // of about 280. Where a few tall columns widen it, it holds those columns'
    // height squared, eight times the store and more, and loses badly.
    constexpr double kLargestWorkRatio = 3.0;
    constexpr double kSmallestHeightPerWidth = 2.0;
    constexpr double kAlwaysAllowedBytes = 64.0 * (1 << 20);
    const int n = profile.equations();
    double flops = 0.0;
    for (int j = 0; j < n; ++j) {
        const double height = j - profile.top(j);
        flops += height * height;
    }
    const double rmsHeight = n > 0 ? std::sqrt(flops / n) : 0.0;
    const double storeBytes = 8.0 * static_cast<double>(profile.entries());
    return plan.flops <= kLargestWorkRatio * flops &&
           rmsHeight >= kSmallestHeightPerWidth * plan.width &&
           plan.bytes() <= std::max(kAlwaysAllowedBytes, storeBytes / 4.0);
}

std::optional<PivotFailure> factorizeOnBandWindow(SkylineMatrix& K, const BandWindowPlan& plan,
                                                  int threads,
                                                  const std::function<void(int)>& columnDone) {
    return BandWindowFactorization(K, plan, threads).run(columnDone);
}

} // namespace shellfem
