#pragma once

#include "platform/running_program.h"

#include <memory>
#include <string>
#include <sys/types.h>

namespace shellfem::platform {

// A child process whose standard input is /dev/null and whose standard output
// and error share one non-blocking pipe.
class PosixRunningProgram : public RunningProgram {
public:
    // Null when the pipe or the process could not be made.
    static std::unique_ptr<PosixRunningProgram> start(const std::string& path);
    ~PosixRunningProgram() override;

    std::string readOutput() override;
    std::optional<int> exitCode() override;

private:
    PosixRunningProgram(pid_t pid, int outputFd) : pid_(pid), outputFd_(outputFd) {}

    pid_t pid_;
    int outputFd_;
    std::optional<int> exitCode_;
};

} // namespace shellfem::platform
