#include "viewer/viewer_app.h"

#include "formats/number_format.h"
#include "geometry/deformation.h"
#include "view3d/picking.h"
#include "viewer/contour/contour_field.h"
#include "viewer/contour/contour_legend.h"
#include "viewer/contour/probe_report.h"

#include <algorithm>
#include <array>
#include <ostream>
#include <utility>

namespace shellfem::viewer {

namespace {
constexpr double kStartAlpha = 225.0;      // degrees: π·1.25
constexpr double kStartBeta = 35.26;       // degrees: π·0.1958888888888889
constexpr double kNodePickTolerance = 6.0; // pixels

// A radio group of three menu items, All, Selected and None in this order, and the
// display state it sets.
struct ShowGroup {
    int first; // the All item
    Show DisplayStates::*state;

    bool holds(int id) const { return id >= first && id <= first + static_cast<int>(Show::None); }
    Show stateOf(int id) const { return static_cast<Show>(id - first); }
};

constexpr std::array<ShowGroup, 5> kShowGroups{{
    {command::kOutlinesAll, &DisplayStates::outlines},
    {command::kNodesAll, &DisplayStates::nodes},
    {command::kElementsAll, &DisplayStates::elementFill},
    {command::kNodeNumbersAll, &DisplayStates::nodeNumbers},
    {command::kElementNumbersAll, &DisplayStates::elementNumbers},
}};

// The group that holds the menu item `id`, or null.
const ShowGroup* showGroup(int id) {
    for (const ShowGroup& group : kShowGroups)
        if (group.holds(id))
            return &group;
    return nullptr;
}
} // namespace

ViewerApp::ViewerApp(platform::Gui& gui, platform::ProcessServices& process, std::ostream& console)
    : gui_(gui), process_(process), console_(console), controller_(kStartAlpha, kStartBeta),
      viewKit_(
          controller_, [this] { redraw(); }, view3d::viewerViewKitIds()),
      elementDialog_(*this, SelectionKind::Elements), nodeDialog_(*this, SelectionKind::Nodes),
      legendDialog_(gui, {[this] { return legend_; },
                          [this] { return fieldRange(model_, companions_.unaveraged(), display_); },
                          [this](const LegendSettings& s) { setLegendSettings(s); }}),
      deformationDialog_(gui, {[this] { return deformationScale_; },
                               [this] { return companions_.defaultScale(); },
                               [this](double scale) { setDeformationScale(scale); }}),
      pictureDialog_(gui, {[this] {
                               return std::pair{areaWidth_, areaHeight_};
                           },
                           [this](const std::string& path, PictureFormat format, int scale) {
                               return savePicture(path, format, scale);
                           }}),
      probePanel_(
          gui, [this] { return pinnedRows(); },
          [this] {
              pinned_.reset();
              redraw();
          }) {
    controller_.setPickHandler(this);
}

ViewerApp::~ViewerApp() {
    // Dialogs close before the model and view they show.
    elementDialog_.close();
    nodeDialog_.close();
    viewKit_.close();
    legendDialog_.close();
    deformationDialog_.close();
    pictureDialog_.close();
    probePanel_.close();
}

std::string ViewerApp::title() {
    return "Pelunar 壳结构应力云图 - ShellFem teaching package, release 1.0";
}

bool ViewerApp::start(const std::string& path) {
    loaded_ = true;
    if (!load(path))
        return false;
    controller_.applyStoredAngles(true); // the angles the controller started with
    return true;
}

bool ViewerApp::load(const std::string& path) {
    ContourModel fresh;
    const Outcome result = readContourFile(path, fresh);
    if (!result.ok()) {
        console_ << "Pelunar: " << result.message << std::endl;
        gui_.show(kWarningCaption, kReadErrorMessage);
        return false; // the model shown so far stays
    }
    model_ = std::move(fresh);
    stressPath_ = path;
    selection_.reset(model_.elements.size(), model_.nodes.size());
    pinned_.reset();
    probePanel_.close();
    companions_.load(path, model_);
    if (!companions_.displacements()) {
        deformed_ = false;
        deformationDialog_.close();
    }
    if (!companions_.unaveraged())
        display_.averagingJump = false;
    deformationScale_ = companions_.defaultScale();
    showDrawnPositions();
    controller_.resetClicks();
    refreshDialogs();
    syncMenu();
    setStatus(fileStatus());
    return true;
}

// The view holds the positions as drawn: the nodes, or the nodes moved by the scaled
// translations. The placement stays, so that turning the deformation on does not jump.
void ViewerApp::showDrawnPositions() {
    const std::vector<double>* u = companions_.displacements();
    if (!deformed_ || !u) {
        controller_.view().setPoints(model_.nodes);
        return;
    }
    std::vector<Vec3> moved(model_.nodes.size());
    for (std::size_t n = 0; n < moved.size(); ++n)
        moved[n] = displacedPosition(model_.nodes[n], *u, n, deformationScale_);
    controller_.view().setPoints(std::move(moved));
}

void ViewerApp::setDeformationScale(double scale) {
    if (!companions_.displacements())
        return;
    deformationScale_ = scale;
    deformed_ = true;
    showDrawnPositions();
    syncMenu();
    refreshDialogs();
    redraw();
}

void ViewerApp::setLegendSettings(const LegendSettings& settings) {
    legend_ = settings;
    refreshDialogs();
    redraw();
}

std::string ViewerApp::fileStatus() const {
    std::string s = stressPath_ + ": " + std::to_string(model_.nodes.size()) + " nodes, " +
                    std::to_string(model_.elements.size()) + " elements.";
    if (const std::string notes = companions_.notes(); !notes.empty())
        s += "  " + notes;
    return s + "  Point at the model to probe it, click to pin.";
}

void ViewerApp::setStatus(const std::string& text) {
    if (text == status_)
        return;
    status_ = text;
    if (window_)
        window_->setStatusText(text);
}

void ViewerApp::refreshDialogs() {
    elementDialog_.refresh();
    nodeDialog_.refresh();
    legendDialog_.refresh();
    deformationDialog_.refresh();
    pictureDialog_.refresh();
    probePanel_.refresh();
}

void ViewerApp::openFile() {
    const std::optional<std::string> path = gui_.chooseFileToOpen(
        {"Open file for shell average stress contour ", "Text Files (*.txt)", "txt"});
    if (!path)
        return;
    if (!load(*path))
        return;
    controller_.applyStoredAngles(true);
    redraw();
}

void ViewerApp::attachWindow(platform::Window* window) {
    window_ = window;
    syncMenu();
    status_.clear();
    setStatus(fileStatus());
}

platform::Color ViewerApp::backgroundColor() const {
    return background_ == 1 ? platform::Color{255, 255, 255} : platform::Color{0, 0, 0};
}

std::vector<view3d::ScreenPoint> ViewerApp::projectedNodes() const {
    return controller_.view().screenPoints();
}

void ViewerApp::redraw() {
    if (window_)
        window_->redraw();
}

PlotOptions ViewerApp::plotOptions() const {
    PlotOptions options;
    options.unaveraged = companions_.unaveraged();
    options.legend = legend_;
    if (display_.averagingJump && options.unaveraged)
        options.legendNotes = {"|unaveraged - averaged|:", "large where the mesh", "is too coarse"};
    if (deformed_)
        options.legendNotes.push_back("Deformed, scale " + formatGeneral(deformationScale_));
    return options;
}

void ViewerApp::paintPicture(platform::Canvas& canvas) const {
    const platform::Color background = backgroundColor();
    canvas.setBrush(background);
    canvas.rectangle({0, 0},
                     {static_cast<double>(canvas.width()), static_cast<double>(canvas.height())},
                     true, false);
    if (!loaded_)
        return;
    const std::vector<view3d::ScreenPoint> drawn = projectedNodes();
    PlotOptions options = plotOptions();
    std::vector<view3d::ScreenPoint> undeformed;
    if (deformed_) {
        for (const Vec3& p : model_.nodes)
            undeformed.push_back(controller_.view().modelToScreen(p));
        options.undeformed = &undeformed;
    }
    if (pinned_)
        options.marker = probePosition(model_, drawn, *pinned_);
    drawContourPlot(canvas, model_, drawn, display_, selection_, background, options);
}

void ViewerApp::onPaint(platform::Canvas& canvas) {
    paintPicture(canvas);
    controller_.drawRubberBand(canvas);
}

Outcome ViewerApp::savePicture(const std::string& path, PictureFormat format, int scale) {
    Outcome saved = viewer::savePicture(gui_, path, format, areaWidth_, areaHeight_, scale,
                                        [this](platform::Canvas& c) { paintPicture(c); });
    if (saved.ok())
        setStatus(saved.message);
    return saved;
}

void ViewerApp::onSize(int width, int height) {
    areaWidth_ = width;
    areaHeight_ = height;
    pictureDialog_.refresh();
    // The legend keeps the right-hand strip: the model fits in the rest.
    handle(controller_.resize(std::max(1, width - kLegendWidthPixels), height));
}

void ViewerApp::handle(view3d::ViewResponse response) {
    if (response == view3d::ViewResponse::Redraw) {
        redraw();
    } else if (response == view3d::ViewResponse::Singular) {
        // A singular view matrix: the library reports it, the program ends.
        console_ << "err**not inv" << std::endl;
        process_.pause();
        exitCode_ = 1;
        gui_.quit(1);
    }
}

void ViewerApp::onKeyDown(platform::Key key) {
    handle(controller_.key(key));
}

void ViewerApp::onCharacter(int character) {
    if (character == 27) {
        if (controller_.mode() == kModeSelectElements) {
            selection_.clearElements();
            elementDialog_.refresh();
        } else if (controller_.mode() == kModeSelectNodes) {
            selection_.clearNodes();
            nodeDialog_.refresh();
        }
        controller_.resetClicks(); // also drops a half-made rectangle
        redraw();
        return;
    }
    handle(controller_.character(character));
}

void ViewerApp::onMouseMove(platform::PixelPoint at) {
    handle(controller_.mouseMove(at));
    if (controller_.mode() == view3d::kModeNone)
        probe(at);
}

void ViewerApp::onButtonDown(platform::MouseButton button, platform::PixelPoint at,
                             platform::Modifiers modifiers) {
    const bool probing = controller_.mode() == view3d::kModeNone;
    handle(controller_.buttonDown(button, at, modifiers));
    if (probing && button == platform::MouseButton::Left)
        pin(at);
}

// The status line follows the mouse in mode 0: what lies under it, or the files' notes.
void ViewerApp::probe(platform::PixelPoint at) {
    const std::optional<ProbePoint> under =
        loaded_ ? probeAt(model_, projectedNodes(), at) : std::nullopt;
    if (!under) {
        setStatus(fileStatus());
        return;
    }
    setStatus(describeProbe(model_, companions_.unaveraged(), companions_.displacements(), display_,
                            *under)
                  .status);
}

void ViewerApp::pin(platform::PixelPoint at) {
    if (!loaded_)
        return;
    const std::optional<ProbePoint> under = probeAt(model_, projectedNodes(), at);
    if (!under)
        return;
    pinned_ = under;
    probePanel_.open();
    redraw();
}

std::vector<std::vector<std::string>> ViewerApp::pinnedRows() const {
    if (!pinned_)
        return {};
    return describeProbe(model_, companions_.unaveraged(), companions_.displacements(), display_,
                         *pinned_)
        .rows;
}

void ViewerApp::onButtonUp(platform::MouseButton button, platform::PixelPoint at,
                           platform::Modifiers modifiers) {
    handle(controller_.buttonUp(button, at, modifiers));
}

void ViewerApp::onWheel(platform::PixelPoint at, int delta) {
    handle(controller_.wheel(at, delta));
}

view3d::PickGesture ViewerApp::gesture(int mode) const {
    const SelectionDialog& dialog = mode == kModeSelectElements ? elementDialog_ : nodeDialog_;
    return dialog.rectanglePicking() ? view3d::PickGesture::Rectangle : view3d::PickGesture::Point;
}

void ViewerApp::pickPoint(int mode, platform::PixelPoint at, platform::Modifiers) {
    if (!loaded_)
        return;
    const std::vector<view3d::ScreenPoint> nodes = projectedNodes();
    if (mode == kModeSelectElements) {
        const int e = pickElement(model_, nodes, at);
        if (e >= 0 && static_cast<std::size_t>(e) < selection_.elements.size())
            selection_.elements[e] = elementDialog_.picksSelect() ? 1 : 0;
        elementDialog_.refresh();
    } else if (mode == kModeSelectNodes) {
        const int n = view3d::nearestPoint(nodes, at, kNodePickTolerance);
        if (n >= 0 && static_cast<std::size_t>(n) < selection_.nodes.size())
            selection_.nodes[n] = nodeDialog_.picksSelect() ? 1 : 0;
        nodeDialog_.refresh();
    }
}

void ViewerApp::pickRectangle(int mode, platform::PixelPoint a, platform::PixelPoint b,
                              platform::Modifiers) {
    if (!loaded_ || (mode != kModeSelectElements && mode != kModeSelectNodes))
        return;
    const std::vector<view3d::ScreenPoint> nodes = projectedNodes();
    const bool elements = mode == kModeSelectElements;
    SelectionDialog& dialog = elements ? elementDialog_ : nodeDialog_;
    std::vector<char>& flags = elements ? selection_.elements : selection_.nodes;
    const std::vector<int> inside = elements ? elementsInRectangle(model_, nodes, a, b)
                                             : view3d::pointsInRectangle(nodes, a, b);
    for (int i : inside)
        if (static_cast<std::size_t>(i) < flags.size())
            flags[static_cast<std::size_t>(i)] = dialog.picksSelect() ? 1 : 0;
    dialog.refresh();
}

bool ViewerApp::checked(int id) const {
    using namespace command;
    if (id >= kComponentSx && id <= kComponentSe)
        return display_.component == id - kComponentSx;
    if (id == kPlotContour)
        return display_.contour;
    if (id == kBackgroundBlack || id == kBackgroundWhite)
        return background_ == id - kBackgroundBlack;
    if (const ShowGroup* group = showGroup(id))
        return display_.*group->state == group->stateOf(id);
    if (id >= kSurfaceTop && id <= kSurfaceBending)
        return display_.surface == static_cast<Surface>(id - kSurfaceTop);
    if (id == kAveragingJump)
        return display_.averagingJump;
    if (id == kDeformedShape)
        return deformed_;
    return false;
}

bool ViewerApp::enabled(int id) const {
    using namespace command;
    if (id == kDeformedShape || id == kDeformationScale)
        return companions_.displacements() != nullptr;
    if (id == kAveragingJump)
        return companions_.unaveraged() != nullptr;
    return true;
}

void ViewerApp::syncChecks() {
    if (!window_)
        return;
    for (int id : checkableCommands())
        window_->setMenuChecked(id, checked(id));
}

void ViewerApp::syncMenu() {
    syncChecks();
    if (!window_)
        return;
    for (int id : {command::kDeformedShape, command::kDeformationScale, command::kAveragingJump})
        window_->setMenuEnabled(id, enabled(id));
}

void ViewerApp::onCommand(int id) {
    using namespace command;
    if (!enabled(id))
        return; // a greyed-out item
    const auto showContour = [this] {
        display_.contour = true;
        display_.elementFill = Show::None;
    };
    if (id >= kComponentSx && id <= kComponentSe) {
        showContour();
        display_.component = id - kComponentSx;
    } else if (id >= kSurfaceTop && id <= kSurfaceBending) {
        showContour();
        display_.surface = static_cast<Surface>(id - kSurfaceTop);
    } else if (const ShowGroup* group = showGroup(id)) {
        const Show state = group->stateOf(id);
        display_.*group->state = state;
        if (group->state == &DisplayStates::elementFill && state != Show::None)
            display_.contour = false; // a plain fill replaces the contour
    } else {
        switch (id) {
        case kFileOpen:
            openFile();
            break;
        case kViewKit:
            viewKit_.open(gui_);
            break;
        case kSelectElements:
            controller_.setMode(kModeSelectElements);
            elementDialog_.open(gui_);
            break;
        case kSelectNodes:
            controller_.setMode(kModeSelectNodes);
            nodeDialog_.open(gui_);
            break;
        case kPlotContour:
            if (display_.contour)
                display_.contour = false;
            else
                showContour();
            break;
        case kBackgroundBlack:
        case kBackgroundWhite:
            background_ = id - kBackgroundBlack;
            break;
        case kAveragingJump:
            display_.averagingJump = !display_.averagingJump;
            if (display_.averagingJump)
                showContour();
            break;
        case kDeformedShape:
            deformed_ = !deformed_;
            showDrawnPositions();
            break;
        case kDeformationScale:
            deformationDialog_.open();
            break;
        case kLegendSettings:
            legendDialog_.open();
            break;
        case kSavePicture:
            pictureDialog_.open();
            break;
        default:
            return;
        }
    }
    // The model's change, then the menu and the open dialogs, then the drawing.
    syncMenu();
    refreshDialogs();
    redraw();
}

} // namespace shellfem::viewer
