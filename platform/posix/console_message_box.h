#pragma once

#include "platform/message_box.h"

#include <iosfwd>

namespace shellfem::platform {

// A console program's message box: caption and text on a stream (standard error).
class ConsoleMessageBox : public MessageBox {
public:
    explicit ConsoleMessageBox(std::ostream& out);
    void show(const std::string& caption, const std::string& text) override;

private:
    std::ostream& out_;
};

} // namespace shellfem::platform
