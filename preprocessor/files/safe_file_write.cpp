#include "preprocessor/files/safe_file_write.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <system_error>

namespace shellfem::preprocessor {

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
        if (!out) {
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
