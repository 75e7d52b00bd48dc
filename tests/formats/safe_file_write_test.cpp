#include "formats/safe_file_write.h"

#include "tests/support/temp_path.h"
#include "tests/support/write_failures.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <ostream>
#include <sstream>

namespace shellfem {
namespace {

namespace fs = std::filesystem;

std::string fileText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Some 20 MB in pieces of odd sizes and single characters, so that the writes
// straddle the write buffer and the stretches sent to the disk.
void writeLargeText(std::ostream& out) {
    for (int line = 0; line < 400000; ++line) {
        out << "line " << line << ": " << std::string(static_cast<std::size_t>(line % 61), 'x');
        out.put('\n');
    }
}

TEST(SafeFileWrite, AFileOfManyMegabytesIsWrittenWhole) {
    const std::string path = uniqueTempPath("large.txt");
    std::ostringstream expected;
    writeLargeText(expected);
    ASSERT_GT(expected.str().size(), std::size_t{16} << 20);
    ASSERT_TRUE(replaceFile(path, writeLargeText));
    EXPECT_EQ(fileText(path), expected.str());
    EXPECT_FALSE(fs::exists(temporaryPathFor(path)));
    fs::remove(path);
}

TEST(SafeFileWrite, AFullDiskPastTheFirstMegabytesKeepsTheOldFileAndNoTemporary) {
    const std::string path = uniqueTempPath("kept.txt");
    ASSERT_TRUE(replaceFileContents(path, "old contents\n"));
    {
        FileSizeLimit fullDisk(std::size_t{3} << 20);
        EXPECT_FALSE(replaceFile(path, writeLargeText));
    }
    EXPECT_EQ(fileText(path), "old contents\n");
    EXPECT_FALSE(fs::exists(temporaryPathFor(path)));
    fs::remove(path);
}

} // namespace
} // namespace shellfem
