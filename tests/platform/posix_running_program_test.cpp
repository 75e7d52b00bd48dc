#include "platform/posix/posix_process_services.h"
#include "tests/support/temp_path.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

namespace shellfem::platform {
namespace {

// Writes an executable shell script and returns its path.
std::string script(const std::string& name, const std::string& body) {
    const std::string path = uniqueTempPath(name);
    std::ofstream(path) << "#!/bin/sh\n" << body;
    std::filesystem::permissions(path, std::filesystem::perms::owner_all);
    return path;
}

// Polls as the GUI does until the program ends; gives up after ten seconds.
WatchedProgram pollToEnd(RunningProgram& program) {
    WatchedProgram result;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (std::chrono::steady_clock::now() < deadline) {
        result.output += program.readOutput();
        if (const std::optional<int> code = program.exitCode()) {
            result.output += program.readOutput();
            result.exitCode = *code;
            return result;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    ADD_FAILURE() << "the program did not end";
    return result;
}

TEST(PosixRunningProgram, OutputAndErrorsArriveInOnePipeAndTheExitCodeIsKept) {
    std::ostringstream console;
    PosixProcessServices process(console);
    const std::string path = script("writes.sh", "echo one\necho two >&2\nexit 3\n");
    const std::unique_ptr<RunningProgram> program = process.startProgram(path);
    ASSERT_TRUE(program);
    const WatchedProgram run = pollToEnd(*program);
    EXPECT_EQ(run.exitCode, 3);
    EXPECT_EQ(run.output, "one\ntwo\n");
    EXPECT_EQ(program->exitCode(), 3); // asked again: the same
    std::filesystem::remove(path);
}

TEST(PosixRunningProgram, StandardInputIsAtItsEndSoAFinalPauseDoesNotHang) {
    std::ostringstream console;
    PosixProcessServices process(console);
    const std::string path = script("pauses.sh", "echo working\nif read answer; then echo "
                                                 "\"read $answer\"; else echo \"end of input\"; "
                                                 "fi\n");
    const std::unique_ptr<RunningProgram> program = process.startProgram(path);
    ASSERT_TRUE(program);
    const WatchedProgram run = pollToEnd(*program);
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.output, "working\nend of input\n");
    std::filesystem::remove(path);
}

TEST(PosixRunningProgram, AMissingProgramIsNotStarted) {
    std::ostringstream console;
    PosixProcessServices process(console);
    EXPECT_FALSE(process.startProgram(uniqueTempPath("no-such-program")));
}

TEST(PosixProcessServices, TheOwnFolderIsTheTestProgramsFolder) {
    std::ostringstream console;
    PosixProcessServices process(console);
    const std::filesystem::path own = process.ownProgramFolder();
    EXPECT_TRUE(std::filesystem::exists(own / "platform_tests"));
}

} // namespace
} // namespace shellfem::platform
