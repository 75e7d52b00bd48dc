// Times the solver's phases on an N × N simply supported plate under pressure:
//   solver_benchmark [N ...]      (default 50 100 200)
// For each phase: equations, skyline entries, seconds; for the factorisation
// also its operation count and rate.
#include "examples/generator/plate_model.h"
#include "formats/stress_file.h"
#include "platform/stopwatch.h"
#include "solver/dxf_drawing.h"
#include "solver/ldlt_solver.h"
#include "solver/result_files.h"
#include "solver/static_analysis.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

namespace {

using shellfem::platform::Stopwatch;

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

void benchmark(int n, const std::filesystem::path& folder) {
    shellfem::PlateOptions options;
    options.nx = options.ny = n;
    options.pressure = -1000.0;
    const shellfem::SolvingModel model = shellfem::makeRectangularPlate(options);
    shellfem::StaticAnalysis analysis(model);

    std::vector<std::pair<std::string, double>> phases;
    phases.emplace_back("profile", timed([&] { analysis.setUp(); }));
    phases.emplace_back("allocate", timed([&] { analysis.allocateMatrix(); }));
    phases.emplace_back("assemble", timed([&] { analysis.assemble(); }));
    phases.emplace_back("loads", timed([&] { analysis.formLoads(); }));
    shellfem::Outcome factorized;
    const double factorSeconds = timed([&] { factorized = analysis.factorize(); });
    phases.emplace_back("factorize", factorSeconds);
    if (!factorized.ok()) {
        std::printf("N=%d: %s\n", n, factorized.message.c_str());
        return;
    }
    phases.emplace_back("substitute", timed([&] { analysis.substitute(); }));
    phases.emplace_back("stresses", timed([&] { analysis.recoverStresses(); }));
    phases.emplace_back("write files", timed([&] { writeAll(folder, model, analysis); }));

    const double flops = shellfem::factorizationFlops(analysis.profile());
    std::printf("N=%d  equations=%d  skyline entries=%lld (%.3f GB)\n", n, analysis.equations(),
                static_cast<long long>(analysis.skylineEntries()),
                static_cast<double>(analysis.skylineEntries()) * 8.0 / (1 << 30));
    double total = 0.0;
    for (const auto& [name, seconds] : phases) {
        std::printf("  %-12s %9.3f s", name.c_str(), seconds);
        if (name == "factorize")
            std::printf("   %.3e flop, %.2f GFlop/s", flops, flops / seconds / 1e9);
        std::printf("\n");
        total += seconds;
    }
    std::printf("  %-12s %9.3f s\n", "total", total);
    std::fflush(stdout);
}

} // namespace

int main(int argc, char** argv) {
    std::vector<int> sizes;
    for (int i = 1; i < argc; ++i)
        sizes.push_back(std::atoi(argv[i]));
    if (sizes.empty())
        sizes = {50, 100, 200};
    const auto folder = std::filesystem::temp_directory_path() / "shellfem_benchmark";
    std::filesystem::create_directories(folder);
    for (int n : sizes)
        if (n > 0)
            benchmark(n, folder);
    std::filesystem::remove_all(folder);
    return 0;
}
