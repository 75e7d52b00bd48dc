#pragma once

#include "platform/gui.h"
#include "platform/process_services.h"
#include "preprocessor/app/analysis_runner.h"
#include "preprocessor/app/corvanta_commands.h"
#include "preprocessor/app/dialog_attachments.h"
#include "preprocessor/app/editing_context.h"
#include "preprocessor/app/model_files.h"
#include "preprocessor/model/model.h"
#include "preprocessor/render/model_highlight.h"
#include "preprocessor/render/plot_switches.h"
#include "view3d/view_controller.h"
#include "view3d/view_kit.h"

#include <array>
#include <filesystem>
#include <iosfwd>
#include <memory>
#include <optional>
#include <string>

namespace shellfem::preprocessor::app {

// The pre-processor `Corvanta` as plain C++: the model with its file, the view
// and mouse modes, the display switches and backgrounds, the menu commands and
// the modeless dialogs, which see it only as an EditingContext. The window (any
// platform::Window) shows it; tests drive it without a display.
class CorvantaApp : public platform::WindowHandler,
                    public view3d::PickHandler,
                    public EditingContext {
public:
    // `console` receives "err**not inv"; `folder` is where the solver's files
    // go and the other programs are looked for first (the program passes the
    // current folder, empty).
    CorvantaApp(platform::Gui& gui, platform::ProcessServices& process, std::ostream& console,
                std::filesystem::path folder = {});
    ~CorvantaApp() override;

    // Window creation: Alpha −135 and Beta 35.26 degrees, the view angles −0.75π
    // and 0.1958888888888889π.
    void start();
    void attachWindow(platform::Window* window); // check marks, title, status line

    // "Corvanta ...(壳结构分析程序)... 2021/10/24 - plate.kvx *": the program, a
    // credit and the date, then the file's name and a star for unsaved changes.
    static std::string windowTitle(const std::string& fileName, bool unsaved);
    std::string title() const;

    // platform::WindowHandler
    void onPaint(platform::Canvas& canvas) override;
    void onSize(int width, int height) override;
    void onKeyDown(platform::Key key) override;
    void onCharacter(int character) override;
    void onMouseMove(platform::PixelPoint at) override;
    void onButtonDown(platform::MouseButton button, platform::PixelPoint at,
                      platform::Modifiers modifiers) override;
    void onButtonUp(platform::MouseButton button, platform::PixelPoint at,
                    platform::Modifiers modifiers) override;
    void onWheel(platform::PixelPoint at, int delta) override;
    void onCommand(int id) override;
    bool onCloseRequest() override; // asks about unsaved changes

    // view3d::PickHandler (modes 3 to 10)
    view3d::PickGesture gesture(int mode) const override;
    void pickPoint(int mode, platform::PixelPoint at, platform::Modifiers modifiers) override;
    void pickRectangle(int mode, platform::PixelPoint a, platform::PixelPoint b,
                       platform::Modifiers modifiers) override;
    bool hover(int mode, platform::PixelPoint at) override;

    // EditingContext
    const Model& model() const override { return model_; }
    EditResult edit(const std::function<EditResult(Model&)>& change,
                    EditScope scope = EditScope::Model) override;
    void setPicks(const Selection& picks) override;
    void warn(const std::string& message) override;
    int pickingMode() const override { return controller_.mode(); }
    void setPickingMode(int mode) override;
    bool rectanglePicking() const override { return rectanglePicking_; }
    void setRectanglePicking(bool on) override;
    bool handleViewButton(int controlId) override;
    const render::PlotSwitches& plotSwitches() const override { return switches_; }
    void setPlotSwitches(const render::PlotSwitches& switches) override;
    bool whiteBackground() const override { return white_; }
    void setWhiteBackground(bool white) override;
    std::unique_ptr<platform::Dialog> openDialog(const platform::DialogTemplate& form,
                                                 platform::DialogHandler& handler) override;

    // State, for tests.
    platform::Color backgroundColor() const;
    bool checked(int id) const; // the check mark the menu shows for `id`
    const ModelFiles& files() const { return files_; }
    bool solved() const { return analysis_.solved(); }
    bool busy() const { return busy_; } // a started program is being watched
    view3d::ViewController& controller() { return controller_; }
    view3d::ViewKit& viewKit() { return viewKit_; }
    ModelessDialog* dialog(DialogKind kind) {
        return dialogs_[static_cast<std::size_t>(kind)].get();
    }
    const render::ModelHighlight& highlight() const { return highlight_; }
    std::optional<int> exitCode() const { return exitCode_; } // set when the program must end

    void redraw();

private:
    void handle(view3d::ViewResponse response);
    void setMode(int mode);
    void showDialog(DialogKind kind);
    void refreshDialogs();
    void syncChecks();
    void showStatus();
    // The view takes the model's positions again; fits when new ones lie off the window.
    void syncView(std::size_t pointsBefore, std::size_t positionsBefore);
    void modelReplaced(); // after Open: fit, forget the solution, refresh everything
    void dropLastOutlinePoint();

    platform::Gui& gui_;
    platform::ProcessServices& process_;
    std::ostream& console_;
    platform::Window* window_ = nullptr;

    Model model_;
    ModelFiles files_;
    AnalysisRunner analysis_;
    view3d::ViewController controller_;
    view3d::ViewKit viewKit_;
    std::array<std::unique_ptr<ModelessDialog>, kDialogKinds> dialogs_;
    render::PlotSwitches switches_;
    render::ModelHighlight highlight_;
    bool white_ = false; // black background, the opposite, at start
    bool rectanglePicking_ = false;
    bool busy_ = false;
    std::string status_;
    std::optional<int> exitCode_;
};

} // namespace shellfem::preprocessor::app
