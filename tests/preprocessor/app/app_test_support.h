#pragma once

#include "platform/fake/fake_gui.h"
#include "platform/fake/fake_process_services.h"
#include "preprocessor/app/corvanta_app.h"
#include "test_models.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <sstream>

namespace shellfem::preprocessor::app::testing {

using namespace shellfem::preprocessor::testing;
namespace fs = std::filesystem;

// A started application in an 800 × 600 window, working in a folder of its own.
class AppFixture : public ::testing::Test {
protected:
    void SetUp() override {
        const ::testing::TestInfo* info = ::testing::UnitTest::GetInstance()->current_test_info();
        folder = fs::temp_directory_path() /
                 ("corvanta_" + std::string(info->test_suite_name()) + "_" + info->name());
        fs::remove_all(folder);
        fs::create_directories(folder);
        app = std::make_unique<CorvantaApp>(gui, process, console, folder);
        app->start();
        app->attachWindow(&window);
        app->onSize(800, 600);
    }
    void TearDown() override {
        app.reset();
        fs::remove_all(folder);
    }

    // One material and thickness and a 10 × 10 square polygon (points 0..3) in z = 0,
    // meshed 2 × 2, with its edge x = 0 clamped and a force at the far corner.
    void buildMeshedPlate() {
        app->edit([](Model& m) {
            m.addMaterial(kSteel);
            m.addThickness(0.1);
            addRectangle(m, 0, 0, 10, 10);
            m.meshPolygons({0}, divisions(2, 2));
            std::vector<int> clamped, tip;
            for (std::size_t n = 0; n < m.data().nodes.size(); ++n) {
                const Vec3& p = m.data().nodes[n].position;
                if (p.x == 0.0)
                    clamped.push_back(static_cast<int>(n));
                if (p.x == 10.0 && p.y == 10.0)
                    tip.push_back(static_cast<int>(n));
            }
            m.applyRestraints(clamped, {1, 1, 1, 1, 1, 1}, ApplyMode::Replace);
            return m.applyForces(tip, {0, 0, -1, 0, 0, 0}, ApplyMode::Replace);
        });
    }

    // The node at (x, y, 0), e.g. of the 3 × 3 grid of the meshed plate.
    int nodeAt(double x, double y) const {
        const std::vector<Node>& nodes = app->model().data().nodes;
        for (std::size_t n = 0; n < nodes.size(); ++n)
            if (nodes[n].position.x == x && nodes[n].position.y == y)
                return static_cast<int>(n);
        ADD_FAILURE() << "no node at " << x << ", " << y;
        return -1;
    }

    platform::PixelPoint pixelOf(const Vec3& p) { return app->controller().view().modelToPixel(p); }
    platform::PixelPoint pixelOfPoint(int id) {
        return pixelOf(app->model().data().points[static_cast<std::size_t>(id)].position);
    }
    platform::PixelPoint pixelOfNode(int id) {
        return pixelOf(app->model().data().nodes[static_cast<std::size_t>(id)].position);
    }

    // Runs the menu command and returns the dialog it opened.
    platform::FakeDialog& open(int command, const std::string& title) {
        app->onCommand(command);
        platform::FakeDialog* d = gui.dialog(title);
        EXPECT_NE(d, nullptr) << title;
        return *d;
    }

    // The texts of the messages shown since the last call.
    std::vector<std::string> takeMessages() {
        std::vector<std::string> texts;
        for (const auto& [caption, text] : gui.messages) {
            EXPECT_EQ(caption, caption == "Corvanta" ? "Corvanta" : "Warning!");
            texts.push_back(text);
        }
        gui.messages.clear();
        return texts;
    }

    platform::FakeGui gui;
    platform::FakeWindow window;
    platform::FakeProcessServices process;
    std::ostringstream console;
    fs::path folder;
    std::unique_ptr<CorvantaApp> app;
};

} // namespace shellfem::preprocessor::app::testing
