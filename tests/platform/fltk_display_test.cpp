// The FLTK layer on a real (virtual) display: run through run_under_xvfb.sh.
// Every test is skipped when no display can be opened.
#include <gtest/gtest.h>

#include "platform/fltk/fltk_canvas.h"
#include "platform/fltk/fltk_dialog.h"
#include "platform/fltk/fltk_gui.h"
#include "platform/fltk/fltk_main_window.h"

#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include <FL/Fl.H>
#include <FL/Fl_Button.H>
#include <FL/Fl_Menu_Bar.H>
#include <FL/Fl_Window.H>
#include <FL/fl_draw.H>
#include <FL/x.H> // last: X11's macros (None, Bool, ...) would upset the headers above

namespace shellfem::platform::fltk {
namespace {

FltkGui& gui() {
    static FltkGui g("platform_fltk_display_tests");
    return g;
}

bool display() {
    static const bool open = [] {
        std::ostringstream errors;
        return gui().openDisplay(errors);
    }();
    return open;
}

#define NEED_DISPLAY()                                                                             \
    if (!display())                                                                                \
    GTEST_SKIP() << "no display"

struct Pixels {
    int w, h;
    std::vector<unsigned char> rgb;
    Color at(int x, int y) const {
        const std::size_t i = (static_cast<std::size_t>(y) * w + x) * 3;
        return {rgb[i], rgb[i + 1], rgb[i + 2]};
    }
};

// Draws into an offscreen image of w x h, cleared black, and reads it back.
template <class Draw> Pixels render(int w, int h, Draw draw) {
    const std::optional<RgbImage> image = gui().renderImage(w, h, [&draw](Canvas& canvas) {
        canvas.setBrush({0, 0, 0});
        canvas.rectangle({0, 0}, {double(canvas.width()), double(canvas.height())}, true, false);
        draw(canvas);
    });
    return image ? Pixels{w, h, image->rgb} : Pixels{w, h, {}};
}

TEST(FltkGui, RendersOffTheScreenAtTheAskedSizeWithinLimits) {
    NEED_DISPLAY();
    const Pixels p = render(300, 50, [](Canvas& c) {
        EXPECT_EQ(c.width(), 300);
        c.setBrush({10, 200, 30});
        c.rectangle({150, 0}, {300, 50}, true, false); // to the far edges
    });
    ASSERT_EQ(p.rgb.size(), 300u * 50u * 3u);
    EXPECT_EQ(p.at(149, 25), (Color{0, 0, 0}));
    EXPECT_EQ(p.at(299, 49), (Color{10, 200, 30}));
    const auto nothing = [](Canvas&) {};
    EXPECT_FALSE(gui().renderImage(kLargestPicture + 1, 10, nothing));
    EXPECT_FALSE(gui().renderImage(0, 10, nothing));
}

TEST(FltkCanvas, DrawsFillsLinesAndText) {
    NEED_DISPLAY();
    const Pixels p = render(200, 100, [](Canvas& c) {
        c.setBrush({255, 0, 0});
        c.fillPolygon({{10, 10}, {60, 10}, {60, 60}, {10, 60}});
        c.setPen({{0, 255, 0}, 1});
        c.line({100, 5}, {100, 95});
        c.setBrush({0, 0, 255});
        c.ellipse({150, 50}, 20, 20, true, false);
        c.setTextColor({255, 255, 255});
        c.setFont({"", 14});
        c.text({110, 70}, "Se 123");
    });
    EXPECT_EQ(p.at(30, 30), (Color{255, 0, 0}));
    EXPECT_EQ(p.at(5, 5), (Color{0, 0, 0}));
    EXPECT_EQ(p.at(100, 50), (Color{0, 255, 0}));
    EXPECT_EQ(p.at(150, 50), (Color{0, 0, 255}));
    int light = 0;
    for (int y = 70; y < 95; ++y)
        for (int x = 110; x < 200; ++x)
            light += p.at(x, y).r > 128 && p.at(x, y).b > 128 && p.at(x, y).g > 128;
    EXPECT_GT(light, 20);
}

TEST(FltkCanvas, ChineseCharactersHaveTheirOwnGlyphs) {
    NEED_DISPLAY();
    auto glyph = [](const char* utf8) {
        return render(40, 40, [utf8](Canvas& c) {
            c.setTextColor({255, 255, 255});
            c.setFont({"", 24});
            c.text({4, 4}, utf8);
        });
    };
    const Pixels a = glyph("应"), b = glyph("力"), again = glyph("应");
    auto ink = [](const Pixels& p) {
        int n = 0;
        for (std::size_t i = 0; i < p.rgb.size(); i += 3)
            n += p.rgb[i] > 128;
        return n;
    };
    EXPECT_GT(ink(a), 20);
    EXPECT_EQ(a.rgb, again.rgb);
    EXPECT_NE(a.rgb, b.rgb) << "both draw alike: the CJK face is missing (boxes)";
    EXPECT_GT(FltkCanvas(0, 0, 1, 1).textWidth("应力云图"), 40.0);
}

struct Recorder : DialogHandler {
    std::vector<int> commands;
    int closes = 0;
    std::unique_ptr<Dialog> owned;
    int closeOn = 0;
    void onCommand(Dialog&, int id) override {
        commands.push_back(id);
        if (id == closeOn)
            owned.reset(); // destroyed inside its own callback, as Exit does
    }
    void onClose(Dialog&) override {
        ++closes;
        owned.reset();
    }
};

Fl_Widget* widgetLabelled(const char* label) {
    for (Fl_Window* w = Fl::first_window(); w; w = Fl::next_window(w))
        for (int i = 0; i < w->children(); ++i)
            if (w->child(i)->label() && std::string(w->child(i)->label()) == label)
                return w->child(i);
    return nullptr;
}

TEST(FltkDialog, ControlsKeepTheirValuesAndReportCommands) {
    NEED_DISPLAY();
    DialogTemplate t;
    t.title = "Test dialog";
    t.width = 300;
    t.height = 260;
    t.label("Count", 10, 5, 200, 20, 1);
    t.edit(2, "Alpha", 10, 30, 150, 24, 50);
    t.radio(3, 1, "One", 10, 60, 80, 20);
    t.radio(4, 1, "Two", 100, 60, 80, 20);
    t.radio(5, 2, "Other", 190, 60, 80, 20);
    t.checkBox(6, "Check", 10, 85, 100, 20);
    t.comboBox(7, {"a", "b/c", "d"}, 10, 110, 120, 24);
    t.listView(8, {"No.", "Name"}, 10, 140, 280, 80);
    t.button(9, "Apply", 10, 226, 80, 26);
    Recorder r;
    r.owned = gui().openModeless(t, r);
    Dialog& d = *r.owned;
    Fl::check();
    d.setText(2, "35.26");
    EXPECT_EQ(d.text(2), "35.26");
    d.setText(1, "Selected: 3");
    EXPECT_EQ(d.text(1), "Selected: 3");
    d.setChecked(5, true);
    d.setChecked(3, true);
    d.setChecked(4, true); // clears "One", not "Other" of group 2
    EXPECT_FALSE(d.checked(3));
    EXPECT_TRUE(d.checked(4));
    EXPECT_TRUE(d.checked(5));
    d.setChecked(6, true);
    EXPECT_TRUE(d.checked(6));
    EXPECT_EQ(d.selection(7), 0);
    d.setSelection(7, 2);
    EXPECT_EQ(d.selection(7), 2);
    d.setItems(7, {"x", "y"});
    EXPECT_EQ(d.selection(7), 0);
    EXPECT_EQ(d.selection(8), -1);
    d.setRows(8, {{"0", "steel"}, {"1", "@alu"}});
    d.setSelection(8, 1);
    EXPECT_EQ(d.selection(8), 1);
    EXPECT_EQ(d.text(999), ""); // unknown identifiers are harmless
    d.setText(999, "x");

    Fl_Widget* apply = widgetLabelled("Apply");
    ASSERT_NE(apply, nullptr);
    apply->do_callback();
    Fl_Widget* one = widgetLabelled("One");
    ASSERT_NE(one, nullptr);
    one->do_callback(); // a click on a radio button chooses it
    EXPECT_TRUE(d.checked(3));
    EXPECT_FALSE(d.checked(4));
    EXPECT_EQ(r.commands, (std::vector<int>{9, 3}));

    // Destroyed inside its own callback: the window goes without a crash.
    r.closeOn = 9;
    widgetLabelled("Apply")->do_callback();
    EXPECT_EQ(r.owned, nullptr);
    Fl::check();
    EXPECT_EQ(widgetLabelled("Apply"), nullptr);
}

TEST(FltkDialog, ClosingTheWindowTellsTheHandler) {
    NEED_DISPLAY();
    DialogTemplate t;
    t.title = "Closing";
    t.button(1, "Exit", 10, 10, 80, 26);
    Recorder r;
    r.owned = gui().openModeless(t, r);
    Fl::check();
    Fl_Window* w = Fl::first_window();
    ASSERT_NE(w, nullptr);
    w->do_callback(); // the title bar's close button
    EXPECT_EQ(r.closes, 1);
    EXPECT_EQ(r.owned, nullptr);
    Fl::check();
}

struct WindowRecorder : WindowHandler {
    std::vector<int> commands;
    int paints = 0, width = 0, height = 0, canvasWidth = 0;
    void onPaint(Canvas& c) override {
        ++paints;
        canvasWidth = c.width();
        c.setBrush({0, 0, 0});
        c.rectangle({0, 0}, {double(c.width()), double(c.height())}, true, false);
    }
    void onSize(int w, int h) override {
        width = w;
        height = h;
    }
    void onKeyDown(Key) override {}
    void onCharacter(int) override {}
    void onMouseMove(PixelPoint) override {}
    void onButtonDown(MouseButton, PixelPoint, Modifiers) override {}
    void onButtonUp(MouseButton, PixelPoint, Modifiers) override {}
    bool closeAllowed = true;
    int closeRequests = 0;
    bool onCloseRequest() override {
        ++closeRequests;
        return closeAllowed;
    }
    void onWheel(PixelPoint, int) override {}
    void onCommand(int id) override { commands.push_back(id); }
};

TEST(FltkMainWindow, MenuIdentifiersChecksSizeAndPaint) {
    NEED_DISPLAY();
    WindowRecorder h;
    std::vector<MenuItem> menu = {
        {"&File/&Open...", 40001},
        {"&Contour/Sx", 40003, MenuMark::Radio},
        {"&Contour/Se", 40009, MenuMark::Radio},
        {"&PlotCtrls/&Contour", 40012, MenuMark::Check},
    };
    FltkMainWindow window(gui(), "Test 窗口", 640, 480, menu, h);
    window.show();
    Fl::check();
    EXPECT_EQ(h.width, 640);
    EXPECT_EQ(h.height, window.drawingHeight());
    EXPECT_LT(h.height, 480); // the menu bar takes the top
    // The window is mapped some time after show(); until then a redraw paints nothing.
    for (int tries = 0; tries < 200 && h.paints == 0; ++tries) {
        window.redraw();
        Fl::wait(0.01);
    }
    EXPECT_GE(h.paints, 1);
    EXPECT_EQ(h.canvasWidth, 640);

    EXPECT_FALSE(window.menuChecked(40012));
    window.setMenuChecked(40012, true);
    window.setMenuChecked(40009, true);
    EXPECT_TRUE(window.menuChecked(40012));
    EXPECT_TRUE(window.menuChecked(40009));
    EXPECT_FALSE(window.menuChecked(40003));
    window.setMenuChecked(40009, false);
    EXPECT_FALSE(window.menuChecked(40009));
    EXPECT_FALSE(window.menuChecked(12345));

    Fl_Menu_Bar* bar = nullptr;
    for (Fl_Window* w = Fl::first_window(); w && !bar; w = Fl::next_window(w))
        for (int i = 0; i < w->children(); ++i)
            if (auto* b = dynamic_cast<Fl_Menu_Bar*>(w->child(i)))
                bar = b;
    ASSERT_NE(bar, nullptr);
    bar->picked(bar->find_item("&File/&Open..."));
    bar->picked(bar->find_item("&PlotCtrls/&Contour"));
    EXPECT_EQ(h.commands, (std::vector<int>{40001, 40012}));

    // A greyed-out item, the title and the status line.
    window.setMenuEnabled(40001, false);
    EXPECT_FALSE(bar->find_item("&File/&Open...")->active());
    window.setMenuEnabled(40001, true);
    EXPECT_TRUE(bar->find_item("&File/&Open...")->active());
    window.setTitle("标题 title");
    EXPECT_STREQ(bar->window()->label(), "标题 title");
    window.setStatusText("Node 3");
    bool statusShown = false;
    for (int i = 0; i < bar->window()->children(); ++i)
        if (const char* label = bar->window()->child(i)->label())
            statusShown = statusShown || std::string(label).find("Node 3") != std::string::npos;
    EXPECT_TRUE(statusShown);

    // Closing asks the program first; a refusal keeps the window.
    h.closeAllowed = false;
    bar->window()->do_callback();
    EXPECT_EQ(h.closeRequests, 1);
    EXPECT_FALSE(gui().quitting());
}

// The window's property `name` as bytes, with its type's name.
std::pair<std::string, std::string> property(Fl_Window* window, const char* name) {
    Atom type = 0;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    XGetWindowProperty(fl_display, fl_xid(window), XInternAtom(fl_display, name, False), 0, 4096,
                       False, AnyPropertyType, &type, &format, &count, &after, &data);
    std::string value(reinterpret_cast<char*>(data), count);
    XFree(data);
    char* typeName = type ? XGetAtomName(fl_display, type) : nullptr;
    const std::string typeText = typeName ? typeName : "";
    if (typeName)
        XFree(typeName);
    return {typeText, value};
}

TEST(FltkMainWindow, ClassAndTitlesNameTheProgramInUtf8) {
    NEED_DISPLAY();
    WindowRecorder h;
    FltkMainWindow window(gui(), "Pelunar 壳结构应力云图", 320, 200, {{"&File/&Open...", 1}}, h);
    window.show();
    Fl::check();
    Fl_Window* shown = Fl::first_window();
    ASSERT_NE(shown, nullptr);
    XClassHint hint{};
    ASSERT_NE(XGetClassHint(fl_display, fl_xid(shown), &hint), 0);
    EXPECT_STREQ(hint.res_name, "platform_fltk_display_tests");
    EXPECT_STREQ(hint.res_class, "Platform_fltk_display_tests");
    XFree(hint.res_name);
    XFree(hint.res_class);
    for (const char* name : {"WM_NAME", "_NET_WM_NAME", "WM_ICON_NAME"})
        EXPECT_EQ(property(shown, name),
                  (std::pair<std::string, std::string>{"UTF8_STRING", "Pelunar 壳结构应力云图"}))
            << name;
    window.setTitle("标题 title");
    Fl::check();
    EXPECT_EQ(property(shown, "WM_NAME").second, "标题 title");
}

Fl_Window* windowLabelled(const std::string& label) {
    for (Fl_Window* w = Fl::first_window(); w; w = Fl::next_window(w))
        if (w->label() && label == w->label())
            return w;
    return nullptr;
}

TEST(FltkGui, DialogsOpenBesideTheMainWindowOrOverItsLeftSide) {
    NEED_DISPLAY();
    int sx = 0, sy = 0, sw = 0, sh = 0;
    Fl::screen_xywh(sx, sy, sw, sh, 0, 0);
    ASSERT_GE(sw, 1000) << "the test needs a screen 1000 pixels wide";
    WindowRecorder h;
    FltkMainWindow window(gui(), "Main", 400, 300, {{"&File/&Open...", 1}}, h);
    window.show();
    Fl::check();
    Fl_Window* main = windowLabelled("Main");
    ASSERT_NE(main, nullptr);
    DialogTemplate t;
    t.title = "Beside";
    t.width = 300;
    t.height = 200;
    const auto openedAt = [&](int x, int w) {
        main->resize(x, 0, w, 300);
        Fl::check();
        Recorder r;
        r.owned = gui().openModeless(t, r);
        Fl::check();
        Fl_Window* d = windowLabelled("Beside");
        const int at = d ? d->x() : -1;
        r.owned.reset();
        Fl::check();
        return at;
    };
    EXPECT_EQ(openedAt(0, 400), 408);                       // room on the right
    EXPECT_EQ(openedAt(sw - 400, 400), sw - 400 - 8 - 300); // room only on the left
    const int over = openedAt(0, sw);                       // no room: over the left side
    EXPECT_GE(over, 0);
    EXPECT_LE(over + 300, sw / 2);
}

} // namespace
} // namespace shellfem::platform::fltk
