#include "viewer/contour/selection_file.h"

#include "formats/number_format.h"

#include <cctype>
#include <charconv>
#include <climits>
#include <cmath>
#include <istream>
#include <ostream>

namespace shellfem::viewer {

void writeSelectionFile(std::ostream& out, const std::vector<char>& flags) {
    std::string text;
    for (std::size_t i = 0; i < flags.size(); ++i)
        if (flags[i]) {
            appendInt(text, static_cast<long long>(i));
            text += '\n';
        }
    out << text;
}

namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f';
}

std::string_view trimmed(std::string_view line) {
    while (!line.empty() && isBlank(line.front()))
        line.remove_prefix(1);
    while (!line.empty() && isBlank(line.back()))
        line.remove_suffix(1);
    return line;
}

// Long lines are cut in messages so that a binary file does not flood them.
std::string quoted(std::string_view text) {
    constexpr std::size_t kShownLength = 40;
    if (text.size() > kShownLength)
        return "\"" + std::string(text.substr(0, kShownLength)) + "...\"";
    return "\"" + std::string(text) + "\"";
}

} // namespace

WholeNumber readWholeNumber(std::string_view text, long long& value) {
    const std::string_view item = trimmed(text);
    long long number = 0;
    const auto [end, status] = std::from_chars(item.data(), item.data() + item.size(), number);
    const bool whole = end == item.data() + item.size();
    if (status == std::errc::result_out_of_range && whole)
        return WholeNumber::OutOfRange;
    if (status != std::errc() || !whole)
        return WholeNumber::NotWhole;
    value = number;
    return WholeNumber::Read;
}

bool parseWholeNumber(std::string_view text, int& value) {
    std::string_view item = trimmed(text);
    if (item.size() > 1 && item.front() == '+' && std::isdigit(static_cast<unsigned char>(item[1])))
        item.remove_prefix(1);
    long long number = 0;
    if (readWholeNumber(item, number) != WholeNumber::Read || number < INT_MIN || number > INT_MAX)
        return false;
    value = static_cast<int>(number);
    return true;
}

bool parseDecimal(std::string_view text, double& value) {
    std::string_view item = trimmed(text);
    if (item.size() > 1 && item.front() == '+' && item[1] != '-')
        item.remove_prefix(1);
    double number = 0.0;
    const auto [end, status] = std::from_chars(item.data(), item.data() + item.size(), number);
    if (item.empty() || status != std::errc() || end != item.data() + item.size() ||
        !std::isfinite(number))
        return false;
    value = number;
    return true;
}

Outcome readSelectionFile(std::istream& in, std::vector<char>& flags) {
    std::vector<char> read(flags.size(), 0);
    std::string line;
    int lineNumber = 0;
    while (std::getline(in, line)) {
        ++lineNumber;
        const std::string_view item = trimmed(line);
        if (item.empty())
            continue;
        long long number = 0;
        const WholeNumber parsed = readWholeNumber(item, number);
        const std::string where = "line " + std::to_string(lineNumber) + ": ";
        if (parsed == WholeNumber::OutOfRange) {
            return Outcome::failure(Status::Malformed, where + quoted(item) + " is out of range");
        }
        if (parsed == WholeNumber::NotWhole) {
            return Outcome::failure(Status::Malformed,
                                    where + quoted(item) + " is not a whole number");
        }
        if (number < 0 || static_cast<unsigned long long>(number) >= read.size())
            return Outcome::failure(Status::Malformed,
                                    where + std::string(item) + " is out of range " +
                                        (read.empty() ? "(there are no items)"
                                                      : "0.." + std::to_string(read.size() - 1)));
        read[static_cast<std::size_t>(number)] = 1;
    }
    if (in.bad()) {
        return Outcome::failure(Status::Malformed,
                                "reading stopped after line " + std::to_string(lineNumber));
    }
    flags = std::move(read);
    return Outcome::success();
}

} // namespace shellfem::viewer
