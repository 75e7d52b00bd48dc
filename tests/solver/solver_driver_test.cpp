#include "examples/generator/plate_model.h"
#include "platform/fake/fake_process_services.h"
#include "solver/solver_driver.h"
#include "tests/support/memory_limit.h"
#include "tests/support/write_failures.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>
#include <unistd.h>

namespace shellfem {
namespace {

namespace fs = std::filesystem;

const char* const kResultFiles[] = {"structure.dxf",
                                    "Node_Dis.txt",
                                    "deformation.dxf",
                                    "Elem_Node_Stress.txt",
                                    "Elem_Node_AverageStress.txt",
                                    "Elem_Node_Strs_InContourFormat.txt",
                                    "Elem_Node_AverageStrs_InContourFormat.txt",
                                    "Shell_AverageStrs.txt",
                                    "Reactions.txt",
                                    "Shell_Results.vtu"};

std::string readFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

void writeFile(const fs::path& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

// A fresh folder per test, holding a solving file; the solver runs in it.
class SolverRun : public ::testing::Test {
protected:
    void SetUp() override {
        folder = fs::temp_directory_path() /
                 ("shellfem_solver_" +
                  std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(folder);
        fs::create_directories(folder);
    }
    void TearDown() override { fs::remove_all(folder); }

    void writeModel(const SolvingModel& model) {
        ASSERT_TRUE(writeSolvingFile((folder / "shell_fem_solving.txt").string(), model));
    }
    int run() { return runSolver({console, process, messages, folder}); }
    bool anyResultFile() const {
        for (const char* name : kResultFiles)
            if (fs::exists(folder / name))
                return true;
        return false;
    }

    fs::path folder;
    std::ostringstream console;
    platform::FakeProcessServices process;
    platform::RecordingMessageBox messages;
};

// Two elements of a strip clamped at x = 0, with a tip force and a pressure.
SolvingModel smallStrip() {
    PlateOptions o;
    o.nx = 2;
    o.ny = 1;
    o.b = 0.5;
    o.support = PlateOptions::Support::CantileverAtXZero;
    o.tipForceZ = -100.0;
    SolvingModel m = makeRectangularPlate(o);
    m.loads.push_back({1, {-10, -20, -30, -40}});
    return m;
}

// Compares text exactly but for numbers, which may differ in their last digits
// with the order of summation: those agree to a relative 1e-4, or are both
// round-off next to the largest value of the file.
void expectSameLayout(const std::string& actual, const std::string& expected,
                      const std::string& name) {
    static const std::regex number(R"([-+]?(\d+\.?\d*|\.\d+)([eE][-+]?\d+)?)");
    auto split = [](const std::string& text, std::vector<std::string>& gaps,
                    std::vector<double>& values) {
        std::size_t last = 0;
        for (auto it = std::sregex_iterator(text.begin(), text.end(), number);
             it != std::sregex_iterator(); ++it) {
            gaps.push_back(text.substr(last, static_cast<std::size_t>(it->position()) - last));
            values.push_back(std::stod(it->str()));
            last = static_cast<std::size_t>(it->position() + it->length());
        }
        gaps.push_back(text.substr(last));
    };
    std::vector<std::string> gapsA, gapsE;
    std::vector<double> valuesA, valuesE;
    split(actual, gapsA, valuesA);
    split(expected, gapsE, valuesE);
    ASSERT_EQ(gapsA.size(), gapsE.size()) << name;
    double largest = 0.0;
    for (double v : valuesE)
        largest = std::max(largest, std::fabs(v));
    for (std::size_t i = 0; i < gapsE.size(); ++i) {
        // Fixed-width fields: a number one character shorter widens its gap by one.
        EXPECT_EQ(std::regex_replace(gapsA[i], std::regex("^ +"), ""),
                  std::regex_replace(gapsE[i], std::regex("^ +"), ""))
            << name << " near number " << i;
        if (i < valuesE.size()) {
            const double tolerance = 1e-4 * std::fabs(valuesE[i]) + 1e-9 * largest;
            EXPECT_NEAR(valuesA[i], valuesE[i], tolerance) << name << " number " << i;
        }
    }
    EXPECT_EQ(std::count(actual.begin(), actual.end(), '\n'),
              std::count(expected.begin(), expected.end(), '\n'))
        << name;
}

TEST_F(SolverRun, ConsoleAndEveryResultFileMatchTheirGoldenCopies) {
    writeModel(smallStrip());
    process.existingFiles.insert((folder / "Pelunar").string());
    ASSERT_EQ(run(), 0);
    const std::string console_text =
        std::regex_replace(console.str(), std::regex(R"(\(Solution time:\d+\.\d\d seconds\))"),
                           "(Solution time:0.00 seconds)");
    const fs::path golden = SHELLFEM_GOLDEN_DIR;
    if (std::getenv("SHELLFEM_UPDATE_GOLDEN")) {
        writeFile(golden / "console.txt", console_text);
        for (const char* name : kResultFiles)
            fs::copy_file(folder / name, golden / name, fs::copy_options::overwrite_existing);
    }
    EXPECT_EQ(console_text, readFile(golden / "console.txt"));
    for (const char* name : kResultFiles)
        expectSameLayout(readFile(folder / name), readFile(golden / name), name);
    EXPECT_EQ(process.programsRun, std::vector<std::string>{(folder / "Pelunar").string()});
    EXPECT_EQ(process.pauses, 1);
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(SolverRun, MissingViewerIsAWarningAndTheRunStillSucceeds) {
    writeModel(smallStrip());
    ASSERT_EQ(run(), 0);
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].first, "Warning!");
    EXPECT_EQ(messages.shown[0].second, "Program \"Pelunar\"does not exist! Please copy it to the "
                                        "current folder and run it.\nLooked for: " +
                                            (folder / "Pelunar").string());
    EXPECT_TRUE(process.programsRun.empty());
    EXPECT_EQ(process.pauses, 1);
    // 2 + NPOIN + 9·NELEM lines in the viewer's file.
    const std::string contour = readFile(folder / "Shell_AverageStrs.txt");
    EXPECT_EQ(std::count(contour.begin(), contour.end(), '\n'), 2 + 6 + 9 * 2);
}

TEST_F(SolverRun, TheViewerBesideTheSolversOwnExecutableIsStartedAndBothPlacesAreNamed) {
    writeModel(smallStrip());
    process.programFolder = (folder / "bin").string();
    process.existingFiles.insert((folder / "bin" / "Pelunar").string());
    ASSERT_EQ(run(), 0);
    EXPECT_EQ(process.programsRun, std::vector<std::string>{(folder / "bin" / "Pelunar").string()});

    process.existingFiles.clear();
    process.programsRun.clear();
    ASSERT_EQ(run(), 0);
    EXPECT_TRUE(process.programsRun.empty());
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_NE(messages.shown[0].second.find("Looked for: " + (folder / "Pelunar").string() + ", " +
                                            (folder / "bin" / "Pelunar").string()),
              std::string::npos);
}

TEST_F(SolverRun, WithoutLoadsTheDeformedDrawingIsTheMesh) {
    SolvingModel m = smallStrip();
    m.forces.clear();
    m.loads.clear();
    writeModel(m);
    ASSERT_EQ(run(), 0);
    EXPECT_EQ(readFile(folder / "deformation.dxf"), readFile(folder / "structure.dxf"));
    EXPECT_EQ(readFile(folder / "Node_Dis.txt").find("nan"), std::string::npos);
}

struct FailureCase {
    const char* name;
    std::string (*solvingFile)();
    const char* message;
};

std::string stripText() {
    std::ostringstream out;
    writeSolvingFile(out, smallStrip());
    return out.str();
}

std::string replaced(std::string text, const std::string& from, const std::string& to) {
    return text.replace(text.find(from), from.size(), to);
}

TEST_F(SolverRun, EachFailureEndsWithItsMessageExitCodeOneAndNoResultFile) {
    const FailureCase cases[] = {
        {"release", [] { return replaced(stripText(), "release=1.0", "release=1.1"); },
         "Release File Number error!\n"},
        {"index", [] { return replaced(stripText(), "1:2,4,5,3[0,0]", "1:2,4,6,3[0,0]"); },
         "line 19: \"1:2,4,6,3[0,0]\"\n  element 1: node index 6 is out of range (NPOIN=6)\n"},
        {"repeated node", [] { return replaced(stripText(), "1:2,4,5,3[0,0]", "1:2,4,4,3[0,0]"); },
         "Element 1 (nodes 2,4,4,3): node 4 is both corner 1 and corner 2.\n"},
        {"crossed", [] { return replaced(stripText(), "1:2,4,5,3[0,0]", "1:2,4,3,5[0,0]"); },
         "Element 1 (nodes 2,4,3,5): the Jacobian determinant is not positive"},
        {"zero edge", [] { return replaced(stripText(), "4:1,0,0", "4:0.5,0,0"); },
         "Element 1 (nodes 2,4,5,3): its first edge"},
        {"stiffness beyond the bound",
         [] {
             SolvingModel m = smallStrip();
             m.materials[0].E = 1e140;
             m.thicknesses[0] = 1e10;
             std::ostringstream out;
             writeSolvingFile(out, m);
             return out.str();
         },
         "material 0 (E=1e+140) with thickness 0 (TK=1e+10) gives a stiffness E*TK^3"},
        {"mechanism",
         [] { return replaced(stripText(), "NRN=2\n0:1 1 1 1 1 1\n1:1 1 1 1 1 1\n", "NRN=0\n"); },
         "The structure is not restrained enough: the stiffness matrix is singular at node 5, "
         "degree of freedom UX"},
    };
    for (const FailureCase& c : cases) {
        SCOPED_TRACE(c.name);
        fs::remove_all(folder);
        fs::create_directories(folder);
        console.str("");
        writeFile(folder / "shell_fem_solving.txt", c.solvingFile());
        EXPECT_EQ(run(), 1);
        EXPECT_NE(console.str().find(c.message), std::string::npos) << console.str();
        EXPECT_FALSE(anyResultFile());
    }
    EXPECT_EQ(process.pauses, 0);
    EXPECT_EQ(process.characterWaits, 7);
}

TEST_F(SolverRun, MissingSolvingFilePausesAndFails) {
    EXPECT_EQ(run(), 1);
    EXPECT_NE(console.str().find("2018.11\nPreprocessor file read error!\n"), std::string::npos);
    EXPECT_EQ(process.pauses, 1);
    EXPECT_FALSE(anyResultFile());
}

TEST_F(SolverRun, ResultFileThatCannotBeCreatedIsReported) {
    writeModel(smallStrip());
    fs::create_directories(folder / "Node_Dis.txt");
    EXPECT_EQ(run(), 1);
    EXPECT_NE(console.str().find("节点位移文件输出失败!\n"), std::string::npos) << console.str();
    EXPECT_EQ(process.characterWaits, 1);
    EXPECT_TRUE(process.programsRun.empty());
}

TEST_F(SolverRun, ReactionAndVtuFilesThatCannotBeCreatedAreReported) {
    const std::pair<const char*, const char*> cases[] = {
        {"Reactions.txt", "支座反力文件(Reactions.txt)输出失败!\n"},
        {"Shell_Results.vtu", "结果文件(Shell_Results.vtu)输出失败!\n"}};
    writeModel(smallStrip());
    for (const auto& [name, message] : cases) {
        SCOPED_TRACE(name);
        fs::create_directories(folder / name);
        console.str("");
        EXPECT_EQ(run(), 1);
        EXPECT_NE(console.str().find(message), std::string::npos) << console.str();
        fs::remove_all(folder / name);
    }
    EXPECT_EQ(process.characterWaits, 2);
    EXPECT_TRUE(process.programsRun.empty());
}

TEST_F(SolverRun, SkylineLargerThanMemoryIsSolvedOnTheSparsePathAndRefusedWhenForced) {
    // A strip of 12000 elements whose two rows are numbered one after the other:
    // every element couples equations 6·12000 apart, about 39 GB of skyline.
    const double memory = static_cast<double>(sysconf(_SC_PHYS_PAGES)) * sysconf(_SC_PAGE_SIZE);
    if (memory > 32e9)
        GTEST_SKIP() << "this machine could hold the matrix";
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "AddressSanitizer ends the process on a failed allocation";
#endif
    const int n = 12000;
    SolvingModel m;
    m.materials = {{2.1e11, 0.3}};
    m.thicknesses = {0.01};
    for (int row = 0; row < 2; ++row)
        for (int i = 0; i <= n; ++i)
            m.nodes.push_back({0.1 * i, 1.0 * row, 0});
    for (int k = 0; k < n; ++k)
        m.elements.push_back({{k, k + 1, n + 2 + k, n + 1 + k}, 0, 0});
    // Held in its plane, and a support across it every 10 elements: a continuous
    // plate strip, as well conditioned as a model of this size can be.
    for (int row = 0; row < 2; ++row)
        for (int i = 0; i <= n; ++i) {
            const int held = i % 10 == 0 ? 1 : 0;
            m.restraints.push_back({row * (n + 1) + i, {1, 1, held, held, held, 1}});
        }
    m.loads.push_back({n / 2, {-1, -1, -1, -1}});
    writeModel(m);
    ASSERT_EQ(run(), 0) << console.str();
    EXPECT_NE(console.str().find("2018.11\nSparse direct solution"), std::string::npos)
        << console.str();
    EXPECT_TRUE(fs::exists(folder / "Node_Dis.txt"));

    for (const char* name : kResultFiles)
        fs::remove(folder / name);
    console.str("");
    EXPECT_EQ(runSolver({console, process, messages, folder, "skyline"}), 1);
    EXPECT_NE(console.str().find("GB of memory space.\nNot enough memory: the global stiffness "
                                 "matrix needs 38.6404 GB.\n"),
              std::string::npos)
        << console.str();
    EXPECT_FALSE(anyResultFile());
}

TEST_F(SolverRun, ASolutionBeyondWhatTheFilesHoldIsRefusedWithoutResultFiles) {
    // A modulus and a force both within the reader's bounds whose deflection is not.
    SolvingModel m = smallStrip();
    m.materials[0].E = 1e-140;
    m.loads.clear();
    for (ForceRecord& f : m.forces)
        f.values[2] = -1e140;
    writeModel(m);
    EXPECT_EQ(run(), 1);
    EXPECT_NE(console.str().find("The solution is not usable: "), std::string::npos)
        << console.str();
    EXPECT_EQ(console.str().find("Node_Dis"), std::string::npos);
    EXPECT_FALSE(anyResultFile());
    EXPECT_TRUE(process.programsRun.empty());
}

TEST_F(SolverRun, RunningOutOfMemoryAnywhereIsAnsweredWithAMessage) {
    if (!SHELLFEM_MEMORY_LIMITS)
        GTEST_SKIP() << "no address-space limit under the sanitizers";
    // Far more nodes than the few megabytes the run may take.
    SolvingModel m = smallStrip();
    for (int i = 0; i < 300000; ++i)
        m.nodes.push_back({1e-3 * i, 5.0, 0.0});
    writeModel(m);
    EXPECT_TRUE(succeedsWithinMemory(6u << 20, [&] {
        return run() == 1 && console.str().find("Not enough memory") != std::string::npos;
    }));
}

bool anyTemporaryFile(const fs::path& folder) {
    for (const auto& entry : fs::directory_iterator(folder))
        if (entry.path().extension() == ".saving")
            return true;
    return false;
}

TEST_F(SolverRun, AFullDiskAtAnyFileFailsTheRunAndKeepsTheEarlierResults) {
    const char* const messages[] = {"文件输出失败!",
                                    "节点位移文件输出失败!",
                                    "单元节点应力文件输出失败!",
                                    "节点应力文件(Drovik)输出失败!",
                                    "支座反力文件(Reactions.txt)输出失败!",
                                    "结果文件(Shell_Results.vtu)输出失败!"};
    writeModel(smallStrip());
    writeFile(folder / "Shell_AverageStrs.txt", "earlier results\n");
    // Limits that stop, in turn, the first drawing, the displacements, the stress
    // tables and the VTU file (the files of this model are 0.5 to 3.5 kB).
    for (rlim_t limit : {200, 700, 800, 2500}) {
        SCOPED_TRACE(limit);
        console.str("");
        int code = 0;
        {
            FileSizeLimit fullDisk(limit);
            code = run();
        }
        EXPECT_EQ(code, 1);
        bool named = false;
        for (const char* m : messages)
            named = named || console.str().find(std::string(m) + "\n") != std::string::npos;
        EXPECT_TRUE(named) << console.str();
        EXPECT_EQ(readFile(folder / "Shell_AverageStrs.txt"), "earlier results\n");
        for (const char* name : kResultFiles) {
            const bool earlier = std::string(name) == "Shell_AverageStrs.txt";
            EXPECT_EQ(fs::exists(folder / name), earlier) << name;
        }
        EXPECT_FALSE(anyTemporaryFile(folder));
    }
    EXPECT_TRUE(process.programsRun.empty());
    {
        FileSizeLimit roomEnough(5000);
        EXPECT_EQ(run(), 0);
    }
    EXPECT_NE(readFile(folder / "Shell_AverageStrs.txt"), "earlier results\n");
    EXPECT_FALSE(anyTemporaryFile(folder));
}

TEST_F(SolverRun, AReadOnlyFolderIsReportedAtTheFirstDrawing) {
    writeModel(smallStrip());
    EXPECT_TRUE(succeedsInReadOnlyFolder(folder.string(), [&] {
        return run() == 1 && console.str().find("文件输出失败!\n") != std::string::npos &&
               !anyResultFile() && process.programsRun.empty();
    }));
}

TEST_F(SolverRun, ForcedSparsePathNamesItsMethodAndShowsItsPhases) {
    writeModel(smallStrip());
    ASSERT_EQ(runSolver({console, process, messages, folder, "sparse"}), 0);
    const std::string text = console.str();
    const std::regex expected(
        "2018\\.11\\nSparse direct solution: [^\\n]+\\n"
        "The global stiffness matrix will occupy [0-9.e-]+ GB of memory space\\.\\n"
        "Assembling the global stiffness matrix\\.\\.\\.[^\\n]*\\nCompleted\\.\\n"
        "Solute the equilibrium equations\\.\\.\\.50%Completed\\.\\x08{13}100%Completed\\."
        "\\(Solution time:\\d+\\.\\d\\d seconds\\)\\n");
    EXPECT_TRUE(std::regex_search(text, expected)) << text;
    EXPECT_TRUE(fs::exists(folder / "Shell_AverageStrs.txt"));
}

TEST_F(SolverRun, UnknownSolverVariableIsRefusedBeforeAnythingIsWritten) {
    writeModel(smallStrip());
    EXPECT_EQ(runSolver({console, process, messages, folder, "dense"}), 1);
    EXPECT_NE(console.str().find("TREVAMIC_SOLVER=\"dense\" names no solution method: set it to "
                                 "skyline or sparse, or leave it unset for the automatic "
                                 "choice.\n"),
              std::string::npos)
        << console.str();
    EXPECT_EQ(console.str().find("GB of memory space"), std::string::npos);
    EXPECT_FALSE(anyResultFile());
    EXPECT_EQ(process.characterWaits, 1);
}

} // namespace
} // namespace shellfem
