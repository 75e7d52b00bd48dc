#include "platform/fltk/fltk_program_log.h"

#include "platform/console_text.h"

#include <FL/Fl.H>
#include <FL/Fl_Button.H>
#include <FL/Fl_Double_Window.H>
#include <FL/Fl_Text_Buffer.H>
#include <FL/Fl_Text_Display.H>

namespace shellfem::platform::fltk {

namespace {
constexpr double kPollSeconds = 0.1;
} // namespace

struct ProgramLog::Widgets {
    Fl_Double_Window* window = nullptr;
    Fl_Text_Display* display = nullptr;
    Fl_Text_Buffer* buffer = nullptr;
    Fl_Button* close = nullptr;
    bool running = false;

    // The title-bar button and Close hide the log, but not while the program runs.
    static void onClose(Fl_Widget*, void* data) {
        auto* self = static_cast<Widgets*>(data);
        if (!self->running)
            self->window->hide();
    }

    void show(const std::string& text) {
        buffer->text(text.c_str());
        display->insert_position(buffer->length());
        display->show_insert_position();
    }
};

ProgramLog::ProgramLog() : widgets_(std::make_unique<Widgets>()) {
    Widgets& w = *widgets_;
    Fl_Group* saved = Fl_Group::current();
    Fl_Group::current(nullptr);
    w.window = new Fl_Double_Window(640, 360);
    w.buffer = new Fl_Text_Buffer();
    w.display = new Fl_Text_Display(8, 8, 624, 308);
    w.display->buffer(w.buffer);
    w.display->textfont(FL_COURIER);
    w.display->textsize(13);
    w.close = new Fl_Button(540, 324, 92, 28, "Close");
    w.close->callback(&Widgets::onClose, &w);
    w.window->resizable(w.display);
    w.window->end();
    w.window->callback(&Widgets::onClose, &w);
    Fl_Group::current(saved);
}

ProgramLog::~ProgramLog() {
    delete widgets_->window; // owns the display and the button
    delete widgets_->buffer;
}

WatchedProgram ProgramLog::watch(RunningProgram& program, const std::string& title) {
    Widgets& w = *widgets_;
    w.window->hide();
    w.window->copy_label(title.c_str());
    w.window->set_modal();
    w.close->deactivate();
    w.running = true;
    ConsoleText console;
    w.show(console.text());
    w.window->show();
    WatchedProgram result;
    for (;;) {
        const std::string piece = program.readOutput();
        if (!piece.empty()) {
            console.write(piece);
            w.show(console.text());
        }
        if (const std::optional<int> code = program.exitCode()) {
            console.write(program.readOutput());
            result = {*code, console.text()};
            break;
        }
        Fl::wait(kPollSeconds); // repaints every window; input goes to the modal log only
    }
    w.running = false;
    console.write("\n[" + title + " ended with exit code " + std::to_string(result.exitCode) +
                  "]\n");
    w.show(console.text());
    // Shown again without modality, so that the user can read it beside the model.
    w.window->hide();
    w.window->clear_modal_states();
    w.close->activate();
    w.window->show();
    return result;
}

} // namespace shellfem::platform::fltk
