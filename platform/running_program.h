#pragma once

#include <optional>
#include <string>

namespace shellfem::platform {

// A program started with its standard input at end of file (so that a final
// "pause" returns at once) and its standard output and error going into one
// pipe. Both calls return at once, so a GUI can poll them from its event loop.
class RunningProgram {
public:
    virtual ~RunningProgram() = default;
    // What the program wrote since the last call; empty when nothing new came.
    virtual std::string readOutput() = 0;
    // The exit code once the program has ended (-1 when a signal ended it);
    // nothing while it runs.
    virtual std::optional<int> exitCode() = 0;
};

// A program watched to its end: its exit code and its console output as the
// user saw it (backspaces and carriage returns applied).
struct WatchedProgram {
    int exitCode = -1;
    std::string output;
};

} // namespace shellfem::platform
