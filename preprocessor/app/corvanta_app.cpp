#include "preprocessor/app/corvanta_app.h"

#include "preprocessor/app/model_picking.h"
#include "preprocessor/app/status_line.h"
#include "preprocessor/render/model_plot.h"

#include <cmath>
#include <ostream>

namespace shellfem::preprocessor::app {

using platform::kWarningCaption;

namespace {

constexpr double kStartAlpha = -135.0; // degrees, as the View Kit shows them
constexpr double kStartBeta = 35.26;

// Marks the application busy while a started program is watched: the window
// still repaints, but commands and mouse input are refused meanwhile.
class BusyWhile {
public:
    explicit BusyWhile(bool& flag) : flag_(flag) { flag_ = true; }
    ~BusyWhile() { flag_ = false; }
    BusyWhile(const BusyWhile&) = delete;
    BusyWhile& operator=(const BusyWhile&) = delete;

private:
    bool& flag_;
};

bool sameItem(const std::optional<render::ItemRef>& a, const std::optional<render::ItemRef>& b) {
    if (!a || !b)
        return !a && !b;
    return a->kind == b->kind && a->id == b->id;
}

bool insideWindow(const view3d::ScreenPoint& p, const view3d::View& view) {
    return p.x >= 0 && p.y >= 0 && p.x <= view.width() && p.y <= view.height();
}

// Keeps only the IDs that name a record, so that a dialog cannot make the
// window draw or edit records that do not exist.
void keepExisting(std::vector<int>& ids, std::size_t count) {
    std::vector<int> kept;
    for (int id : ids)
        if (id >= 0 && static_cast<std::size_t>(id) < count)
            kept.push_back(id);
    ids = std::move(kept);
}

} // namespace

CorvantaApp::CorvantaApp(platform::Gui& gui, platform::ProcessServices& process,
                         std::ostream& console, std::filesystem::path folder)
    : gui_(gui), process_(process), console_(console), files_(gui),
      analysis_(gui, process, std::move(folder)), controller_(kStartAlpha, kStartBeta),
      viewKit_(
          controller_, [this] { redraw(); }, view3d::preprocessorViewKitIds()) {
    controller_.setPickHandler(this);
    for (int k = 0; k < kDialogKinds; ++k)
        dialogs_[static_cast<std::size_t>(k)] = makeDialog(static_cast<DialogKind>(k), *this);
}

CorvantaApp::~CorvantaApp() {
    // Dialogs close before the model and view they show.
    for (std::unique_ptr<ModelessDialog>& dialog : dialogs_)
        if (dialog)
            dialog->close();
    viewKit_.close();
}

std::string CorvantaApp::windowTitle(const std::string& fileName, bool unsaved) {
    std::string title = "Corvanta 薄壳有限元前处理(壳结构分析程序) - ShellFem 教学软件包编写组 "
                        "2021/10/24 - ";
    title += fileName.empty() ? "未命名" : std::filesystem::path(fileName).filename().string();
    if (unsaved)
        title += " *";
    return title;
}

std::string CorvantaApp::title() const {
    return windowTitle(files_.fileName(), files_.unsaved());
}

void CorvantaApp::start() {
    const double pi = std::acos(-1.0);
    controller_.setStoredAngles(kStartAlpha, kStartBeta);
    controller_.view().setAngles(-0.75 * pi, 0.1958888888888889 * pi);
    controller_.view().setPoints(viewPositions(model_.data()));
    controller_.view().fit();
}

void CorvantaApp::attachWindow(platform::Window* window) {
    window_ = window;
    syncChecks();
    showStatus();
}

platform::Color CorvantaApp::backgroundColor() const {
    return white_ ? platform::Color{255, 255, 255} : platform::Color{0, 0, 0};
}

bool CorvantaApp::checked(int id) const {
    if (id == command::kWhiteBackground)
        return white_;
    if (id == command::kBlackBackground)
        return !white_;
    return false;
}

void CorvantaApp::syncChecks() {
    if (!window_)
        return;
    window_->setMenuChecked(command::kWhiteBackground, checked(command::kWhiteBackground));
    window_->setMenuChecked(command::kBlackBackground, checked(command::kBlackBackground));
    window_->setTitle(title());
}

void CorvantaApp::showStatus() {
    std::string text =
        statusText(model_, controller_.mode(), rectanglePicking_, highlight_.hovered);
    if (text == status_)
        return;
    status_ = std::move(text);
    if (window_)
        window_->setStatusText(status_);
}

void CorvantaApp::redraw() {
    if (window_)
        window_->redraw();
}

void CorvantaApp::refreshDialogs() {
    for (std::unique_ptr<ModelessDialog>& dialog : dialogs_)
        if (dialog)
            dialog->refresh();
}

void CorvantaApp::onPaint(platform::Canvas& canvas) {
    const platform::Color background = backgroundColor();
    canvas.setBrush(background);
    canvas.rectangle(
        {0, 0}, {static_cast<double>(canvas.width() - 1), static_cast<double>(canvas.height() - 1)},
        true, false);
    render::drawModel(canvas, model_, controller_.view(), switches_, highlight_, background);
    controller_.drawRubberBand(canvas);
}

void CorvantaApp::handle(view3d::ViewResponse response) {
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

void CorvantaApp::onSize(int width, int height) {
    handle(controller_.resize(width, height));
}

void CorvantaApp::onKeyDown(platform::Key key) {
    if (busy_)
        return;
    if (key == platform::Key::Backspace && targetOf(controller_.mode()) == PickTarget::Outline) {
        dropLastOutlinePoint();
        return;
    }
    handle(controller_.key(key));
}

void CorvantaApp::dropLastOutlinePoint() {
    std::vector<int>& outline = model_.selection().polygonOutline;
    if (outline.empty())
        return;
    outline.pop_back();
    refreshDialogs();
    showStatus();
    redraw();
}

void CorvantaApp::onCharacter(int character) {
    if (busy_)
        return;
    if (character == 27) {
        model_.escape();
        controller_.resetClicks(); // also drops a half-made rectangle or pan
        highlight_ = {};
        refreshDialogs();
        showStatus();
        redraw();
        return;
    }
    const view3d::ViewResponse response = controller_.character(character);
    if (response == view3d::ViewResponse::Ignored)
        return;
    highlight_ = {}; // P and Z leave the picking mode
    refreshDialogs();
    showStatus();
    handle(response);
}

void CorvantaApp::onMouseMove(platform::PixelPoint at) {
    if (busy_)
        return;
    handle(controller_.mouseMove(at));
}

void CorvantaApp::onButtonDown(platform::MouseButton button, platform::PixelPoint at,
                               platform::Modifiers modifiers) {
    if (busy_)
        return;
    handle(controller_.buttonDown(button, at, modifiers));
    showStatus();
}

void CorvantaApp::onButtonUp(platform::MouseButton button, platform::PixelPoint at,
                             platform::Modifiers modifiers) {
    if (busy_)
        return;
    handle(controller_.buttonUp(button, at, modifiers));
    showStatus();
}

void CorvantaApp::onWheel(platform::PixelPoint at, int delta) {
    if (busy_)
        return;
    handle(controller_.wheel(at, delta));
}

bool CorvantaApp::onCloseRequest() {
    return !busy_ && files_.mayDiscardChanges(model_);
}

view3d::PickGesture CorvantaApp::gesture(int mode) const {
    if (targetOf(mode) == PickTarget::Outline)
        return view3d::PickGesture::Polyline;
    return rectanglePicking_ ? view3d::PickGesture::Rectangle : view3d::PickGesture::Point;
}

void CorvantaApp::pickPoint(int mode, platform::PixelPoint at, platform::Modifiers modifiers) {
    const render::ProjectedModel screen = render::projectModel(model_.data(), controller_.view());
    if (const std::optional<render::ItemRef> item = itemAt(model_, screen, mode, at)) {
        changePicks(model_.selection(), mode, {item->id}, unpicks(mode, modifiers.control));
        refreshDialogs();
    }
}

void CorvantaApp::pickRectangle(int mode, platform::PixelPoint a, platform::PixelPoint b,
                                platform::Modifiers modifiers) {
    const render::ProjectedModel screen = render::projectModel(model_.data(), controller_.view());
    changePicks(model_.selection(), mode, itemsInRectangle(model_, screen, mode, a, b),
                unpicks(mode, modifiers.control));
    refreshDialogs();
}

bool CorvantaApp::hover(int mode, platform::PixelPoint at) {
    std::optional<render::ItemRef> hovered;
    if (gesture(mode) != view3d::PickGesture::Rectangle)
        hovered = itemAt(model_, render::projectModel(model_.data(), controller_.view()), mode, at);
    const bool changed = !sameItem(hovered, highlight_.hovered);
    highlight_.hovered = hovered;
    const bool outline = targetOf(mode) == PickTarget::Outline;
    highlight_.cursor = outline ? std::optional<platform::PixelPoint>(at) : std::nullopt;
    if (changed)
        showStatus();
    // The rubber line from the outline's last point follows the cursor.
    return changed || (outline && !model_.selection().polygonOutline.empty());
}

EditResult CorvantaApp::edit(const std::function<EditResult(Model&)>& change, EditScope scope) {
    const std::size_t pointsBefore = model_.data().points.size();
    const std::size_t positionsBefore = pointsBefore + model_.data().nodes.size();
    const EditResult result = change(model_);
    if (result.ok()) {
        if (scope == EditScope::Model)
            files_.markChanged();
        syncView(pointsBefore, positionsBefore);
        highlight_.hovered.reset(); // its ID may name another record now
    }
    if (!result.message.empty())
        gui_.show(kWarningCaption, result.message);
    refreshDialogs();
    syncChecks();
    showStatus();
    redraw();
    return result;
}

void CorvantaApp::syncView(std::size_t pointsBefore, std::size_t positionsBefore) {
    view3d::View& view = controller_.view();
    view.setPoints(viewPositions(model_.data()));
    bool fit = positionsBefore == 0 && !view.points().empty();
    const render::ProjectedModel screen = render::projectModel(model_.data(), view);
    for (std::size_t i = pointsBefore; i < screen.points.size() && !fit; ++i)
        fit = !insideWindow(screen.points[i], view);
    if (fit)
        view.fit();
}

void CorvantaApp::setPicks(const Selection& picks) {
    Selection kept = picks;
    const ModelData& data = model_.data();
    keepExisting(kept.points, data.points.size());
    keepExisting(kept.polygonOutline, data.points.size());
    keepExisting(kept.polygons, data.polygons.size());
    keepExisting(kept.nodes, data.nodes.size());
    model_.selection() = std::move(kept);
    refreshDialogs();
    showStatus();
    redraw();
}

void CorvantaApp::warn(const std::string& message) {
    gui_.show(kWarningCaption, message);
}

void CorvantaApp::setMode(int mode) {
    controller_.setMode(mode);
    highlight_ = {};
}

void CorvantaApp::setPickingMode(int mode) {
    setMode(mode);
    refreshDialogs();
    showStatus();
    redraw();
}

void CorvantaApp::setRectanglePicking(bool on) {
    rectanglePicking_ = on;
    controller_.resetClicks();
    highlight_.hovered.reset();
    refreshDialogs();
    showStatus();
    redraw();
}

bool CorvantaApp::handleViewButton(int controlId) {
    if (!view3d::handleViewButton(controller_, view3d::preprocessorViewKitIds(), controlId,
                                  [this] { redraw(); }))
        return false;
    highlight_ = {};
    refreshDialogs();
    showStatus();
    return true;
}

void CorvantaApp::setPlotSwitches(const render::PlotSwitches& switches) {
    switches_ = switches;
    redraw();
}

void CorvantaApp::setWhiteBackground(bool white) {
    white_ = white;
    refreshDialogs();
    syncChecks();
    redraw();
}

std::unique_ptr<platform::Dialog> CorvantaApp::openDialog(const platform::DialogTemplate& form,
                                                          platform::DialogHandler& handler) {
    return gui_.openModeless(form, handler);
}

void CorvantaApp::showDialog(DialogKind kind) {
    if (ModelessDialog* d = dialog(kind))
        d->open();
}

void CorvantaApp::modelReplaced() {
    analysis_.forgetSolution();
    controller_.resetClicks();
    highlight_ = {};
    controller_.view().setPoints(viewPositions(model_.data()));
    controller_.view().fit();
}

void CorvantaApp::onCommand(int id) {
    using namespace command;
    if (busy_)
        return;
    render::PlotSwitches& s = switches_;
    switch (id) {
    case kFileOpen:
        if (files_.open(model_))
            modelReplaced();
        break;
    case kFileSave:
        files_.save(model_);
        break;
    case kFileSaveAs:
        files_.saveAs(model_);
        break;
    case kFileExport:
        files_.exportSolving(model_);
        break;
    case kPlotControls:
        showDialog(DialogKind::PlotControls);
        break;
    case kViewKit:
        viewKit_.open(gui_);
        break;
    case kHidePolygons:
        s.polygons = true;
        s.elements = s.nodes = s.nodeNumbers = s.elementNumbers = false;
        setMode(kModePickPolygons);
        showDialog(DialogKind::HidePolygons);
        break;
    case kWhiteBackground: // either item toggles: the checked one switches to the other
    case kBlackBackground:
        white_ = !white_;
        break;
    case kMaterialThick:
        showDialog(DialogKind::MaterialsThicknesses);
        break;
    case kCreateGeoPt:
        showDialog(DialogKind::CreateGeoPt);
        break;
    case kCreatePolygon:
        rectanglePicking_ = false;
        setMode(kModeOutlineAdd);
        showDialog(DialogKind::CreatePolygon);
        break;
    case kCopyGeoPt:
        setMode(kModePickPoints);
        rectanglePicking_ = false;
        showDialog(DialogKind::CopyGeoPt);
        break;
    case kMeshQuad:
        setMode(kModePickPolygons);
        s.polygons = s.polygonNumbers = s.elements = true;
        showDialog(DialogKind::MeshingQuad);
        break;
    case kApplyForces:
        setMode(kModePickNodes);
        showDialog(DialogKind::ApplyForces);
        break;
    case kApplyPolygonLoads:
        setMode(kModePickPolygons);
        s.polygonNumbers = true;
        s.elements = false;
        showDialog(DialogKind::PolygonLoads);
        break;
    case kApplyRestraints:
        setMode(kModePickNodes);
        s.nodes = s.elements = true;
        showDialog(DialogKind::ApplyRestraints);
        break;
    case kStaticCalculate: {
        const BusyWhile busy(busy_);
        analysis_.staticCalculate(model_);
        break;
    }
    case kStressContour: {
        const BusyWhile busy(busy_);
        analysis_.showStressContour();
        break;
    }
    default:
        return;
    }
    refreshDialogs();
    syncChecks();
    showStatus();
    redraw();
}

} // namespace shellfem::preprocessor::app
