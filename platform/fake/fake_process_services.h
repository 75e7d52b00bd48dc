#pragma once

#include "platform/message_box.h"
#include "platform/process_services.h"

#include <deque>
#include <memory>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace shellfem::platform {

// A started program that writes `output` one piece per poll, then ends with `exitCode`.
class FakeRunningProgram : public RunningProgram {
public:
    FakeRunningProgram(std::deque<std::string> output, int exitCode)
        : output_(std::move(output)), exitCode_(exitCode) {}
    std::string readOutput() override {
        if (output_.empty())
            return {};
        std::string piece = std::move(output_.front());
        output_.pop_front();
        return piece;
    }
    std::optional<int> exitCode() override {
        return output_.empty() ? std::optional<int>(exitCode_) : std::nullopt;
    }

private:
    std::deque<std::string> output_;
    int exitCode_;
};

// Records what a program asked of the system; files "exist" when listed.
// Programs run or started end with `exitCode`; started ones write `programOutput`.
class FakeProcessServices : public ProcessServices {
public:
    std::set<std::string> existingFiles;
    std::vector<std::string> programsRun;
    std::vector<std::string> programsStarted;
    std::deque<std::string> programOutput;
    bool startFails = false;
    std::string programFolder; // what ownProgramFolder() answers
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
    std::unique_ptr<RunningProgram> startProgram(const std::string& path) override {
        programsStarted.push_back(path);
        if (startFails)
            return nullptr;
        return std::make_unique<FakeRunningProgram>(programOutput, exitCode);
    }
    std::string ownProgramFolder() override { return programFolder; }
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
