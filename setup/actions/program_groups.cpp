// Program groups and their items, sent to the program manager as commands.
#include "../engine/setup_engine.h"
#include "../script/fields.h"
#include "../script/text.h"

namespace setup {

namespace {

constexpr std::size_t kItemFieldSize = 256;

}  // namespace

bool SetupEngine::BuildItemCommand(const char* group, int item, std::string& command) const {
    const std::string entry = GetScriptValue(group, NumberedKey("Item", item).c_str(), nullptr, kPathBufferSize);
    if (entry.empty()) return false;
    char field[kItemFieldSize];
    int position = 0;
    if (!NextField(entry.c_str(), &position, ',', field, sizeof field) ||
        !ResolvePathRef(field, sizeof field, m_installDir.c_str()))
        return false;
    command = field;
    if (!NextField(entry.c_str(), &position, ',', field, sizeof field)) return false;
    // Only the title is quoted.
    command += ",\"" + std::string(field) + "\"";
    if (!NextField(entry.c_str(), &position, ',', field, sizeof field)) return true;
    if (!ResolvePathRef(field, sizeof field, m_installDir.c_str())) return false;
    command += "," + std::string(field) + ",";
    command += NextField(entry.c_str(), &position, ',', field, sizeof field) ? field : "0";
    return true;
}

bool SetupEngine::AddGroupItems(ProgramManager& manager, const char* group) {
    std::string item;
    // A malformed item ends the group's list; an item the program manager refuses is
    // passed over.
    for (int number = 1; BuildItemCommand(group, number, item); ++number) {
        if (SendCommand(manager, "[AddItem(" + item + ")]") == ProgramManager::Outcome::kNoData) return false;
    }
    return true;
}

ProgramManager::Outcome SetupEngine::SendCommand(ProgramManager& manager, const std::string& command) {
    const ProgramManager::Outcome outcome = manager.Execute(command);
    m_journal.ProgramManagerCommand(command, outcome);
    return outcome;
}

bool SetupEngine::CreateProgramGroups() {
    if (GetScriptValue("Initiation", "Group 1", nullptr, kPathBufferSize).empty()) return true;
    std::unique_ptr<ProgramManager> manager = ConnectProgramManager();
    m_journal.ProgramManagerConnected(manager != nullptr);
    if (!manager) return false;
    for (int number = 1;; ++number) {
        const std::string key = NumberedKey("Group", number);
        const std::string name = GetScriptValue("Initiation", key.c_str(), nullptr, kPathBufferSize);
        if (name.empty()) return true;
        if (m_journal.Active() && manager->HasGroup(name)) m_journal.ProgramGroupFound(name);
        if (SendCommand(*manager, "[CreateGroup(" + name + ")]") != ProgramManager::Outcome::kAccepted ||
            SendCommand(*manager, "[ShowGroup(" + name + ",1)]") != ProgramManager::Outcome::kAccepted ||
            !AddGroupItems(*manager, key.c_str()))
            return false;
    }
}

}  // namespace setup
