#include "app_test_support.h"

#include "preprocessor/app/model_files.h"
#include "preprocessor/files/kvx_file.h"

#include <fstream>

namespace shellfem::preprocessor::app::testing {
namespace {

using namespace command;

std::string readText(const fs::path& path) {
    std::ifstream in(path);
    return {std::istreambuf_iterator<char>(in), {}};
}

class FileCommands : public AppFixture {
protected:
    // A model saved under `name` in the folder, with three points.
    std::string savedModel(const std::string& name) {
        Model m;
        m.addPoint({0, 0, 0});
        m.addPoint({4, 0, 0});
        m.addPoint({0, 3, 0});
        const std::string path = (folder / name).string();
        EXPECT_TRUE(writeKvxFile(path, m).ok());
        return path;
    }
    // A path whose folder does not exist: writing there fails.
    std::string unwritable() const { return (folder / "missing" / "plate.kvx").string(); }
};

TEST_F(FileCommands, TheThreeFileDialogsAreDescribedExactly) {
    app->onCommand(kFileOpen);
    app->onCommand(kFileSave);
    app->onCommand(kFileExport);
    ASSERT_EQ(gui.fileDialogs.size(), 3u);
    EXPECT_EQ(gui.fileDialogs[0].title, "Open file for shell analysis ");
    EXPECT_EQ(gui.fileDialogs[0].filter, "Text Files (*.kvx)");
    EXPECT_EQ(gui.fileDialogs[0].defaultExtension, "kvx");
    EXPECT_EQ(gui.fileDialogs[1].title, "Save shell FEM preprocessing file.");
    EXPECT_EQ(gui.fileDialogs[1].filter, "Shell FEM Preprocessing File (*.kvx)");
    EXPECT_EQ(gui.fileDialogs[2].title, "Export shell FEM Solving File.");
    EXPECT_EQ(gui.fileDialogs[2].filter, "FEM Solving File (*.txt)");
    EXPECT_EQ(gui.fileDialogs[2].defaultExtension, "txt");
    EXPECT_TRUE(gui.messages.empty()); // cancelled dialogs do nothing
    EXPECT_FALSE(app->files().hasFileName());
}

TEST_F(FileCommands, OpenReadsSetsTheFlagClearsSolvedFitsAndNamesTheFileInTheTitle) {
    const std::string path = savedModel("triangle.kvx");
    gui.fileAnswers.push_back(path);
    app->onCommand(kFileOpen);
    EXPECT_TRUE(takeMessages().empty());
    EXPECT_EQ(app->model().data().points.size(), 3u);
    EXPECT_TRUE(app->files().hasFileName());
    EXPECT_FALSE(app->files().unsaved());
    EXPECT_NE(window.title.find("triangle.kvx"), std::string::npos);
    for (const view3d::ScreenPoint& p : app->controller().view().screenPoints()) {
        EXPECT_GE(p.x, 0);
        EXPECT_LE(p.x, 800);
        EXPECT_GE(p.y, 0);
        EXPECT_LE(p.y, 600);
    }
}

TEST_F(FileCommands, AFileThatDoesNotReadIsReportedAndTheModelShownStays) {
    buildMeshedPlate();
    const std::size_t nodes = app->model().data().nodes.size();
    std::ofstream(folder / "old.kvx") << "### Corvanta R1.01 ###\n";
    gui.answers.push_back(platform::Answer::No); // discard the unsaved plate? no need to save
    gui.fileAnswers.push_back((folder / "old.kvx").string());
    app->onCommand(kFileOpen);
    const std::vector<std::string> shown = takeMessages();
    ASSERT_EQ(shown.size(), 2u); // the question, then the version message
    EXPECT_EQ(shown[1], kKvxVersionError);
    EXPECT_EQ(app->model().data().nodes.size(), nodes);
    EXPECT_FALSE(app->files().hasFileName());
}

TEST_F(FileCommands, SaveWithoutANameAsksAndSetsTheFlagButSaveAsLeavesItAlone) {
    buildMeshedPlate();
    gui.fileAnswers.push_back((folder / "as.kvx").string());
    app->onCommand(kFileSaveAs);
    EXPECT_TRUE(fs::exists(folder / "as.kvx"));
    EXPECT_FALSE(app->files().hasFileName());
    EXPECT_FALSE(app->files().unsaved());

    app->onCommand(kFileSave); // still asks: Save As did not give the model a name
    EXPECT_EQ(gui.fileDialogs.size(), 2u);
    EXPECT_FALSE(app->files().hasFileName()); // cancelled

    gui.fileAnswers.push_back((folder / "plate.kvx").string());
    app->onCommand(kFileSave);
    EXPECT_TRUE(app->files().hasFileName());
    const std::string written = readText(folder / "plate.kvx");
    EXPECT_EQ(written, readText(folder / "as.kvx"));

    app->edit([](Model& m) { return m.addPoint({5, 5, 1}); });
    app->onCommand(kFileSave); // with a name: no dialog
    EXPECT_EQ(gui.fileDialogs.size(), 3u);
    EXPECT_NE(readText(folder / "plate.kvx"), written);
    EXPECT_EQ(window.title.find('*'), std::string::npos);
}

TEST_F(FileCommands, AFailedSaveWithANameShowsBothBoxesAndAsksOnceForAnotherName) {
    const std::string path = savedModel("plate.kvx");
    gui.fileAnswers.push_back(path);
    app->onCommand(kFileOpen);
    fs::remove(path);
    fs::create_directory(path); // a folder in its place: writing the file fails

    gui.fileAnswers.push_back(unwritable());
    app->onCommand(kFileSave);
    const std::string failed = std::string(kKvxSaveFailed) + "\n";
    EXPECT_EQ(takeMessages(), (std::vector<std::string>{
                                  failed + path + " cannot be written.", kKvxSaveAdvice,
                                  failed + unwritable() + " cannot be written.", kKvxSaveAdvice}));
    EXPECT_EQ(gui.fileDialogs.size(), 2u); // the open dialog, and the save dialog once

    gui.fileAnswers.push_back((folder / "elsewhere.kvx").string());
    app->onCommand(kFileSave);
    EXPECT_TRUE(fs::exists(folder / "elsewhere.kvx"));
    EXPECT_NE(window.title.find("elsewhere.kvx"), std::string::npos);
}

TEST_F(FileCommands, ExportWritesTheSolvingFileOrSaysWhyNot) {
    gui.fileAnswers.push_back((folder / "empty.txt").string());
    app->onCommand(kFileExport);
    EXPECT_EQ(takeMessages().size(), 1u); // no elements: refused, with the reason
    EXPECT_FALSE(fs::exists(folder / "empty.txt"));

    buildMeshedPlate();
    gui.fileAnswers.push_back((folder / "plate.txt").string());
    app->onCommand(kFileExport);
    EXPECT_TRUE(takeMessages().empty());
    EXPECT_TRUE(fs::exists(folder / "plate.txt"));
}

TEST_F(FileCommands, UnsavedChangesAreAskedAboutBeforeOpenAndOnClose) {
    EXPECT_TRUE(app->onCloseRequest()); // nothing to lose: no question
    EXPECT_TRUE(gui.questions.empty());

    buildMeshedPlate();
    gui.answers.push_back(platform::Answer::Cancel);
    app->onCommand(kFileOpen);
    EXPECT_EQ(gui.questions.size(), 1u);
    EXPECT_TRUE(gui.fileDialogs.empty()); // Cancel: no open dialog

    EXPECT_FALSE(app->onCloseRequest()); // Cancel (the empty queue)
    gui.answers.push_back(platform::Answer::Yes);
    EXPECT_FALSE(app->onCloseRequest()); // Yes, but the save dialog was cancelled
    gui.answers.push_back(platform::Answer::Yes);
    gui.fileAnswers.push_back(unwritable());
    EXPECT_FALSE(app->onCloseRequest()); // Yes, and the save failed
    gui.answers.push_back(platform::Answer::Yes);
    gui.fileAnswers.push_back((folder / "kept.kvx").string());
    EXPECT_TRUE(app->onCloseRequest());
    EXPECT_TRUE(fs::exists(folder / "kept.kvx"));

    app->edit([](Model& m) { return m.addPoint({5, 5, 1}); });
    gui.answers.push_back(platform::Answer::No);
    EXPECT_TRUE(app->onCloseRequest());
}

} // namespace
} // namespace shellfem::preprocessor::app::testing
