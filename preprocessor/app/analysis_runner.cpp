#include "preprocessor/app/analysis_runner.h"

#include "platform/console_text.h"
#include "platform/program_search.h"
#include "preprocessor/export/solving_export.h"

#include <cstdio>

namespace shellfem::preprocessor::app {

using platform::kWarningCaption;

namespace {
// How much of a failed solver's output the warning repeats; the log has all of it.
constexpr std::size_t kFailureLines = 12;
} // namespace

std::string missingProgramMessage(const std::string& fileName) {
    return "计算程序\"" + fileName + "\"不存在!请将" + fileName + "拷贝至当前文件夹。";
}

bool AnalysisRunner::folderWritable() {
    const std::string probe = (folder_ / kProbeFileName).string();
    std::FILE* file = std::fopen(probe.c_str(), "w");
    const bool writable = file != nullptr;
    if (file)
        std::fclose(file);
    std::remove(probe.c_str()); // in both cases, if it is there
    return writable;
}

std::optional<std::string> AnalysisRunner::findProgram(const std::string& program) {
    const std::string fileName = platform::executableName(program);
    const platform::ProgramSearch search = platform::findProgram(process_, folder_, fileName);
    if (!search.found)
        gui_.show(kWarningCaption,
                  missingProgramMessage(fileName) + "\nLooked for: " + search.lookedAtList());
    return search.found;
}

std::optional<platform::WatchedProgram> AnalysisRunner::run(const std::string& path,
                                                            const std::string& title) {
    const std::unique_ptr<platform::RunningProgram> program = process_.startProgram(path);
    if (!program) {
        gui_.show(kWarningCaption, "The program \"" + path + "\" could not be started.");
        return std::nullopt;
    }
    return gui_.watchProgram(*program, title);
}

void AnalysisRunner::staticCalculate(const Model& model) {
    if (!folderWritable()) {
        gui_.show(kWarningCaption, kFolderNotWritable);
        return;
    }
    const std::optional<std::string> solver = findProgram("Trevamic");
    if (!solver)
        return;
    if (const Outcome exported = exportSolvingFile((folder_ / kSolvingFileName).string(), model);
        !exported.ok()) {
        gui_.show(kWarningCaption, exported.message);
        return;
    }
    // The results of an earlier model must not pass for this one's while it solves.
    solved_ = false;
    const std::optional<platform::WatchedProgram> run = this->run(*solver, "Trevamic");
    if (!run)
        return;
    if (run->exitCode == 0) {
        solved_ = true;
        return;
    }
    platform::ConsoleText output;
    output.write(run->output);
    gui_.show(kWarningCaption, std::string(kSolveFailed) + " Trevamic ended with exit code " +
                                   std::to_string(run->exitCode) + ":\n\n" +
                                   output.lastLines(kFailureLines));
}

void AnalysisRunner::showStressContour() {
    if (!solved_) {
        gui_.show(kWarningCaption, kNotSolved);
        return;
    }
    if (const std::optional<std::string> viewer = findProgram("Pelunar"))
        run(*viewer, "Pelunar");
}

} // namespace shellfem::preprocessor::app
