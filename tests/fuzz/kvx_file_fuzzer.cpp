// The pre-processor's reader, then on small models the meshing of every polygon not yet
// meshed and the export: what was read saves and reads back, and what the export
// writes the solver's reader takes.
#include "formats/solving_file.h"
#include "preprocessor/export/solving_export.h"
#include "preprocessor/files/kvx_file.h"
#include "preprocessor/model/model.h"
#include "tests/fuzz/fuzz_check.h"

#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string>

namespace {

using namespace shellfem;
using namespace shellfem::preprocessor;

bool small(const ModelData& data) {
    if (data.points.size() > 64 || data.polygons.size() > 8 || data.nodes.size() > 400)
        return false;
    for (const Polygon& polygon : data.polygons)
        if (polygon.vertices.size() > 12)
            return false;
    return true;
}

void meshAndExport(const ModelData& data, std::uint8_t choice) {
    Model model;
    model.assign(data);
    std::vector<int> unmeshed;
    for (std::size_t p = 0; p < model.data().polygons.size(); ++p)
        if (!model.data().polygons[p].meshed)
            unmeshed.push_back(static_cast<int>(p));
    MeshControl control;
    control.divisionsAlong01 = 1 + choice % 3;
    control.divisionsAlong12 = 1 + (choice >> 2) % 3;
    if (!unmeshed.empty())
        model.meshPolygons(unmeshed, control);
    // A model read without supports still reaches the export's loads.
    if (model.data().restraints.empty() && !model.data().nodes.empty())
        model.applyRestraints({0}, {1, 1, 1, 1, 1, 1}, ApplyMode::Replace);
    SolvingModel solving;
    if (!buildSolvingModel(model.data(), solving).ok())
        return;
    std::ostringstream out;
    writeSolvingFile(out, solving);
    std::istringstream in(out.str());
    SolvingModel back;
    const Outcome read = readSolvingFile(in, back);
    FUZZ_CHECK(read.ok(), "the solver reads what the export writes");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::istringstream in(std::string(reinterpret_cast<const char*>(data), size));
    ModelData model;
    if (!readKvx(in, model, "model.kvx").ok() || !small(model))
        return 0;
    std::ostringstream saved;
    writeKvx(saved, model);
    std::istringstream again(saved.str());
    ModelData back;
    FUZZ_CHECK(readKvx(again, back, "model.kvx").ok(),
               "a model that was read saves and reads back");
    meshAndExport(model, size > 0 ? data[size - 1] : 0);
    return 0;
}
