#include "platform/fake/fake_process_services.h"
#include "platform/program_search.h"

#include <gtest/gtest.h>

namespace shellfem::platform {
namespace {

TEST(ProgramSearch, TheFolderComesFirstThenTheOwnExecutablesFolderAndBothAreNamed) {
    FakeProcessServices process;
    process.programFolder = "/opt/shellfem/bin";
    process.existingFiles = {"/work/model/Trevamic", "/opt/shellfem/bin/Trevamic"};
    ProgramSearch found = findProgram(process, "/work/model", "Trevamic");
    EXPECT_EQ(found.found, "/work/model/Trevamic");
    EXPECT_EQ(found.lookedAtList(), "/work/model/Trevamic");

    process.existingFiles = {"/opt/shellfem/bin/Trevamic"};
    found = findProgram(process, "/work/model", "Trevamic");
    EXPECT_EQ(found.found, "/opt/shellfem/bin/Trevamic");

    process.existingFiles.clear();
    const ProgramSearch missing = findProgram(process, "/work/model", "Trevamic");
    EXPECT_FALSE(missing.found);
    EXPECT_EQ(missing.lookedAtList(), "/work/model/Trevamic, /opt/shellfem/bin/Trevamic");
}

TEST(ProgramSearch, TheCurrentFolderIsNamedAbsoluteAndOneFolderIsTriedOnce) {
    FakeProcessServices process;
    process.programFolder = std::filesystem::current_path().string();
    const ProgramSearch missing = findProgram(process, {}, "Pelunar");
    EXPECT_EQ(missing.lookedAt,
              std::vector<std::string>{(std::filesystem::current_path() / "Pelunar").string()});

    process.existingFiles = {"Pelunar"};
    EXPECT_EQ(findProgram(process, {}, "Pelunar").found, "Pelunar"); // run as given
}

} // namespace
} // namespace shellfem::platform
