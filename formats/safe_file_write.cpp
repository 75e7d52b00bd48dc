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

// Puts the written file on the disk before it replaces the old one, so that a
// power loss right after the rename cannot leave an empty file behind.
bool syncToDisk(const std::string& path) {
#if defined(__unix__) || defined(__APPLE__)
    const int fd = ::open(path.c_str(), O_RDONLY);
    if (fd < 0)
        return false;
    const bool synced = ::fsync(fd) == 0;
    ::close(fd);
    return synced;
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
        if (out && syncToDisk(temporary))
            return true;
    } catch (...) {
        // A writer that ran out of memory leaves no part of its file behind.
        discardTemporaryFile(path);
        throw;
    }
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
    return writeTemporaryFile(path, write) && putTemporaryInPlace(path);
}

bool replaceFileContents(const std::string& path, const std::string& contents) {
    return replaceFile(path, [&](std::ostream& out) {
        out.write(contents.data(), static_cast<std::streamsize>(contents.size()));
    });
}

} // namespace shellfem
