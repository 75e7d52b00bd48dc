// The solver's reader, then on small models the solver's set-up and, when it takes the
// model, the whole analysis: a result that passes the checks must read back.
#include "formats/solving_file.h"
#include "formats/stress_file.h"
#include "solver/result_files.h"
#include "solver/static_analysis.h"
#include "tests/fuzz/fuzz_check.h"

#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string>

namespace {

using namespace shellfem;

void analyse(const SolvingModel& model) {
    StaticAnalysis analysis(model);
    if (!analysis.setUp().ok() || analysis.skylineEntries() > 200000)
        return;
    analysis.allocateMatrix();
    analysis.assemble();
    analysis.formLoads();
    if (!analysis.solve().ok() || !checkDisplacements(analysis.displacements()).ok())
        return;
    analysis.recoverStresses();
    if (!checkStresses(model, analysis.averagedStresses()).ok())
        return;
    std::ostringstream out;
    writeContourFile(out, contourModel(model, analysis.averagedStresses()));
    std::istringstream in(out.str());
    ContourModel back;
    FUZZ_CHECK(readContourFile(in, back, "Shell_AverageStrs.txt").ok(),
               "the averaged stresses of a checked solution read back");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::istringstream in(std::string(reinterpret_cast<const char*>(data), size));
    SolvingModel model;
    const Outcome read = readSolvingFile(in, model, "shell_fem_solving.txt");
    FUZZ_CHECK(!read.message.empty() || read.ok(), "a refusal says why");
    if (read.ok() && model.nodes.size() <= 64 && model.elements.size() <= 48)
        analyse(model);
    return 0;
}
