#include "platform/posix/console_message_box.h"

#include <ostream>

namespace shellfem::platform {

ConsoleMessageBox::ConsoleMessageBox(std::ostream& out) : out_(out) {}

void ConsoleMessageBox::show(const std::string& caption, const std::string& text) {
    out_ << caption << ": " << text << std::endl;
}

} // namespace shellfem::platform
