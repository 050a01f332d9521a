// A setup engine whose platform and steps are fakes: it records every step and message in
// order, answers messages by section and steps by name as a test says, and otherwise gives
// each step its neutral result.
#pragma once

#include "core/setup_engine.h"

#include <deque>
#include <map>
#include <string>
#include <vector>

namespace setup {

struct ShownMessage {
    std::string title, text, caption1, caption2, caption3, section;
    int style = 0;
};

class FakeEngine : public SetupEngine {
public:
    explicit FakeEngine(const std::string& script = "") { AppendScriptText(script.data(), script.size()); }

    // What happened, in order: step names, and "message:<section>" for each message.
    std::vector<std::string> log;
    std::vector<ShownMessage> shown;
    // Answers to messages by section, used up in order; then defaultAnswer.
    std::map<std::string, std::deque<int>> answers;
    int defaultAnswer = result::kOk;
    // Results of steps by name, used up in order; then the step's neutral result.
    std::map<std::string, std::deque<bool>> results;
    int copyEntries = 0;

    int ShowScriptMessage(const char* title, const char* text, const char* caption1, const char* caption2,
                          const char* caption3, const char* section, int style) override {
        auto text_of = [](const char* s) { return std::string(s ? s : ""); };
        shown.push_back({text_of(title), text_of(text), text_of(caption1), text_of(caption2), text_of(caption3),
                         text_of(section), style});
        log.push_back("message:" + text_of(section));
        auto& queue = answers[text_of(section)];
        if (queue.empty()) return defaultAnswer;
        int answer = queue.front();
        queue.pop_front();
        return answer;
    }

    bool FindPreviousVersion() override { return Step("FindPreviousVersion", false); }
    void RemoveStartupEntries() override { Step("RemoveStartupEntries", true); }
    bool RestartSystem(int reboot) override { return Step(reboot ? "Reboot" : "RestartWindows", true); }
    bool RunComPortDialog() override { return Step("RunComPortDialog", true); }
    bool RunSelectDialogs() override { return Step("RunSelectDialogs", true); }
    void CountCopyItems() override {
        Step("CountCopyItems", true);
        m_copyEntryCount = static_cast<std::uint16_t>(copyEntries);
    }
    bool RunSetDirDialog() override { return Step("RunSetDirDialog", true); }
    bool CheckDiskSpace(int drive) override { return Step("CheckDiskSpace " + std::to_string(drive), true); }
    bool CreateInstallDirectory(const std::string& directory) override {
        return Step("CreateInstallDirectory " + directory, true);
    }
    bool RunCopyDialog() override { return Step("RunCopyDialog", true); }
    bool CreateProgramGroups() override { return Step("CreateProgramGroups", true); }
    void WriteIniSections() override { Step("WriteIniSections", true); }
    bool AddStartupEntries() override { return Step("AddStartupEntries", false); }
    void WriteComPortResults(std::int16_t port) override { Step("WriteComPortResults " + std::to_string(port), true); }
    void WriteDialogResults() override { Step("WriteDialogResults", true); }
    void WriteVersionEntries() override { Step("WriteVersionEntries", true); }
    void WriteRegisterSection() override { Step("WriteRegisterSection", true); }
    void WriteUninstallEntry() override { Step("WriteUninstallEntry", true); }
    bool RunExecuteFile() override { return Step("RunExecuteFile", false); }

    using SetupEngine::m_comPort;
    using SetupEngine::m_comPortChosen;
    using SetupEngine::m_copyFromSubDir;
    using SetupEngine::m_installDir;
    using SetupEngine::m_installName;
    using SetupEngine::m_rebootSystem;
    using SetupEngine::m_restartWindows;
    using SetupEngine::m_setDefDir;

protected:
    std::string SystemDirectory() const override { return "C:\\WINDOWS\\SYSTEM"; }
    std::string WindowsDirectory() const override { return "C:\\WINDOWS"; }

private:
    bool Step(const std::string& name, bool neutral) {
        log.push_back(name);
        // Results are looked up by the step's name without its argument.
        auto& queue = results[name.substr(0, name.find(' '))];
        if (queue.empty()) return neutral;
        bool value = queue.front();
        queue.pop_front();
        return value;
    }
};

}  // namespace setup
