#include "solver/result_staging.h"

#include "formats/file_text.h"
#include "formats/safe_file_write.h"

#include "tests/support/temp_path.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <new>
#include <ostream>

namespace shellfem {
namespace {

namespace fs = std::filesystem;

std::string fileText(const fs::path& path) {
    std::string text;
    EXPECT_TRUE(readFileText(path.string(), text)) << path;
    return text;
}

// Every file of the folder, temporaries included.
std::size_t filesIn(const fs::path& folder) {
    std::size_t count = 0;
    for ([[maybe_unused]] const auto& entry : fs::directory_iterator(folder))
        ++count;
    return count;
}

std::vector<ResultFile> numberedFiles(int count) {
    std::vector<ResultFile> files;
    for (int i = 0; i < count; ++i)
        files.push_back({"file" + std::to_string(i) + ".txt",
                         "file " + std::to_string(i) + " failed",
                         [i](std::ostream& o) { o << std::string(100000, char('a' + i % 26)); }});
    return files;
}

class ResultsWrittenTogether : public ::testing::Test {
protected:
    void SetUp() override { fs::create_directories(folder); }
    void TearDown() override { fs::remove_all(folder); }
    const fs::path folder = uniqueTempPath("staging");
};

TEST_F(ResultsWrittenTogether, EveryFileIsWholeAndInPlaceOnlyAfterTheRun) {
    ResultStaging staging(folder);
    ASSERT_TRUE(staging.writeTogether(numberedFiles(9)).ok());
    EXPECT_FALSE(fs::exists(folder / "file0.txt"));
    ASSERT_TRUE(staging.putInPlace().ok());
    for (int i = 0; i < 9; ++i)
        EXPECT_EQ(fileText(folder / ("file" + std::to_string(i) + ".txt")),
                  std::string(100000, char('a' + i)));
    EXPECT_EQ(filesIn(folder), 9u);
}

TEST_F(ResultsWrittenTogether, AFileThatCannotBePutOnTheDiskLeavesEveryOldResultInPlace) {
    for (int i = 0; i < 4; ++i)
        ASSERT_TRUE(replaceFileContents((folder / ("file" + std::to_string(i) + ".txt")).string(),
                                        "old " + std::to_string(i)));
    {
        ResultStaging staging(folder);
        ASSERT_TRUE(staging.writeTogether(numberedFiles(4)).ok());
        // The third temporary is gone before the results are put in place: its sync fails.
        fs::remove(temporaryPathFor((folder / "file2.txt").string()));
        const Outcome placed = staging.putInPlace();
        ASSERT_FALSE(placed.ok());
        EXPECT_EQ(placed.message, "file 2 failed");
    }
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(fileText(folder / ("file" + std::to_string(i) + ".txt")),
                  "old " + std::to_string(i));
    EXPECT_EQ(filesIn(folder), 4u);
}

TEST_F(ResultsWrittenTogether, TheFirstFailureInTheGivenOrderIsReportedAndNothingStays) {
    // A folder in the way of a name cannot be replaced by a file.
    fs::create_directories(folder / "file3.txt");
    fs::create_directories(folder / "file6.txt");
    {
        ResultStaging staging(folder);
        const Outcome written = staging.writeTogether(numberedFiles(8));
        ASSERT_FALSE(written.ok());
        EXPECT_EQ(written.message, "file 3 failed");
    }
    EXPECT_EQ(filesIn(folder), 2u);
}

TEST_F(ResultsWrittenTogether, AWriterThatRunsOutOfMemoryLeavesNoFileBehind) {
    std::vector<ResultFile> files = numberedFiles(5);
    files[2].writer = [](std::ostream& o) {
        o << "half a file";
        throw std::bad_alloc();
    };
    {
        ResultStaging staging(folder);
        EXPECT_THROW(staging.writeTogether(files), std::bad_alloc);
    }
    EXPECT_EQ(filesIn(folder), 0u);
}

} // namespace
} // namespace shellfem
