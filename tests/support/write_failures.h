#pragma once

#include "tests/support/child_process.h"

#include <csignal>
#include <cstdio>
#include <functional>
#include <string>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace shellfem {

// While it lives, no file of the process may grow beyond `bytes`: a write past it
// fails as on a full disk (the signal that would end the process is ignored).
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        ::getrlimit(RLIMIT_FSIZE, &previous_);
        struct rlimit limited = previous_;
        limited.rlim_cur = bytes;
        previousHandler_ = std::signal(SIGXFSZ, SIG_IGN);
        ::setrlimit(RLIMIT_FSIZE, &limited);
    }
    ~FileSizeLimit() {
        ::setrlimit(RLIMIT_FSIZE, &previous_);
        std::signal(SIGXFSZ, previousHandler_);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    struct rlimit previous_ {};
    void (*previousHandler_)(int) = SIG_DFL;
};

// Runs `body` in a child process for which `folder` cannot be written: the folder
// loses its write permission, and a child of the superuser (who would pass it)
// runs as an ordinary user. True when `body` returned true.
inline bool succeedsInReadOnlyFolder(const std::string& folder, const std::function<bool()>& body) {
    struct stat before {};
    if (::stat(folder.c_str(), &before) != 0)
        return false;
    ::chmod(folder.c_str(), 0555);
    const bool passed = succeedsInChild(
        [] {
            if (::getuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0))
                ::_exit(2);
        },
        body);
    ::chmod(folder.c_str(), before.st_mode & 07777);
    return passed;
}

} // namespace shellfem
