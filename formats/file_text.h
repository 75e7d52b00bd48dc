#pragma once

#include "common/outcome.h"

#include <iosfwd>
#include <new>
#include <string>

namespace shellfem {

// The rest of a stream, read in blocks: the text grows with what arrives, never by
// what a file claims to hold.
std::string readAllText(std::istream& in);

// The whole file at `path`. False, with `text` empty, when it cannot be opened or
// read, and for a folder (which would otherwise read as an empty file).
bool readFileText(const std::string& path, std::string& text);

// Runs `read` (which returns an Outcome); running out of memory on the way becomes
// a failure that names the file instead of ending the program.
template <class Read> Outcome readWithinMemory(const std::string& path, Read read) {
    try {
        return read();
    } catch (const std::bad_alloc&) {
        return Outcome::failure(Status::Failed, "Not enough memory to read " + path + ".");
    }
}

} // namespace shellfem
