// Setup engines whose machine is a fake.
//
// FakeMachine: messages are recorded and answered by section as a test says; files and
// directories live in memory (names compared without case, as on the target system); the
// version library's installer copies in memory and can be made to fail; billboards are
// recorded. The steps of the installation are the real ones.
//
// FakeEngine: the same, with every step of the installation recorded and answered by name
// as a test says (otherwise its neutral result), for the tests of the sequence.
#pragma once

#include "engine/choices.h"
#include "engine/setup_engine.h"
#include "script/text.h"
#include "uninstall/sha256.h"

#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

namespace setup {

struct ShownMessage {
    std::string title, text, caption1, caption2, caption3, section;
    int style = 0;
};

struct FakeFile {
    std::string content;
    LocalTime time{2024, 5, 17, 14, 30};
};

class FakeMachine : public SetupEngine {
public:
    explicit FakeMachine(const std::string& script = "") { AppendScriptText(script.data(), script.size()); }

    // What happened, in order: step names, "message:<section>" for each message,
    // "install:<destination path>", "billboard:<position>:<path>", "remove billboard".
    std::vector<std::string> log;
    std::vector<ShownMessage> shown;
    // Answers to messages by section, used up in order; then defaultAnswer.
    std::map<std::string, std::deque<int>> answers;
    int defaultAnswer = result::kOk;
    // Called with each message before it is answered (a test may change the machine).
    std::function<void(const ShownMessage&)> onMessage;

    // The machine: files by upper-case path, directories by upper-case path (no trailing
    // backslash), plain files that stand where a directory is wanted.
    std::map<std::string, FakeFile> files;
    std::set<std::string> directories = {"C:", "D:"};
    std::optional<std::uint64_t> freeBytes = std::uint64_t{1} << 32;
    std::string freeSpaceRoot;  // the root last asked about
    // Results of the next calls of the installer; 0 (success) once used up.
    std::deque<std::uint32_t> installResults;

    void AddFile(const std::string& path, const std::string& content = "data", LocalTime time = {2024, 5, 17, 14, 30}) {
        files[Key(path)] = FakeFile{content, time};
    }
    bool HasFile(const std::string& path) const { return files.count(Key(path)) != 0; }
    std::string Content(const std::string& path) const {
        auto found = files.find(Key(path));
        return found == files.end() ? std::string() : found->second.content;
    }
    std::vector<std::string> Installs() const { return Entries("install:"); }
    std::vector<std::string> Messages() const { return Entries("message:"); }

    int ShowScriptMessage(const char* title, const char* text, const char* caption1, const char* caption2,
                          const char* caption3, const char* section, int style) override {
        auto text_of = [](const char* s) { return std::string(s ? s : ""); };
        shown.push_back({text_of(title), text_of(text), text_of(caption1), text_of(caption2), text_of(caption3),
                         text_of(section), style});
        log.push_back("message:" + text_of(section));
        if (onMessage) onMessage(shown.back());
        auto& queue = answers[text_of(section)];
        if (queue.empty()) return defaultAnswer;
        int answer = queue.front();
        queue.pop_front();
        return answer;
    }

    std::string SystemDirectory() const override { return "C:\\WINDOWS\\SYSTEM"; }
    std::string WindowsDirectory() const override { return "C:\\WINDOWS"; }

    bool EnsureDirectory(const std::string& path) override {
        const std::string key = Key(path);
        if (files.count(key)) return false;  // a plain file stands in the way
        const std::size_t slash = key.rfind('\\');
        if (slash == std::string::npos) return directories.count(key) != 0;  // a drive is there or not
        if (!directories.count(key.substr(0, slash))) return false;
        directories.insert(key);
        return true;
    }
    std::optional<std::uint64_t> FreeDiskSpace(const std::string& root) override {
        freeSpaceRoot = root;
        return freeBytes;
    }
    bool FileExists(const std::string& path) override { return HasFile(path); }
    std::optional<LocalTime> GetFileLocalTime(const std::string& path) override {
        auto found = files.find(Key(path));
        if (found == files.end()) return std::nullopt;
        return found->second.time;
    }
    std::uint32_t InstallFile(const std::string& sourceName, const std::string& destName,
                              const std::string& sourceDir, const std::string& destDir) override {
        const std::string destination = destDir + destName;
        log.push_back("install:" + destination);
        if (!installResults.empty()) {
            const std::uint32_t failure = installResults.front();
            installResults.pop_front();
            if (failure) return failure;
        }
        auto source = files.find(Key(sourceDir + sourceName));
        if (source == files.end()) return 0x10000;  // cannot read the source
        std::string directory = Key(destDir);
        if (!directory.empty() && directory.back() == '\\') directory.pop_back();
        if (!directories.count(directory)) return 0x800;  // cannot create the destination
        files[Key(destination)] = source->second;
        // The fake's compressed files hold their bytes as they are after the header.
        if (StatedLength(sourceDir + sourceName)) files[Key(destination)].content.erase(0, 14);
        return 0;
    }
    // A header as the compressed format's, with the length stated; the rest stands for the data.
    static std::string Compressed(const std::string& data, std::uint32_t stated) {
        std::string header = std::string("SZDD\x88\xF0\x27\x33") + "A_";
        for (int shift = 0; shift < 32; shift += 8) header += static_cast<char>((stated >> shift) & 0xFF);
        return header + data;
    }
    std::optional<std::uint32_t> StatedLength(const std::string& path) override {
        auto found = files.find(Key(path));
        if (found == files.end() || found->second.content.compare(0, 8, "SZDD\x88\xF0\x27\x33") != 0 ||
            found->second.content.size() < 14)
            return std::nullopt;
        std::uint32_t stated = 0;
        for (int i = 13; i >= 10; --i) stated = stated << 8 | static_cast<unsigned char>(found->second.content[i]);
        return stated;
    }
    bool MovePath(const std::string& from, const std::string& to) override {
        auto found = files.find(Key(from));
        if (found == files.end() || files.count(Key(to))) return false;
        files[Key(to)] = found->second;
        files.erase(found);
        return true;
    }
    // Copies aside need room: none when full.
    bool diskFull = false;
    bool CopyFileAside(const std::string& from, const std::string& to) override {
        log.push_back("aside:" + to);
        auto source = files.find(Key(from));
        if (diskFull || source == files.end()) return false;
        directories.insert(Key(to.substr(0, to.rfind('\\'))));
        files[Key(to)] = source->second;
        return true;
    }
    bool DeletePath(const std::string& path) override {
        return files.erase(Key(path)) != 0 || directories.erase(Key(path)) != 0;
    }
    // INI entries written, as "FILE|SECTION|KEY" (upper case) to value, and in order.
    std::map<std::string, std::string> profile;
    std::vector<std::string> profileWrites;
    void WriteProfileValue(const char* section, const char* key, const char* value, const char* file) override {
        profile[Key(std::string(file) + "|" + section + "|" + key)] = value;
        profileWrites.push_back(std::string(file) + "|" + section + "|" + key + "=" + value);
    }
    // win.ini's [windows] lines.
    std::map<std::string, std::string> profileLines;
    std::string GetProfileLine(const char* key) override { return profileLines[key]; }
    void WriteProfileLine(const char* key, const std::string& line) override {
        profileLines[key] = line;
        log.push_back(std::string("profile line:") + key + "=" + line);
    }

    // The program manager: commands it received; whether it can be reached; commands
    // (by their start) it refuses or for which no data can be made.
    std::vector<std::string> commands;
    int connectFailures = 0;
    std::set<std::string> refused;
    std::set<std::string> noData;
    int openConversations = 0;
    std::unique_ptr<ProgramManager> ConnectProgramManager() override {
        log.push_back("connect");
        if (connectFailures > 0) {
            --connectFailures;
            return nullptr;
        }
        return std::make_unique<FakeManager>(*this);
    }

    // The registry: values by "ROOT\SUBKEY|name" ("@" for the default value); keys
    // created with their class; values whose name makes the write fail.
    std::map<std::string, std::string> registry;
    std::map<std::string, std::string> keyClasses;
    std::set<std::string> failingValues;
    std::unique_ptr<RegistryKey> OpenRegistryKey(RegistryRoot root, const std::string& subKey,
                                                 const char* keyClass) override {
        const std::string path = std::to_string(static_cast<int>(root)) + "\\" + subKey;
        const bool created = !keyClasses.count(path);
        if (created) keyClasses[path] = keyClass ? keyClass : "<none>";
        return std::make_unique<FakeKey>(*this, path, created);
    }

    // Restart and program start.
    std::deque<bool> exitResults;
    bool ntFamily = true;
    bool privilege = true;
    std::vector<std::string> started;
    bool startResult = true;
    bool RequestExitWindows(unsigned flags, unsigned reserved) override {
        log.push_back("exit windows " + std::to_string(flags) + " " + std::to_string(reserved));
        if (exitResults.empty()) return true;
        const bool accepted = exitResults.front();
        exitResults.pop_front();
        return accepted;
    }
    bool IsNtFamily() override { return ntFamily; }
    bool EnableShutdownPrivilege() override {
        log.push_back("shutdown privilege");
        return privilege;
    }
    bool StartProgram(const std::string& commandLine) override {
        started.push_back(commandLine);
        return startResult;
    }

    // The dialogs: "dialog:<section>" in the log; answered as a test says, else with what
    // they preselect (the destination: the answer's directory, else C:\APP\).
    std::deque<std::optional<int>> portAnswers, itemAnswers;
    std::deque<std::optional<std::string>> directoryAnswers;
    std::optional<int> ShowPortDialog(const PortQuestion& question) override {
        log.push_back("dialog:ComPort");
        return Next(portAnswers, std::optional<int>(PortPreselection(question)));
    }
    std::optional<int> ShowSelectDialog(const SelectQuestion& question) override {
        log.push_back("dialog:" + question.section);
        return Next(itemAnswers, std::optional<int>(question.firstPosition));
    }
    std::optional<std::string> ShowSetDirDialog() override {
        log.push_back("dialog:SetDir");
        return Next(directoryAnswers, std::optional<std::string>("C:\\APP\\"));
    }

    bool DirectoryExists(const std::string& path) override { return directories.count(Key(path)) != 0; }
    std::optional<FileFacts> GetFileFacts(const std::string& path) override {
        auto found = files.find(Key(path));
        if (found == files.end()) return std::nullopt;
        const std::string& content = found->second.content;
        return FileFacts{content.size(), 0, Crc32(content.data(), content.size())};
    }
    std::optional<std::string> FileDigest(const std::string& path) override {
        auto found = files.find(Key(path));
        return found == files.end() ? std::nullopt : std::optional<std::string>(Sha256Hex(found->second.content));
    }
    std::optional<std::string> ReadProfileValue(const char* section, const char* key, const char* file) override {
        auto found = profile.find(Key(std::string(file) + "|" + section + "|" + key));
        if (found == profile.end()) return std::nullopt;
        return found->second;
    }

    bool RunComPortDialog() override { return DialogStep("RunComPortDialog"); }
    bool RunSelectDialogs() override { return DialogStep("RunSelectDialogs"); }
    bool RunSetDirDialog() override { return DialogStep("RunSetDirDialog"); }
    bool RunCopyDialog() override { return DialogStep("RunCopyDialog"); }

    void ShowBillboard(int position, const char* directory, const char* name) override {
        const std::string path = std::string(directory) + name;
        log.push_back("billboard:" + std::to_string(position) + ":" + path);
        files.erase(Key(path));  // a shown billboard's file is deleted
    }
    void RemoveBillboard() override { log.push_back("remove billboard"); }

    using SetupEngine::m_comPort;
    using SetupEngine::m_comPortChosen;
    using SetupEngine::m_copyEntryCount;
    using SetupEngine::m_copyFromSubDir;
    using SetupEngine::m_destinationSettled;
    using SetupEngine::CompleteInstallation;
    using SetupEngine::m_diskCount;
    using SetupEngine::m_installDir;
    using SetupEngine::m_installName;
    using SetupEngine::m_rebootSystem;
    using SetupEngine::m_runEnd;
    using SetupEngine::m_restartWindows;
    using SetupEngine::m_setDefDir;

private:
    class FakeManager : public ProgramManager {
    public:
        explicit FakeManager(FakeMachine& machine) : m_machine(machine) { ++m_machine.openConversations; }
        ~FakeManager() override { --m_machine.openConversations; }
        Outcome Execute(const std::string& command) override {
            for (const std::string& start : m_machine.noData)
                if (command.compare(0, start.size(), start) == 0) return Outcome::kNoData;
            m_machine.commands.push_back(command);
            for (const std::string& start : m_machine.refused)
                if (command.compare(0, start.size(), start) == 0) return Outcome::kRefused;
            return Outcome::kAccepted;
        }

    private:
        FakeMachine& m_machine;
    };

    class FakeKey : public RegistryKey {
    public:
        FakeKey(FakeMachine& machine, std::string path, bool created)
            : m_machine(machine), m_path(std::move(path)), m_created(created) {}
        bool Created() const override { return m_created; }
        bool SetString(const char* name, const char* data) override {
            const std::string valueName = name ? name : "@";
            if (m_machine.failingValues.count(valueName)) return false;
            m_machine.registry[m_path + "|" + valueName] = data ? data : "<no data>";
            return true;
        }
        std::optional<std::string> GetString(const char* name) override {
            auto found = m_machine.registry.find(m_path + "|" + (name ? name : "@"));
            if (found == m_machine.registry.end()) return std::nullopt;
            return found->second == "<no data>" ? std::string() : found->second;
        }
        bool DeleteValue(const char* name) override { return m_machine.registry.erase(m_path + "|" + (name ? name : "@")) != 0; }

    private:
        FakeMachine& m_machine;
        std::string m_path;
        bool m_created;
    };

    template <typename T>
    static T Next(std::deque<T>& queue, T otherwise) {
        if (queue.empty()) return otherwise;
        T next = queue.front();
        queue.pop_front();
        return next;
    }

    bool DialogStep(const char* name) {
        log.push_back(name);
        return true;
    }

    static std::string Key(const std::string& path) {
        std::string key = path;
        for (char& c : key) c = static_cast<char>(c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c);
        return key;
    }
    std::vector<std::string> Entries(const std::string& kind) const {
        std::vector<std::string> entries;
        for (const std::string& entry : log)
            if (entry.compare(0, kind.size(), kind) == 0) entries.push_back(entry.substr(kind.size()));
        return entries;
    }
};

class FakeEngine : public FakeMachine {
public:
    using FakeMachine::FakeMachine;

    // Results of steps by name, used up in order; then the step's neutral result.
    std::map<std::string, std::deque<bool>> results;
    int copyEntries = 0;

    bool FindPreviousVersion() override { return Step("FindPreviousVersion", false); }
    void RemoveStartupEntries() override { Step("RemoveStartupEntries", true); }
    bool RestartSystem(int reboot) override { return Step(reboot ? "Reboot" : "RestartWindows", true); }
    bool RunComPortDialog() override { return Step("RunComPortDialog", true); }
    bool RunSelectDialogs() override { return Step("RunSelectDialogs", true); }
    void CountCopyItems() override {
        Step("CountCopyItems", true);
        m_copyEntryCount = static_cast<std::uint32_t>(copyEntries);
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
