#include "formats/pattern_scanner.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <limits>

namespace shellfem {

namespace {

bool isSpace(char c) {
    return std::isspace(static_cast<unsigned char>(c)) != 0;
}

} // namespace

PatternScanner::PatternScanner(std::string text) : text_(std::move(text)) {}

std::size_t PatternScanner::nextItem() const {
    std::size_t p = pos_;
    while (p < text_.size() && isSpace(text_[p]))
        ++p;
    return p;
}

bool PatternScanner::literal(std::string_view pattern) {
    std::size_t p = pos_;
    for (char expected : pattern) {
        if (isSpace(expected)) {
            while (p < text_.size() && isSpace(text_[p]))
                ++p;
            continue;
        }
        if (p >= text_.size() || text_[p] != expected)
            return false;
        ++p;
    }
    pos_ = p;
    return true;
}

// Position of the first character of a number, past white space and a '+' sign
// (which from_chars does not take but scanf does).
std::size_t PatternScanner::numberStart() const {
    std::size_t p = nextItem();
    if (p + 1 < text_.size() && text_[p] == '+' && text_[p + 1] != '-')
        ++p;
    return p;
}

bool PatternScanner::readInt(int& value) {
    const char* first = text_.data() + numberStart();
    const char* last = text_.data() + text_.size();
    long long parsed = 0;
    auto result = std::from_chars(first, last, parsed);
    if (result.ec != std::errc() || parsed < std::numeric_limits<int>::min() ||
        parsed > std::numeric_limits<int>::max())
        return false;
    value = static_cast<int>(parsed);
    pos_ = static_cast<std::size_t>(result.ptr - text_.data());
    return true;
}

bool PatternScanner::readDouble(double& value) {
    const char* first = text_.data() + numberStart();
    const char* last = text_.data() + text_.size();
    double parsed = 0.0;
    auto result = std::from_chars(first, last, parsed);
    if (result.ec != std::errc() || !std::isfinite(parsed))
        return false;
    value = parsed;
    pos_ = static_cast<std::size_t>(result.ptr - text_.data());
    return true;
}

void PatternScanner::skipLine() {
    std::size_t end = text_.find('\n', pos_);
    pos_ = end == std::string::npos ? text_.size() : end + 1;
}

bool PatternScanner::atEnd() const {
    return nextItem() >= text_.size();
}

int PatternScanner::lineAt(std::size_t position) const {
    auto end = text_.begin() + static_cast<std::ptrdiff_t>(std::min(position, text_.size()));
    return 1 + static_cast<int>(std::count(text_.begin(), end, '\n'));
}

std::string PatternScanner::lineTextAt(std::size_t position) const {
    std::size_t begin = std::min(position, text_.size());
    while (begin > 0 && text_[begin - 1] != '\n')
        --begin;
    std::size_t end = text_.find('\n', begin);
    if (end == std::string::npos)
        end = text_.size();
    std::string line = text_.substr(begin, end - begin);
    if (!line.empty() && line.back() == '\r')
        line.pop_back();
    const std::size_t limit = 80;
    if (line.size() > limit)
        line = line.substr(0, limit) + "...";
    return line;
}

std::string PatternScanner::describe(std::size_t position) const {
    if (position >= text_.size()) {
        auto lines = std::count(text_.begin(), text_.end(), '\n');
        if (!text_.empty() && text_.back() != '\n')
            ++lines;
        return "the file ends early, after line " + std::to_string(lines);
    }
    return "line " + std::to_string(lineAt(position)) + ": \"" + lineTextAt(position) + "\"";
}

} // namespace shellfem
