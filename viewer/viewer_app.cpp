#include "viewer/viewer_app.h"

#include "view3d/picking.h"
#include "viewer/contour/contour_legend.h"
#include "viewer/contour/contour_plot.h"

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
      elementDialog_(*this, SelectionKind::Elements), nodeDialog_(*this, SelectionKind::Nodes) {
    controller_.setPickHandler(this);
}

ViewerApp::~ViewerApp() {
    // Dialogs close before the model and view they show.
    elementDialog_.close();
    nodeDialog_.close();
    viewKit_.close();
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
    selection_.reset(model_.elements.size(), model_.nodes.size());
    controller_.view().setPoints(model_.nodes);
    controller_.resetClicks();
    elementDialog_.refresh();
    nodeDialog_.refresh();
    return true;
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
    syncChecks();
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

void ViewerApp::onPaint(platform::Canvas& canvas) {
    const platform::Color background = backgroundColor();
    canvas.setBrush(background);
    canvas.rectangle(
        {0, 0}, {static_cast<double>(canvas.width() - 1), static_cast<double>(canvas.height() - 1)},
        true, false);
    if (loaded_)
        drawContourPlot(canvas, model_, projectedNodes(), display_, selection_, background);
    controller_.drawRubberBand(canvas);
}

void ViewerApp::onSize(int width, int height) {
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
}

void ViewerApp::onButtonDown(platform::MouseButton button, platform::PixelPoint at,
                             platform::Modifiers modifiers) {
    handle(controller_.buttonDown(button, at, modifiers));
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
    return false;
}

void ViewerApp::syncChecks() {
    if (!window_)
        return;
    for (int id : checkableCommands())
        window_->setMenuChecked(id, checked(id));
}

void ViewerApp::onCommand(int id) {
    using namespace command;
    if (id >= kComponentSx && id <= kComponentSe) {
        display_.contour = true;
        display_.elementFill = Show::None;
        display_.component = id - kComponentSx;
    } else if (const ShowGroup* group = showGroup(id)) {
        const Show state = group->stateOf(id);
        display_.*group->state = state;
        if (group->state == &DisplayStates::elementFill && state != Show::None)
            display_.contour = false; // a plain fill replaces the contour
        else if (group->state == &DisplayStates::outlines)
            elementDialog_.refresh();
        else if (group->state == &DisplayStates::nodes)
            nodeDialog_.refresh();
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
            display_.contour = !display_.contour;
            if (display_.contour)
                display_.elementFill = Show::None;
            break;
        case kBackgroundBlack:
        case kBackgroundWhite:
            background_ = id - kBackgroundBlack;
            break;
        default:
            return;
        }
    }
    syncChecks();
    redraw();
}

} // namespace shellfem::viewer
