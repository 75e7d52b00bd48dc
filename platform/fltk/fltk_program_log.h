#pragma once

#include "platform/running_program.h"

#include <memory>
#include <string>

namespace shellfem::platform::fltk {

// The small window that shows a started program's console output while the
// program runs. It is modal while the program runs (the other windows repaint
// but take no input), and stays open afterwards, no longer modal, until the
// user closes it or the next program is watched in it.
class ProgramLog {
public:
    ProgramLog();
    ~ProgramLog();

    WatchedProgram watch(RunningProgram& program, const std::string& title);

    struct Widgets;

private:
    std::unique_ptr<Widgets> widgets_;
};

} // namespace shellfem::platform::fltk
