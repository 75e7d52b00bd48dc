#pragma once

#include "solver/ldlt_solver.h"

#include <exception>

namespace shellfem {

// How a profile maps onto the sliding band window of factorizeOnBandWindow.
struct BandWindowPlan {
    // Columns per panel.
    int width = 1;
    // Rows per column of the band window (its kd + 1): at least the columns
    // from any panel's first to the last one it updates. And its columns.
    int bandRows = 1;
    int windowColumns = 1;
    // Multiply-adds counted twice, zeros inside the window included.
    double flops = 0.0;

    // Working memory besides the skyline store.
    double bytes() const;
};

BandWindowPlan planBandWindow(const SkylineProfile& profile, int width);

// Whether the window's dense work and memory stay close enough to the
// profile's own for the BLAS's speed to win.
bool bandWindowPays(const SkylineProfile& profile, const BandWindowPlan& plan);

// factorizeLDLT on the band window, its steps shared by `threads` threads that
// each call the BLAS on one thread.
std::optional<PivotFailure> factorizeOnBandWindow(SkylineMatrix& K, const BandWindowPlan& plan,
                                                  int threads,
                                                  const std::function<void(int)>& columnDone);

// How thread 0 of a kernel's team ends the factorisation early, with a pivot
// that fails its test or an exception of the progress callback; the other
// threads read it after the next barrier.
class TeamStop {
public:
    // Runs `step`, which returns a failing pivot or none, and keeps its end.
    template <typename Step> void run(Step step) {
        try {
            failure_ = step();
        } catch (...) {
            error_ = std::current_exception();
        }
        stopped_ = failure_ || error_;
    }
    bool stopped() const { return stopped_; }
    // The failing pivot, or the exception thrown again.
    std::optional<PivotFailure> outcome() const {
        if (error_)
            std::rethrow_exception(error_);
        return failure_;
    }

private:
    std::optional<PivotFailure> failure_;
    std::exception_ptr error_;
    bool stopped_ = false;
};

// The panel kernel of blocked_ldlt.cpp, for any profile.
std::optional<PivotFailure> factorizeInPanels(SkylineMatrix& K, const FactorizationOptions& options,
                                              const std::function<void(int)>& columnDone);

} // namespace shellfem
