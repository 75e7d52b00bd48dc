#pragma once

#include "platform/canvas.h"
#include "preprocessor/model/model.h"
#include "preprocessor/render/model_highlight.h"
#include "preprocessor/render/plot_palette.h"
#include "preprocessor/render/plot_switches.h"
#include "preprocessor/render/screen_projection.h"

#include <vector>

namespace shellfem::preprocessor::render {

// What every layer of one paint draws with: the model projected once.
struct PlotContext {
    platform::Canvas& canvas;
    const Model& model;
    const view3d::View& view;
    const PlotSwitches& switches;
    const PlotPalette& palette;
    const ProjectedModel& projected;
    platform::Color background;

    std::vector<platform::PixelPoint> polygonPixels(int polygon) const;
    std::vector<platform::PixelPoint> elementPixels(int element) const;
    platform::PixelPoint polygonCentre(int polygon) const;
    platform::PixelPoint elementCentre(int element) const;

    // Whether what is drawn about `at`, up to `margin` pixels from it, can reach
    // into the window: items wholly outside are skipped, which keeps a zoomed-in
    // paint of a large model quick.
    bool nearWindow(platform::PixelPoint at, double margin) const;
    // The same for a box around the element's corners grown by `margin`.
    bool elementNearWindow(int element, double margin) const;
};

inline platform::Pen solidPen(platform::Color color, int width = 1) {
    return {color, width, platform::LineStyle::Solid};
}

// Each layer draws what its switch shows, skipping hidden items. In drawing order:

// geometry_layers.cpp
void drawPolygonFills(const PlotContext& c); // the polygon colour mode
void drawElements(const PlotContext& c);
void drawPolygonOutlines(const PlotContext& c);
void drawPoints(const PlotContext& c);
void drawNodes(const PlotContext& c);
void drawAttributeKey(const PlotContext& c); // the colours of the colour mode

// load_layers.cpp
void drawElementLoads(const PlotContext& c);
void drawPolygonLoads(const PlotContext& c);
void drawForces(const PlotContext& c);

// restraint_layer.cpp. Returns whether any symbol was drawn, and so the key is needed.
bool drawRestraints(const PlotContext& c);
void drawRestraintKey(const PlotContext& c);

// number_layer.cpp
void drawNumbers(const PlotContext& c);

// highlight_layer.cpp
void drawPicks(const PlotContext& c); // Model::selection()
void drawPolygonInProgress(const PlotContext& c, const ModelHighlight& highlight);
void drawHovered(const PlotContext& c, const ModelHighlight& highlight);

} // namespace shellfem::preprocessor::render
