#include "platform/fltk/desktop_text_viewer.h"

#include <cerrno>
#include <climits>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace shellfem::platform::fltk {

namespace {

// Runs in /bin/sh with the file as $1; exits 0 once a viewer took the file.
const char* const kScript =
    "f=$1\n"
    "if command -v xdg-open >/dev/null 2>&1; then\n"
    "  xdg-open \"$f\" </dev/null >/dev/null 2>&1 && exit 0\n"
    "fi\n"
    "if [ -n \"${EDITOR:-}\" ]; then\n"
    "  for t in x-terminal-emulator xterm; do\n"
    "    if command -v \"$t\" >/dev/null 2>&1; then\n"
    "      exec \"$t\" -e sh -c '$EDITOR \"$1\"' sh \"$f\" </dev/null >/dev/null 2>&1\n"
    "    fi\n"
    "  done\n"
    "fi\n"
    "exit 3\n";

ViewerState fromStatus(int status) {
    return WIFEXITED(status) && WEXITSTATUS(status) == 0 ? ViewerState::Opened
                                                         : ViewerState::Failed;
}

} // namespace

pid_t startTextViewer(const std::string& path) {
    std::string sh = "/bin/sh", c = "-c", script = kScript, name = "shellfem-open", file = path;
    char* argv[] = {sh.data(), c.data(), script.data(), name.data(), file.data(), nullptr};
    pid_t pid = -1;
    if (::posix_spawn(&pid, "/bin/sh", nullptr, nullptr, argv, environ) != 0)
        return -1;
    return pid;
}

ViewerState pollTextViewer(pid_t pid) {
    if (pid <= 0)
        return ViewerState::Failed;
    int status = 0;
    const pid_t r = ::waitpid(pid, &status, WNOHANG);
    if (r == 0)
        return ViewerState::Running;
    if (r < 0)
        return errno == EINTR ? ViewerState::Running : ViewerState::Failed;
    return fromStatus(status);
}

ViewerState waitTextViewer(pid_t pid) {
    if (pid <= 0)
        return ViewerState::Failed;
    int status = 0;
    pid_t r;
    do {
        r = ::waitpid(pid, &status, 0);
    } while (r < 0 && errno == EINTR);
    return r < 0 ? ViewerState::Failed : fromStatus(status);
}

std::string textViewerFailureMessage(const std::string& path) {
    std::string where = path;
    if (path.empty() || path[0] != '/') {
        char cwd[PATH_MAX];
        if (::getcwd(cwd, sizeof cwd))
            where = std::string(cwd) + "/" + path;
    }
    return "No text viewer could be started (xdg-open, or $EDITOR in a terminal).\n"
           "The file was written to:\n" +
           where;
}

} // namespace shellfem::platform::fltk
