#include "formats/safe_file_write.h"

#include <filesystem>
#include <fstream>
#include <system_error>

#if defined(__unix__) || defined(__APPLE__)
#include <fcntl.h>
#include <unistd.h>
#endif

namespace shellfem {

namespace {

#if defined(__unix__) || defined(__APPLE__)
// Runs `step` on a descriptor of the file at `path`; false when it cannot be opened.
template <typename Step> bool withDescriptor(const std::string& path, Step step) {
    const int fd = ::open(path.c_str(), O_RDONLY);
    if (fd < 0)
        return false;
    const bool done = step(fd);
    ::close(fd);
    return done;
}
#endif

// Asks the system to start writing the file to the disk and returns at once:
// its writing then overlaps whatever the program does next.
void startWritingToDisk(const std::string& path) {
#if defined(__linux__) && defined(SYNC_FILE_RANGE_WRITE)
    withDescriptor(path,
                   [](int fd) { return ::sync_file_range(fd, 0, 0, SYNC_FILE_RANGE_WRITE) == 0; });
#else
    (void)path;
#endif
}

// Puts the written file on the disk before it replaces the old one, so that a
// power loss right after the rename cannot leave an empty file behind.
bool syncToDisk(const std::string& path) {
#if defined(__unix__) || defined(__APPLE__)
    return withDescriptor(path, [](int fd) { return ::fsync(fd) == 0; });
#else
    (void)path;
    return true;
#endif
}

} // namespace

std::string temporaryPathFor(const std::string& path) {
    return path + ".saving";
}

bool writeTemporaryFile(const std::string& path, const std::function<void(std::ostream&)>& write) {
    const std::string temporary = temporaryPathFor(path);
    std::error_code ignored;
    // A folder in the way cannot be replaced by a file.
    if (std::filesystem::is_directory(temporary, ignored) ||
        std::filesystem::is_directory(path, ignored))
        return false;
    try {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        if (out)
            write(out);
        out.close();
        if (out) {
            startWritingToDisk(temporary);
            return true;
        }
    } catch (...) {
        // A writer that ran out of memory leaves no part of its file behind.
        discardTemporaryFile(path);
        throw;
    }
    discardTemporaryFile(path);
    return false;
}

bool syncTemporaryFile(const std::string& path) {
    if (syncToDisk(temporaryPathFor(path)))
        return true;
    discardTemporaryFile(path);
    return false;
}

bool putTemporaryInPlace(const std::string& path) {
    std::error_code failure;
    std::filesystem::rename(temporaryPathFor(path), path, failure);
    if (!failure)
        return true;
    discardTemporaryFile(path);
    return false;
}

void discardTemporaryFile(const std::string& path) {
    const std::string temporary = temporaryPathFor(path);
    std::error_code ignored;
    if (!std::filesystem::is_directory(temporary, ignored))
        std::filesystem::remove(temporary, ignored);
}

bool replaceFile(const std::string& path, const std::function<void(std::ostream&)>& write) {
    return writeTemporaryFile(path, write) && syncTemporaryFile(path) && putTemporaryInPlace(path);
}

bool replaceFileContents(const std::string& path, const std::string& contents) {
    return replaceFile(path, [&](std::ostream& out) {
        out.write(contents.data(), static_cast<std::streamsize>(contents.size()));
    });
}

} // namespace shellfem
