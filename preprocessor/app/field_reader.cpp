#include "preprocessor/app/field_reader.h"

#include "formats/number_format.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>

namespace shellfem::preprocessor::app {

namespace {
std::string trimmed(const std::string& text) {
    const std::size_t first = text.find_first_not_of(" \t");
    if (first == std::string::npos)
        return {};
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}
} // namespace

std::optional<double> parseNumber(const std::string& text) {
    const std::string t = trimmed(text);
    if (t.empty() || t.find_first_not_of("0123456789+-.eE") != std::string::npos)
        return std::nullopt;
    char* end = nullptr;
    errno = 0;
    const double value = std::strtod(t.c_str(), &end);
    if (end != t.c_str() + t.size() || errno == ERANGE || !std::isfinite(value))
        return std::nullopt;
    return value;
}

std::optional<std::string> FieldReader::text(int id) const {
    if (!ok_)
        return std::nullopt;
    return dialog_.text(id);
}

void FieldReader::refuse(const std::string& field, const std::string& text,
                         const std::string& wanted) {
    ok_ = false;
    const std::string t = trimmed(text);
    context_.warn("The field \"" + field + "\" must hold " + wanted + "; " +
                  (t.empty() ? std::string("it is empty.") : "\"" + t + "\" is not one."));
}

std::optional<double> FieldReader::number(int id, const std::string& field) {
    const std::optional<std::string> t = text(id);
    if (!t)
        return std::nullopt;
    const std::optional<double> value = parseNumber(*t);
    if (!value)
        refuse(field, *t, "a number");
    return value;
}

std::optional<double> FieldReader::numberAbove(int id, const std::string& field, double above) {
    return numberWhere(
        id, field, [above](double value) { return value > above; },
        "a number greater than " + formatGeneral(above));
}

std::optional<double> FieldReader::numberWhere(int id, const std::string& field,
                                               const std::function<bool(double)>& valid,
                                               const std::string& wanted) {
    const std::optional<std::string> t = text(id);
    if (!t)
        return std::nullopt;
    const std::optional<double> value = parseNumber(*t);
    if (!value || !valid(*value)) {
        refuse(field, *t, wanted);
        return std::nullopt;
    }
    return value;
}

std::optional<int> FieldReader::whole(int id, const std::string& field, int min, int max) {
    const std::optional<std::string> t = text(id);
    if (!t)
        return std::nullopt;
    const std::optional<double> value = parseNumber(*t);
    if (!value || std::floor(*value) != *value || *value < min || *value > max) {
        refuse(field, *t,
               "a whole number from " + std::to_string(min) + " to " + std::to_string(max));
        return std::nullopt;
    }
    return static_cast<int>(*value);
}

} // namespace shellfem::preprocessor::app
