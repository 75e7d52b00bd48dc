#pragma once

#include <cstdio>
#include <functional>
#include <sys/wait.h>
#include <unistd.h>

namespace shellfem {

// Runs `prepare` and then `body` in a child process, so that limits and identities
// set for the test end with it. True when `body` returned true; a throw, a crash,
// false, or a child that could not be made is false. `prepare` may end the child
// with _exit when it cannot set up.
inline bool succeedsInChild(const std::function<void()>& prepare,
                            const std::function<bool()>& body) {
    std::fflush(nullptr);
    const pid_t child = ::fork();
    if (child < 0)
        return false;
    if (child == 0) {
        prepare();
        bool passed = false;
        try {
            passed = body();
        } catch (...) {
            passed = false;
        }
        ::_exit(passed ? 0 : 1);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

} // namespace shellfem
