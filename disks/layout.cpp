#include "layout.h"

#include "actions/file_copy.h"
#include "app/program_location.h"
#include "copy_entries.h"
#include "fat_image.h"
#include "engine/choices.h"
#include "engine/journal.h"
#include "script/disk_checksums.h"
#include "script/text.h"
#include "szdd.h"

#include <algorithm>
#include <map>
#include <optional>

namespace disks {

namespace {

constexpr std::size_t kBackgroundBufferSize = 20;
constexpr std::size_t kShownNames = 5;

std::string Quoted(const std::string& text) { return "\"" + text + "\""; }

// A name the disk can hold below its root: no drive, no way up, no empty part, none of
// the characters file names cannot have.
bool StaysOnDisk(const std::string& path) {
    std::size_t start = 0;
    while (true) {
        const std::size_t end = path.find('\\', start);
        const std::string part = path.substr(start, end == std::string::npos ? std::string::npos : end - start);
        if (part.empty() || part == "." || part == ".." || part.find_first_of("<>:\"/|?*") != std::string::npos ||
            std::any_of(part.begin(), part.end(), [](char c) { return static_cast<unsigned char>(c) < 0x20; }))
            return false;
        if (end == std::string::npos) return true;
        start = end + 1;
    }
}

// A file keeps its plain name when the name the installer would look for instead depends
// on more than the disk: a name without a dot is looked for by the last dot of the whole
// path, the folder the installer runs from included; a name that already ends in "_"
// would not change.
bool MayCompress(const std::string& path) {
    const std::string name = path.substr(path.find_last_of('\\') + 1);
    return name.find('.') != std::string::npos && name.back() != '_';
}

// The script without its [Checksums] sections (a script taken from disks made before).
std::vector<std::uint8_t> WithoutChecksums(const std::vector<std::uint8_t>& script) {
    std::vector<std::uint8_t> out;
    bool skipping = false;
    for (std::size_t start = 0; start < script.size();) {
        std::size_t end = start;
        while (end < script.size() && script[end] != '\n') ++end;
        if (end < script.size()) ++end;
        const std::string_view line(reinterpret_cast<const char*>(script.data()) + start, end - start);
        if (setup::SetupScript::StartsSection(line)) {
            std::string_view text = line;
            while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.remove_suffix(1);
            const std::optional<std::string_view> name = setup::SetupScript::HeaderName(text);
            skipping = name && setup::EqualNoCase(*name, setup::kChecksumSection);
        }
        if (!skipping) out.insert(out.end(), script.begin() + static_cast<std::ptrdiff_t>(start), script.begin() + static_cast<std::ptrdiff_t>(end));
        start = end;
    }
    return out;
}

// The script (without the section) and, at its end, the section with a line for every file of
// the disks but the script.
std::vector<std::uint8_t> WithChecksums(const std::vector<std::uint8_t>& script, const std::vector<Disk>& disks,
                                        const std::string& scriptName) {
    std::string section = std::string(script.empty() || script.back() == '\n' ? "" : "\r\n") + "[" +
                          setup::kChecksumSection + "]\r\n";
    for (std::size_t disk = 0; disk < disks.size(); ++disk)
        for (const DiskFile& file : disks[disk].files)
            if (disk > 0 || !setup::EqualNoCase(file.listed, scriptName))
                section += setup::ChecksumKey(static_cast<int>(disk + 1), file.listed) + "=" +
                           setup::ChecksumValue({file.plainSize, file.plainCrc}) + "\r\n";
    std::vector<std::uint8_t> out = script;
    out.insert(out.end(), section.begin(), section.end());
    return out;
}

class LayoutBuilder {
public:
    LayoutBuilder(const std::vector<std::uint8_t>& script, const checker::Disks& source, const LayoutOptions& options)
        : m_source(source), m_options(options) {
        m_layout.script = WithoutChecksums(WithCrLf(script));
        const std::string& installer = options.installerName;
        m_layout.scriptName = installer.substr(0, installer.find_last_of('.')) + ".INF";
        m_script.AppendScriptText(reinterpret_cast<const char*>(m_layout.script.data()), m_layout.script.size());
    }

    Layout Build() {
        m_layout.disks.resize(1);
        AddFixed(m_options.installerName, m_options.installer, "the installer");
        AddFixed(m_layout.scriptName, m_layout.script, "the script");
        AddBackground();
        AddIcons();
        m_fixedCount = m_layout.disks[0].files.size();
        const CopyList list = ListCopyEntries(m_script);
        m_layout.disks.resize(std::max<std::size_t>(1, static_cast<std::size_t>(list.diskCount)));
        for (const CopyEntry& entry : list.entries) AddEntry(entry);
        AddChecksums();
        for (std::size_t disk = 0; disk < m_layout.disks.size(); ++disk) {
            CheckNames(static_cast<int>(disk + 1));
            CheckRoom(static_cast<int>(disk + 1));
        }
        std::stable_sort(m_layout.findings.begin(), m_layout.findings.end(),
                         [](const checker::Finding& a, const checker::Finding& b) { return a.line < b.line; });
        return std::move(m_layout);
    }

private:
    void Error(int line, const std::string& text) { m_layout.findings.push_back({checker::Severity::kError, line, text}); }
    void Warning(int line, const std::string& text) {
        m_layout.findings.push_back({checker::Severity::kWarning, line, text});
    }

    // The file in the source folder: by its path on the disk, else by its bare name.
    std::optional<std::vector<std::uint8_t>> ReadSource(const std::string& path) const {
        std::optional<std::vector<std::uint8_t>> bytes = m_source.Read(1, path);
        const std::size_t slash = path.find_last_of('\\');
        if (!bytes && slash != std::string::npos) bytes = m_source.Read(1, path.substr(slash + 1));
        return bytes;
    }

    DiskFile* Placed(int disk, const std::string& path) {
        std::vector<DiskFile>& files = m_layout.disks[static_cast<std::size_t>(disk - 1)].files;
        for (DiskFile& file : files)
            if (setup::EqualNoCase(file.listed, path)) return &file;
        return nullptr;
    }

    void AddFixed(const std::string& path, std::vector<std::uint8_t> bytes, const std::string& what, int line = 0) {
        if (Placed(1, path)) return;
        const std::uint64_t size = bytes.size();
        const std::uint32_t crc = setup::Crc32(bytes.data(), bytes.size());
        m_layout.disks[0].files.push_back({path, path, std::move(bytes), size, crc, false, what, line});
    }

    // A file that the installer reads from disk 1 itself, never through the file installer.
    void AddRead(const std::string& path, const std::string& what, int line) {
        if (!StaysOnDisk(path)) {
            Error(line, Quoted(path) + " (" + what + ") is not a file name a disk can hold");
            return;
        }
        std::optional<std::vector<std::uint8_t>> bytes = ReadSource(path);
        if (!bytes) {
            Error(line, Quoted(path) + " (" + what + ") is not in " + m_source.Describe(1));
            return;
        }
        AddFixed(path, std::move(*bytes), what, line);
    }

    void AddBackground() {
        const std::string picture = m_script.GetScriptValue("Background", "Background Bitmap", nullptr, kBackgroundBufferSize);
        if (!picture.empty()) AddRead(picture, "the background picture", KeyLine(m_script, "Background", "Background Bitmap"));
    }

    // The animation icons of every selection question: k.ICO for k = 1, 2, ... as far as
    // the source folder has them, in the icon folder the script names.
    void AddIcons() {
        setup::ProgramLocation location;
        const std::string iconFolder =
            m_script.GetScriptValue("Setup System", "ICON Directory", nullptr, setup::kPathBufferSize);
        if (!iconFolder.empty()) setup::AppendIconDirectory(location, iconFolder);
        for (int dialog = 1;; ++dialog) {
            const std::optional<setup::SelectQuestion> question = setup::LoadSelectQuestion(m_script, dialog);
            if (!question) return;
            if (question->animationIcon.empty()) continue;
            const int line = KeyLine(m_script, question->section, "Animation Icon");
            const std::string prefix = location.iconDir + question->animationIcon;
            // The animation ends at the first missing number; the first is a mistake.
            for (int k = 1;; ++k) {
                const std::string path = setup::AnimationIconFile(prefix, k);
                if (path.empty() || (k > 1 && !ReadSource(path))) break;
                AddRead(path, "an animation icon", line);
                if (!Placed(1, path)) break;
            }
        }
    }

    void AddEntry(const CopyEntry& entry) {
        if (!StaysOnDisk(entry.path)) {
            Error(entry.line, Quoted(entry.path) + " of " + entry.named + " is not a file name a disk can hold");
            return;
        }
        const auto [first, isNew] = m_entries.emplace(setup::FoldName(entry.path), entry);
        if (!isNew) {
            if (first->second.disk != entry.disk)
                Error(entry.line, Quoted(entry.path) + " of " + entry.named + " is on disk " + std::to_string(entry.disk) +
                                      ", but " + first->second.named + " (line " + std::to_string(first->second.line) +
                                      ") puts it on disk " + std::to_string(first->second.disk) +
                                      ": a file travels on one disk");
            return;
        }
        if (Placed(entry.disk, entry.path)) return;  // disk 1's installer, script or pictures
        std::optional<std::vector<std::uint8_t>> bytes = ReadSource(entry.path);
        if (!bytes) {
            Error(entry.line, Quoted(entry.path) + " of " + entry.named + " is not in " + m_source.Describe(1));
            return;
        }
        DiskFile file{entry.path, entry.path, std::move(*bytes), 0, 0, false, entry.named, entry.line};
        file.plainSize = file.bytes.size();
        file.plainCrc = setup::Crc32(file.bytes.data(), file.bytes.size());
        Compress(file);
        m_layout.disks[static_cast<std::size_t>(entry.disk - 1)].files.push_back(std::move(file));
    }

    // The script on disk 1 gets the checksums of every other file, before the room on the
    // disks is counted.
    void AddChecksums() {
        DiskFile& script = *Placed(1, m_layout.scriptName);
        m_layout.script = WithChecksums(m_layout.script, m_layout.disks, m_layout.scriptName);
        script.bytes = m_layout.script;
        script.plainSize = script.bytes.size();
        script.plainCrc = setup::Crc32(script.bytes.data(), script.bytes.size());
    }

    // The file installer expands whatever starts like a compressed file, so such a file is
    // compressed even when that does not make it smaller.
    void Compress(DiskFile& file) {
        const bool looksCompressed = IsSzdd(file.bytes.data(), file.bytes.size());
        if (m_options.compression == Compression::kNone || !MayCompress(file.path)) {
            if (looksCompressed)
                Warning(file.line, Quoted(file.listed) + " of " + file.what +
                                       " starts like a compressed file: the installer expands it; let it be compressed");
            return;
        }
        std::vector<std::uint8_t> packed = CompressSzdd(file.bytes.data(), file.bytes.size(), file.path.back());
        if (m_options.compression == Compression::kAuto && packed.size() >= file.bytes.size() && !looksCompressed) return;
        file.bytes = std::move(packed);
        file.compressed = true;
        file.path = setup::CompressedName({"A:\\" + file.path, file.path}).name;
    }

    // Two files under one name on a disk: one would hide the other. An image holds 8.3 names.
    void CheckNames(int disk) {
        std::map<std::string, const DiskFile*> names;
        for (const DiskFile& file : m_layout.disks[static_cast<std::size_t>(disk - 1)].files) {
            if ((m_options.images || m_options.cdImage) && !ShortNames(file.path))
                Error(file.line, file.what + " " + Quoted(file.listed) + " is " + file.path + " on disk " +
                                     std::to_string(disk) + ", not a name of the 8.3 form the images hold");
            const auto [other, isNew] = names.emplace(setup::FoldName(file.path), &file);
            if (isNew) continue;
            const DiskFile& first = *other->second;
            Error(file.line, file.what + " " + Quoted(file.listed) + " and " + first.what + " " + Quoted(first.listed) +
                                 (first.line ? " (line " + std::to_string(first.line) + ")" : "") + " both become " +
                                 file.path + " on disk " + std::to_string(disk) + ": rename one or keep it plain");
        }
    }

    static std::vector<StoredFile> Stored(const std::vector<const DiskFile*>& files, std::size_t count) {
        std::vector<StoredFile> stored;
        for (std::size_t i = 0; i < count; ++i) stored.push_back({files[i]->path, files[i]->bytes.size()});
        return stored;
    }

    // A file that alone takes more than a whole disk of this capacity: moving it to another
    // disk would not help. Named with the smallest capacity that holds it.
    bool TooLarge(const DiskFile& file) {
        const Medium& medium = m_options.medium;
        const std::vector<StoredFile> alone = {{file.path, file.bytes.size()}};
        if (DiskUse(medium, alone) <= medium.capacity) return false;
        std::string would;
        for (const Medium& floppy : Floppies())
            if (would.empty() && DiskUse(floppy, alone) <= floppy.capacity) would = "the smallest that does is " + floppy.name;
        if (would.empty())
            would = "no floppy does: give a capacity in bytes, at least --capacity " + std::to_string(file.bytes.size());
        Error(file.line, file.what + " (" + file.listed + ") takes " + WithThousands(DiskUse(medium, alone)) +
                             " bytes, more than a whole " + medium.name + " disk holds (" + WithThousands(medium.capacity) +
                             "): no disk of this capacity carries it; " + would);
        return true;
    }

    void CheckRoom(int disk) {
        Disk& layoutDisk = m_layout.disks[static_cast<std::size_t>(disk - 1)];
        const Medium& medium = m_options.medium;
        const std::size_t fixed = disk == 1 ? m_fixedCount : 0;
        std::vector<const DiskFile*> all, files;  // files: all but those too large for any disk of the medium
        for (std::size_t i = 0; i < layoutDisk.files.size(); ++i) {
            all.push_back(&layoutDisk.files[i]);
            if (i < fixed || !TooLarge(layoutDisk.files[i])) files.push_back(&layoutDisk.files[i]);
        }
        layoutDisk.used = DiskUse(medium, Stored(all, all.size()));
        const std::string name = "disk " + std::to_string(disk);
        const int label = m_options.images ? 1 : 0;
        const int rootEntries = RootEntries(Stored(all, all.size()));
        if (medium.rootEntries && rootEntries + label > medium.rootEntries)
            Error(0, name + " lists " + std::to_string(rootEntries) + " files and folders in its root" +
                         (label ? " and its volume label" : "") + "; a " + medium.name + " disk lists " +
                         std::to_string(medium.rootEntries));
        const std::uint64_t rest = DiskUse(medium, Stored(files, files.size()));
        if (rest <= medium.capacity) return;
        std::size_t keep = files.size();
        while (keep > fixed && DiskUse(medium, Stored(files, keep)) > medium.capacity) --keep;
        const std::string needs = name + " needs " + WithThousands(rest) + " bytes, capacity " +
                                  WithThousands(medium.capacity);
        if (keep == files.size() || DiskUse(medium, Stored(files, keep)) > medium.capacity) {
            Error(0, needs + ": the installer, the script and the pictures and icons it reads alone do not fit");
            return;
        }
        std::string move;
        for (std::size_t i = keep; i < files.size() && i < keep + kShownNames; ++i)
            move += (i > keep ? ", " : "") + files[i]->what + " (" + files[i]->listed + ")";
        if (files.size() - keep > kShownNames) move += " and " + std::to_string(files.size() - keep - kShownNames) + " more";
        Error(files[keep]->line, needs + ": move " + move + " to another disk");
    }

    const checker::Disks& m_source;
    const LayoutOptions& m_options;
    setup::SetupScript m_script;
    Layout m_layout;
    std::size_t m_fixedCount = 0;
    std::map<std::string, CopyEntry> m_entries;  // folded path: its first entry
};

}  // namespace

bool Layout::HasErrors() const {
    return std::any_of(findings.begin(), findings.end(),
                       [](const checker::Finding& f) { return f.severity == checker::Severity::kError; });
}

std::vector<std::uint8_t> WithCrLf(const std::vector<std::uint8_t>& script) {
    std::vector<std::uint8_t> out;
    out.reserve(script.size() + script.size() / 16);
    for (std::size_t i = 0; i < script.size(); ++i) {
        if (script[i] == '\n' && (i == 0 || script[i - 1] != '\r')) out.push_back('\r');
        out.push_back(script[i]);
    }
    return out;
}

Layout PlanDisks(const std::vector<std::uint8_t>& script, const checker::Disks& source, const LayoutOptions& options) {
    return LayoutBuilder(script, source, options).Build();
}

}  // namespace disks
