#pragma once

#include "platform/dialog.h"
#include "preprocessor/app/editing_context.h"

#include <functional>
#include <optional>
#include <string>

namespace shellfem::preprocessor::app {

// Reads a dialog's edit fields before an edit. The first field that does not
// read, or lies out of its range, gets a "Warning!" box naming the field and
// saying what it must hold; after that every read returns nothing and ok() is
// false, so the dialog stops and nothing is half-applied:
//
//     FieldReader fields(dialog, context());
//     const auto x = fields.number(kX, "X");
//     const auto n = fields.whole(kCopies, "Number of copies", 1, 1000);
//     if (!fields.ok())
//         return;
class FieldReader {
public:
    FieldReader(const platform::Dialog& dialog, EditingContext& context)
        : dialog_(dialog), context_(context) {}

    // A finite decimal number; the whole field must be the number (blanks around it are fine).
    std::optional<double> number(int id, const std::string& field);
    // ... that is greater than `above` (exclusive).
    std::optional<double> numberAbove(int id, const std::string& field, double above);
    // ... for which `valid` holds; `wanted` says what that is ("a number greater than 0").
    std::optional<double> numberWhere(int id, const std::string& field,
                                      const std::function<bool(double)>& valid,
                                      const std::string& wanted);
    // A whole number from `min` to `max`.
    std::optional<int> whole(int id, const std::string& field, int min, int max);

    bool ok() const { return ok_; }

private:
    std::optional<std::string> text(int id) const;
    void refuse(const std::string& field, const std::string& text, const std::string& wanted);

    const platform::Dialog& dialog_;
    EditingContext& context_;
    bool ok_ = true;
};

// The number a field holds, when it holds exactly one finite decimal number
// (digits, sign, point and exponent; no hexadecimal, "inf" or "nan").
std::optional<double> parseNumber(const std::string& text);

} // namespace shellfem::preprocessor::app
