// Times the solver's phases on an N × N clamped square plate under pressure, on
// both solution methods, beside the plain scalar skyline factorisation:
//   solver_benchmark [--large] [--no-reference] [--only skyline|sparse] [N ...]
//       (default 50 100 200 300; --large adds 500)
//   solver_benchmark --write-model N FILE   (the same plate as a solving file)
// For each method and phase: seconds; for the factorisation also memory, flops
// and rate; then the method the automatic choice takes and where the two
// methods' times cross. A method whose store does not fit in memory is left out.
#include "examples/generator/plate_model.h"
#include "formats/stress_file.h"
#include "platform/stopwatch.h"
#include "solver/dxf_drawing.h"
#include "solver/ldlt_solver.h"
#include "solver/result_files.h"
#include "solver/skyline_solver.h"
#include "solver/static_analysis.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include <unistd.h>

namespace {

using shellfem::MethodRequest;
using shellfem::SolutionMethod;
using shellfem::platform::Stopwatch;

// The old columnwise kernel, kept as the yardstick of the skyline's speed.
const auto referenceFactorization = [](shellfem::SkylineMatrix& K) {
    return shellfem::factorizeLDLTColumnwise(K);
};

shellfem::SolvingModel clampedPlate(int n) {
    shellfem::PlateOptions options;
    options.nx = options.ny = n;
    options.pressure = -1000.0;
    options.support = shellfem::PlateOptions::Support::Clamped;
    return shellfem::makeRectangularPlate(options);
}

double timed(const std::function<void()>& phase) {
    Stopwatch clock;
    phase();
    return clock.seconds();
}

void writeAll(const std::filesystem::path& folder, const shellfem::SolvingModel& model,
              const shellfem::StaticAnalysis& analysis) {
    auto open = [&](const char* name) { return std::ofstream(folder / name, std::ios::binary); };
    const auto& u = analysis.displacements();
    auto nodeFile = open("Node_Dis.txt");
    shellfem::writeNodeDisplacements(nodeFile, u);
    auto dxf = open("deformation.dxf");
    shellfem::writeMeshDxf(dxf, model, &u, shellfem::deformationScale(model, u));
    auto table = open("Elem_Node_Stress.txt");
    shellfem::writeStressTable(table, model, analysis.elementStresses());
    auto averageTable = open("Elem_Node_AverageStress.txt");
    shellfem::writeStressTable(averageTable, model, analysis.averagedStresses());
    const auto elementContour = shellfem::contourModel(model, analysis.elementStresses());
    const auto averageContour = shellfem::contourModel(model, analysis.averagedStresses());
    for (const char* name :
         {"Elem_Node_AverageStrs_InContourFormat.txt", "Shell_AverageStrs.txt"}) {
        auto file = open(name);
        shellfem::writeContourFile(file, averageContour);
    }
    auto file = open("Elem_Node_Strs_InContourFormat.txt");
    shellfem::writeContourFile(file, elementContour);
}

struct PathRun {
    bool ran = false;
    double factorSeconds = 0.0;
    double totalSeconds = 0.0;
};

PathRun runPath(const shellfem::SolvingModel& model, MethodRequest request,
                const std::filesystem::path& folder) {
    const char* name = request == MethodRequest::Skyline ? "skyline" : "sparse";
    shellfem::StaticAnalysis analysis(model);
    std::vector<std::pair<std::string, double>> phases;
    shellfem::Outcome set;
    phases.emplace_back(request == MethodRequest::Skyline ? "profile" : "order+analyse",
                        timed([&] { set = analysis.setUp(request); }));
    if (!set.ok() || analysis.solver().storeBytes() > shellfem::usableMemoryBytes()) {
        std::printf("  %-8s needs %.3f GB: left out\n", name,
                    analysis.solver().storeBytes() / (1 << 30));
        return {};
    }
    const shellfem::SolutionCost cost = analysis.solver().cost();
    phases.emplace_back("allocate", timed([&] { analysis.allocateMatrix(); }));
    phases.emplace_back("assemble", timed([&] { analysis.assemble(); }));
    phases.emplace_back("loads", timed([&] { analysis.formLoads(); }));
    shellfem::Outcome factorized;
    const double factorSeconds = timed([&] { factorized = analysis.factorize(); });
    phases.emplace_back("factorize", factorSeconds);
    if (!factorized.ok()) {
        std::printf("  %s: %s\n", name, factorized.message.c_str());
        return {};
    }
    phases.emplace_back("substitute", timed([&] { analysis.substitute(); }));
    analysis.releaseMatrix();
    phases.emplace_back("stresses", timed([&] { analysis.recoverStresses(); }));
    phases.emplace_back("write files", timed([&] { writeAll(folder, model, analysis); }));

    std::printf("  %-8s memory %.3f GB, %.3e flop\n", name, cost.bytes / (1 << 30), cost.flops);
    double total = 0.0;
    double around = 0.0;
    for (const auto& [phase, seconds] : phases) {
        std::printf("    %-14s %9.3f s", phase.c_str(), seconds);
        if (phase == "factorize")
            std::printf("   %.2f GFlop/s", cost.flops / seconds / 1e9);
        std::printf("\n");
        total += seconds;
        if (phase != "factorize" && phase != "substitute" && phase != phases.front().first)
            around += seconds;
    }
    std::printf("    %-14s %9.3f s   (allocate, assemble, loads, stresses, files: %.3f s = "
                "%.2f of the factorisation)\n",
                "total", total, around, around / factorSeconds);
    return {true, factorSeconds, total};
}

// The skyline path's matrix filled by hand, then factorised by the reference kernel.
void referenceRun(const shellfem::SolvingModel& model, const PathRun& skyline) {
    shellfem::StaticAnalysis analysis(model);
    analysis.setUp(MethodRequest::Skyline);
    shellfem::SkylineMatrix K(analysis.profile());
    shellfem::ElementMatrix Ke;
    for (std::size_t e = 0; e < model.elements.size(); ++e) {
        analysis.elements()[e].stiffness(Ke);
        K.addElementMatrix(shellfem::elementEquations(model.elements[e]), Ke.data());
    }
    for (const shellfem::RestraintRecord& r : model.restraints)
        for (int d = 0; d < 6; ++d)
            if (r.flags[static_cast<std::size_t>(d)] == 1)
                K.diagonal(6 * r.node + d) = 1e20;
    const double flops = shellfem::factorizationFlops(analysis.profile());
    const double seconds = timed([&] { referenceFactorization(K); });
    std::printf("  %-8s factorize %9.3f s   %.2f GFlop/s; skyline path %.2f times as fast\n",
                "scalar", seconds, flops / seconds / 1e9, seconds / skyline.factorSeconds);
}

struct SizeResult {
    int n = 0;
    PathRun skyline, sparse;
};

SizeResult benchmark(int n, bool reference, MethodRequest only,
                     const std::filesystem::path& folder) {
    const shellfem::SolvingModel model = clampedPlate(n);
    std::printf("N=%d  equations=%zu\n", n, model.nodes.size() * 6);
    const auto run = [&](MethodRequest method) {
        return only == MethodRequest::Automatic || only == method ? runPath(model, method, folder)
                                                                  : PathRun{};
    };
    SizeResult result{n, run(MethodRequest::Skyline), run(MethodRequest::Sparse)};
    if (reference && result.skyline.ran)
        referenceRun(model, result.skyline);
    shellfem::StaticAnalysis automatic(model);
    automatic.setUp();
    std::printf("  automatic choice: %s\n",
                automatic.method() == SolutionMethod::Skyline ? "skyline" : "sparse");
    std::fflush(stdout);
    return result;
}

// Where the sparse path's whole time drops below the skyline's, between two sizes run.
void printCrossing(const std::vector<SizeResult>& results) {
    for (std::size_t i = 1; i < results.size(); ++i) {
        const SizeResult& a = results[i - 1];
        const SizeResult& b = results[i];
        if (!a.skyline.ran || !a.sparse.ran || !b.sparse.ran)
            continue;
        const bool sparseFasterAtA = a.sparse.totalSeconds < a.skyline.totalSeconds;
        const bool sparseFasterAtB =
            !b.skyline.ran || b.sparse.totalSeconds < b.skyline.totalSeconds;
        if (sparseFasterAtA != sparseFasterAtB) {
            std::printf("The two methods' times cross between N=%d and N=%d.\n", a.n, b.n);
            return;
        }
    }
    if (!results.empty() && results.front().sparse.ran && results.front().skyline.ran)
        std::printf("The two methods' times do not cross in these sizes: the %s path is faster "
                    "throughout.\n",
                    results.front().sparse.totalSeconds < results.front().skyline.totalSeconds
                        ? "sparse"
                        : "skyline");
}

int writeModel(int n, const char* path) {
    if (!shellfem::writeSolvingFile(path, clampedPlate(n))) {
        std::fprintf(stderr, "solver_benchmark: cannot write %s\n", path);
        return 1;
    }
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    if (argc == 4 && std::strcmp(argv[1], "--write-model") == 0)
        return writeModel(std::atoi(argv[2]), argv[3]);
    std::vector<int> sizes;
    bool large = false;
    bool reference = true;
    MethodRequest only = MethodRequest::Automatic;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--large") == 0)
            large = true;
        else if (std::strcmp(argv[i], "--only") == 0 && i + 1 < argc &&
                 shellfem::parseMethodRequest(std::string(argv[i + 1]), only).ok())
            ++i;
        else if (std::strcmp(argv[i], "--no-reference") == 0)
            reference = false;
        else if (std::atoi(argv[i]) > 0)
            sizes.push_back(std::atoi(argv[i]));
        else {
            std::fprintf(stderr, "solver_benchmark: unknown argument \"%s\"\n", argv[i]);
            return 2;
        }
    }
    if (sizes.empty())
        sizes = {50, 100, 200, 300};
    if (large && std::find(sizes.begin(), sizes.end(), 500) == sizes.end())
        sizes.push_back(500);
    // One folder per run: runs side by side must not remove each other's files.
    const auto folder = std::filesystem::temp_directory_path() /
                        ("shellfem_benchmark." + std::to_string(::getpid()));
    std::filesystem::create_directories(folder);
    std::vector<SizeResult> results;
    for (int n : sizes)
        results.push_back(benchmark(n, reference, only, folder));
    std::filesystem::remove_all(folder);
    printCrossing(results);
    return 0;
}
