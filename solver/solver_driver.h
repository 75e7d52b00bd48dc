#pragma once

#include "platform/message_box.h"
#include "platform/process_services.h"

#include <filesystem>
#include <iosfwd>
#include <optional>
#include <string>

namespace shellfem {

// What the solver program talks to: the console, the system and the folder it
// works in (reads "shell_fem_solving.txt" there and writes its results there).
struct SolverEnvironment {
    std::ostream& console;
    platform::ProcessServices& process;
    platform::MessageBox& messages;
    std::filesystem::path folder;
    // The value of TREVAMIC_SOLVER, which forces the skyline or the sparse path.
    std::optional<std::string> methodVariable = std::nullopt;
};

// The whole program: read the model, assemble, solve, write the results, start
// the viewer, wait for a key. Returns the exit code (0, or 1 after a message).
int runSolver(const SolverEnvironment& environment);

} // namespace shellfem
