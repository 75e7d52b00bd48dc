#pragma once

#include "platform/running_program.h"

#include <memory>
#include <string>

namespace shellfem::platform {

// Process and file services the programs use to hand work to each other.
class ProcessServices {
public:
    virtual ~ProcessServices() = default;

    // Existence test only, relative to the current folder.
    virtual bool fileExists(const std::string& path) = 0;
    // Runs the program file `fileName` from the current folder and waits for it;
    // returns its exit code, or -1 when it could not be started.
    virtual int runProgram(const std::string& fileName) = 0;
    // Waits for a key after telling the user so; returns at once at end of input.
    virtual void pause() = 0;
    // Waits for one character of standard input; returns at once at end of input.
    virtual void waitForCharacter() = 0;
    // Starts the program file `path` (a bare name is taken from the current
    // folder) in the current folder and returns at once; null when it could not
    // be started.
    virtual std::unique_ptr<RunningProgram> startProgram(const std::string& path) = 0;
    // The folder that holds the running program's own executable; empty when
    // the system does not tell.
    virtual std::string ownProgramFolder() = 0;
};

// The program file of `program` as it lies in a folder: the name plus the
// platform's executable suffix ("Pelunar" here, "Pelunar.exe" on Windows).
inline std::string executableName(const std::string& program) {
#ifdef _WIN32
    return program + ".exe";
#else
    return program;
#endif
}

} // namespace shellfem::platform
