#include "platform/fltk/fltk_gui.h"

#include "platform/fltk/desktop_text_viewer.h"
#include "platform/fltk/file_dialog_filter.h"
#include "platform/fltk/fltk_canvas.h"
#include "platform/fltk/fltk_dialog.h"
#include "platform/fltk/fltk_program_log.h"

#include <FL/Fl.H>
#include <FL/Fl_Native_File_Chooser.H>
#include <FL/Fl_Window.H>
#include <FL/fl_ask.H>
#include <FL/fl_draw.H>
#include <FL/x.H>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <ostream>

// Outside the project's namespace: FLTK's offscreen macros name X11's Window type, which
// the platform's own Window would hide. Returns w x h RGB pixels drawn by `paint`.
static std::vector<unsigned char>
paintOffscreen(int w, int h, const std::function<void(shellfem::platform::Canvas&)>& paint) {
    Fl_Offscreen off = fl_create_offscreen(w, h);
    std::vector<unsigned char> rgb;
    {
        fl_begin_offscreen(off);
        {
            shellfem::platform::fltk::FltkCanvas canvas(0, 0, w, h);
            paint(canvas);
        }
        unsigned char* pixels = fl_read_image(nullptr, 0, 0, w, h);
        if (pixels)
            rgb.assign(pixels, pixels + static_cast<std::size_t>(w) * h * 3);
        delete[] pixels;
        fl_end_offscreen();
    }
    fl_delete_offscreen(off);
    return rgb;
}

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
    // WM_CLASS "pelunar", "Pelunar": desktops group and name the windows by the program.
    static std::string instance;
    instance = program_;
    for (char& c : instance)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    Fl_Window::default_xclass(instance.c_str());
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
        // Stepped, so that dialogs do not hide each other.
        const int step = 28 * (dialogsOpened_++ % 5);
        constexpr int gap = 8;
        int sx = 0, sy = 0, sw = 0, sh = 0;
        Fl::screen_xywh(sx, sy, sw, sh, main_->x(), main_->y());
        y = main_->y() + 40 + step;
        if (main_->x() + main_->w() + gap + form.width <= sx + sw)
            x = main_->x() + main_->w() + gap; // beside it, on the right
        else if (main_->x() - gap - form.width >= sx)
            x = main_->x() - gap - form.width; // beside it, on the left
        else
            x = main_->x() + 12 + step; // over its left-hand side, clear of a legend
        y = std::max(sy, std::min(y, sy + sh - form.height - 30));
        x = std::max(sx, x);
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

std::optional<RgbImage> FltkGui::renderImage(int width, int height,
                                             const std::function<void(Canvas&)>& paint) {
    if (fl_display == nullptr || width <= 0 || height <= 0 || width > kLargestPicture ||
        height > kLargestPicture)
        return std::nullopt;
    RgbImage image;
    image.rgb = paintOffscreen(width, height, paint);
    if (image.rgb.size() != static_cast<std::size_t>(width) * height * 3)
        return std::nullopt;
    image.width = width;
    image.height = height;
    return image;
}

void setUtf8TitleProperties(Fl_Window* window) {
    if (fl_display == nullptr || window == nullptr || !window->shown() || !window->label())
        return;
    const ::Window xid = fl_xid(window);
    const Atom utf8 = XInternAtom(fl_display, "UTF8_STRING", False);
    const char* names[] = {"WM_NAME", "_NET_WM_NAME", "WM_ICON_NAME", "_NET_WM_ICON_NAME"};
    const std::string title = window->label();
    for (const char* name : names)
        XChangeProperty(fl_display, xid, XInternAtom(fl_display, name, False), utf8, 8,
                        PropModeReplace, reinterpret_cast<const unsigned char*>(title.data()),
                        static_cast<int>(title.size()));
    XFlush(fl_display);
}

} // namespace shellfem::platform::fltk
