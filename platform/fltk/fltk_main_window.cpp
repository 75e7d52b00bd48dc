#include "platform/fltk/fltk_main_window.h"

#include "platform/fltk/fltk_canvas.h"
#include "platform/fltk/fltk_gui.h"

#include <FL/Fl.H>
#include <FL/Fl_Box.H>
#include <FL/Fl_Double_Window.H>
#include <FL/Fl_Menu_Bar.H>
#include <FL/Fl_Widget.H>

#include <cstdint>

namespace shellfem::platform::fltk {

namespace {

constexpr int kMenuHeight = 25;
constexpr int kStatusHeight = 22;

Modifiers heldModifiers() {
    const int state = Fl::event_state();
    Modifiers m;
    m.shift = (state & FL_SHIFT) != 0;
    m.control = (state & FL_CTRL) != 0;
    m.alt = (state & FL_ALT) != 0;
    return m;
}

// The two buttons the programs use; the middle one is left alone.
bool mouseButton(MouseButton& button) {
    if (Fl::event_button() == FL_LEFT_MOUSE)
        button = MouseButton::Left;
    else if (Fl::event_button() == FL_RIGHT_MOUSE)
        button = MouseButton::Right;
    else
        return false;
    return true;
}

// The client area: everything below the menu bar.
class DrawingArea : public Fl_Widget {
public:
    DrawingArea(int x, int y, int w, int h, WindowHandler& handler)
        : Fl_Widget(x, y, w, h), handler_(handler) {}

    void draw() override {
        FltkCanvas canvas(x(), y(), w(), h());
        handler_.onPaint(canvas);
    }

    void resize(int x, int y, int w, int h) override {
        const bool changed = w != this->w() || h != this->h();
        Fl_Widget::resize(x, y, w, h);
        if (changed)
            handler_.onSize(w, h);
    }

    int handle(int event) override {
        switch (event) {
        case FL_ENTER:
        case FL_LEAVE:
        case FL_FOCUS:
        case FL_UNFOCUS:
            return 1;
        case FL_PUSH: {
            if (Fl::focus() != this)
                take_focus();
            MouseButton button;
            if (mouseButton(button))
                handler_.onButtonDown(button, local(), heldModifiers());
            return 1;
        }
        case FL_MOVE:
        case FL_DRAG:
            handler_.onMouseMove(local());
            return 1;
        case FL_RELEASE: {
            MouseButton button;
            if (mouseButton(button))
                handler_.onButtonUp(button, local(), heldModifiers());
            return 1;
        }
        case FL_MOUSEWHEEL:
            if (Fl::event_dy() != 0)
                handler_.onWheel(local(), -120 * Fl::event_dy()); // dy > 0: towards the user
            return 1;
        case FL_KEYBOARD:
        case FL_SHORTCUT:
            return key();
        default:
            return Fl_Widget::handle(event);
        }
    }

private:
    PixelPoint local() const {
        return {static_cast<double>(Fl::event_x() - x()), static_cast<double>(Fl::event_y() - y())};
    }

    int key() {
        if (Fl::event_state() & (FL_CTRL | FL_ALT | FL_META))
            return 0; // leave menu shortcuts alone
        switch (Fl::event_key()) {
        case FL_Left:
            handler_.onKeyDown(Key::Left);
            return 1;
        case FL_Right:
            handler_.onKeyDown(Key::Right);
            return 1;
        case FL_Up:
            handler_.onKeyDown(Key::Up);
            return 1;
        case FL_Down:
            handler_.onKeyDown(Key::Down);
            return 1;
        case FL_Enter:
        case FL_KP_Enter:
            handler_.onKeyDown(Key::Enter);
            return 1;
        case FL_Delete:
            handler_.onKeyDown(Key::Delete);
            return 1;
        case FL_BackSpace:
            handler_.onKeyDown(Key::Backspace);
            return 1;
        case FL_Escape:
            handler_.onCharacter(27);
            return 1;
        default:
            break;
        }
        const char* text = Fl::event_text();
        if (Fl::event_length() == 1 && text[0] >= 32 && text[0] < 127) {
            handler_.onCharacter(text[0]);
            return 1;
        }
        return 0;
    }

    WindowHandler& handler_;
};

} // namespace

struct FltkMainWindow::Impl {
    FltkGui& gui;
    WindowHandler& handler;
    Fl_Double_Window* window = nullptr;
    Fl_Menu_Bar* menu = nullptr;
    DrawingArea* area = nullptr;
    Fl_Box* status = nullptr;

    Impl(FltkGui& g, WindowHandler& h) : gui(g), handler(h) {}

    Fl_Menu_Item* item(int id) const {
        const int n = menu->size();
        for (int i = 0; i < n; ++i) {
            Fl_Menu_Item* it = const_cast<Fl_Menu_Item*>(&menu->menu()[i]);
            if (it->label() && !it->submenu() &&
                reinterpret_cast<std::intptr_t>(it->user_data()) == id)
                return it;
        }
        return nullptr;
    }

    // Each item's callback gets the item's identifier; the bar carries the Impl.
    static void onMenu(Fl_Widget* bar, void* data) {
        auto* self = static_cast<Impl*>(bar->user_data());
        self->handler.onCommand(static_cast<int>(reinterpret_cast<std::intptr_t>(data)));
    }

    static void onClose(Fl_Widget*, void* data) {
        auto* self = static_cast<Impl*>(data);
        // Escape is the program's (it clears a selection), not a way to close the window.
        if (Fl::event() == FL_SHORTCUT && Fl::event_key() == FL_Escape) {
            self->handler.onCharacter(27);
            return;
        }
        if (self->handler.onCloseRequest())
            self->gui.quit(0);
    }
};

FltkMainWindow::FltkMainWindow(FltkGui& gui, const std::string& title, int width, int height,
                               const std::vector<MenuItem>& menu, WindowHandler& handler)
    : impl_(std::make_unique<Impl>(gui, handler)) {
    Fl_Group* saved = Fl_Group::current();
    Fl_Group::current(nullptr);
    impl_->window = new Fl_Double_Window(width, height);
    impl_->window->copy_label(title.c_str());
    impl_->window->begin();
    impl_->menu = new Fl_Menu_Bar(0, 0, width, kMenuHeight);
    impl_->menu->user_data(impl_.get());
    for (const MenuItem& m : menu) {
        int flags = 0;
        if (m.mark == MenuMark::Check)
            flags |= FL_MENU_TOGGLE;
        else if (m.mark == MenuMark::Radio)
            flags |= FL_MENU_RADIO;
        if (m.dividerAfter)
            flags |= FL_MENU_DIVIDER;
        impl_->menu->add(m.path.c_str(), 0, &Impl::onMenu,
                         reinterpret_cast<void*>(static_cast<std::intptr_t>(m.id)), flags);
    }
    impl_->area =
        new DrawingArea(0, kMenuHeight, width, height - kMenuHeight - kStatusHeight, handler);
    impl_->status = new Fl_Box(0, height - kStatusHeight, width, kStatusHeight);
    impl_->status->box(FL_THIN_DOWN_BOX);
    impl_->status->align(FL_ALIGN_LEFT | FL_ALIGN_INSIDE | FL_ALIGN_CLIP);
    impl_->status->labelsize(13);
    impl_->window->resizable(impl_->area);
    impl_->window->end();
    impl_->window->callback(&Impl::onClose, impl_.get());
    Fl_Group::current(saved);
}

FltkMainWindow::~FltkMainWindow() {
    impl_->gui.setMainWindow(nullptr);
    if (impl_->window) {
        impl_->window->hide();
        delete impl_->window;
    }
}

void FltkMainWindow::setPosition(int x, int y) {
    impl_->window->position(x, y);
}

void FltkMainWindow::show() {
    impl_->window->show();
    setUtf8TitleProperties(impl_->window);
    impl_->gui.setMainWindow(impl_->window);
    impl_->area->take_focus();
    impl_->handler.onSize(impl_->area->w(), impl_->area->h());
}

int FltkMainWindow::drawingWidth() const {
    return impl_->area->w();
}

int FltkMainWindow::drawingHeight() const {
    return impl_->area->h();
}

void FltkMainWindow::redraw() {
    impl_->area->redraw();
}

void FltkMainWindow::setMenuChecked(int id, bool on) {
    if (Fl_Menu_Item* it = impl_->item(id)) {
        if (on)
            it->set();
        else
            it->clear();
    }
}

bool FltkMainWindow::menuChecked(int id) const {
    const Fl_Menu_Item* it = impl_->item(id);
    return it != nullptr && it->value() != 0;
}

void FltkMainWindow::setMenuEnabled(int id, bool on) {
    if (Fl_Menu_Item* it = impl_->item(id)) {
        if (on)
            it->activate();
        else
            it->deactivate();
    }
}

void FltkMainWindow::setTitle(const std::string& utf8) {
    impl_->window->copy_label(utf8.c_str());
    setUtf8TitleProperties(impl_->window);
}

void FltkMainWindow::setStatusText(const std::string& utf8) {
    // A leading blank keeps the text off the bar's frame.
    impl_->status->copy_label((" " + utf8).c_str());
}

} // namespace shellfem::platform::fltk
