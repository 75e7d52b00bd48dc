#pragma once

#include "common/outcome.h"

#include <iosfwd>
#include <string>
#include <string_view>
#include <vector>

namespace shellfem::viewer {

// A selection file holds the 0-based numbers of the selected items, one per line,
// in increasing order. Blank lines are ignored when reading.
void writeSelectionFile(std::ostream& out, const std::vector<char>& flags);

// Replaces `flags` by the selection in the file; flags keep their size. A line that
// is not one whole number, or a number outside 0..flags.size()-1, is refused with
// its line number and `flags` left unchanged.
Outcome readSelectionFile(std::istream& in, std::vector<char>& flags);

enum class WholeNumber { Read, NotWhole, OutOfRange };

// One whole number in decimal digits with an optional leading minus and nothing but blanks
// (space, tab, CR, VT, FF) around it. OutOfRange when it is one but does not fit in
// `value`; `value` is set only when Read.
WholeNumber readWholeNumber(std::string_view text, long long& value);

// The same as a value of int, where a leading plus is allowed as well; false when the
// text is not one, `value` unchanged.
bool parseWholeNumber(std::string_view text, int& value);

// A finite decimal number ("12", "-0.5", "1.5e6", a leading plus allowed) with nothing but
// blanks around it, as the dialogs' number fields take it; false, `value` unchanged, for
// any other text.
bool parseDecimal(std::string_view text, double& value);

} // namespace shellfem::viewer
