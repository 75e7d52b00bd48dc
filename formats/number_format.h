#pragma once

#include <string>
#include <string_view>

namespace shellfem {

// Appends `value` as printf's "%g" does (6 significant digits, general notation),
// which is also what a default-formatted output stream writes.
void appendGeneral(std::string& out, double value);

// Appends the shortest text that reads back as exactly `value`.
void appendExact(std::string& out, double value);

void appendInt(std::string& out, long long value);

// Appends `text` right-aligned in a field of `width` characters (never truncated).
void appendRight(std::string& out, std::string_view text, std::size_t width);
void appendRightGeneral(std::string& out, double value, std::size_t width);
void appendRightInt(std::string& out, long long value, std::size_t width);

std::string formatGeneral(double value);

} // namespace shellfem
