#pragma once

#include <string>
#include <string_view>

namespace shellfem::platform {

// A console's screen as plain text: what a program's raw output looks like
// once backspaces and carriage returns have moved the cursor back over it, as
// the solver's in-place percentages do. Text written at the cursor overwrites.
class ConsoleText {
public:
    void write(std::string_view raw) {
        for (char c : raw) {
            if (c == '\n') {
                text_ += '\n';
                lineStart_ = text_.size();
                cursor_ = lineStart_;
            } else if (c == '\r') {
                cursor_ = lineStart_;
            } else if (c == '\b') {
                if (cursor_ > lineStart_)
                    --cursor_;
            } else if (cursor_ < text_.size()) {
                text_[cursor_++] = c;
            } else {
                text_ += c;
                ++cursor_;
            }
        }
    }
    const std::string& text() const { return text_; }

    // The last `count` lines, trailing blank ones left out.
    std::string lastLines(std::size_t count) const {
        std::size_t end = text_.size();
        while (end > 0 && (text_[end - 1] == '\n' || text_[end - 1] == ' '))
            --end;
        std::size_t begin = end;
        for (std::size_t feeds = 0; begin > 0; --begin)
            if (text_[begin - 1] == '\n' && ++feeds == count)
                break;
        return text_.substr(begin, end - begin);
    }

private:
    std::string text_;
    std::size_t lineStart_ = 0;
    std::size_t cursor_ = 0;
};

} // namespace shellfem::platform
