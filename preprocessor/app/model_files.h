#pragma once

#include "platform/gui.h"
#include "preprocessor/model/model.h"

#include <optional>
#include <string>

namespace shellfem::preprocessor::app {

// The three file dialogs of the File menu.
platform::FileDialogOptions openDialogOptions();
platform::FileDialogOptions saveDialogOptions();
platform::FileDialogOptions exportDialogOptions();

// The model's file: its name, the has-file-name flag and whether the model has
// changes not saved yet, with the File commands, their dialogs and messages.
// A cancelled dialog ends a command without effect.
class ModelFiles {
public:
    explicit ModelFiles(platform::Gui& gui) : gui_(gui) {}

    bool hasFileName() const { return hasFileName_; }
    const std::string& fileName() const { return fileName_; } // empty before the first save or open
    bool unsaved() const { return unsaved_; }
    void markChanged() { unsaved_ = true; }

    // File → Open, after the unsaved-changes question. The file is read into a
    // fresh model, which replaces `model` only when the whole file was read, so
    // a file that does not read loses nothing. True when a model was read.
    bool open(Model& model);
    // File → Save: with a file name, writes it and, when that fails, asks once
    // with the save dialog; without one, asks, writes, and sets the flag.
    bool save(const Model& model);
    // File → Save As: asks and writes; the has-file-name flag stays as it was.
    bool saveAs(const Model& model);
    // File → Export FEM Solving File.
    void exportSolving(const Model& model);

    // Before the model is replaced or the window closes, with unsaved changes:
    // Yes saves first (and goes on only when that worked), No goes on, Cancel
    // stops. True when the caller may go on.
    bool mayDiscardChanges(const Model& model);

private:
    // Writes and shows the outcome: the two failure boxes, or a success's notice.
    bool writeTo(const std::string& path, const Model& model);
    bool saveWithDialog(const Model& model, bool setsFileName);

    platform::Gui& gui_;
    bool hasFileName_ = false;
    bool unsaved_ = false;
    std::string fileName_;
};

} // namespace shellfem::preprocessor::app
