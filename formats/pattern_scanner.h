#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace shellfem {

// Reads text the way scanf patterns do: white space in a literal matches any run
// of white space (including none), numbers skip the white space before them.
// Unlike scanf it refuses numbers out of range and non-finite values, and it can
// say on which line it stopped, so that readers report where a file is wrong.
class PatternScanner {
public:
    explicit PatternScanner(std::string text);

    // Each call consumes input only when it succeeds.
    bool literal(std::string_view pattern);
    bool readInt(int& value);
    bool readDouble(double& value);
    // Skips characters up to and including the next line feed.
    void skipLine();

    bool atEnd() const;
    std::size_t remainingSize() const { return text_.size() - pos_; }

    // Where the next unread item starts (past white space); a mark for messages.
    std::size_t position() const { return nextItem(); }
    // 1-based line of a position.
    int lineAt(std::size_t position) const;
    // The text of that line, without its line ending, cut to a readable length.
    std::string lineTextAt(std::size_t position) const;
    // "line N: \"text\"", or "the file ends early, after line N" past the end.
    std::string describe(std::size_t position) const;
    std::string where() const { return describe(position()); }

private:
    std::size_t nextItem() const;
    std::size_t numberStart() const;

    std::string text_;
    std::size_t pos_ = 0;
};

} // namespace shellfem
