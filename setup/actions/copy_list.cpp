#include "copy_list.h"

#include "../core/fields.h"
#include "../core/text.h"

namespace setup {

namespace {

constexpr const char* kFixedSections[] = {"Windows", "System", "DefDir"};
constexpr std::size_t kEntryBufferSize = 30;

std::string EntryKey(const std::string& prefix, const char* kind, int disk, int number) {
    return prefix + kind + " " + std::to_string(disk) + "." + std::to_string(number);
}

std::string WithBackslash(std::string directory) {
    if (directory.empty() || directory.back() != '\\') directory += '\\';
    return directory;
}

std::string SubDirSection(int number) { return NumberedKey("SubDir", number); }

// The slide's position: its second field's first digit; missing or outside 0 to 4 is 4.
int SlidePosition(const char* value, int position) {
    char field[10];
    if (!NextField(value, &position, ',', field, sizeof field)) return 4;
    const int code = field[0] - '0';
    return code < 0 || code > 4 ? 4 : code;
}

}  // namespace

std::string SelectionPrefix(int dialog, int item) {
    return "Dialog " + std::to_string(dialog) + ". SelItem " + std::to_string(item) + ". ";
}

int SetupEngine::CountEntryList(int disk, const char* section, const char* prefix) const {
    const std::string before = prefix ? prefix : "";
    for (int number = 1;; ++number) {
        if (!GetScriptValue(section, EntryKey(before, "File", disk, number).c_str(), nullptr, kEntryBufferSize).empty())
            continue;
        if (GetScriptValue(section, EntryKey(before, "Bitmap", disk, number).c_str(), nullptr, kEntryBufferSize).empty())
            return number - 1;
    }
}

void SetupEngine::CountCopyItems() {
    std::uint32_t total = 0;
    int lastDisk = 0;
    for (int disk = 1;; ++disk) {
        bool found = false;
        auto countSection = [&](const char* section) {
            std::uint32_t count = static_cast<std::uint32_t>(CountEntryList(disk, section, nullptr));
            for (int dialog = 1; dialog <= GetSelectionCount(); ++dialog)
                count += static_cast<std::uint32_t>(
                    CountEntryList(disk, section, SelectionPrefix(dialog, GetSelectionItem(dialog - 1)).c_str()));
            if (count) found = true;
            total += count;
        };
        for (const char* section : kFixedSections) countSection(section);
        for (int number = 1; FindSection(SubDirSection(number).c_str()); ++number)
            countSection(SubDirSection(number).c_str());
        if (!found) break;
        lastDisk = disk;
    }
    m_diskCount = static_cast<std::uint16_t>(lastDisk);
    m_copyEntryCount = total;
}

CopyWalk::CopyWalk(SetupEngine& engine, CopyProgress& progress, CopyParameters parameters)
    : m_engine(engine), m_progress(progress), m_parameters(std::move(parameters)) {}

bool CopyWalk::CopyAllDisks() {
    m_replaceAll = m_engine.GetScriptInt("Initiation", "Replace File", 0);
    const std::string& source = m_parameters.sourceDir;
    for (int disk = 1; disk <= m_parameters.diskCount; ++disk) {
        if (disk > 1) m_engine.PromptDiskChange(disk);
        const std::string destinations[] = {WithBackslash(m_engine.WindowsDirectory()),
                                            WithBackslash(m_engine.SystemDirectory()),
                                            WithBackslash(m_parameters.installDir)};
        for (int i = 0; i < 3; ++i) {
            if (m_engine.FindSection(kFixedSections[i]) && !CopySection(disk, source, destinations[i], kFixedSections[i]))
                return false;
        }
        for (int number = 1;; ++number) {
            const std::string subDir =
                m_engine.GetScriptValue("Initiation", SubDirSection(number).c_str(), nullptr, 50);
            if (subDir.empty()) break;
            const std::string from = m_parameters.copyFromSubDir ? WithBackslash(source + subDir) : source;
            const std::string to = WithBackslash(WithBackslash(m_parameters.installDir) + subDir);
            if (!CopySection(disk, from, to, SubDirSection(number).c_str())) return false;
        }
    }
    return true;
}

bool CopyWalk::CopySection(int disk, const std::string& source, const std::string& destination, const char* section) {
    if (!CopyEntryList(disk, "", source, destination, section)) return false;
    for (int dialog = 1; dialog <= m_engine.GetSelectionCount(); ++dialog) {
        const std::string prefix = SelectionPrefix(dialog, m_engine.GetSelectionItem(dialog - 1));
        if (!CopyEntryList(disk, prefix, source, destination, section)) return false;
    }
    return true;
}

bool CopyWalk::CopyEntryList(int disk, const std::string& prefix, const std::string& source,
                             const std::string& destination, const char* section) {
    for (int number = 1;; ++number) {
        std::string name =
            m_engine.GetScriptValue(section, EntryKey(prefix, "File", disk, number).c_str(), nullptr, kEntryBufferSize);
        bool slide = false;
        int position = 4;
        if (name.empty()) {
            const std::string value = m_engine.GetScriptValue(
                section, EntryKey(prefix, "Bitmap", disk, number).c_str(), nullptr, kPathBufferSize);
            if (value.empty()) return true;
            if (EqualNoCase(value, "NULL")) {
                m_engine.RemoveBillboard();
                m_progress.StepProgress();
                continue;
            }
            char field[kEntryBufferSize];
            int at = 0;
            if (!NextField(value.c_str(), &at, ',', field, sizeof field)) {
                m_progress.StepProgress();
                continue;
            }
            name = field;
            position = SlidePosition(value.c_str(), at);
            slide = true;
        }
        m_progress.ShowCopyPaths(name, source, destination);
        if (!m_engine.InstallOneFile(m_replaceAll, name.c_str(), source.c_str(), destination.c_str())) return false;
        m_progress.StepProgress();
        m_progress.DrainMessages();
        if (m_progress.Cancelled()) return false;
        if (slide) m_engine.ShowBillboard(position, destination.c_str(), name.c_str());
    }
}

}  // namespace setup
