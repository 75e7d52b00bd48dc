#include "platform/posix/console_message_box.h"
#include "platform/posix/posix_process_services.h"
#include "solver/solver_driver.h"

#include <cstdlib>
#include <iostream>
#include <optional>
#include <string>

int main() {
    shellfem::platform::PosixProcessServices process(std::cout);
    shellfem::platform::ConsoleMessageBox messages(std::cerr);
    const char* method = std::getenv("TREVAMIC_SOLVER");
    return shellfem::runSolver({std::cout,
                                process,
                                messages,
                                {},
                                method ? std::optional<std::string>(method) : std::nullopt});
}
