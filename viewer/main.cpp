// Pelunar: the contour viewer. Reads "Shell_AverageStrs.txt" from
// the current folder and shows the Se contour over the shell.
#include "platform/fltk/fltk_gui.h"
#include "platform/fltk/fltk_main_window.h"
#include "platform/posix/posix_process_services.h"
#include "viewer/viewer_app.h"

#include <iostream>
#include <new>

namespace {

int run() {
    using namespace shellfem;
    platform::fltk::FltkGui gui("Pelunar");
    if (!gui.openDisplay(std::cerr))
        return 1;
    platform::PosixProcessServices process(std::cout);
    viewer::ViewerApp app(gui, process, std::cerr);
    if (!app.start())
        return 1;
    platform::fltk::FltkMainWindow window(gui, viewer::ViewerApp::title(), 1024, 720,
                                          viewer::viewerMenu(), app);
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
        std::cerr << "Pelunar: Not enough memory; the program stops." << std::endl;
        return 1;
    }
}
