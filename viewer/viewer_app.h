#pragma once

#include "formats/stress_file.h"
#include "platform/gui.h"
#include "platform/process_services.h"
#include "view3d/view.h"
#include "view3d/view_controller.h"
#include "view3d/view_kit.h"
#include "viewer/contour/display_states.h"
#include "viewer/contour/selection.h"
#include "viewer/selection_dialog.h"
#include "viewer/viewer_commands.h"

#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

namespace shellfem::viewer {

inline const char* const kReadErrorMessage = "应力云图文件读取错误!";
using platform::kWarningCaption;

// The contour viewer `Pelunar` as plain C++: the model read from
// the averaged stress file, the view, the display states, the selection, the
// menu commands with their check marks, and the modeless dialogs. The window
// (any platform::Window) shows it; tests drive it without a display.
class ViewerApp : public platform::WindowHandler, public view3d::PickHandler {
public:
    // `console` receives the reasons of read errors and "err**not inv".
    ViewerApp(platform::Gui& gui, platform::ProcessServices& process, std::ostream& console);
    ~ViewerApp() override;

    // Window creation: reads the file, sets Alpha 225 and Beta 35.26 and fits.
    // A file that cannot be read shows "应力云图文件读取错误!" (caption "Warning!")
    // and returns false: the program then ends with exit code 1.
    bool start(const std::string& path = kAverageStressFileName);
    void attachWindow(platform::Window* window); // sets the window's check marks

    static std::string title();

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

    // view3d::PickHandler (modes 3 and 4)
    view3d::PickGesture gesture(int mode) const override;
    void pickPoint(int mode, platform::PixelPoint at, platform::Modifiers modifiers) override;
    void pickRectangle(int mode, platform::PixelPoint a, platform::PixelPoint b,
                       platform::Modifiers modifiers) override;

    // State, for the dialogs and for tests.
    bool loaded() const { return loaded_; }
    const ContourModel& model() const { return model_; }
    const DisplayStates& display() const { return display_; }
    int backgroundIndex() const { return background_; }
    platform::Color backgroundColor() const;
    bool checked(int id) const; // the check mark the menu shows for `id`
    Selection& selection() { return selection_; }
    view3d::ViewController& controller() { return controller_; }
    view3d::ViewKit& viewKit() { return viewKit_; }
    SelectionDialog& elementDialog() { return elementDialog_; }
    SelectionDialog& nodeDialog() { return nodeDialog_; }
    platform::Gui& gui() { return gui_; }
    std::vector<view3d::ScreenPoint> projectedNodes() const;
    std::optional<int> exitCode() const { return exitCode_; } // set when the program must end

    void redraw();

private:
    bool load(const std::string& path);
    void openFile();
    void handle(view3d::ViewResponse response);
    void syncChecks();

    platform::Gui& gui_;
    platform::ProcessServices& process_;
    std::ostream& console_;
    platform::Window* window_ = nullptr;

    ContourModel model_;
    bool loaded_ = false;
    DisplayStates display_;
    Selection selection_;
    int background_ = 0; // 0 black, 1 white
    view3d::ViewController controller_;
    view3d::ViewKit viewKit_;
    SelectionDialog elementDialog_;
    SelectionDialog nodeDialog_;
    std::optional<int> exitCode_;
};

} // namespace shellfem::viewer
