#include "platform/fltk/desktop_text_viewer.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace shellfem::platform::fltk {
namespace {

// Each test gets a folder of fake desktop tools that it puts alone on PATH.
class TextViewerTest : public ::testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/text_viewer_test_XXXXXX";
        ASSERT_NE(::mkdtemp(pattern), nullptr);
        bin_ = pattern;
        const char* path = std::getenv("PATH");
        savedPath_ = path ? path : "";
        const char* editor = std::getenv("EDITOR");
        hadEditor_ = editor != nullptr;
        savedEditor_ = editor ? editor : "";
        ::setenv("PATH", bin_.c_str(), 1);
        ::unsetenv("EDITOR");
    }
    void TearDown() override {
        ::setenv("PATH", savedPath_.c_str(), 1);
        if (hadEditor_)
            ::setenv("EDITOR", savedEditor_.c_str(), 1);
        else
            ::unsetenv("EDITOR");
        [[maybe_unused]] int rc = std::system(("/bin/rm -rf '" + bin_ + "'").c_str());
    }
    // A tool that writes its arguments to <bin>/<name>.args and exits with `code`.
    void tool(const std::string& name, int code) {
        const std::string path = bin_ + "/" + name;
        std::ofstream(path) << "#!/bin/sh\necho \"$@\" > '" << path << ".args'\nexit " << code
                            << "\n";
        ::chmod(path.c_str(), 0755);
    }
    std::string args(const std::string& name) {
        std::ifstream in(bin_ + "/" + name + ".args");
        std::ostringstream s;
        s << in.rdbuf();
        return s.str();
    }
    std::string bin_;

private:
    std::string savedPath_, savedEditor_;
    bool hadEditor_ = false;
};

TEST_F(TextViewerTest, XdgOpenGetsTheFile) {
    tool("xdg-open", 0);
    const pid_t pid = startTextViewer("SelectedNodeStress.txt");
    ASSERT_GT(pid, 0);
    EXPECT_EQ(waitTextViewer(pid), ViewerState::Opened);
    EXPECT_EQ(args("xdg-open"), "SelectedNodeStress.txt\n");
}

TEST_F(TextViewerTest, FailingXdgOpenFallsBackToTheEditorInATerminal) {
    tool("xdg-open", 3);
    tool("xterm", 0);
    ::setenv("EDITOR", "nano", 1);
    const pid_t pid = startTextViewer("SelectedElemStress.txt");
    EXPECT_EQ(waitTextViewer(pid), ViewerState::Opened);
    const std::string a = args("xterm");
    EXPECT_EQ(a.rfind("-e sh -c", 0), 0u) << a;
    EXPECT_NE(a.find("SelectedElemStress.txt"), std::string::npos);
}

TEST_F(TextViewerTest, PrefersTheDebianTerminalAlternative) {
    tool("x-terminal-emulator", 0);
    tool("xterm", 0);
    ::setenv("EDITOR", "vi", 1);
    EXPECT_EQ(waitTextViewer(startTextViewer("a b.txt")), ViewerState::Opened);
    EXPECT_NE(args("x-terminal-emulator").find("a b.txt"), std::string::npos);
    EXPECT_EQ(args("xterm"), "");
}

TEST_F(TextViewerTest, NothingAvailableFailsSoTheProgramCanNameTheFile) {
    EXPECT_EQ(waitTextViewer(startTextViewer("SelectedNodeStress.txt")), ViewerState::Failed);
    tool("xterm", 0); // a terminal but no $EDITOR: still nothing to show the file with
    EXPECT_EQ(waitTextViewer(startTextViewer("SelectedNodeStress.txt")), ViewerState::Failed);
    const std::string message = textViewerFailureMessage("SelectedNodeStress.txt");
    char cwd[4096];
    ASSERT_NE(::getcwd(cwd, sizeof cwd), nullptr);
    EXPECT_NE(message.find(std::string(cwd) + "/SelectedNodeStress.txt"), std::string::npos);
    EXPECT_NE(textViewerFailureMessage("/abs/x.txt").find("/abs/x.txt"), std::string::npos);
}

TEST_F(TextViewerTest, PollingReportsRunningThenTheOutcome) {
    const std::string path = bin_ + "/xdg-open";
    std::ofstream(path) << "#!/bin/sh\nread line\nexit 0\n"; // waits for its standard input
    ::chmod(path.c_str(), 0755);
    // The script gives xdg-open /dev/null as input, so it ends at once; poll until then.
    const pid_t pid = startTextViewer("x.txt");
    ViewerState state = ViewerState::Running;
    for (int i = 0; i < 200 && state == ViewerState::Running; ++i) {
        state = pollTextViewer(pid);
        if (state == ViewerState::Running)
            ::usleep(10000);
    }
    EXPECT_EQ(state, ViewerState::Opened);
    EXPECT_EQ(pollTextViewer(-1), ViewerState::Failed);
}

} // namespace
} // namespace shellfem::platform::fltk
