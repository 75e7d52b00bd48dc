#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace shellfem::viewer {

// A selection file holds the 0-based numbers of the selected items, one per line,
// in increasing order. Blank lines are ignored when reading.
void writeSelectionFile(std::ostream& out, const std::vector<char>& flags);

// Replaces `flags` by the selection in the file; flags keep their size. A line that
// is not one whole number, or a number outside 0..flags.size()-1, is refused with
// its line number in `error` and `flags` left unchanged.
bool readSelectionFile(std::istream& in, std::vector<char>& flags, std::string& error);

} // namespace shellfem::viewer
