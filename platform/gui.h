#pragma once

#include "platform/canvas.h"
#include "platform/dialog.h"
#include "platform/message_box.h"
#include "platform/rgb_image.h"
#include "platform/running_program.h"
#include "platform/text_viewer.h"

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace shellfem::platform {

// An open- or save-file dialog as the Windows programs describe it.
struct FileDialogOptions {
    std::string title;
    std::string filter; // "Text Files (*.txt)": a description with the patterns in brackets
    std::string defaultExtension; // "txt": added to a chosen name that has no extension
};

// The answer to a question with the buttons Yes, No and Cancel.
enum class Answer { Yes, No, Cancel };

// The desktop services of a GUI program: message boxes (caption "Warning!"),
// questions, file dialogs, modeless dialogs and a text viewer.
class Gui : public MessageBox, public TextViewer {
public:
    // A modal question with Yes, No and Cancel; closing it answers Cancel.
    virtual Answer ask(const std::string& caption, const std::string& question) = 0;
    // The chosen path, or nothing when the user cancelled.
    virtual std::optional<std::string> chooseFileToOpen(const FileDialogOptions& options) = 0;
    virtual std::optional<std::string> chooseFileToSave(const FileDialogOptions& options) = 0;
    // Opens a modeless dialog beside the main window; it lives as long as the
    // returned object (or until the handler drops it on onClose).
    virtual std::unique_ptr<Dialog> openModeless(const DialogTemplate& form,
                                                 DialogHandler& handler) = 0;
    // Waits for a started program to end while its console output is shown
    // live in a log window titled `title`. Meanwhile every window keeps
    // repainting but takes no input, so no other command runs. The log stays
    // open for reading afterwards, until the user closes it or the next program
    // is watched.
    virtual WatchedProgram watchProgram(RunningProgram& program, const std::string& title) = 0;
    // Ends the event loop; the program then returns `exitCode`.
    virtual void quit(int exitCode) = 0;
    // Runs `paint` on a canvas of width x height pixels off the screen and returns what it
    // drew, or nothing when the picture cannot be made (no display, too large).
    virtual std::optional<RgbImage> renderImage(int /*width*/, int /*height*/,
                                                const std::function<void(Canvas&)>& /*paint*/) {
        return std::nullopt;
    }
};

// A menu item: `path` names the menus down to the item, "&File/&Open".
enum class MenuMark { None, Check, Radio };
struct MenuItem {
    std::string path;
    int id = 0;
    MenuMark mark = MenuMark::None; // radio items that follow each other form one group
    bool dividerAfter = false;

    MenuItem(std::string p, int i, MenuMark m = MenuMark::None, bool divider = false)
        : path(std::move(p)), id(i), mark(m), dividerAfter(divider) {}
};

// Keys that are not characters; Escape comes as the character 27.
enum class Key { Left, Right, Up, Down, Enter, Delete, Backspace };

enum class MouseButton { Left, Right };

// The modifier keys held at the moment of an event.
struct Modifiers {
    bool shift = false;
    bool control = false;
    bool alt = false;
};

// What the main window tells the program, in window pixels of the drawing area.
class WindowHandler {
public:
    virtual ~WindowHandler() = default;
    virtual void onPaint(Canvas& canvas) = 0; // double-buffered: shown in one piece
    virtual void onSize(int width, int height) = 0;
    virtual void onKeyDown(Key key) = 0;
    virtual void onCharacter(int character) = 0; // 27 for Escape
    virtual void onMouseMove(PixelPoint at) = 0;
    virtual void onButtonDown(MouseButton button, PixelPoint at, Modifiers modifiers) = 0;
    virtual void onButtonUp(MouseButton button, PixelPoint at, Modifiers modifiers) = 0;
    virtual void onWheel(PixelPoint at, int delta) = 0; // > 0: wheel turned away from the user
    virtual void onCommand(int id) = 0;                 // a menu item
    // The user asks to close the main window; false keeps it open.
    virtual bool onCloseRequest() { return true; }
};

// The program's handle on its main window.
class Window {
public:
    virtual ~Window() = default;
    virtual void redraw() = 0;
    virtual void setMenuChecked(int id, bool on) = 0;
    virtual bool menuChecked(int id) const = 0;
    virtual void setMenuEnabled(int id, bool on) = 0;
    virtual void setTitle(const std::string& utf8) = 0;
    // The one-line status bar below the drawing area.
    virtual void setStatusText(const std::string& utf8) = 0;
};

} // namespace shellfem::platform
