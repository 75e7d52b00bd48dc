#include "formats/safe_file_write.h"

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <streambuf>
#include <system_error>
#include <vector>

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

#if defined(__linux__) && defined(SYNC_FILE_RANGE_WRITE)
// A file written through a buffer of its own, each written stretch of a few
// megabytes sent on its way to the disk at once: the disk then works while the
// rest of the file is formatted, and little is left to wait for at the sync.
class DiskStreamBuffer : public std::streambuf {
public:
    explicit DiskStreamBuffer(int fd) : fd_(fd), buffer_(kBufferBytes) {
        setp(buffer_.data(), buffer_.data() + buffer_.size());
    }
    ~DiskStreamBuffer() override {
        if (fd_ >= 0)
            ::close(fd_);
    }
    DiskStreamBuffer(const DiskStreamBuffer&) = delete;
    DiskStreamBuffer& operator=(const DiskStreamBuffer&) = delete;

    // Writes what is buffered, starts the last stretch and closes the file;
    // false when any of it could not be written.
    bool close() {
        const bool written = writeBuffer();
        startStretch();
        const bool closed = ::close(fd_) == 0;
        fd_ = -1;
        return written && closed;
    }

protected:
    int_type overflow(int_type c) override {
        if (!writeBuffer())
            return traits_type::eof();
        if (!traits_type::eq_int_type(c, traits_type::eof())) {
            *pptr() = traits_type::to_char_type(c);
            pbump(1);
        }
        return traits_type::not_eof(c);
    }
    int sync() override { return writeBuffer() ? 0 : -1; }

private:
    static constexpr std::size_t kBufferBytes = std::size_t{1} << 20;
    static constexpr off_t kStretchBytes = off_t{8} << 20;

    bool writeBuffer() {
        for (const char* next = pbase(); next < pptr();) {
            const ssize_t n = ::write(fd_, next, static_cast<std::size_t>(pptr() - next));
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0)
                return false;
            next += n;
            written_ += n;
        }
        setp(buffer_.data(), buffer_.data() + buffer_.size());
        if (written_ - started_ >= kStretchBytes)
            startStretch();
        return true;
    }

    void startStretch() {
        if (written_ > started_)
            ::sync_file_range(fd_, started_, written_ - started_, SYNC_FILE_RANGE_WRITE);
        started_ = written_;
    }

    int fd_;
    std::vector<char> buffer_;
    off_t written_ = 0;
    off_t started_ = 0; // what lies before is on its way to the disk
};

// Fills `temporary` through `write`; false when it cannot be created or written.
bool fillFile(const std::string& temporary, const std::function<void(std::ostream&)>& write) {
    const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (fd < 0)
        return false;
    DiskStreamBuffer buffer(fd);
    std::ostream out(&buffer);
    write(out);
    out.flush();
    return buffer.close() && out.good();
}
#else
bool fillFile(const std::string& temporary, const std::function<void(std::ostream&)>& write) {
    std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
    if (out)
        write(out);
    out.close();
    return static_cast<bool>(out);
}
#endif

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
        if (fillFile(temporary, write))
            return true;
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
