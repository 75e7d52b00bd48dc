#include "preprocessor/files/safe_file_write.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <system_error>

#if defined(__unix__) || defined(__APPLE__)
#include <fcntl.h>
#include <unistd.h>
#endif

namespace shellfem::preprocessor {

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

bool replaceFileContents(const std::string& path, const std::string& contents) {
    const std::string temporary = temporaryPathFor(path);
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        if (!out)
            return false;
        out.write(contents.data(), static_cast<std::streamsize>(contents.size()));
        out.close();
        if (!out || !syncToDisk(temporary)) {
            std::remove(temporary.c_str());
            return false;
        }
    }
    std::error_code failure;
    std::filesystem::rename(temporary, path, failure);
    if (failure) {
        std::remove(temporary.c_str());
        return false;
    }
    return true;
}

} // namespace shellfem::preprocessor
