#pragma once

#include "platform/process_services.h"

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace shellfem::platform {

// Where a program looked for another one: the path it found, and every path it
// tried, so that a message can name them.
struct ProgramSearch {
    std::optional<std::string> found;
    std::vector<std::string> lookedAt; // absolute, in the order tried

    // "/work/model/Trevamic, /opt/shellfem/bin/Trevamic"
    std::string lookedAtList() const {
        std::string list;
        for (const std::string& path : lookedAt)
            list += (list.empty() ? "" : ", ") + path;
        return list;
    }
};

// Looks for the program file `fileName` in `folder` (the current folder when
// empty), then beside the running program's own executable. The programs find
// each other this way when they lie together in one folder elsewhere.
inline ProgramSearch findProgram(ProcessServices& process, const std::filesystem::path& folder,
                                 const std::string& fileName) {
    namespace fs = std::filesystem;
    std::vector<fs::path> candidates{folder / fileName};
    const std::string own = process.ownProgramFolder();
    if (!own.empty())
        candidates.push_back(fs::path(own) / fileName);
    ProgramSearch search;
    for (const fs::path& candidate : candidates) {
        std::error_code ignored;
        const std::string shown = fs::absolute(candidate, ignored).lexically_normal().string();
        if (!search.lookedAt.empty() && search.lookedAt.front() == shown)
            continue; // started from its own folder: one place, tried once
        search.lookedAt.push_back(shown);
        if (process.fileExists(candidate.string())) {
            search.found = candidate.string();
            break;
        }
    }
    return search;
}

} // namespace shellfem::platform
