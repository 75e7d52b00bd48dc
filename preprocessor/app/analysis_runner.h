#pragma once

#include "platform/gui.h"
#include "platform/process_services.h"
#include "preprocessor/model/model.h"

#include <filesystem>
#include <optional>
#include <string>

namespace shellfem::preprocessor::app {

inline const char* const kSolvingFileName = "shell_fem_solving.txt";
inline const char* const kProbeFileName = "temp.tmp";
inline const char* const kFolderNotWritable =
    "当前文件所在设备无法写入!这样会造成某些计算结果无法输出。";
inline const char* const kNotSolved = "结构还未求解!";
inline const char* const kSolveFailed = "求解失败!";

// "计算程序"Trevamic.exe"不存在!请将Trevamic.exe拷贝至当前文件夹。" for `fileName`.
std::string missingProgramMessage(const std::string& fileName);

// Solve → Static calculate and Postprocess → ShellStressContour: hands the model
// to the solver and the results to the viewer, as programs started in the
// current folder (`folder` is where the probe and the solving file are written
// and the programs are looked for first; the program passes the current folder,
// empty). Each program is watched to its end with its output in the GUI's log
// window, so no other command runs meanwhile.
class AnalysisRunner {
public:
    AnalysisRunner(platform::Gui& gui, platform::ProcessServices& process,
                   std::filesystem::path folder)
        : gui_(gui), process_(process), folder_(std::move(folder)) {}

    // Solved in this run: the solver ended with exit code 0 on the current model.
    bool solved() const { return solved_; }
    void forgetSolution() { solved_ = false; }

    // The probe, the search for the solver, the solving file, the solver run.
    // Solved only when the solver ended with exit code 0; otherwise a
    // "Warning!" box says that the solution failed, with the solver's last lines.
    void staticCalculate(const Model& model);
    // Refuses before a successful solve in this run, whatever result files lie
    // in the folder; otherwise runs the viewer and waits for it.
    void showStressContour();

private:
    bool folderWritable();
    // The program's path, or nothing after a message that names where it was looked for.
    std::optional<std::string> findProgram(const std::string& program);
    // Starts and watches the program; nothing when it could not be started (after a message).
    std::optional<platform::WatchedProgram> run(const std::string& path, const std::string& title);

    platform::Gui& gui_;
    platform::ProcessServices& process_;
    std::filesystem::path folder_;
    bool solved_ = false;
};

} // namespace shellfem::preprocessor::app
