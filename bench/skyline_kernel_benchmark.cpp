// Times the skyline factorisation alone on the profile of an N × N plate of
// four-node shells, 6 DOF per node, nodes numbered row by row:
//   skyline_kernel_benchmark [--kernel panels|window] [--width W] [--window-width W]
//                            [--threads T] [--columnwise-up-to N] [N ...]
// (default sizes 50 100 200; the column-by-column reference runs up to N = 100
// unless told otherwise, as it takes some twenty seconds at 200). Prints for
// each the seconds and GFlop/s of the panel factorisation and of the reference.
#include "platform/stopwatch.h"
#include "solver/band_window_ldlt.h"
#include "solver/ldlt_solver.h"

#include <array>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

namespace {

using shellfem::FactorizationOptions;
using shellfem::SkylineMatrix;
using shellfem::SkylineProfile;

constexpr int kDofsPerNode = 6;

SkylineProfile plateProfile(int n) {
    const int nodesPerRow = n + 1;
    SkylineProfile profile(kDofsPerNode * nodesPerRow * nodesPerRow);
    for (int row = 0; row < n; ++row)
        for (int col = 0; col < n; ++col) {
            const int first = row * nodesPerRow + col;
            const std::array<int, 4> nodes{first, first + 1, first + nodesPerRow + 1,
                                           first + nodesPerRow};
            std::array<int, 4 * kDofsPerNode> equations{};
            for (int k = 0; k < 4; ++k)
                for (int d = 0; d < kDofsPerNode; ++d)
                    equations[static_cast<std::size_t>(k * kDofsPerNode + d)] =
                        nodes[static_cast<std::size_t>(k)] * kDofsPerNode + d;
            profile.addCoupling(equations);
        }
    profile.finish();
    return profile;
}

// Entries in (−0.5, 0.5) from a cheap hash of their place, each diagonal above
// its row's and column's off-diagonal sum: symmetric positive definite.
void fillDominant(SkylineMatrix& K) {
    const SkylineProfile& profile = K.profile();
    std::vector<double> offDiagonal(static_cast<std::size_t>(profile.equations()), 0.0);
    for (int c = 0; c < profile.equations(); ++c) {
        double* column = K.column(c);
        for (int r = profile.top(c); r < c; ++r) {
            const unsigned hash =
                static_cast<unsigned>(r) * 2654435761u ^ static_cast<unsigned>(c) * 40503u;
            const double value = (hash % 1000003u) / 1000003.0 - 0.5;
            column[c - r] = value;
            offDiagonal[static_cast<std::size_t>(r)] += std::abs(value);
            offDiagonal[static_cast<std::size_t>(c)] += std::abs(value);
        }
    }
    for (int c = 0; c < profile.equations(); ++c)
        K.column(c)[0] = offDiagonal[static_cast<std::size_t>(c)] + 1.0;
}

// Σ log D, the same for both factorisations to round-off.
double logDeterminant(const SkylineMatrix& K) {
    double sum = 0.0;
    for (int c = 0; c < K.equations(); ++c)
        sum += std::log(K.column(c)[0]);
    return sum;
}

struct Timing {
    double seconds = 0.0;
    double logDeterminant = 0.0;
};

template <typename Factorize> Timing timeFactorization(SkylineMatrix& K, Factorize factorize) {
    fillDominant(K);
    shellfem::platform::Stopwatch clock;
    const auto failure = factorize(K);
    Timing timing{clock.seconds(), logDeterminant(K)};
    if (failure)
        std::printf("  pivot failure at equation %d\n", failure->equation);
    return timing;
}

void report(const char* name, const Timing& timing, double flops, const Timing* reference) {
    std::printf("  %-11s %8.3f s  %6.2f GFlop/s  log det %.12g", name, timing.seconds,
                flops / timing.seconds / 1e9, timing.logDeterminant);
    if (reference)
        std::printf("  %.2f× the column-wise rate", reference->seconds / timing.seconds);
    std::printf("\n");
    std::fflush(stdout);
}

std::optional<shellfem::SkylineKernel> kernelNamed(const char* name) {
    if (std::strcmp(name, "panels") == 0)
        return shellfem::SkylineKernel::Panels;
    if (std::strcmp(name, "window") == 0)
        return shellfem::SkylineKernel::BandWindow;
    return std::nullopt;
}

// The kernel that factorizeLDLT takes with these options.
const char* kernelName(const SkylineProfile& profile, const FactorizationOptions& options) {
    const bool window = options.kernel == shellfem::SkylineKernel::BandWindow ||
                        (options.kernel == shellfem::SkylineKernel::Automatic &&
                         shellfem::bandWindowPays(
                             profile, shellfem::planBandWindow(profile, options.windowPanelWidth)));
    return window ? "band window" : "panels";
}

void benchmark(int n, const FactorizationOptions& options, bool withColumnwise) {
    const SkylineProfile profile = plateProfile(n);
    const double flops = shellfem::factorizationFlops(profile);
    std::printf("N=%d  equations=%d  entries=%lld (%.2f GB)  %.3e flop  panel %d, %d threads\n", n,
                profile.equations(), static_cast<long long>(profile.entries()),
                static_cast<double>(profile.entries()) * 8.0 / (1 << 30), flops, options.panelWidth,
                options.threads);
    std::fflush(stdout);
    SkylineMatrix K(profile);
    const Timing blocked =
        timeFactorization(K, [&](SkylineMatrix& M) { return shellfem::factorizeLDLT(M, options); });
    if (!withColumnwise) {
        report(kernelName(profile, options), blocked, flops, nullptr);
        return;
    }
    const Timing columnwise =
        timeFactorization(K, [](SkylineMatrix& M) { return shellfem::factorizeLDLTColumnwise(M); });
    report(kernelName(profile, options), blocked, flops, &columnwise);
    report("column-wise", columnwise, flops, nullptr);
}

} // namespace

int main(int argc, char** argv) {
    FactorizationOptions options;
    int columnwiseUpTo = 100;
    std::vector<int> sizes;
    for (int i = 1; i < argc; ++i) {
        const bool hasValue = i + 1 < argc;
        if (std::strcmp(argv[i], "--width") == 0 && hasValue)
            options.panelWidth = std::atoi(argv[++i]);
        else if (std::strcmp(argv[i], "--window-width") == 0 && hasValue)
            options.windowPanelWidth = std::atoi(argv[++i]);
        else if (std::strcmp(argv[i], "--kernel") == 0 && hasValue && kernelNamed(argv[i + 1]))
            options.kernel = *kernelNamed(argv[++i]);
        else if (std::strcmp(argv[i], "--threads") == 0 && hasValue)
            options.threads = std::atoi(argv[++i]);
        else if (std::strcmp(argv[i], "--columnwise-up-to") == 0 && hasValue)
            columnwiseUpTo = std::atoi(argv[++i]);
        else if (std::atoi(argv[i]) > 0)
            sizes.push_back(std::atoi(argv[i]));
        else {
            std::fprintf(stderr, "skyline_kernel_benchmark: unknown argument \"%s\"\n", argv[i]);
            return 2;
        }
    }
    if (sizes.empty())
        sizes = {50, 100, 200};
    for (int n : sizes)
        benchmark(n, options, n <= columnwiseUpTo);
    return 0;
}
