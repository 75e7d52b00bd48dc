#include "preprocessor/app/model_files.h"

#include "preprocessor/export/solving_export.h"
#include "preprocessor/files/kvx_file.h"

#include <utility>

namespace shellfem::preprocessor::app {

using platform::kWarningCaption;

platform::FileDialogOptions openDialogOptions() {
    return {"Open file for shell analysis ", "Text Files (*.kvx)", "kvx"};
}

platform::FileDialogOptions saveDialogOptions() {
    return {"Save shell FEM preprocessing file.", "Shell FEM Preprocessing File (*.kvx)", ""};
}

platform::FileDialogOptions exportDialogOptions() {
    return {"Export shell FEM Solving File.", "FEM Solving File (*.txt)", "txt"};
}

bool ModelFiles::open(Model& model) {
    if (!mayDiscardChanges(model))
        return false;
    const std::optional<std::string> path = gui_.chooseFileToOpen(openDialogOptions());
    if (!path)
        return false;
    Model read;
    if (const Outcome outcome = readKvxFile(*path, read); !outcome.ok()) {
        gui_.show(kWarningCaption, outcome.message);
        return false;
    }
    model = std::move(read);
    fileName_ = *path;
    hasFileName_ = true;
    unsaved_ = false;
    return true;
}

bool ModelFiles::writeTo(const std::string& path, const Model& model) {
    const Outcome outcome = writeKvxFile(path, model);
    if (!outcome.ok()) {
        gui_.show(kWarningCaption, outcome.message);
        gui_.show(kWarningCaption, kKvxSaveAdvice);
        return false;
    }
    if (!outcome.message.empty())
        gui_.show(kWarningCaption, outcome.message);
    fileName_ = path;
    unsaved_ = false;
    return true;
}

bool ModelFiles::saveWithDialog(const Model& model, bool setsFileName) {
    const std::optional<std::string> path = gui_.chooseFileToSave(saveDialogOptions());
    if (!path || !writeTo(*path, model))
        return false;
    if (setsFileName)
        hasFileName_ = true;
    return true;
}

bool ModelFiles::save(const Model& model) {
    if (!hasFileName_)
        return saveWithDialog(model, true);
    return writeTo(fileName_, model) || saveWithDialog(model, true);
}

bool ModelFiles::saveAs(const Model& model) {
    return saveWithDialog(model, false);
}

void ModelFiles::exportSolving(const Model& model) {
    const std::optional<std::string> path = gui_.chooseFileToSave(exportDialogOptions());
    if (!path)
        return;
    const Outcome outcome = exportSolvingFile(*path, model);
    if (!outcome.message.empty())
        gui_.show(kWarningCaption, outcome.message);
}

bool ModelFiles::mayDiscardChanges(const Model& model) {
    if (!unsaved_)
        return true;
    switch (gui_.ask("Corvanta", "The model has changes that are not saved. Save them first?")) {
    case platform::Answer::Yes:
        return save(model);
    case platform::Answer::No:
        return true;
    case platform::Answer::Cancel:
        break;
    }
    return false;
}

} // namespace shellfem::preprocessor::app
