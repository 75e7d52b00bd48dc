#include "platform/fltk/fltk_gui.h"

#include "platform/fltk/desktop_text_viewer.h"
#include "platform/fltk/file_dialog_filter.h"
#include "platform/fltk/fltk_dialog.h"
#include "platform/fltk/fltk_program_log.h"

#include <FL/Fl.H>
#include <FL/Fl_Native_File_Chooser.H>
#include <FL/Fl_Window.H>
#include <FL/fl_ask.H>
#include <FL/x.H>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <ostream>

namespace shellfem::platform::fltk {

namespace {

struct PendingViewer {
    FltkGui* gui;
    pid_t pid;
    std::string path;
};

void pollViewer(void* data) {
    auto* p = static_cast<PendingViewer*>(data);
    const ViewerState state = pollTextViewer(p->pid);
    if (state == ViewerState::Running) {
        Fl::repeat_timeout(0.25, &pollViewer, data);
        return;
    }
    if (state == ViewerState::Failed && !p->gui->quitting())
        p->gui->show(kWarningCaption, textViewerFailureMessage(p->path));
    delete p;
}

} // namespace

FltkGui::FltkGui(std::string programName) : program_(std::move(programName)) {}

FltkGui::~FltkGui() = default;

bool FltkGui::openDisplay(std::ostream& errors) {
    const char* name = std::getenv("DISPLAY");
    if (name == nullptr || *name == '\0') {
        errors << program_
               << ": no graphical display: the environment variable DISPLAY is not "
                  "set.\n"
               << program_ << " is a windowed program; run it on a desktop (or under xvfb-run)."
               << std::endl;
        return false;
    }
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) {
        errors << program_ << ": cannot open the graphical display \"" << name << "\".\n"
               << program_ << " is a windowed program; run it on a desktop (or under xvfb-run)."
               << std::endl;
        return false;
    }
    fl_open_display(display);
    // Xft picks the named face for every glyph; the default "sans" has no
    // Chinese, so the program's Chinese messages would draw as boxes.
    static const std::string plain = std::string(" ") + kCjkFace;
    static const std::string bold = std::string("B") + kCjkFace;
    static const std::string italic = std::string("I") + kCjkFace;
    static const std::string boldItalic = std::string("P") + kCjkFace;
    static const std::string mono = std::string(" ") + kCjkFace + " Mono";
    static const std::string monoBold = std::string("B") + kCjkFace + " Mono";
    Fl::set_font(FL_HELVETICA, plain.c_str());
    Fl::set_font(FL_HELVETICA_BOLD, bold.c_str());
    Fl::set_font(FL_HELVETICA_ITALIC, italic.c_str());
    Fl::set_font(FL_HELVETICA_BOLD_ITALIC, boldItalic.c_str());
    Fl::set_font(FL_COURIER, mono.c_str());
    Fl::set_font(FL_COURIER_BOLD, monoBold.c_str());
    Fl::scheme("gtk+");
    Fl::visual(FL_DOUBLE | FL_RGB);
    return true;
}

int FltkGui::run() {
    while (!quitting_ && Fl::first_window() != nullptr)
        Fl::wait();
    return exitCode_;
}

void FltkGui::show(const std::string& caption, const std::string& text) {
    fl_message_title(caption.c_str());
    fl_message_hotspot(0);
    fl_close = "OK"; // fl_alert: the warning icon and one button, labelled as on Windows
    fl_alert("%s", text.c_str());
}

Answer FltkGui::ask(const std::string& caption, const std::string& question) {
    fl_message_title(caption.c_str());
    fl_message_hotspot(0);
    // fl_choice puts its first button at the right: Cancel there, then No, then Yes.
    switch (fl_choice("%s", "Cancel", "No", "Yes", question.c_str())) {
    case 2:
        return Answer::Yes;
    case 1:
        return Answer::No;
    default:
        return Answer::Cancel; // the Cancel button, Escape or the close button
    }
}

void FltkGui::openTextFile(const std::string& path) {
    const pid_t pid = startTextViewer(path);
    if (pid < 0) {
        show(kWarningCaption, textViewerFailureMessage(path));
        return;
    }
    Fl::add_timeout(0.25, &pollViewer, new PendingViewer{this, pid, path});
}

std::optional<std::string> FltkGui::chooseFile(const FileDialogOptions& options, bool save) {
    Fl_Native_File_Chooser chooser;
    chooser.title(options.title.c_str());
    chooser.type(save ? Fl_Native_File_Chooser::BROWSE_SAVE_FILE
                      : Fl_Native_File_Chooser::BROWSE_FILE);
    if (save)
        chooser.options(Fl_Native_File_Chooser::SAVEAS_CONFIRM |
                        Fl_Native_File_Chooser::NEW_FOLDER);
    const std::string filter = toFltkFilter(options.filter);
    chooser.filter(filter.c_str());
    chooser.directory(".");
    if (chooser.show() != 0 || chooser.filename() == nullptr || *chooser.filename() == '\0')
        return std::nullopt; // cancelled (1) or failed (-1)
    // An existing file is opened as chosen; the default extension completes typed names.
    const std::string chosen = chooser.filename();
    if (!save && std::filesystem::exists(chosen))
        return chosen;
    return withDefaultExtension(chosen, options.defaultExtension);
}

std::optional<std::string> FltkGui::chooseFileToOpen(const FileDialogOptions& options) {
    return chooseFile(options, false);
}

std::optional<std::string> FltkGui::chooseFileToSave(const FileDialogOptions& options) {
    return chooseFile(options, true);
}

std::unique_ptr<Dialog> FltkGui::openModeless(const DialogTemplate& form, DialogHandler& handler) {
    int x = -1, y = -1;
    if (main_ != nullptr && main_->shown()) {
        // Inside the main window's right edge, stepped so that dialogs do not hide each other.
        const int step = 28 * (dialogsOpened_++ % 5);
        x = std::max(0, main_->x() + main_->w() - form.width - 12 - step);
        y = main_->y() + 40 + step;
        int sx = 0, sy = 0, sw = 0, sh = 0;
        Fl::screen_xywh(sx, sy, sw, sh, main_->x(), main_->y());
        if (main_->x() + main_->w() + form.width + 8 <= sx + sw) // room beside it: use that
            x = main_->x() + main_->w() + 8;
    }
    return std::make_unique<FltkDialog>(form, handler, x, y);
}

WatchedProgram FltkGui::watchProgram(RunningProgram& program, const std::string& title) {
    if (!programLog_)
        programLog_ = std::make_unique<ProgramLog>();
    return programLog_->watch(program, title);
}

void FltkGui::quit(int exitCode) {
    exitCode_ = exitCode;
    quitting_ = true;
    while (Fl_Window* w = Fl::first_window())
        w->hide();
}

} // namespace shellfem::platform::fltk
