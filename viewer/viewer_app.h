#pragma once

#include "formats/stress_file.h"
#include "platform/gui.h"
#include "platform/process_services.h"
#include "view3d/view.h"
#include "view3d/view_controller.h"
#include "view3d/view_kit.h"
#include "viewer/companion_files.h"
#include "viewer/contour/color_scale.h"
#include "viewer/contour/contour_plot.h"
#include "viewer/contour/display_states.h"
#include "viewer/contour/probe.h"
#include "viewer/contour/selection.h"
#include "viewer/deformation_dialog.h"
#include "viewer/legend_dialog.h"
#include "viewer/picture_dialog.h"
#include "viewer/probe_panel.h"
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
//
// Beside the stress file it looks for "Node_Dis.txt" (the deformed shape) and
// "Elem_Node_Strs_InContourFormat.txt" (the stresses before averaging, for the
// averaging jump); without them, or when they do not fit the mesh, their menu
// items are greyed out and the status line says why.
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
    bool enabled(int id) const; // false: the menu shows `id` greyed out
    Selection& selection() { return selection_; }
    view3d::ViewController& controller() { return controller_; }
    view3d::ViewKit& viewKit() { return viewKit_; }
    SelectionDialog& elementDialog() { return elementDialog_; }
    SelectionDialog& nodeDialog() { return nodeDialog_; }
    platform::Gui& gui() { return gui_; }
    std::vector<view3d::ScreenPoint> projectedNodes() const;  // as drawn (deformed or not)
    std::optional<int> exitCode() const { return exitCode_; } // set when the program must end

    // The deformed shape: drawn when on; positions are node + scale * translation.
    bool deformedShown() const { return deformed_; }
    double deformationScale() const { return deformationScale_; }
    double defaultDeformationScale() const { return companions_.defaultScale(); }
    void setDeformationScale(double scale); // and shows the deformed shape
    const LegendSettings& legendSettings() const { return legend_; }
    void setLegendSettings(const LegendSettings& settings);
    const std::optional<ProbePoint>& pinnedProbe() const { return pinned_; }
    // Writes the drawing area with its legend; the status line tells where.
    Outcome savePicture(const std::string& path, PictureFormat format, int scale);
    // The picture as it is painted, without the rubber band of a half-made gesture.
    void paintPicture(platform::Canvas& canvas) const;

    void redraw();

private:
    bool load(const std::string& path);
    void openFile();
    void handle(view3d::ViewResponse response);
    void syncChecks();
    void syncMenu(); // check marks and greyed-out items
    void showDrawnPositions();
    PlotOptions plotOptions() const;
    void probe(platform::PixelPoint at);
    void pin(platform::PixelPoint at);
    std::vector<std::vector<std::string>> pinnedRows() const;
    void setStatus(const std::string& text);
    std::string fileStatus() const;
    void refreshDialogs();

    platform::Gui& gui_;
    platform::ProcessServices& process_;
    std::ostream& console_;
    platform::Window* window_ = nullptr;

    ContourModel model_;
    std::string stressPath_;
    bool loaded_ = false;
    DisplayStates display_;
    Selection selection_;
    int background_ = 0; // 0 black, 1 white
    int areaWidth_ = 0;  // the drawing area, legend included
    int areaHeight_ = 0;

    CompanionFiles companions_; // "Node_Dis.txt" and the element stresses beside the file
    bool deformed_ = false;
    double deformationScale_ = 0.0;
    LegendSettings legend_;
    std::optional<ProbePoint> pinned_;
    std::string status_;

    view3d::ViewController controller_;
    view3d::ViewKit viewKit_;
    SelectionDialog elementDialog_;
    SelectionDialog nodeDialog_;
    LegendDialog legendDialog_;
    DeformationDialog deformationDialog_;
    PictureDialog pictureDialog_;
    ProbePanel probePanel_;
    std::optional<int> exitCode_;
};

} // namespace shellfem::viewer
