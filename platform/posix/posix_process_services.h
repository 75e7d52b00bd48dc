#pragma once

#include "platform/process_services.h"

#include <iosfwd>

namespace shellfem::platform {

// Process services on a POSIX system; `console` receives the pause prompt.
class PosixProcessServices : public ProcessServices {
public:
    explicit PosixProcessServices(std::ostream& console);

    bool fileExists(const std::string& path) override;
    int runProgram(const std::string& fileName) override;
    void pause() override;
    void waitForCharacter() override;
    std::unique_ptr<RunningProgram> startProgram(const std::string& path) override;
    std::string ownProgramFolder() override; // from /proc/self/exe

private:
    std::ostream& console_;
};

} // namespace shellfem::platform
