// The checks of one setup script: a Checker reads the script with the installer's own
// reader and runs every check in turn (check.cpp); each group of checks has a file of its
// own.
#pragma once

#include "check.h"
#include "knowledge.h"
#include "script/disk_checksums.h"
#include "script/text.h"

#include <cstdint>
#include <string>
#include <vector>

namespace checker {

// One key line of a section's first occurrence.
struct KeyLine {
    std::string section;  // as written in the header
    std::string key;
    std::string value;    // as the installer reads it, before any cut
    int line = 0;
    const SectionSpec* sectionSpec = nullptr;
    const KeySpec* keySpec = nullptr;
};

class Checker {
public:
    Checker(const std::vector<std::uint8_t>& bytes, const Disks& disks, const CheckOptions& options)
        : m_bytes(bytes), m_disks(disks), m_options(options), m_engine(bytes, disks, options.choices) {
        m_engine.portChoice = options.port;
        m_engine.destination = options.destination;
    }

    // Runs every check; the findings in the order of the script's lines, and the plan when
    // the options ask for it.
    CheckResult Run();

private:
    void Error(int line, const std::string& text) { m_result.findings.push_back({Severity::kError, line, text}); }
    void Warning(int line, const std::string& text) { m_result.findings.push_back({Severity::kWarning, line, text}); }
    void Note(int line, const std::string& text) { m_result.findings.push_back({Severity::kNote, line, text}); }

    // The key line of a section's first occurrence, or null.
    const KeyLine* Find(const std::string& section, const std::string& key) const {
        for (const KeyLine& entry : m_keys)
            if (setup::EqualNoCase(entry.section, section) && setup::EqualNoCase(entry.key, key)) return &entry;
        return nullptr;
    }
    int LineOf(const std::string& section, const std::string& key) const {
        const KeyLine* entry = Find(section, key);
        return entry ? entry->line : SectionLine(section);
    }
    int SectionLine(const std::string& section) const {
        int header = 0;
        return m_engine.FindSection(section.c_str(), &header) ? m_engine.SourceLine(header) : 0;
    }

    // How the script is written (check_form.cpp): its lines, sections and keys, values and
    // numbered lists.
    void CheckRawLines();
    void CheckStructure();
    void CheckValues();
    void CheckLists();
    // What the installer shows (check_dialogs.cpp): the product and its picture, the
    // questions, the messages.
    void CheckProduct();
    void CheckQuestions();
    void CheckMessages();
    // What it copies (check_copy_list.cpp): every entry of the copy list on its disk.
    struct ListedFile {
        const KeyLine* entry;
        int disk;
        bool slide;
        std::string folder;  // on the disk: "" or "ICONS\\"
        std::string name;    // as the installer reads it; empty for a slide without a file
    };
    void CheckCopyList();
    // Every entry of the copy list on a disk the installer copies.
    std::vector<ListedFile> CopyListFiles() const;
    std::string EntryFolder(const KeyLine& entry) const;
    void CheckEntryFile(const ListedFile& file);
    // The checksum section (check_checksums.cpp): its lines, the copy list, and every file on
    // its disk the one it lists.
    void CheckChecksums();
    void CheckListedFile(const KeyLine& line, const setup::ChecksumPlace& place, const setup::FileChecksum& listed,
                         bool inCopyList);
    // Where it writes (check_references.cpp): path references, registry keys, the uninstall
    // entry.
    void CheckPathReferences();
    void CheckPathReference(const std::string& section, const std::string& key, const char* defaultDir,
                            const std::string& value);
    void CheckRegister();
    void CheckUninstall();

    const std::vector<std::uint8_t>& m_bytes;
    const Disks& m_disks;
    const CheckOptions& m_options;
    Planner m_engine;
    std::vector<KeyLine> m_keys;
    CheckResult m_result;
};

}  // namespace checker
