#include "solver/solver_driver.h"

#include "formats/number_format.h"
#include "formats/solving_file.h"
#include "formats/stress_file.h"
#include "platform/program_search.h"
#include "platform/stopwatch.h"
#include "solver/dxf_drawing.h"
#include "solver/progress_display.h"
#include "solver/reaction_file.h"
#include "solver/reactions.h"
#include "solver/result_files.h"
#include "solver/result_staging.h"
#include "solver/static_analysis.h"
#include "solver/stress_recovery.h"
#include "solver/vtu_file.h"

#include <cstdio>
#include <functional>
#include <future>
#include <new>
#include <ostream>

namespace shellfem {

namespace {

const char* const kDxfFailed = "文件输出失败!";
const char* const kDisplacementFileFailed = "节点位移文件输出失败!";
const char* const kStressFileFailed = "单元节点应力文件输出失败!";
const char* const kContourFileFailed = "节点应力文件(Drovik)输出失败!";
const char* const kReactionFileFailed = "支座反力文件(Reactions.txt)输出失败!";
const char* const kVtuFileFailed = "结果文件(Shell_Results.vtu)输出失败!";

class SolverRun {
public:
    explicit SolverRun(const SolverEnvironment& env) : env_(env), out_(env.console) {}

    int run() {
        printBanner();
        if (!readModel() || !analyse() || !putResultsInPlace())
            return 1;
        // The model and every array of the analysis are gone before the viewer starts.
        model_ = SolvingModel{};
        startViewer();
        env_.process.pause();
        return 0;
    }

private:
    bool analyse() {
        MethodRequest request;
        if (Outcome parsed = parseMethodRequest(env_.methodVariable, request); !parsed.ok())
            return fail(parsed.message);
        // The structure's drawing needs only the model: it is written beside the
        // setting up, which leaves a core idle, and it counts where the run has
        // always written it.
        std::future<bool> structureDrawing =
            std::async(std::launch::async | std::launch::deferred, [this] {
                return results_.write("structure.dxf", kDxfFailed,
                                      [&](std::ostream& o) { writeMeshDxf(o, model_); });
            });
        StaticAnalysis analysis(model_);
        if (Outcome set = analysis.setUp(request); !set.ok())
            return fail(set.message);
        const EquationSolver& solver = analysis.solver();
        if (*solver.methodName())
            out_ << solver.methodName() << std::endl;
        const double gigabytes = solver.storeBytes() / (1 << 30);
        out_ << "The global stiffness matrix will occupy " << formatGeneral(gigabytes)
             << " GB of memory space." << std::endl;
        try {
            analysis.allocateMatrix();
        } catch (const std::bad_alloc&) {
            return fail("Not enough memory: the global stiffness matrix needs " +
                        formatGeneral(gigabytes) + " GB.");
        }
        if (!structureDrawing.get())
            return fail(kDxfFailed);
        assemble(analysis);
        analysis.formLoads();
        return solve(analysis) && writeResults(analysis);
    }

    void printBanner() {
        out_ << "Trevamic: linear static analysis of thin shell structures" << std::endl;
        out_ << "Flat four-node shell elements, skyline LDL' solution" << std::endl;
        out_ << "2018.11" << std::endl;
    }

    bool readModel() {
        const Outcome read = readSolvingFile((env_.folder / kSolvingFileName).string(), model_);
        switch (read.status) {
        case Status::Ok:
            return true;
        case Status::CannotOpen:
            out_ << "Preprocessor file read error!" << std::endl;
            env_.process.pause();
            return false;
        case Status::WrongVersion:
            out_ << "Release File Number error!" << std::endl;
            env_.process.waitForCharacter();
            return false;
        default:
            out_ << read.message << std::endl;
            env_.process.waitForCharacter();
            return false;
        }
    }

    bool fail(const std::string& message) {
        out_ << message << std::endl;
        env_.process.waitForCharacter();
        return false;
    }

    bool putResultsInPlace() {
        if (Outcome placed = results_.putInPlace(); !placed.ok())
            return fail(placed.message);
        return true;
    }

    void assemble(StaticAnalysis& analysis) {
        out_ << "Assembling the global stiffness matrix..." << std::flush;
        ProgressDisplay progress(out_, static_cast<std::int64_t>(model_.elements.size()), "\n");
        analysis.assemble([&](int e) { progress.stepDone(e); });
        out_ << "Completed.\n" << std::flush;
    }

    bool solve(StaticAnalysis& analysis) {
        platform::Stopwatch clock;
        out_ << "Solute the equilibrium equations..." << std::flush;
        ProgressDisplay progress(out_, analysis.solver().progressSteps(), "");
        const Outcome solved = analysis.solve([&](int j) { progress.stepDone(j); });
        if (!solved.ok()) {
            out_ << '\n';
            fail(solved.message);
            return false;
        }
        char line[64];
        std::snprintf(line, sizeof line, "(Solution time:%.2lf seconds)\n", clock.seconds());
        out_ << line << std::flush;
        analysis.releaseMatrix();
        return true;
    }

    // Every result file but the structure's drawing, written together once the
    // solution, the stresses and the reactions are known and finite.
    bool writeResults(StaticAnalysis& analysis) {
        const std::vector<double>& u = analysis.displacements();
        if (Outcome usable = checkDisplacements(u); !usable.ok())
            return fail(usable.message);
        analysis.recoverStresses();
        for (const auto* stresses : {&analysis.elementStresses(), &analysis.averagedStresses()})
            if (Outcome usable = checkStresses(model_, *stresses); !usable.ok())
                return fail(usable.message);
        const double scale = deformationScale(model_, u);
        const ContourModel elementContour = contourModel(model_, analysis.elementStresses());
        const ContourModel averageContour = contourModel(model_, analysis.averagedStresses());
        // For checking and for other post-processors: the support reactions with the
        // equilibrium of loads and reactions, and the whole result as one VTK file.
        const ReactionBalance balance = computeReactions(model_, analysis.elements(), u);
        const std::vector<CentreEquivalentStress> centre =
            centreEquivalentStresses(model_, analysis.elements(), u);
        const auto contourFile = [](const ContourModel& contour) {
            return [&contour](std::ostream& o) { writeContourFile(o, contour); };
        };
        const Outcome written = results_.writeTogether({
            {"Node_Dis.txt", kDisplacementFileFailed,
             [&](std::ostream& o) { writeNodeDisplacements(o, u); }},
            {"deformation.dxf", kDxfFailed,
             [&](std::ostream& o) { writeMeshDxf(o, model_, &u, scale); }},
            {"Elem_Node_Stress.txt", kStressFileFailed,
             [&](std::ostream& o) { writeStressTable(o, model_, analysis.elementStresses()); }},
            {"Elem_Node_AverageStress.txt", kStressFileFailed,
             [&](std::ostream& o) { writeStressTable(o, model_, analysis.averagedStresses()); }},
            {"Elem_Node_Strs_InContourFormat.txt", kContourFileFailed, contourFile(elementContour)},
            {"Elem_Node_AverageStrs_InContourFormat.txt", kContourFileFailed,
             contourFile(averageContour)},
            {kAverageStressFileName, kContourFileFailed, contourFile(averageContour)},
            {kReactionFileName, kReactionFileFailed,
             [&](std::ostream& o) { writeReactionFile(o, balance); }},
            {kVtuFileName, kVtuFileFailed,
             [&](std::ostream& o) {
                 writeResultsVtu(o, {model_, u, analysis.averagedStresses(), centre});
             }},
        });
        return written.ok() || fail(written.message);
    }

    // The viewer in the working folder, or else beside the solver's own executable.
    void startViewer() {
        const std::string viewer = platform::executableName("Pelunar");
        const platform::ProgramSearch search =
            platform::findProgram(env_.process, env_.folder, viewer);
        if (search.found)
            env_.process.runProgram(*search.found);
        else
            env_.messages.show("Warning!", "Program \"" + viewer +
                                               "\"does not exist! Please copy it to the current "
                                               "folder and run it.\nLooked for: " +
                                               search.lookedAtList());
    }

    const SolverEnvironment& env_;
    std::ostream& out_;
    SolvingModel model_;
    ResultStaging results_{env_.folder};
};

} // namespace

int runSolver(const SolverEnvironment& environment) {
    try {
        return SolverRun(environment).run();
    } catch (const std::bad_alloc&) {
        // Whatever ran out, the run has released it by now and can still say so.
        environment.console << "\nNot enough memory to run the analysis." << std::endl;
        environment.process.waitForCharacter();
        return 1;
    }
}

} // namespace shellfem
