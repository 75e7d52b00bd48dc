// The viewer's reader, then the drawing of what it read into the recording canvas,
// with display states taken from the input; what it read must write and read back.
#include "formats/stress_file.h"
#include "platform/fake/recording_canvas.h"
#include "tests/fuzz/fuzz_check.h"
#include "view3d/view.h"
#include "viewer/contour/contour_plot.h"

#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string>

namespace {

using namespace shellfem;

void draw(const ContourModel& model, std::uint8_t choice) {
    view3d::View view;
    view.setWindowSize(640, 480);
    view.setAngles(3.141592653589793 * 1.25, 3.141592653589793 * 0.1958888888888889);
    view.setPoints(model.nodes);
    view.fit();
    viewer::DisplayStates states;
    states.component = choice % 7;
    states.contour = (choice & 0x08) == 0;
    states.surface = static_cast<viewer::Surface>((choice >> 4) % 4);
    const auto show = static_cast<viewer::Show>((choice >> 6) % 3);
    states.outlines = states.nodes = states.nodeNumbers = states.elementNumbers = show;
    states.elementFill = show;
    viewer::Selection selection;
    selection.reset(model.elements.size(), model.nodes.size());
    for (std::size_t e = 0; e < model.elements.size(); e += 2)
        selection.elements[e] = 1;
    platform::RecordingCanvas canvas(640, 480);
    viewer::drawContourPlot(canvas, model, view.screenPoints(), states, selection,
                            platform::Color{0, 0, 0});
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::istringstream in(std::string(reinterpret_cast<const char*>(data), size));
    ContourModel model;
    const Outcome read = readContourFile(in, model, "Shell_AverageStrs.txt");
    if (!read.ok() || model.nodes.size() > 400 || model.elements.size() > 200)
        return 0;
    draw(model, size > 0 ? data[size - 1] : 0);
    std::ostringstream out;
    writeContourFile(out, model);
    std::istringstream again(out.str());
    ContourModel back;
    FUZZ_CHECK(readContourFile(again, back, "Shell_AverageStrs.txt").ok(),
               "a contour file that was read writes and reads back");
    FUZZ_CHECK(back.nodes.size() == model.nodes.size() &&
                   back.elements.size() == model.elements.size(),
               "the read-back mesh has the same size");
    return 0;
}
