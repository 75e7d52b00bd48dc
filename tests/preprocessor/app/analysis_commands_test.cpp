#include "app_test_support.h"

#include "preprocessor/app/analysis_runner.h"

#include <fstream>

namespace shellfem::preprocessor::app::testing {
namespace {

using namespace command;

class AnalysisCommands : public AppFixture {
protected:
    std::string inFolder(const std::string& name) const { return (folder / name).string(); }
    void provideSolver() { process.existingFiles.insert(inFolder("Trevamic")); }
};

TEST_F(AnalysisCommands, PostprocessBeforeASolveInThisRunRefusesEvenWithOldResultsInTheFolder) {
    std::ofstream(folder / "Shell_AverageStrs.txt") << "NPOIN=0\nNELEM=0\n";
    process.existingFiles.insert(inFolder("Pelunar"));
    app->onCommand(kStressContour);
    EXPECT_EQ(takeMessages(), std::vector<std::string>{kNotSolved});
    EXPECT_TRUE(process.programsStarted.empty());
}

TEST_F(AnalysisCommands, AMissingSolverIsNamedWithEveryPathLookedForAndTheProbeIsGone) {
    buildMeshedPlate();
    process.programFolder = "/opt/shellfem/bin";
    app->onCommand(kStaticCalculate);
    EXPECT_EQ(takeMessages(),
              std::vector<std::string>{"计算程序\"Trevamic\"不存在!请将Trevamic拷贝至当前文件夹。"
                                       "\nLooked for: " +
                                       inFolder("Trevamic") + ", /opt/shellfem/bin/Trevamic"});
    EXPECT_FALSE(fs::exists(folder / kProbeFileName));
    EXPECT_FALSE(fs::exists(folder / kSolvingFileName));
    EXPECT_TRUE(process.programsStarted.empty());
}

TEST_F(AnalysisCommands, AFolderThatCannotBeWrittenStopsTheSolveBeforeAnythingStarts) {
    buildMeshedPlate();
    CorvantaApp elsewhere(gui, process, console, folder / "not-there");
    process.existingFiles.insert((folder / "not-there" / "Trevamic").string());
    elsewhere.onCommand(kStaticCalculate);
    EXPECT_EQ(takeMessages(), std::vector<std::string>{kFolderNotWritable});
    EXPECT_TRUE(process.programsStarted.empty());
}

TEST_F(AnalysisCommands, ASolveWritesTheFileWatchesTheSolverAndThenTheContourStartsTheViewer) {
    buildMeshedPlate();
    provideSolver();
    process.programFolder = inFolder("bin");
    process.existingFiles.insert(inFolder("bin/Pelunar")); // beside Corvanta's own executable
    process.programOutput = {"Trevamic: linear static analysis\n",
                             " 0%Completed.\b\b\b\b\b\b\b\b\b\b\b\b\b", "100%Completed.\n"};
    app->onCommand(kStaticCalculate);
    EXPECT_TRUE(takeMessages().empty());
    EXPECT_TRUE(fs::exists(folder / kSolvingFileName));
    EXPECT_FALSE(fs::exists(folder / kProbeFileName));
    EXPECT_EQ(process.programsStarted, std::vector<std::string>{inFolder("Trevamic")});
    EXPECT_EQ(gui.watchedTitles, std::vector<std::string>{"Trevamic"});
    EXPECT_TRUE(app->solved());

    app->onCommand(kStressContour);
    EXPECT_TRUE(takeMessages().empty());
    EXPECT_EQ(process.programsStarted.back(), inFolder("bin/Pelunar"));
}

TEST_F(AnalysisCommands, AFailedSolveIsNotSolvedAndItsOwnMessageIsShown) {
    buildMeshedPlate();
    provideSolver();
    process.programOutput = {"Trevamic: linear static analysis\n",
                             "The global stiffness matrix is singular at equation 7.\n"};
    process.exitCode = 1;
    app->onCommand(kStaticCalculate);
    const std::vector<std::string> shown = takeMessages();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].rfind(kSolveFailed, 0), 0u);
    EXPECT_NE(shown[0].find("exit code 1"), std::string::npos);
    EXPECT_NE(shown[0].find("singular at equation 7."), std::string::npos);
    EXPECT_FALSE(app->solved());
    app->onCommand(kStressContour);
    EXPECT_EQ(takeMessages(), std::vector<std::string>{kNotSolved});

    process.startFails = true;
    app->onCommand(kStaticCalculate);
    EXPECT_EQ(takeMessages().size(), 1u); // could not be started
    EXPECT_FALSE(app->solved());
}

TEST_F(AnalysisCommands, AModelTheSolverCannotTakeIsRefusedBeforeItStarts) {
    provideSolver();
    app->onCommand(kStaticCalculate); // no elements
    EXPECT_EQ(takeMessages().size(), 1u);
    EXPECT_TRUE(process.programsStarted.empty());
}

TEST_F(AnalysisCommands, NoOtherCommandOrClickRunsWhileTheSolverIsWatched) {
    buildMeshedPlate();
    provideSolver();
    int attempts = 0;
    gui.whileWatching = [&] {
        ++attempts;
        EXPECT_TRUE(app->busy());
        app->onCommand(kFileOpen);
        app->onCommand(kStaticCalculate);
        app->onCharacter('P');
        EXPECT_FALSE(app->onCloseRequest());
    };
    app->onCommand(kStaticCalculate);
    EXPECT_GT(attempts, 0);
    EXPECT_TRUE(gui.fileDialogs.empty());
    EXPECT_EQ(process.programsStarted.size(), 1u);
    EXPECT_EQ(app->controller().mode(), 0);
    EXPECT_FALSE(app->busy());
}

TEST_F(AnalysisCommands, OpeningAModelClearsSolved) {
    buildMeshedPlate();
    provideSolver();
    app->onCommand(kStaticCalculate);
    ASSERT_TRUE(app->solved());
    gui.answers.push_back(platform::Answer::Yes);
    gui.fileAnswers.push_back(inFolder("plate.kvx")); // saved first
    gui.fileAnswers.push_back(inFolder("plate.kvx")); // then opened
    app->onCommand(kFileOpen);
    EXPECT_TRUE(app->files().hasFileName());
    EXPECT_FALSE(app->solved());
}

} // namespace
} // namespace shellfem::preprocessor::app::testing
