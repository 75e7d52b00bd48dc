// Corvanta: the pre-processor. Builds, meshes, loads and restrains a shell
// model, saves it, and hands it to the solver and the viewer in the current folder.
#include "platform/fltk/fltk_gui.h"
#include "platform/fltk/fltk_main_window.h"
#include "platform/posix/posix_process_services.h"
#include "preprocessor/app/corvanta_app.h"

#include <iostream>
#include <new>

namespace {

int run() {
    using namespace shellfem;
    platform::fltk::FltkGui gui("Corvanta");
    if (!gui.openDisplay(std::cerr))
        return 1;
    platform::PosixProcessServices process(std::cout);
    preprocessor::app::CorvantaApp app(gui, process, std::cerr);
    app.start();
    platform::fltk::FltkMainWindow window(gui, app.title(), 1200, 600,
                                          preprocessor::app::corvantaMenu(), app);
    window.setPosition(100, 100);
    app.attachWindow(&window);
    window.show();
    const int code = gui.run();
    return app.exitCode().value_or(code);
}

} // namespace

int main() {
    try {
        return run();
    } catch (const std::bad_alloc&) {
        std::cerr << "Corvanta: Not enough memory; the program stops." << std::endl;
        return 1;
    }
}
