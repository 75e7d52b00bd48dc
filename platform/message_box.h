#pragma once

#include <string>

namespace shellfem::platform {

// The caption of every message the programs show.
inline const char* const kWarningCaption = "Warning!";

// A modal message with one OK button; returns when the user has seen it.
class MessageBox {
public:
    virtual ~MessageBox() = default;
    virtual void show(const std::string& caption, const std::string& text) = 0;
};

} // namespace shellfem::platform
