#include "platform/posix/posix_process_services.h"

#include "platform/posix/posix_running_program.h"

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <ostream>
#include <spawn.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

extern char** environ;

namespace shellfem::platform {

PosixProcessServices::PosixProcessServices(std::ostream& console) : console_(console) {}

bool PosixProcessServices::fileExists(const std::string& path) {
    return ::access(path.c_str(), F_OK) == 0;
}

int PosixProcessServices::runProgram(const std::string& fileName) {
    console_.flush();
    std::fflush(nullptr);
    // The program is taken from the current folder, never searched on PATH.
    std::string path = fileName.find('/') == std::string::npos ? "./" + fileName : fileName;
    char* argv[] = {path.data(), nullptr};
    pid_t pid = 0;
    if (::posix_spawn(&pid, path.c_str(), nullptr, nullptr, argv, environ) != 0)
        return -1;
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0)
        if (errno != EINTR)
            return -1; // e.g. SIGCHLD ignored: the child is reaped elsewhere
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

void PosixProcessServices::pause() {
    console_ << "Press any key to continue . . . " << std::flush;
    if (::isatty(STDIN_FILENO)) {
        // One key, not a whole line: switch the terminal out of line mode.
        termios saved{};
        if (::tcgetattr(STDIN_FILENO, &saved) == 0) {
            termios raw = saved;
            raw.c_lflag &= static_cast<tcflag_t>(~(ICANON | ECHO));
            raw.c_cc[VMIN] = 1;
            raw.c_cc[VTIME] = 0;
            ::tcsetattr(STDIN_FILENO, TCSANOW, &raw);
            char key = 0;
            [[maybe_unused]] auto n = ::read(STDIN_FILENO, &key, 1);
            ::tcsetattr(STDIN_FILENO, TCSANOW, &saved);
            console_ << '\n' << std::flush;
            return;
        }
    }
    waitForCharacter();
    console_ << '\n' << std::flush;
}

void PosixProcessServices::waitForCharacter() {
    console_.flush();
    std::getchar();
}

std::unique_ptr<RunningProgram> PosixProcessServices::startProgram(const std::string& path) {
    console_.flush();
    std::fflush(nullptr);
    return PosixRunningProgram::start(path);
}

std::string PosixProcessServices::ownProgramFolder() {
    std::error_code failed;
    const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", failed);
    return failed ? std::string() : self.parent_path().string();
}

} // namespace shellfem::platform
