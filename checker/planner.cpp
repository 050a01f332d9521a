#include "planner.h"

#include "actions/copy_list.h"
#include "engine/choices.h"
#include "engine/messages.h"
#include "engine/set_dir.h"
#include "script/text.h"

#include <algorithm>

namespace checker {

namespace {

const char* RootName(setup::RegistryRoot root) {
    switch (root) {
    case setup::RegistryRoot::kClassesRoot: return "HKEY_CLASSES_ROOT";
    case setup::RegistryRoot::kCurrentUser: return "HKEY_CURRENT_USER";
    case setup::RegistryRoot::kLocalMachine: return "HKEY_LOCAL_MACHINE";
    case setup::RegistryRoot::kUsers: return "HKEY_USERS";
    }
    return "";
}

class PlannedManager : public setup::ProgramManager {
public:
    explicit PlannedManager(Planner& planner) : m_planner(planner) {}
    Outcome Execute(const std::string& command) override {
        if (command.rfind("[CreateGroup(", 0) == 0) m_planner.Add("Program groups", "group " + Argument(command));
        if (command.rfind("[AddItem(", 0) == 0) m_planner.Add("Program groups", "  item " + Argument(command));
        return Outcome::kAccepted;
    }

private:
    static std::string Argument(const std::string& command) {
        const std::size_t open = command.find('(');
        const std::size_t close = command.rfind(')');
        return command.substr(open + 1, close - open - 1);
    }
    Planner& m_planner;
};

class PlannedKey : public setup::RegistryKey {
public:
    PlannedKey(Planner& planner, std::string path) : m_planner(planner), m_path(std::move(path)) {}
    bool SetString(const char* name, const char* data) override {
        m_planner.Add("Registry", m_path + "  " + (name ? name : "(default)") + " = " + (data ? data : "(no data)"));
        return true;
    }
    bool Created() const override { return true; }

private:
    Planner& m_planner;
    std::string m_path;
};

}  // namespace

Planner::Planner(const std::vector<std::uint8_t>& script, const Disks& disks, std::map<int, int> choices)
    : m_disks(disks), m_choices(std::move(choices)) {
    AppendScriptText(reinterpret_cast<const char*>(script.data()), script.size());
    // The installer as setupdisks puts it on disk 1; copied when the script keeps an undo record.
    SetProgramFiles(std::string(kSourceDir) + "SETUP.EXE", std::string(kSourceDir) + "SETUP.INF");
}

int Planner::ShowScriptMessage(const char* title, const char* text, const char*, const char*, const char*,
                               const char* section, int style) {
    const std::string name = section ? section : "";
    if (name == "Disk Message") {
        ++m_disk;
        return setup::result::kOk;
    }
    const std::string shown = setup::ComposeScriptMessage(*this, section, title, text).title;
    Add(name == "Restart Message" || name == "ReBoot Message" || name == "End Message" ? "Closing" : "Messages",
        "message \"" + shown + "\" ([" + name + "])");
    return Answer(style);
}

// Every question gets the answer that goes on without changing anything: no restart now,
// no replacing, a missing or failed file ignored (the checker reports it), reports OK.
// Three-button questions answer by place, like the message dialog: the middle button
// ("Ignore" on the file questions) reports the middle place.
int Planner::Answer(int style) {
    switch (style & 0x0F) {
    case setup::style::kAbortRetryIgnore: return setup::result::kRetry;
    case setup::style::kYesNo:
    case setup::style::kYesNoCancel: return setup::result::kNo;
    case setup::style::kRetryCancel: return setup::result::kCancel;
    default: return setup::result::kOk;
    }
}

// The dialogs are answered with what they preselect (or the choices given).
std::optional<int> Planner::ShowPortDialog(const setup::PortQuestion& question) {
    const int position =
        portChoice >= 1 && portChoice <= question.maxComPort ? portChoice - 1 : setup::PortPreselection(question);
    Add("Dialogs", "port question \"" + (question.title.empty() ? "Remote Control" : question.title) + "\": COM1 to COM" +
                       std::to_string(question.maxComPort) + ", COM" + std::to_string(position + 1) +
                       " chosen (value " + std::to_string(question.baseValue + position) + ")");
    return position;
}

std::optional<int> Planner::ShowSelectDialog(const setup::SelectQuestion& question) {
    const int number = GetSelectionCount() + 1;
    int position = question.firstPosition;
    const auto chosen = m_choices.find(number);
    if (chosen != m_choices.end() && chosen->second >= 1 && chosen->second <= static_cast<int>(question.items.size()))
        position = chosen->second - 1;
    Add("Dialogs", "selection " + std::to_string(number) + " \"" + question.title + "\": item " +
                       std::to_string(position + 1) + " \"" + question.items[static_cast<std::size_t>(position)] +
                       "\" (value " + setup::SelectionValue(question, position) + ")");
    return position;
}

// A DefDir the dialog would refuse leaves the directory as it was.
std::optional<std::string> Planner::ShowSetDirDialog() {
    const std::string typed = destination.empty() ? GetScriptValue("Initiation", "DefDir", nullptr, 100) : destination;
    const std::string directory = setup::NormalizeInstallDir(typed).value_or(m_installDir);
    Add("Dialogs", "destination " + directory);
    return directory;
}

bool Planner::RunCopyDialog() {
    setup::NoProgress progress;
    setup::CopyWalk walk(*this, progress, setup::CopyParameters{kSourceDir, m_installDir, m_diskCount, m_copyFromSubDir});
    m_disk = 1;
    return walk.CopyAllDisks();
}

// Where the installer looks for an earlier installation that did not complete, before the
// copy: the plan tells what the rollback keeps.
void Planner::OfferPendingRollback() {
    if (!KeepsRollback()) return;
    Add("Rollback", "an unfinished installation in " + m_installDir + " is offered to be undone first");
    Add("Rollback", "a file installed over one that is there is first copied into " +
                        setup::AsideFolderOf(UndoRecordPath()) +
                        "\\; the copies go when the installation completes, and are put back if it does not");
}

bool Planner::CopyFileAside(const std::string& from, const std::string& to) {
    Add("Rollback", from + "  ->  " + to);
    return true;
}

bool Planner::EnsureDirectory(const std::string& path) {
    if (path.size() > 2) Add("Directories", path);  // a drive ("C:") is there already
    return true;
}

bool Planner::FileExists(const std::string& path) {
    const std::string drive = kSourceDir;
    if (path.compare(0, drive.size(), drive) != 0) return false;  // nothing is installed yet
    return m_disks.Exists(m_disk, path.substr(drive.size()));
}

std::uint32_t Planner::InstallFile(const std::string& sourceName, const std::string& destName,
                                   const std::string& sourceDir, const std::string& destDir) {
    Add("Disk " + std::to_string(m_disk), sourceDir + sourceName + "  ->  " + destDir + destName);
    return 0;
}

void Planner::WriteProfileValue(const char* section, const char* key, const char* value, const char* file) {
    Add("INI files", std::string(file) + "  [" + section + "] " + key + "=" + value);
}

void Planner::WriteProfileLine(const char* key, const std::string& line) {
    Add("Start-up programs", std::string("win.ini [windows] ") + key + "=" + line);
}

std::unique_ptr<setup::ProgramManager> Planner::ConnectProgramManager() {
    return std::make_unique<PlannedManager>(*this);
}

std::unique_ptr<setup::RegistryKey> Planner::OpenRegistryKey(setup::RegistryRoot root, const std::string& subKey,
                                                             const char*) {
    return std::make_unique<PlannedKey>(*this, std::string(RootName(root)) + "\\" + subKey);
}

bool Planner::RequestExitWindows(unsigned flags, unsigned) {
    Add("Closing", flags == setup::exit_windows::kReboot ? "reboot" : "restart of Windows");
    return true;
}

bool Planner::StartProgram(const std::string& commandLine) {
    Add("Closing", "start " + commandLine);
    return true;
}

void Planner::ShowBillboard(int position, const char* directory, const char* name) {
    static const char* const places[] = {"over the whole screen", "top left", "top right", "bottom left", "bottom right"};
    const std::string path = std::string(directory) + name;
    // A slide is copied only to be shown, and deleted once shown; one the installer cannot
    // place stays where it was copied.
    if (position < 0 || position > 4)
        Add("Disk " + std::to_string(m_disk), "slide " + path + " not shown (no place " + std::to_string(position) + "), left in place");
    else
        Add("Disk " + std::to_string(m_disk), "slide " + path + " shown " + places[position] + ", then deleted");
}

void Planner::RemoveBillboard() { Add("Disk " + std::to_string(m_disk), "slide removed"); }

std::string FormatPlan(const std::vector<PlanLine>& plan) {
    std::vector<std::string> parts;
    for (const PlanLine& line : plan)
        if (std::find(parts.begin(), parts.end(), line.part) == parts.end()) parts.push_back(line.part);
    std::string text;
    for (const std::string& part : parts) {
        text += part + ":\n";
        for (const PlanLine& line : plan)
            if (line.part == part) text += "  " + line.text + "\n";
    }
    return text;
}

}  // namespace checker
