// An uninstallation's machine on top of the fake machine of the engine tests: its files,
// directories, INI entries and registry keys.
#pragma once

#include "fake_engine.h"
#include "uninstall/undo_record.h"
#include "uninstall/uninstall.h"

namespace setup {

inline std::string Upper(std::string text) { return FoldName(text); }

// Uninstalling on the fake machine: files, directories, INI entries and registry keys are
// the fake's own.
class FakeUndo : public UndoMachine {
public:
    explicit FakeUndo(FakeMachine& machine) : m(machine) {}
    std::optional<std::string> ReadRecord(const std::string& path) override {
        return path == recordPath ? std::optional<std::string>(record) : std::nullopt;
    }
    std::optional<FileFacts> FileStamp(const std::string& path) override {
        if (!m.HasFile(path)) return std::nullopt;
        return FileFacts{m.Content(path).size(), writeTime, 0};
    }
    Removal RemoveFile(const std::string& path) override {
        if (inUse.count(Upper(path))) return Removal::kInUse;
        if (locked.count(Upper(path))) return Removal::kFailed;
        return m.files.erase(Upper(path)) ? Removal::kRemoved : Removal::kFailed;
    }
    bool RemoveAtRestart(const std::string& path) override { return atRestart.insert(Upper(path)).second; }
    bool RemoveEmptyDirectory(const std::string& path) override {
        const std::string inside = Upper(path) + "\\";
        for (const auto& [file, content] : m.files)
            if (file.compare(0, inside.size(), inside) == 0) return false;
        for (const std::string& directory : m.directories)
            if (directory.compare(0, inside.size(), inside) == 0) return false;
        return m.directories.erase(Upper(path)) != 0;
    }
    void DeleteProfileEntry(const char* section, const char* key, const char* file) override {
        if (std::string(section) == "windows" && key) m.profileLines.erase(key);
        const std::string prefix = Upper(std::string(file) + "|" + section + "|" + (key ? key : ""));
        for (auto entry = m.profile.begin(); entry != m.profile.end();)
            entry = entry->first.compare(0, prefix.size(), prefix) == 0 ? m.profile.erase(entry) : std::next(entry);
    }
    bool ProfileSectionEmpty(const char* section, const char* file) override {
        return !Holds(Upper(std::string(file) + "|" + section + "|"));
    }
    bool ProfileFileEmpty(const char* file) override { return !Holds(Upper(std::string(file) + "|")); }
    bool DeleteEmptyRegistryKey(RegistryRoot root, const std::string& subKey) override {
        const std::string path = std::to_string(static_cast<int>(root)) + "\\" + subKey;
        for (const auto& [value, data] : m.registry)
            if (value.compare(0, path.size() + 1, path + "|") == 0) return false;
        return m.keyClasses.erase(path) != 0;
    }
    Removal RestoreFile(const std::string& copy, const std::string& path) override {
        if (inUse.count(Upper(path))) return Removal::kInUse;
        auto found = m.files.find(Upper(copy));
        if (found == m.files.end()) return Removal::kFailed;
        m.files[Upper(path)] = found->second;
        m.files.erase(found);
        return Removal::kRemoved;
    }
    std::optional<std::string> ReadSeal(const std::string& path) override {
        auto found = seals.find(path);
        return found == seals.end() ? std::nullopt : std::optional<std::string>(found->second);
    }
    void WriteSeal(const std::string& path, const std::string& seal) override {
        if (seal.empty()) seals.erase(path);
        else seals[path] = seal;
    }
    std::optional<std::string> FileDigest(const std::string& path) override { return m.FileDigest(path); }
    std::string LastFailure() override { return "access denied"; }
    std::vector<std::string> FilesIn(const std::string& folder) override {
        std::vector<std::string> found;
        const std::string inside = Upper(folder) + "\\";
        for (const auto& [file, content] : m.files)
            if (file.compare(0, inside.size(), inside) == 0 && file.find('\\', inside.size()) == std::string::npos)
                found.push_back(file);
        return found;
    }
    bool CutRecord(const std::string& path, std::size_t size) override {
        if (path != recordPath || size > record.size()) return false;
        record.resize(size);
        if (size == 0) m.files.erase(Upper(path));
        return true;
    }
    std::string ProgramPath() override { return "A:\\SETUP.EXE"; }
    void RemoveAfterExit(const std::string& program, const std::vector<std::string>&) override { helper = program; }

    std::string recordPath, record, helper;
    std::uint64_t writeTime = 0;  // of every file
    std::set<std::string> inUse, atRestart;
    std::set<std::string> locked;  // cannot be removed, and not for being in use
    std::map<std::string, std::string> seals;  // by record

private:
    bool Holds(const std::string& prefix) const {
        for (const auto& [entry, value] : m.profile)
            if (entry.compare(0, prefix.size(), prefix) == 0) return true;
        return false;
    }
    FakeMachine& m;
};

// The record as a file of the fake machine, which a later installation continues, cuts back or
// sets aside; sealed or not.
class FileRecord : public RecordSink {
public:
    FileRecord(FakeUndo& undo, bool sealed) : m_undo(undo), m_sealed(sealed) {}
    bool Open(const std::string&) override { return true; }
    bool Append(const std::string& lines) override {
        if (full) return false;
        m_undo.record += lines;
        return true;
    }
    std::string Existing(const std::string&) override { return m_undo.record; }
    bool Cut(const std::string&, std::size_t size) override {
        m_undo.record.resize(size);
        return true;
    }
    bool SetAside(const std::string&) override {
        aside = m_undo.record;
        m_undo.record.clear();
        return true;
    }
    bool KeepsSeals() const override { return m_sealed; }
    std::optional<std::string> ReadSeal(const std::string& record) override { return m_undo.ReadSeal(record); }
    bool WriteSeal(const std::string& record, const std::string& seal) override {
        m_undo.WriteSeal(record, seal);
        return true;
    }
    bool full = false;
    std::string aside;

private:
    FakeUndo& m_undo;
    bool m_sealed;
};

}  // namespace setup
