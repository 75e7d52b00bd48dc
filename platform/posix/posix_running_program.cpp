#include "platform/posix/posix_running_program.h"

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace shellfem::platform {

std::unique_ptr<PosixRunningProgram> PosixRunningProgram::start(const std::string& path) {
    int fds[2];
    if (::pipe2(fds, O_CLOEXEC) != 0)
        return nullptr;
    posix_spawn_file_actions_t actions;
    ::posix_spawn_file_actions_init(&actions);
    ::posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    ::posix_spawn_file_actions_adddup2(&actions, fds[1], STDOUT_FILENO);
    ::posix_spawn_file_actions_adddup2(&actions, fds[1], STDERR_FILENO);
    // A bare name is the program in the current folder, never one found on PATH.
    std::string file = path.find('/') == std::string::npos ? "./" + path : path;
    char* argv[] = {file.data(), nullptr};
    pid_t pid = 0;
    const int spawned = ::posix_spawn(&pid, file.c_str(), &actions, nullptr, argv, environ);
    ::posix_spawn_file_actions_destroy(&actions);
    ::close(fds[1]);
    if (spawned != 0) {
        ::close(fds[0]);
        return nullptr;
    }
    ::fcntl(fds[0], F_SETFL, ::fcntl(fds[0], F_GETFL) | O_NONBLOCK);
    return std::unique_ptr<PosixRunningProgram>(new PosixRunningProgram(pid, fds[0]));
}

PosixRunningProgram::~PosixRunningProgram() {
    ::close(outputFd_);
    if (!exitCode_) // reaps a program that has just ended; one still running runs on
        ::waitpid(pid_, nullptr, WNOHANG);
}

std::string PosixRunningProgram::readOutput() {
    std::string output;
    char buffer[4096];
    for (;;) {
        const ssize_t n = ::read(outputFd_, buffer, sizeof buffer);
        if (n > 0) {
            output.append(buffer, static_cast<std::size_t>(n));
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        return output; // nothing more for now (EAGAIN), or the end of the pipe
    }
}

std::optional<int> PosixRunningProgram::exitCode() {
    if (exitCode_)
        return exitCode_;
    int status = 0;
    const pid_t done = ::waitpid(pid_, &status, WNOHANG);
    if (done == pid_)
        exitCode_ = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    else if (done < 0 && errno != EINTR)
        exitCode_ = -1; // reaped elsewhere (SIGCHLD ignored): its code is lost
    return exitCode_;
}

} // namespace shellfem::platform
