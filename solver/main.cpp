#include "platform/posix/console_message_box.h"
#include "platform/posix/posix_process_services.h"
#include "solver/solver_driver.h"

#include <iostream>

int main() {
    shellfem::platform::PosixProcessServices process(std::cout);
    shellfem::platform::ConsoleMessageBox messages(std::cerr);
    return shellfem::runSolver({std::cout, process, messages, {}});
}
