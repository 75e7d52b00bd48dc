// Times one paint of the pre-processor's model drawing on an N × N meshed plate
// (N² elements) with a corner-varying pressure, restraints along one edge and a
// force on every node of the opposite edge:
//   model_plot_benchmark [N ...]      (default 100 316, about 10⁴ and 10⁵ elements)
// The canvas only counts the calls, so the time is the drawing code's own.
#include "platform/canvas.h"
#include "platform/stopwatch.h"
#include "preprocessor/model/model.h"
#include "preprocessor/render/model_plot.h"
#include "view3d/view_controller.h"

#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

using namespace shellfem;
using namespace shellfem::preprocessor;
using platform::PixelPoint;

class CountingCanvas : public platform::Canvas {
public:
    long long calls = 0;
    int width() const override { return 1200; }
    int height() const override { return 600; }
    void setPen(const platform::Pen&) override {}
    void setBrush(platform::Color) override {}
    void setFont(const platform::Font&) override {}
    void setTextColor(platform::Color) override {}
    void line(PixelPoint, PixelPoint) override { ++calls; }
    void polyline(const std::vector<PixelPoint>&) override { ++calls; }
    void fillPolygon(const std::vector<PixelPoint>&) override { ++calls; }
    void rectangle(PixelPoint, PixelPoint, bool, bool) override { ++calls; }
    void ellipse(PixelPoint, double, double, bool, bool) override { ++calls; }
    void arc(PixelPoint, double, double, double, double) override { ++calls; }
    void text(PixelPoint, const std::string&) override { ++calls; }
    double textWidth(const std::string& utf8) override { return 7.0 * utf8.size(); }
};

bool check(const Outcome& outcome) {
    if (!outcome.ok())
        std::fprintf(stderr, "%s\n", outcome.message.c_str());
    return outcome.ok();
}

bool buildPlate(Model& model, int n) {
    const double size = 1.0 * n;
    std::vector<int> corners;
    for (const Vec3& p : {Vec3{0, 0, 0}, Vec3{size, 0, 0}, Vec3{size, size, 0}, Vec3{0, size, 0}})
        corners.push_back(model.addPoint(p).created.at(0));
    MeshControl divisions;
    divisions.divisionsAlong01 = divisions.divisionsAlong12 = n;
    if (!check(model.addMaterial({210000.0, 0.3})) || !check(model.addThickness(0.01)) ||
        !check(model.createPolygon(corners, 0, 0)) || !check(model.meshPolygons({0}, divisions)) ||
        !check(model.applyPolygonLoad({0}, {1.0, 2.0, 3.0, 4.0})))
        return false;
    std::vector<int> fixedEdge, loadedEdge;
    for (std::size_t i = 0; i < model.data().nodes.size(); ++i) {
        const Vec3& p = model.data().nodes[i].position;
        if (p.x == 0.0)
            fixedEdge.push_back(static_cast<int>(i));
        if (p.x == size)
            loadedEdge.push_back(static_cast<int>(i));
    }
    return check(model.applyRestraints(fixedEdge, {1, 1, 1, 1, 1, 1}, ApplyMode::Replace)) &&
           check(model.applyForces(loadedEdge, {0, 0, -1, 0, 1, 0}, ApplyMode::Replace));
}

void benchmark(int n) {
    Model model;
    platform::Stopwatch clock;
    if (!buildPlate(model, n))
        return;
    const double built = clock.seconds();

    view3d::View view;
    view.setWindowSize(1200, 600);
    view.setAngles(view3d::degreesToRadians(-135.0), view3d::degreesToRadians(35.26));
    std::vector<Vec3> positions;
    for (const Node& node : model.data().nodes)
        positions.push_back(node.position);
    view.setPoints(positions);
    view.fit();

    view3d::View zoomed = view;
    zoomed.zoomAbout({600, 300}, 20.0 * view.placement().scale);

    const platform::Color black{0, 0, 0};
    render::PlotSwitches defaults;
    render::PlotSwitches everything;
    everything.pointNumbers = everything.polygonNumbers = true;
    everything.nodeNumbers = everything.elementNumbers = true;
    struct Case {
        const char* name;
        const view3d::View& view;
        render::PlotSwitches switches;
    };
    for (const Case& paint :
         {Case{"start switches", view, defaults}, Case{"with all numbers", view, everything},
          Case{"zoomed in 20 times", zoomed, defaults}}) {
        const int paints = 5;
        CountingCanvas canvas;
        clock.restart();
        for (int k = 0; k < paints; ++k)
            render::drawModel(canvas, model, paint.view, paint.switches, {}, black);
        std::printf("%d x %d plate, %zu elements (built in %.2f s), %s: %.1f ms per paint, "
                    "%lld calls\n",
                    n, n, model.data().elements.size(), built, paint.name,
                    1000.0 * clock.seconds() / paints, canvas.calls / paints);
    }
}

} // namespace

int main(int argc, char** argv) {
    std::vector<int> sizes;
    for (int i = 1; i < argc; ++i)
        sizes.push_back(std::atoi(argv[i]));
    if (sizes.empty())
        sizes = {100, 316};
    for (int n : sizes)
        if (n > 0)
            benchmark(n);
    return 0;
}
