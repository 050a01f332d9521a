#include "copy_list.h"

#include "../script/fields.h"
#include "../script/text.h"
#include "file_copy.h"

namespace setup {

namespace {

constexpr const char* kFixedSections[] = {"Windows", "System", "DefDir"};
constexpr std::size_t kEntryBufferSize = 30;

std::string SubDirSection(int number) { return NumberedKey("SubDir", number); }

// The slide's position: its second field's first digit; missing or outside 0 to 4 is 4.
int SlidePosition(const char* value, int position) {
    char field[10];
    if (!NextField(value, &position, ',', field, sizeof field)) return 4;
    const int code = field[0] - '0';
    return code < 0 || code > 4 ? 4 : code;
}

}  // namespace

std::string EntryKey(const std::string& prefix, const char* kind, int disk, int number) {
    return prefix + kind + " " + std::to_string(disk) + "." + std::to_string(number);
}

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
    std::string source = m_parameters.sourceDir;
    for (int disk = 1; disk <= m_parameters.diskCount; ++disk) {
        if (disk > 1) {
            // Where the disk is: in the drive as the disk before (the user put it in), or a
            // folder of its own that a quiet run finds.
            source = m_engine.ChangeDisk(disk, source);
            if (source.empty()) return false;
        }
        if (!VisitDisk(disk, source, &CopyWalk::CopyOne)) return false;
    }
    return true;
}

bool CopyWalk::DiskIn(int disk, const std::string& folder) {
    m_found = false;
    VisitDisk(disk, folder, &CopyWalk::LookFor);
    return m_found;
}

bool CopyWalk::LookFor(const CopyEntry& entry) {
    if (entry.kind != CopyEntry::Kind::kFile && entry.kind != CopyEntry::Kind::kSlide) return true;
    const SourceFile plain{*entry.source + entry.name, entry.name};
    m_found = m_engine.FileExists(plain.path) || m_engine.FileExists(CompressedName(plain).path);
    return !m_found;
}

bool CopyWalk::VisitDisk(int disk, const std::string& source, Visit visit) {
    m_diskSource = source;
    const std::string destinations[] = {WithBackslash(m_engine.WindowsDirectory()),
                                        WithBackslash(m_engine.SystemDirectory()),
                                        WithBackslash(m_parameters.installDir)};
    for (int i = 0; i < 3; ++i) {
        if (m_engine.FindSection(kFixedSections[i]) &&
            !VisitSection(disk, source, destinations[i], kFixedSections[i], visit))
            return false;
    }
    for (int number = 1;; ++number) {
        const std::string subDir = m_engine.GetScriptValue("Initiation", SubDirSection(number).c_str(), nullptr, 50);
        if (subDir.empty()) break;
        const std::string from = m_parameters.copyFromSubDir ? WithBackslash(source + subDir) : source;
        const std::string to = WithBackslash(WithBackslash(m_parameters.installDir) + subDir);
        if (!VisitSection(disk, from, to, SubDirSection(number).c_str(), visit)) return false;
    }
    return true;
}

bool CopyWalk::VisitSection(int disk, const std::string& source, const std::string& destination, const char* section,
                            Visit visit) {
    if (!VisitList(disk, "", source, destination, section, visit)) return false;
    for (int dialog = 1; dialog <= m_engine.GetSelectionCount(); ++dialog) {
        const std::string prefix = SelectionPrefix(dialog, m_engine.GetSelectionItem(dialog - 1));
        if (!VisitList(disk, prefix, source, destination, section, visit)) return false;
    }
    return true;
}

bool CopyWalk::VisitList(int disk, const std::string& prefix, const std::string& source,
                         const std::string& destination, const char* section, Visit visit) {
    for (int number = 1;; ++number) {
        CopyEntry entry;
        entry.disk = disk;
        entry.source = &source;
        entry.destination = &destination;
        entry.name =
            m_engine.GetScriptValue(section, EntryKey(prefix, "File", disk, number).c_str(), nullptr, kEntryBufferSize);
        if (entry.name.empty()) {
            const std::string value = m_engine.GetScriptValue(
                section, EntryKey(prefix, "Bitmap", disk, number).c_str(), nullptr, kPathBufferSize);
            if (value.empty()) return true;
            char field[kEntryBufferSize];
            int at = 0;
            if (EqualNoCase(value, "NULL")) {
                entry.kind = CopyEntry::Kind::kRemoveSlide;
            } else if (!NextField(value.c_str(), &at, ',', field, sizeof field)) {
                entry.kind = CopyEntry::Kind::kNoSlide;
            } else {
                entry.kind = CopyEntry::Kind::kSlide;
                entry.name = field;
                entry.position = SlidePosition(value.c_str(), at);
            }
        }
        if (!(this->*visit)(entry)) return false;
    }
}

bool CopyWalk::CopyOne(const CopyEntry& entry) {
    if (entry.kind == CopyEntry::Kind::kRemoveSlide) m_engine.RemoveBillboard();
    if (entry.kind == CopyEntry::Kind::kRemoveSlide || entry.kind == CopyEntry::Kind::kNoSlide) {
        m_progress.StepProgress();
        return true;
    }
    const std::string& source = *entry.source;
    const std::string& destination = *entry.destination;
    m_progress.ShowCopyPaths(entry.name, source, destination);
    // The folder on the disk: the part of the source folder below the disk's root.
    const bool below = source.compare(0, m_diskSource.size(), m_diskSource) == 0;
    m_engine.SetCopyDisk(entry.disk, below ? source.substr(m_diskSource.size()) : std::string());
    const bool installed = m_engine.InstallOneFile(m_replaceAll, entry.name.c_str(), source.c_str(), destination.c_str());
    m_engine.SetCopyDisk(0);
    if (!installed) return false;
    m_progress.StepProgress();
    m_progress.DrainMessages();
    if (m_progress.Cancelled()) return false;
    if (entry.kind == CopyEntry::Kind::kSlide)
        m_engine.ShowBillboard(entry.position, destination.c_str(), entry.name.c_str());
    return true;
}

bool SetupEngine::DiskFolderHolds(int disk, const std::string& folder) {
    NoProgress progress;
    CopyWalk walk(*this, progress, CopyParameters{folder, m_installDir, m_diskCount, m_copyFromSubDir});
    return walk.DiskIn(disk, folder);
}

}  // namespace setup
