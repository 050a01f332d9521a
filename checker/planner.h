// The installation a script describes, worked out by the installer's own sequence on an
// imagined machine: every question answered with its default (or the choices given), every
// disk present as the disk folders hold it, and every effect written down as a plan.
#pragma once

#include "disks.h"
#include "engine/setup_engine.h"

#include <map>
#include <string>
#include <vector>

namespace checker {

struct PlanLine {
    std::string part;  // "Dialogs", "Disk 1", "Program groups", "Registry", "INI files", ...
    std::string text;
};

class Planner : public setup::SetupEngine {
public:
    // choices: selection dialog K answered with its item S (from 1).
    Planner(const std::vector<std::uint8_t>& script, const Disks& disks, std::map<int, int> choices);

    std::vector<PlanLine> plan;
    int portChoice = 0;       // the port question's entry (from 1); 0: its default
    std::string destination;  // typed into the destination question; empty: DefDir

    // The source drive of the disks in the plan.
    static constexpr const char* kSourceDir = "A:\\";

    int ShowScriptMessage(const char* title, const char* text, const char* caption1, const char* caption2,
                          const char* caption3, const char* section, int style) override;
    std::optional<int> ShowPortDialog(const setup::PortQuestion& question) override;
    std::optional<int> ShowSelectDialog(const setup::SelectQuestion& question) override;
    std::optional<std::string> ShowSetDirDialog() override;
    bool RunCopyDialog() override;

    std::string SystemDirectory() const override { return "C:\\WINDOWS\\SYSTEM32"; }
    std::string WindowsDirectory() const override { return "C:\\WINDOWS"; }
    bool EnsureDirectory(const std::string& path) override;
    std::optional<std::uint64_t> FreeDiskSpace(const std::string&) override { return std::nullopt; }
    bool FileExists(const std::string& path) override;
    std::optional<setup::LocalTime> GetFileLocalTime(const std::string&) override { return std::nullopt; }
    bool DirectoryExists(const std::string&) override { return false; }
    std::optional<setup::FileFacts> GetFileFacts(const std::string&) override { return std::nullopt; }
    std::optional<std::string> FileDigest(const std::string&) override { return std::nullopt; }
    std::optional<std::uint32_t> StatedLength(const std::string&) override { return std::nullopt; }
    bool MovePath(const std::string&, const std::string&) override { return false; }
    std::optional<std::string> ReadProfileValue(const char*, const char*, const char*) override { return std::nullopt; }
    std::uint32_t InstallFile(const std::string& sourceName, const std::string& destName, const std::string& sourceDir,
                              const std::string& destDir) override;
    void WriteProfileValue(const char* section, const char* key, const char* value, const char* file) override;
    std::string GetProfileLine(const char*) override { return std::string(); }
    void WriteProfileLine(const char* key, const std::string& line) override;
    std::unique_ptr<setup::ProgramManager> ConnectProgramManager() override;
    std::unique_ptr<setup::RegistryKey> OpenRegistryKey(setup::RegistryRoot root, const std::string& subKey,
                                                        const char* keyClass) override;
    bool RequestExitWindows(unsigned flags, unsigned reserved) override;
    bool IsNtFamily() override { return true; }
    bool EnableShutdownPrivilege() override { return true; }
    bool CopyFileAside(const std::string& from, const std::string& to) override;
    void OfferPendingRollback() override;
    bool DeletePath(const std::string&) override { return true; }
    bool StartProgram(const std::string& commandLine) override;
    void ShowBillboard(int position, const char* directory, const char* name) override;
    void RemoveBillboard() override;

    using SetupEngine::m_copyEntryCount;
    using SetupEngine::m_diskCount;
    using SetupEngine::m_installDir;

    void Add(const std::string& part, const std::string& text) { plan.push_back(PlanLine{part, text}); }

private:
    static int Answer(int style);

    const Disks& m_disks;
    std::map<int, int> m_choices;
    int m_disk = 1;
};

// The plan as text, part by part.
std::string FormatPlan(const std::vector<PlanLine>& plan);

}  // namespace checker
