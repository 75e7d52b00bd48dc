#pragma once

#include "platform/console_text.h"
#include "platform/dialog.h"
#include "platform/fake/recording_canvas.h"
#include "platform/gui.h"

#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace shellfem::platform {

// A dialog without a screen: controls hold their values in maps. Tests press
// buttons with `press`, which calls the handler as the toolkit would.
class FakeDialog : public Dialog {
public:
    FakeDialog(DialogTemplate form, DialogHandler& handler, bool* aliveFlag)
        : form_(std::move(form)), handler_(handler), alive_(aliveFlag) {
        for (const ControlTemplate& c : form_.controls) {
            if (c.kind == ControlKind::Label)
                texts_[c.id] = c.text;
            if (c.kind == ControlKind::ComboBox)
                items_[c.id] = c.items;
        }
        if (alive_)
            *alive_ = true;
    }
    ~FakeDialog() override {
        if (alive_)
            *alive_ = false;
    }

    const DialogTemplate& form() const { return form_; }

    std::string text(int id) const override {
        auto it = texts_.find(id);
        return it == texts_.end() ? std::string() : it->second;
    }
    void setText(int id, const std::string& utf8) override { texts_[id] = utf8; }
    bool checked(int id) const override { return checks_.count(id) > 0; }
    void setChecked(int id, bool on) override {
        const ControlTemplate* c = form_.find(id);
        if (on && c && c->kind == ControlKind::RadioButton)
            for (const ControlTemplate& o : form_.controls)
                if (o.kind == ControlKind::RadioButton && o.group == c->group)
                    checks_.erase(o.id);
        if (on)
            checks_.insert(id);
        else
            checks_.erase(id);
    }
    void setEnabled(int id, bool on) override {
        if (on)
            disabled_.erase(id);
        else
            disabled_.insert(id);
    }
    bool enabled(int id) const { return disabled_.count(id) == 0; }
    int selection(int id) const override {
        auto it = selections_.find(id);
        return it == selections_.end() ? -1 : it->second;
    }
    void setSelection(int id, int index) override { selections_[id] = index; }
    void setItems(int id, const std::vector<std::string>& items) override { items_[id] = items; }
    void setRows(int id, const std::vector<std::vector<std::string>>& rows) override {
        rows_[id] = rows;
    }
    void raise() override { ++raised; }

    // What a combo box offers and what a list shows.
    std::vector<std::string> items(int id) const {
        auto it = items_.find(id);
        return it == items_.end() ? std::vector<std::string>{} : it->second;
    }
    std::vector<std::vector<std::string>> rows(int id) const {
        auto it = rows_.find(id);
        return it == rows_.end() ? std::vector<std::vector<std::string>>{} : it->second;
    }

    // What a user does: typing, pressing, choosing, closing.
    void type(int id, const std::string& text) { texts_[id] = text; }
    void press(int id) { handler_.onCommand(*this, id); } // `this` may be gone afterwards
    void choose(int id) {                                 // radio button or check box
        const ControlTemplate* c = form_.find(id);
        if (c && c->kind == ControlKind::CheckBox)
            setChecked(id, !checked(id));
        else
            setChecked(id, true);
        handler_.onCommand(*this, id);
    }
    void closeByUser() { handler_.onClose(*this); }

    int raised = 0;

private:
    DialogTemplate form_;
    DialogHandler& handler_;
    bool* alive_;
    std::map<int, std::string> texts_;
    std::set<int> checks_;
    std::set<int> disabled_;
    std::map<int, int> selections_;
    std::map<int, std::vector<std::string>> items_;
    std::map<int, std::vector<std::vector<std::string>>> rows_;
};

// Records messages, answers file dialogs from a queue and keeps track of the
// dialogs it opened (by title; `dialog(title)` is null once that one closed).
// Off-screen pictures are recorded (`rendered`) and come back as a grey image.
class FakeGui : public Gui {
public:
    std::vector<std::pair<std::string, std::string>> messages; // (caption, text)
    std::vector<std::string> openedTextFiles;
    std::vector<FileDialogOptions> fileDialogs;
    std::deque<std::optional<std::string>> fileAnswers; // empty queue: cancelled
    std::vector<std::string> questions;
    std::deque<Answer> answers; // empty queue: Cancel
    std::optional<int> quitCode;

    Answer ask(const std::string& caption, const std::string& question) override {
        questions.push_back(question);
        messages.emplace_back(caption, question);
        if (answers.empty())
            return Answer::Cancel;
        const Answer a = answers.front();
        answers.pop_front();
        return a;
    }

    void show(const std::string& caption, const std::string& text) override {
        messages.emplace_back(caption, text);
    }
    void openTextFile(const std::string& path) override { openedTextFiles.push_back(path); }
    std::optional<std::string> chooseFileToOpen(const FileDialogOptions& options) override {
        return answer(options);
    }
    std::optional<std::string> chooseFileToSave(const FileDialogOptions& options) override {
        return answer(options);
    }
    std::unique_ptr<Dialog> openModeless(const DialogTemplate& form,
                                         DialogHandler& handler) override {
        slots_.push_back(std::make_unique<Slot>());
        Slot* slot = slots_.back().get();
        latest_[form.title] = slot;
        auto d = std::make_unique<FakeDialog>(form, handler, &slot->alive);
        slot->dialog = d.get();
        ++opened[form.title];
        return d;
    }
    // Polls the program to its end; `whileWatching` runs at every poll, as the
    // events that reach the program meanwhile would.
    WatchedProgram watchProgram(RunningProgram& program, const std::string& title) override {
        watchedTitles.push_back(title);
        ConsoleText console;
        for (;;) {
            if (whileWatching)
                whileWatching();
            console.write(program.readOutput());
            if (const std::optional<int> code = program.exitCode()) {
                console.write(program.readOutput());
                return {*code, console.text()};
            }
        }
    }
    std::vector<std::string> watchedTitles;
    std::function<void()> whileWatching;

    void quit(int exitCode) override { quitCode = exitCode; }
    std::optional<RgbImage> renderImage(int width, int height,
                                        const std::function<void(Canvas&)>& paint) override {
        rendered = std::make_unique<RecordingCanvas>(width, height);
        paint(*rendered);
        return RgbImage(width, height, kRenderedGrey);
    }
    static constexpr Color kRenderedGrey{128, 128, 128};
    std::unique_ptr<RecordingCanvas> rendered; // the last off-screen picture

    FakeDialog* dialog(const std::string& title) const {
        auto it = latest_.find(title);
        if (it == latest_.end() || !it->second->alive)
            return nullptr;
        return it->second->dialog;
    }
    std::map<std::string, int> opened;

private:
    struct Slot {
        FakeDialog* dialog = nullptr;
        bool alive = false;
    };
    std::optional<std::string> answer(const FileDialogOptions& options) {
        fileDialogs.push_back(options);
        if (fileAnswers.empty())
            return std::nullopt;
        auto a = fileAnswers.front();
        fileAnswers.pop_front();
        return a;
    }
    std::vector<std::unique_ptr<Slot>> slots_; // kept while the fake lives: dialogs point here
    std::map<std::string, Slot*> latest_;
};

// A main window without a screen: counts redraws, keeps the check marks, the
// greyed-out items, the title and the status text.
class FakeWindow : public Window {
public:
    int redraws = 0;
    std::map<int, bool> checks;
    std::set<int> disabled;
    std::string title;
    std::string status;
    void redraw() override { ++redraws; }
    void setMenuChecked(int id, bool on) override { checks[id] = on; }
    bool menuChecked(int id) const override {
        auto it = checks.find(id);
        return it != checks.end() && it->second;
    }
    void setMenuEnabled(int id, bool on) override {
        if (on)
            disabled.erase(id);
        else
            disabled.insert(id);
    }
    bool menuEnabled(int id) const { return disabled.count(id) == 0; }
    void setTitle(const std::string& utf8) override { title = utf8; }
    void setStatusText(const std::string& utf8) override { status = utf8; }
};

// A left click as the window delivers it: press and release at one place.
inline void click(WindowHandler& handler, PixelPoint at, Modifiers modifiers = {}) {
    handler.onButtonDown(MouseButton::Left, at, modifiers);
    handler.onButtonUp(MouseButton::Left, at, modifiers);
}

} // namespace shellfem::platform
