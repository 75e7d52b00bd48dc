#include "render_test_support.h"

#include <functional>

namespace shellfem::preprocessor::render {
namespace {

using namespace testing;

// Plate 0 carries a load, a force, a moment and restraints, so that every layer has something.
Model loadedPlates() {
    Model model = twoPlates();
    EXPECT_TRUE(model.applyPolygonLoad({0}, {1, 2, 3, 4}).ok());
    EXPECT_TRUE(
        model.applyForces({nodeAt(model, 1, 1)}, {1, 2, 3, 4, 0, 0}, ApplyMode::Replace).ok());
    EXPECT_TRUE(
        model.applyRestraints({nodeAt(model, 0, 0)}, {1, 1, 1, 1, 1, 1}, ApplyMode::Replace).ok());
    return model;
}

struct Layer {
    const char* name;
    bool PlotSwitches::*shows;
    // Whether a call belongs to the layer.
    std::function<bool(const Call&, const PlotPalette&)> drawnBy;
};

void PrintTo(const Layer& layer, std::ostream* os) {
    *os << layer.name;
}

const Layer kLayers[] = {
    {"points", &PlotSwitches::points,
     [](const Call& c, const PlotPalette& p) {
         return c.kind == Kind::Rectangle && c.brush == p.point;
     }},
    {"polygons", &PlotSwitches::polygons,
     [](const Call& c, const PlotPalette& p) {
         return c.kind == Kind::Polyline && c.pen.color == p.ink;
     }},
    {"elements", &PlotSwitches::elements,
     [](const Call& c, const PlotPalette& p) {
         return c.kind != Kind::Text && (inkOf(c) == p.element || inkOf(c) == p.elementFill);
     }},
    {"nodes", &PlotSwitches::nodes,
     [](const Call& c, const PlotPalette& p) {
         return c.kind == Kind::Ellipse && c.brush == p.node;
     }},
    {"forces", &PlotSwitches::forces,
     [](const Call& c, const PlotPalette& p) { return inkOf(c) == p.force; }},
    {"polygon loads", &PlotSwitches::polygonLoads,
     [](const Call& c, const PlotPalette& p) {
         return c.kind == Kind::Text && inkOf(c) == p.load;
     }},
    {"restraints", &PlotSwitches::restraints,
     [](const Call& c, const PlotPalette& p) {
         return std::find(p.restraint.begin(), p.restraint.end(), inkOf(c)) != p.restraint.end();
     }},
    {"point numbers", &PlotSwitches::pointNumbers,
     [](const Call& c, const PlotPalette& p) {
         return c.kind == Kind::Text && c.textColor == p.point;
     }},
    {"polygon numbers", &PlotSwitches::polygonNumbers,
     [](const Call& c, const PlotPalette& p) {
         return c.kind == Kind::Text && c.textColor == p.ink;
     }},
    {"node numbers", &PlotSwitches::nodeNumbers,
     [](const Call& c, const PlotPalette& p) {
         return c.kind == Kind::Text && c.textColor == p.node;
     }},
    {"element numbers", &PlotSwitches::elementNumbers,
     [](const Call& c, const PlotPalette& p) {
         return c.kind == Kind::Text && c.textColor == p.element;
     }},
};

class PlotLayer : public ::testing::TestWithParam<Layer> {};

TEST_P(PlotLayer, IsDrawnWithItsSwitchAndNotWithout) {
    const Layer& layer = GetParam();
    const Model model = loadedPlates();
    const view3d::View view = startView(model);
    const PlotPalette palette = plotPalette(kBlack);
    auto callsOfLayer = [&](const PlotSwitches& switches) {
        const RecordingCanvas canvas = draw(model, view, switches);
        return std::count_if(canvas.calls.begin(), canvas.calls.end(),
                             [&](const Call& c) { return layer.drawnBy(c, palette); });
    };
    PlotSwitches alone = nothingShown();
    alone.*layer.shows = true;
    PlotSwitches allBut = everythingShown();
    allBut.*layer.shows = false;
    EXPECT_GT(callsOfLayer(alone), 0);
    EXPECT_EQ(callsOfLayer(allBut), 0);
}

INSTANTIATE_TEST_SUITE_P(EveryLayer, PlotLayer, ::testing::ValuesIn(kLayers));

TEST(ModelPlot, NothingIsDrawnWithEverySwitchOffAndNothingPicked) {
    const Model model = loadedPlates();
    EXPECT_TRUE(draw(model, startView(model), nothingShown()).calls.empty());
}

// Hiding a polygon leaves its points shown: they have a visible flag of their own.
TEST(ModelPlot, HiddenPolygonsTakeTheirElementsNodesLoadsAndNumbersAlong) {
    Model model = twoPlates();
    const int node = nodeAt(model, 4, 1);
    ASSERT_TRUE(model.applyPolygonLoad({1}, {5, 5, 5, 5}).ok());
    ASSERT_TRUE(model.applyForces({node}, {0, 1, 0, 0, 0, 0}, ApplyMode::Replace).ok());
    ASSERT_TRUE(model.applyRestraints({node}, {1, 0, 0, 0, 0, 0}, ApplyMode::Replace).ok());
    ModelData data = model.data();
    data.points.push_back({{2.5, 0.5, 0.0}, false}); // a hidden point between the plates
    model.assign(data);
    const view3d::View view = topView(model);
    ASSERT_TRUE(model.setPolygonsVisible({1}, false).ok());

    const RecordingCanvas canvas = draw(model, view, everythingShown());
    const double boundary = view.modelToPixel({2.4, 0.0, 0.0}).x;
    const Color point = plotPalette(kBlack).point;
    for (const Call& call : canvas.calls) {
        if (inkOf(call) == point) {
            EXPECT_FALSE(near(call, view.modelToPixel({2.5, 0.5, 0.0}), 20.0))
                << "the hidden point is drawn";
            continue;
        }
        for (const PixelPoint& p : call.points)
            EXPECT_LT(p.x, boundary) << "a call of kind " << static_cast<int>(call.kind)
                                     << " reaches the hidden plate: " << call.text;
    }
    // Plate 1 carried the only restraint, so there is no key either.
    EXPECT_FALSE(contains(textsIn(canvas, plotPalette(kBlack).restraint[0]), "UX"));
}

TEST(ModelPlot, NumbersNameTheShownItemsBesideThemOrAtTheirCentre) {
    const Model model = twoPlates();
    const view3d::View view = topView(model);
    const PlotPalette palette = plotPalette(kBlack);
    PlotSwitches switches = nothingShown();
    switches.polygonNumbers = switches.elementNumbers = true;
    RecordingCanvas canvas = draw(model, view, switches);

    const std::vector<const Call*> polygonNumbers = callsIn(canvas, palette.ink, Kind::Text);
    ASSERT_EQ(polygonNumbers.size(), 2u);
    // Centred on the plate's centre: (1, 0.5) for plate 0.
    const PixelPoint centre = view.modelToPixel({1.0, 0.5, 0.0});
    EXPECT_NEAR(polygonNumbers[0]->points[0].x + canvas.textWidth("0") / 2.0, centre.x, 1e-9);
    EXPECT_EQ(polygonNumbers[0]->text, "0");
    EXPECT_EQ(textsIn(canvas, palette.element), (std::vector<std::string>{"0", "1", "2"}));
    EXPECT_TRUE(textsIn(canvas, palette.point).empty());
    EXPECT_TRUE(textsIn(canvas, palette.node).empty());
}

TEST(ModelPlot, ColourModeFillsPolygonsByTheChosenAttributeWithAKey) {
    const Model model = twoPlates();
    const view3d::View view = topView(model);
    const PlotPalette palette = plotPalette(kWhite);
    PlotSwitches switches;
    switches.polygonColourMode = true;
    RecordingCanvas canvas = draw(model, view, switches, {}, kWhite);
    EXPECT_EQ(callsIn(canvas, attributeColour(0, kWhite), Kind::FillPolygon).size(), 1u);
    EXPECT_EQ(callsIn(canvas, attributeColour(1, kWhite), Kind::FillPolygon).size(), 1u);
    EXPECT_TRUE(callsIn(canvas, palette.elementFill, Kind::FillPolygon).empty())
        << "elements would cover the attribute colours";
    EXPECT_EQ(
        textsIn(canvas, palette.ink),
        (std::vector<std::string>{"Material 0: E=210000, Mu=0.3", "Material 1: E=70000, Mu=0.33"}));

    switches.colourBy = PolygonColouring::Thickness;
    canvas = draw(model, view, switches, {}, kWhite);
    EXPECT_TRUE(contains(textsIn(canvas, palette.ink), "Thickness 1: TK=0.02"));

    switches.polygonColourMode = false;
    canvas = draw(model, view, switches, {}, kWhite);
    EXPECT_TRUE(callsIn(canvas, attributeColour(0, kWhite), Kind::FillPolygon).empty());
    EXPECT_EQ(callsIn(canvas, palette.elementFill, Kind::FillPolygon).size(), 3u);
    EXPECT_TRUE(textsIn(canvas, palette.ink).empty());
}

TEST(ModelPlot, ElementsAreDrawnFarToNear) {
    Model model = modelWithAttributes();
    // The nearer plate (z = 1, looking down) is made first, so its element comes first.
    addPolygon(model, {addPoint(model, 0.5, 0, 1), addPoint(model, 1.5, 0, 1),
                       addPoint(model, 1.5, 1, 1), addPoint(model, 0.5, 1, 1)});
    addRectangle(model, 0, 0, 1, 1);
    ASSERT_TRUE(model.meshPolygons({0, 1}, divisions(1, 1)).ok());
    ASSERT_EQ(model.data().elements[0].polygon, 0);
    PlotSwitches switches = nothingShown();
    switches.elements = true;
    const view3d::View view = topView(model);
    const RecordingCanvas canvas = draw(model, view, switches);
    const std::vector<const Call*> fills = canvas.of(Kind::FillPolygon);
    ASSERT_EQ(fills.size(), 2u);
    const double nearPlateLeft = view.modelToPixel({0.5, 0, 1}).x;
    for (const PixelPoint& p : fills[1]->points)
        EXPECT_GE(p.x, nearPlateLeft - 1e-9);
}

TEST(ModelPlot, ElementsOutsideTheWindowAreSkippedButOneCoveringItIsDrawn) {
    const Model model = twoPlates();
    view3d::View view = topView(model);
    PlotSwitches switches = nothingShown();
    switches.elements = true;
    // Zoomed in on the middle of element 0 (0..1 x 0..1): its corners all lie outside.
    view.zoomAbout(view.modelToPixel({0.5, 0.5, 0}), 10.0 * view.placement().scale);
    const RecordingCanvas canvas = draw(model, view, switches);
    ASSERT_EQ(canvas.of(Kind::FillPolygon).size(), 1u);
    for (const PixelPoint& corner : canvas.of(Kind::FillPolygon)[0]->points)
        EXPECT_FALSE(corner.x >= 0 && corner.x <= 800 && corner.y >= 0 && corner.y <= 600);
}

// Relative luminance and contrast ratio as the web's accessibility guidelines define them.
double luminance(Color c) {
    auto linear = [](unsigned char v) {
        const double s = v / 255.0;
        return s <= 0.03928 ? s / 12.92 : std::pow((s + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * linear(c.r) + 0.7152 * linear(c.g) + 0.0722 * linear(c.b);
}

double contrast(Color a, Color b) {
    const double la = luminance(a);
    const double lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

// Areas filled near the background: the faint element fill and the attribute colours.
bool areaFill(const Call& call, Color background) {
    if (!call.fill)
        return false;
    bool attribute = false;
    for (int id = 0; id < 12; ++id)
        attribute = attribute || call.brush == attributeColour(id, background);
    return attribute || call.brush == plotPalette(background).elementFill;
}

TEST(ModelPlot, EveryLineMarkAndTextReadsOnBlackAndOnWhite) {
    Model model = loadedPlates();
    model.selection().points = {0};
    ModelHighlight highlight;
    highlight.hovered = ItemRef{ItemKind::Polygon, 1};
    PlotSwitches switches = everythingShown();
    switches.polygonColourMode = true;
    for (const Color background : {kBlack, kWhite}) {
        const RecordingCanvas canvas =
            draw(model, startView(model), switches, highlight, background);
        for (const Call& call : canvas.calls) {
            if (areaFill(call, background))
                continue;
            EXPECT_GE(contrast(inkOf(call), background), 3.0)
                << "call " << static_cast<int>(call.kind) << " " << call.text;
        }
    }
}

TEST(PlotPalette, FillsShowAndCarryEveryLayerAndTheHighlightIsNoLayersColour) {
    for (const Color background : {kBlack, kWhite}) {
        const PlotPalette p = plotPalette(background);
        std::vector<Color> layers{p.ink,  p.point, p.element, p.elementFill,
                                  p.node, p.force, p.load};
        layers.insert(layers.end(), p.restraint.begin(), p.restraint.end());
        for (const Color& layer : layers)
            EXPECT_NE(layer, p.highlight);
        layers.erase(layers.begin() + 3); // the faint fill is never drawn over a fill
        layers.push_back(p.highlight);
        for (int id = 0; id < 12; ++id) {
            const Color fill = attributeColour(id, background);
            EXPECT_NE(fill, p.highlight);
            EXPECT_GE(contrast(fill, background), 1.25) << id;
            for (const Color& layer : layers)
                EXPECT_GE(contrast(layer, fill), 1.7) << id;
        }
    }
    EXPECT_EQ(attributeColour(12, kBlack), attributeColour(0, kBlack));
}

} // namespace
} // namespace shellfem::preprocessor::render
