#pragma once

#include "example_model.h"
#include "platform/fake/fake_gui.h"
#include "platform/fake/fake_process_services.h"
#include "viewer/viewer_app.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <unistd.h>

namespace shellfem::viewer::testing {

// Runs each test in a fresh temporary folder (the viewer reads and writes
// fixed file names in the current folder), and gives it a started viewer.
class ViewerFixture : public ::testing::Test {
protected:
    void SetUp() override {
        char cwd[4096];
        ASSERT_NE(::getcwd(cwd, sizeof cwd), nullptr);
        home_ = cwd;
        char pattern[] = "/tmp/pelunar_test_XXXXXX";
        ASSERT_NE(::mkdtemp(pattern), nullptr);
        folder_ = pattern;
        ASSERT_EQ(::chdir(folder_.c_str()), 0);
    }
    void TearDown() override {
        app_.reset();
        [[maybe_unused]] int rc = ::chdir(home_.c_str());
        rc = std::system(("rm -rf '" + folder_ + "'").c_str());
    }

    static void writeText(const std::string& name, const std::string& text) {
        std::ofstream(name) << text;
    }
    static void writeModel(const std::string& name, const ContourModel& m) {
        std::ofstream out(name);
        writeContourFile(out, m);
    }
    static std::string readText(const std::string& name) {
        std::ifstream in(name);
        std::ostringstream s;
        s << in.rdbuf();
        return s.str();
    }

    // A viewer started on the example panel in an 800 x 600 window.
    ViewerApp& started(const ContourModel& m = cylinderPanel()) {
        writeModel(kAverageStressFileName, m);
        app_ = std::make_unique<ViewerApp>(gui, process, console);
        EXPECT_TRUE(app_->start());
        app_->attachWindow(&window);
        app_->onSize(800, 600);
        return *app_;
    }
    ViewerApp& fresh() {
        app_ = std::make_unique<ViewerApp>(gui, process, console);
        return *app_;
    }

    platform::FakeGui gui;
    platform::FakeProcessServices process;
    std::ostringstream console;
    platform::FakeWindow window;
    std::unique_ptr<ViewerApp> app_;

private:
    std::string home_;
    std::string folder_;
};

} // namespace shellfem::viewer::testing
