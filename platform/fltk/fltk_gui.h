#pragma once

#include "platform/gui.h"

#include <iosfwd>
#include <memory>
#include <string>

class Fl_Window;

namespace shellfem::platform::fltk {

class ProgramLog;

// The desktop services over FLTK. Create one per program, call openDisplay
// first, then build the windows and call run.
class FltkGui : public Gui {
public:
    explicit FltkGui(std::string programName);
    ~FltkGui() override;

    // Connects to the X display and selects the CJK-capable face "WenQuanYi
    // Micro Hei" for FLTK's fonts. Without a display it writes a clear message
    // to `errors` and returns false (the program then ends with code 1).
    bool openDisplay(std::ostream& errors);

    // Runs the event loop until quit() or until every window is closed.
    int run();

    void show(const std::string& caption, const std::string& text) override;
    Answer ask(const std::string& caption, const std::string& question) override;
    void openTextFile(const std::string& path) override;
    std::optional<std::string> chooseFileToOpen(const FileDialogOptions& options) override;
    std::optional<std::string> chooseFileToSave(const FileDialogOptions& options) override;
    std::unique_ptr<Dialog> openModeless(const DialogTemplate& form,
                                         DialogHandler& handler) override;
    WatchedProgram watchProgram(RunningProgram& program, const std::string& title) override;
    void quit(int exitCode) override;
    // Draws into an off-screen pixmap with the screen's fonts and reads it back; nothing
    // without a display or beyond kLargestPicture pixels a side.
    std::optional<RgbImage> renderImage(int width, int height,
                                        const std::function<void(Canvas&)>& paint) override;

    bool quitting() const { return quitting_; }
    const std::string& programName() const { return program_; }

    // The program's main window: modeless dialogs open beside it, or, without room on
    // the screen, over its left-hand side (programs keep legends at the right).
    void setMainWindow(Fl_Window* window) { main_ = window; }

private:
    std::optional<std::string> chooseFile(const FileDialogOptions& options, bool save);

    std::string program_;
    Fl_Window* main_ = nullptr;
    std::unique_ptr<ProgramLog> programLog_; // made when first needed
    int dialogsOpened_ = 0;
    int exitCode_ = 0;
    bool quitting_ = false;
};

// Sets the window's title properties (WM_NAME, WM_ICON_NAME and their _NET_WM_ forms)
// to its label as UTF-8 text; FLTK 1.3 types the legacy ones as Latin-1, which desktops
// then show garbled. Call after show() and after every change of the label.
void setUtf8TitleProperties(Fl_Window* window);

inline constexpr int kLargestPicture = 8192;

// The face FLTK's fonts are set to; Chinese texts draw as boxes without it.
inline const char* const kCjkFace = "WenQuanYi Micro Hei";

} // namespace shellfem::platform::fltk
