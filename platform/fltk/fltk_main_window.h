#pragma once

#include "platform/gui.h"

#include <memory>
#include <string>
#include <vector>

namespace shellfem::platform::fltk {

class FltkGui;

// The main window: a menu bar whose items carry numeric identifiers, check
// marks and radio groups, over a double-buffered drawing area whose paint,
// size, key, character, mouse and wheel events go to a WindowHandler, and a
// status bar below it. Closing it asks the handler, then ends the event loop
// (exit code 0).
class FltkMainWindow : public Window {
public:
    FltkMainWindow(FltkGui& gui, const std::string& title, int width, int height,
                   const std::vector<MenuItem>& menu, WindowHandler& handler);
    ~FltkMainWindow() override;

    // Places the window's top-left corner on the screen; call before show().
    void setPosition(int x, int y);
    void show();
    int drawingWidth() const;
    int drawingHeight() const;

    void redraw() override;
    void setMenuChecked(int id, bool on) override;
    bool menuChecked(int id) const override;
    void setMenuEnabled(int id, bool on) override;
    void setTitle(const std::string& utf8) override;
    void setStatusText(const std::string& utf8) override;

    struct Impl;

private:
    std::unique_ptr<Impl> impl_;
};

} // namespace shellfem::platform::fltk
