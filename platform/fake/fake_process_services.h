#pragma once

#include "platform/message_box.h"
#include "platform/process_services.h"

#include <set>
#include <string>
#include <utility>
#include <vector>

namespace shellfem::platform {

// Records what a program asked of the system; files "exist" when listed.
class FakeProcessServices : public ProcessServices {
public:
    std::set<std::string> existingFiles;
    std::vector<std::string> programsRun;
    int pauses = 0;
    int characterWaits = 0;
    int exitCode = 0;

    bool fileExists(const std::string& path) override { return existingFiles.count(path) > 0; }
    int runProgram(const std::string& fileName) override {
        programsRun.push_back(fileName);
        return exitCode;
    }
    void pause() override { ++pauses; }
    void waitForCharacter() override { ++characterWaits; }
};

// Keeps every message shown, as (caption, text).
class RecordingMessageBox : public MessageBox {
public:
    std::vector<std::pair<std::string, std::string>> shown;
    void show(const std::string& caption, const std::string& text) override {
        shown.emplace_back(caption, text);
    }
};

} // namespace shellfem::platform
