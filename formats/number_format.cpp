#include "formats/number_format.h"

#include <charconv>
#include <cstdio>

namespace shellfem {

namespace {

std::string_view toGeneral(char (&buffer)[64], double value) {
    auto result =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, 6);
    return {buffer, static_cast<std::size_t>(result.ptr - buffer)};
}

} // namespace

void appendGeneral(std::string& out, double value) {
    char buffer[64];
    out += toGeneral(buffer, value);
}

void appendExact(std::string& out, double value) {
    char buffer[64];
    auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    out.append(buffer, result.ptr);
}

void appendInt(std::string& out, long long value) {
    char buffer[32];
    auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    out.append(buffer, result.ptr);
}

void appendRight(std::string& out, std::string_view text, std::size_t width) {
    if (text.size() < width)
        out.append(width - text.size(), ' ');
    out += text;
}

void appendRightGeneral(std::string& out, double value, std::size_t width) {
    char buffer[64];
    appendRight(out, toGeneral(buffer, value), width);
}

void appendRightInt(std::string& out, long long value, std::size_t width) {
    char buffer[32];
    auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    appendRight(out, std::string_view(buffer, static_cast<std::size_t>(result.ptr - buffer)),
                width);
}

std::string formatGeneral(double value) {
    std::string text;
    appendGeneral(text, value);
    return text;
}

} // namespace shellfem
