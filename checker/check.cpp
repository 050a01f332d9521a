#include "check.h"

#include "actions/file_copy.h"
#include "engine/choices.h"
#include "engine/messages.h"
#include "engine/set_dir.h"
#include "knowledge.h"
#include "script/fields.h"
#include "script/text.h"
#include "ui/dib.h"
#include "unattended/answer_file.h"

#include <algorithm>
#include <cstring>
#include <set>

namespace checker {

namespace {

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

    CheckResult Run() {
        CheckRawLines();
        CheckStructure();
        CheckValues();
        CheckLists();
        CheckProduct();
        CheckCopyList();
        CheckPathReferences();
        CheckQuestions();
        CheckRegister();
        CheckMessages();
        CheckUninstall();
        std::stable_sort(m_result.findings.begin(), m_result.findings.end(),
                         [](const Finding& a, const Finding& b) { return a.line < b.line; });
        if (m_options.plan) {
            m_engine.RunSetup();
            m_result.plan = m_engine.plan;
        }
        return m_result;
    }

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

    void CheckRawLines();
    void CheckStructure();
    void CheckValues();
    void CheckLists();
    void CheckProduct();
    void CheckCopyList();
    void CheckPathReferences();
    void CheckQuestions();
    void CheckRegister();
    void CheckMessages();
    void CheckUninstall();
    void CheckEntryFile(const KeyLine& entry, int disk, bool slide);
    void CheckPathReference(const std::string& section, const std::string& key, const char* defaultDir,
                            const std::string& value);

    const std::vector<std::uint8_t>& m_bytes;
    const Disks& m_disks;
    const CheckOptions& m_options;
    Planner m_engine;
    std::vector<KeyLine> m_keys;
    CheckResult m_result;
};

// Lines over 255 characters, and bare LF line ends, in the file as it is.
void Checker::CheckRawLines() {
    int line = 1;
    std::size_t length = 0;
    bool bareLf = false;
    for (std::size_t i = 0; i <= m_bytes.size(); ++i) {
        const bool end = i == m_bytes.size() || m_bytes[i] == '\n';
        if (!end) {
            ++length;
            continue;
        }
        if (i < m_bytes.size() && (i == 0 || m_bytes[i - 1] != '\r')) bareLf = true;
        if (i < m_bytes.size() && length > 0 && m_bytes[i - 1] == '\r') --length;
        if (length > setup::SetupScript::kMaxLineLength)
            Warning(line, "line of " + std::to_string(length) + " characters: only its first 255 are read");
        length = 0;
        ++line;
    }
    if (bareLf) Note(0, "lines end with LF alone (CR LF is the usual end; both are read alike)");
}

// Sections and keys: where they are, twice, unknown, outside any section, empty.
void Checker::CheckStructure() {
    std::map<std::string, int> seen;  // folded section name: header line
    std::string section;
    const SectionSpec* spec = nullptr;
    bool inSection = false, ignored = false;
    for (int i = 0; i < m_engine.LineCount(); ++i) {
        const std::string text = m_engine.GetScriptLine(i);
        const int line = m_engine.SourceLine(i);
        if (setup::SetupScript::StartsSection(text)) {
            const std::optional<std::string_view> name = setup::SetupScript::HeaderName(text);
            inSection = name.has_value();
            ignored = false;
            if (!name) {
                Warning(line, "a line starting with \"[\" that names no section ends the section before it");
                continue;
            }
            section = std::string(*name);
            spec = FindSectionSpec(section);
            const auto [first, isNew] = seen.emplace(setup::FoldName(section), line);
            if (!isNew) {
                Warning(line, "second [" + section + "] is never read (the first is at line " +
                                  std::to_string(first->second) + ")");
                ignored = true;
            } else if (!spec) {
                std::vector<std::string> known;
                for (const SectionSpec& candidate : KnownSections()) known.push_back(ExampleName(candidate.pattern));
                const std::string near = ClosestName(section, known);
                Warning(line, "unknown section [" + section + "]" + (near.empty() ? "" : " (did you mean [" + near + "]?)"));
            }
            continue;
        }
        const std::optional<std::string_view> key = setup::SetupScript::KeyName(text);
        if (!key) continue;
        if (!inSection) {
            Warning(line, "key \"" + std::string(*key) + "\" outside any section is never read");
            continue;
        }
        if (ignored) continue;
        KeyLine entry{section, std::string(*key), std::string(setup::SetupScript::ValueOf(text)), line, spec, nullptr};
        if (spec) {
            entry.keySpec = FindKeySpec(*spec, entry.key);
            if (!entry.keySpec && !spec->anyKey) {
                std::vector<std::string> known;
                for (const KeySpec& candidate : spec->keys) known.push_back(ExampleName(candidate.pattern));
                const std::string near = ClosestName(entry.key, known);
                Warning(line, "unknown key \"" + entry.key + "\" in [" + section + "]" +
                                  (near.empty() ? "" : " (did you mean \"" + near + "\"?)"));
            }
        }
        // Only the first key of a name in a section counts.
        if (Find(entry.section, entry.key)) {
            Warning(line, "second \"" + entry.key + "\" in [" + section + "] is never read");
            continue;
        }
        if (entry.value.empty()) Warning(line, "\"" + entry.key + "\" has no value and counts as absent");
        m_keys.push_back(std::move(entry));
    }
}

// Numbers that are no numbers, and values longer than the buffer they are read into.
void Checker::CheckValues() {
    for (const KeyLine& entry : m_keys) {
        if (entry.value.empty()) continue;
        std::size_t size = entry.keySpec ? entry.keySpec->bufferSize : 0;
        if (entry.sectionSpec && entry.sectionSpec->anyKey) size = 10;  // dialog buttons keep 9
        if (entry.keySpec && entry.keySpec->kind == ValueKind::kInteger) {
            int number = 0;
            const std::string read = setup::FitBuffer(entry.value, setup::SetupScript::kIntBufferSize);
            if (!setup::SetupScript::ParseScriptInt(read.c_str(), &number))
                Warning(entry.line, "\"" + entry.value + "\" is not a number: \"" + entry.key + "\" keeps its default");
            continue;
        }
        if (entry.keySpec && entry.keySpec->kind == ValueKind::kDigits) {
            if (entry.value.find_first_not_of("0123456789") != std::string::npos)
                Warning(entry.line, "\"" + entry.value + "\" is not a plain number of bytes: no space check is made");
            else if (entry.value.size() > 10 || std::stoull(entry.value.substr(0, 19)) > 4294967295ull)
                Warning(entry.line, "more than 4294967295 bytes: counted as 4294967295");
            continue;
        }
        if (size && entry.value.size() > size - 1)
            Warning(entry.line, "\"" + entry.key + "\" keeps only its first " + std::to_string(size - 1) +
                                    " characters: \"" + entry.value.substr(0, size - 1) + "\"");
    }
}

// Gaps in numbered lists: the first missing number ends a list, and what follows is hidden.
void Checker::CheckLists() {
    struct List {
        std::set<int> numbers;
        std::map<int, int> lines;
    };
    std::map<std::string, List> lists;
    auto add = [&lists](const std::string& name, int number, int line) {
        List& list = lists[name];
        list.numbers.insert(number);
        if (!list.lines.count(number)) list.lines[number] = line;
    };
    std::set<std::string> sectionsSeen;
    for (const KeyLine& entry : m_keys) {
        if (!entry.sectionSpec || !entry.keySpec || !entry.keySpec->list) continue;
        std::vector<int> numbers = *MatchPattern(entry.keySpec->pattern, entry.key);
        const int last = numbers.back();
        numbers.pop_back();
        std::string name = "[" + entry.section + "] " + entry.keySpec->list;
        for (int n : numbers) name += " " + std::to_string(n);
        add(name, last, entry.line);
    }
    // Numbered sections: [Dialog N] and the copy lists' [SubDir N].
    for (int i = 0; i < m_engine.LineCount(); ++i) {
        const std::string text = m_engine.GetScriptLine(i);
        const std::optional<std::string_view> header = setup::SetupScript::HeaderName(text);
        if (!header) continue;
        for (const char* pattern : {"Dialog %d", "SubDir %d"})
            if (const auto numbers = MatchPattern(pattern, *header))
                add(std::string("sections [") + pattern + "]", numbers->front(), m_engine.SourceLine(i));
    }
    for (const auto& [name, list] : lists) {
        int expected = 1;
        while (list.numbers.count(expected)) ++expected;
        std::vector<int> hidden;
        for (int n : list.numbers)
            if (n > expected) hidden.push_back(n);
        if (hidden.empty()) continue;
        std::string numbers;
        for (int n : hidden) numbers += (numbers.empty() ? "" : ", ") + std::to_string(n);
        Warning(list.lines.at(hidden.front()),
                name + ": number " + std::to_string(expected) + " is missing, so " + numbers +
                    (hidden.size() == 1 ? " is" : " are") + " never read");
    }
}

// The uninstall entry's command must be able to run: a program that a copy list installs, or
// the installer's own copy that a script keeping an undo record leaves beside the record.
void Checker::CheckUninstall() {
    const KeyLine* command = Find("UnInstall", "UnInstallString");
    const KeyLine* record = Find("UnInstall", "Record");
    const bool keeps = record && !record->value.empty();
    if (keeps && m_engine.GetScriptInt("Initiation", "Set DefDir", 1) == 0)
        Warning(record->line, "with \"Set DefDir\" 0 the installation directory is C:\\, a whole drive, which "
                              "/UNINSTALL refuses: the record cannot be used");
    if (!command || command->value.empty()) return;
    std::string program = command->value.substr(0, command->value.find(' '));
    program = program.substr(0, program.find(':'));
    program = program.substr(program.rfind('\\') + 1);
    bool installed = keeps && setup::EqualNoCase(program, "SETUP.EXE");
    for (const KeyLine& entry : m_keys)
        installed = installed || (entry.keySpec && entry.keySpec->list && std::string(entry.keySpec->list) == "entry" &&
                                  setup::EqualNoCase(entry.value, program));
    if (!installed)
        Warning(command->line, "the uninstall entry runs " + program + ", which no copy list installs" +
                                   (keeps ? "" : " (with [UnInstall] \"Record\", \"SETUP.EXE /UNINSTALL=RECORD\" would run)") +
                                   ": it cannot work");
    else if (!keeps && setup::FoldName(command->value).find("/UNINSTALL") != std::string::npos)
        Warning(command->line, "the uninstall entry runs /UNINSTALL, but [UnInstall] keeps no \"Record\": there is none to read");
}

void Checker::CheckProduct() {
    if (!m_engine.ReadInitiation())
        Error(0, "no [Initiation] \"Install Name\" and no [Background] \"Product Name\": the installer ends "
                 "without showing anything");
    const KeyLine* picture = Find("Background", "Background Bitmap");
    if (picture && !picture->value.empty()) {
        const std::optional<std::vector<std::uint8_t>> bytes = m_disks.Read(1, setup::FitBuffer(picture->value, 20));
        if (!bytes || bytes->size() <= setup::kBitmapFileHeaderSize ||
            !setup::IsBitmapFileHeader(bytes->data(), bytes->size()) ||
            !setup::ParseDib(bytes->data() + setup::kBitmapFileHeaderSize, bytes->size() - setup::kBitmapFileHeaderSize))
            Warning(picture->line, "background picture \"" + picture->value +
                                       "\" cannot be read from disk 1: the gradient is painted instead");
    }
    const KeyLine* ports = Find("ComPort", "MaxComPort");
    int maxPorts = 0;
    if (ports && setup::SetupScript::ParseScriptInt(ports->value.c_str(), &maxPorts) && maxPorts >= 10)
        Warning(ports->line, "a list of " + std::to_string(maxPorts) + " ports: check that the product knows them all");
}

// The copy list: nothing copied when the first entry is not on disk 1; every file and
// slide on its disk.
void Checker::CheckCopyList() {
    m_engine.CountCopyItems();
    const KeyLine* first = nullptr;
    for (const KeyLine& entry : m_keys) {
        if (!entry.keySpec || !entry.keySpec->list || std::string(entry.keySpec->list) != "entry") continue;
        const std::vector<int> numbers = *MatchPattern(entry.keySpec->pattern, entry.key);
        const int disk = numbers[numbers.size() - 2];
        if (!first) first = &entry;
        const bool slide = std::string(entry.keySpec->pattern).find("Bitmap") != std::string::npos;
        if (disk >= 1 && disk <= m_engine.m_diskCount) CheckEntryFile(entry, disk, slide);
    }
    if (first && m_engine.m_copyEntryCount == 0)
        Error(first->line, "the copy list has no entry on disk 1: nothing is copied");
    // The count goes by the [SubDir N] sections, the copy by the [Initiation] "SubDir N" keys.
    for (int number = 1;; ++number) {
        const std::string key = setup::NumberedKey("SubDir", number);
        const bool section = m_engine.FindSection(key.c_str());
        const bool directory = !m_engine.GetScriptValue("Initiation", key.c_str(), nullptr, 50).empty();
        if (!section && !directory) break;
        if (section && !directory)
            Warning(SectionLine(key), "[" + key + "] has no [Initiation] \"" + key + "\": its files are counted but never copied");
    }
}

void Checker::CheckEntryFile(const KeyLine& entry, int disk, bool slide) {
    std::string name = entry.value;
    if (slide) {
        if (setup::EqualNoCase(name, "NULL")) return;
        char field[30];
        int position = 0;
        if (!setup::NextField(entry.value.c_str(), &position, ',', field, sizeof field)) {
            Warning(entry.line, "slide entry without a file name");
            return;
        }
        name = field;
    } else {
        name = setup::FitBuffer(name, 30);
    }
    // Files of [SubDir N] come from the disk's subfolder of that name when the script says so.
    std::string folder;
    const std::optional<std::vector<int>> sub = MatchPattern("SubDir %d", entry.section);
    if (sub && m_engine.GetScriptInt("Initiation", "Copy File From SubDir", 0))
        folder = m_engine.GetScriptValue("Initiation", setup::NumberedKey("SubDir", sub->front()).c_str(), nullptr, 50) + "\\";
    const setup::SourceFile compressed = setup::CompressedName({Planner::kSourceDir + folder + name, folder + name});
    std::string found = folder + name;
    if (!m_disks.Exists(disk, found)) {
        found = compressed.name;
        if (!m_disks.Exists(disk, found)) {
            Error(entry.line, "\"" + folder + name + "\" is not on disk " + std::to_string(disk) + " (" +
                                  m_disks.Describe(disk) + "), nor compressed as \"" + compressed.name + "\"");
            return;
        }
    }
    if (!slide || found != folder + name) return;  // a compressed slide is expanded on copy
    const std::optional<std::vector<std::uint8_t>> bytes = m_disks.Read(disk, found);
    if (!bytes || bytes->size() <= setup::kBitmapFileHeaderSize || !setup::IsBitmapFileHeader(bytes->data(), bytes->size()) ||
        !setup::ParseDib(bytes->data() + setup::kBitmapFileHeaderSize, bytes->size() - setup::kBitmapFileHeaderSize))
        Warning(entry.line, "slide \"" + name + "\" is not a picture the installer can show: it is copied and kept");
}

void Checker::CheckPathReference(const std::string& section, const std::string& key, const char* defaultDir,
                                 const std::string& value) {
    char reference[setup::kPathBufferSize];
    setup::CopyToBuffer(value, reference, sizeof reference);
    if (!m_engine.ResolvePathRef(reference, sizeof reference, defaultDir))
        Error(LineOf(section, key), "\"" + value + "\" of \"" + key + "\" in [" + section +
                                        "]: the directory code is unknown or its [Initiation] \"SubDir N\" is missing");
}

void Checker::CheckPathReferences() {
    const char* installDir = m_engine.m_installDir.c_str();
    for (const KeyLine& entry : m_keys) {
        if (entry.value.empty() || !entry.keySpec) continue;
        const std::string pattern = entry.keySpec->pattern;
        const std::string& section = entry.section;
        const bool writerFile = pattern == "File %d" && (setup::EqualNoCase(section, "ComPort") ||
                                                         setup::EqualNoCase(section, "Version") ||
                                                         MatchPattern("Dialog %d", section));
        if (writerFile || pattern == "RunFile %d" || pattern == "LoadFile %d" ||
            (setup::EqualNoCase(section, "UnInstall") && (pattern == "UnInstallString" || pattern == "Record")) ||
            (setup::EqualNoCase(section, "Execute File") && pattern == "File")) {
            CheckPathReference(section, entry.key, installDir, entry.value);
        } else if (pattern == "Write INI %d" && !setup::EqualNoCase(entry.value, "win.ini") &&
                   !setup::EqualNoCase(entry.value, "system.ini")) {
            CheckPathReference(section, entry.key, installDir, entry.value);
        } else if (pattern == "Data %d.%d" && !setup::EqualNoCase(entry.value, "NULL")) {
            CheckPathReference(section, entry.key, nullptr, entry.value);
        } else if (pattern == "Item %d" && MatchPattern("Group %d", section)) {
            // The command (field 1) and the icon file (field 3) are path references.
            char field[setup::kPathBufferSize];
            int position = 0;
            for (int index = 1; index <= 3 && setup::NextField(entry.value.c_str(), &position, ',', field, sizeof field);
                 ++index)
                if (index != 2) CheckPathReference(section, entry.key, installDir, field);
            if (setup::NextField(entry.value.c_str(), &(position = 0), ',', field, sizeof field) &&
                !setup::NextField(entry.value.c_str(), &position, ',', field, sizeof field))
                Warning(entry.line, "program item without a title ends the group's items");
        }
    }
}

// Questions that are never asked because a key they need is missing.
void Checker::CheckQuestions() {
    for (int number = 1; number < 100; ++number) {
        const std::string section = setup::NumberedKey("Dialog", number);
        if (!m_engine.FindSection(section.c_str())) continue;
        for (const char* key : {"Title Name", "Info Line 1", "Select Item 1"})
            if (m_engine.GetScriptValue(section.c_str(), key, nullptr, 128).empty())
                Error(SectionLine(section), "[" + section + "] has no \"" + key + "\": it is never shown (nor any later one)");
        const std::optional<setup::SelectQuestion> question = setup::LoadSelectQuestion(m_engine, number);
        if (!question) continue;
        std::size_t joined = 0;
        for (int line = 1;; ++line) {
            const std::string value =
                m_engine.GetScriptValue(section.c_str(), setup::NumberedKey("Info Line", line).c_str(), nullptr, 128);
            if (value.empty()) break;
            joined += value.size() + 1;
        }
        if (joined > setup::kMessageTextSize)
            Warning(SectionLine(section), "[" + section + "] info text over 1023 characters: the end is cut");
    }
    if (m_engine.FindSection("ComPort") && !setup::LoadPortQuestion(m_engine))
        Error(SectionLine("ComPort"), "[ComPort] has no \"File 1\" or no \"Item 1.1\": the port question is never shown");
}

void Checker::CheckRegister() {
    for (int number = 1;; ++number) {
        const std::string n = std::to_string(number);
        const bool key = !m_engine.GetScriptValue("Register", ("Key " + n).c_str(), nullptr, 256).empty();
        const bool subKey = !m_engine.GetScriptValue("Register", ("SubKey " + n).c_str(), nullptr, 256).empty();
        const bool keyClass = !m_engine.GetScriptValue("Register", ("Key Class " + n).c_str(), nullptr, 256).empty();
        if (!key && !subKey) return;
        if (key && subKey && !keyClass) {
            Error(LineOf("Register", "Key " + n), "[Register] key " + n +
                                                      " has no \"Key Class " + n + "\" (NULL for none): it and every later key are never written");
            return;
        }
        if (!key || !subKey || !keyClass) return;
        if (!setup::RegistryRootByName(m_engine.GetScriptValue("Register", ("Key " + n).c_str(), nullptr, 256)))
            Error(LineOf("Register", "Key " + n), "[Register] \"Key " + n +
                                                      "\" is not a root key (HKEY_LOCAL_MACHINE, ...): the section ends here");
    }
}

// Script texts of messages that do not fit the message dialog.
void Checker::CheckMessages() {
    for (const SectionSpec& spec : KnownSections()) {
        const std::string section = spec.pattern;
        if (section.find("Message") == std::string::npos || !m_engine.FindSection(section.c_str())) continue;
        std::size_t length = 0;
        for (int line = 1;; ++line) {
            const std::string value =
                m_engine.GetScriptValue(section.c_str(), setup::NumberedKey("Line", line).c_str(), nullptr, 256);
            if (value.empty()) break;
            length += value.size() + 1;
            if (length > setup::kMessageTextSize - 1) {
                Warning(LineOf(section, setup::NumberedKey("Line", line)),
                        "[" + section + "] text over 1023 characters: \"Line " + std::to_string(line) + "\" and later are dropped");
                break;
            }
        }
    }
}

}  // namespace

CheckResult CheckScript(const std::vector<std::uint8_t>& script, const Disks& disks, const CheckOptions& options) {
    Checker checker(script, disks, options);
    return checker.Run();
}

namespace {

// The number after prefix ("SubDir ") in a name, or 0.
int NumberAfter(const std::string& name, const char* prefix) {
    const std::size_t length = std::strlen(prefix);
    if (name.size() <= length || !setup::EqualNoCase(name.substr(0, length), prefix)) return 0;
    int number = 0;
    return setup::SetupScript::ParseScriptInt(name.c_str() + length, &number) ? number : 0;
}

// The file names of every copy list ("File D.M" values and slides), and the last disk.
struct CopyLists {
    std::vector<std::string> names;
    int lastDisk = 0;
};

CopyLists ReadCopyLists(const setup::SetupScript& script) {
    CopyLists lists;
    bool inList = false;
    for (int i = 0; i < script.LineCount(); ++i) {
        const std::string line = script.GetScriptLine(i);
        if (const auto header = setup::SetupScript::HeaderName(line)) {
            const std::string name(*header);
            inList = setup::EqualNoCase(name, "Windows") || setup::EqualNoCase(name, "System") || setup::EqualNoCase(name, "DefDir") ||
                     NumberAfter(name, "SubDir ") > 0;
            continue;
        }
        const auto key = inList && !setup::SetupScript::StartsSection(line) ? setup::SetupScript::KeyName(line) : std::nullopt;
        if (!key) continue;
        const std::string kind = setup::FoldName(*key);
        const std::size_t space = kind.rfind(' ');
        const bool file = space >= 4 && space != std::string::npos && kind.compare(space - 4, 4, "FILE") == 0;
        if (!file && (space == std::string::npos || space < 6 || kind.compare(space - 6, 6, "BITMAP") != 0)) continue;
        // Names are read as the copy walk reads them: 29 characters, a slide's first field.
        char value[30];
        int position = 0;
        const std::string text = setup::FitBuffer(setup::SetupScript::ValueOf(line), sizeof value);
        if (file) setup::CopyToBuffer(text, value, sizeof value);
        else if (!setup::NextField(text.c_str(), &position, ',', value, sizeof value)) continue;
        if (!*value || setup::EqualNoCase(value, "NULL")) continue;
        lists.names.push_back(value);
        lists.lastDisk = std::max(lists.lastDisk, std::atoi(kind.c_str() + space + 1));
    }
    return lists;
}

}  // namespace

std::vector<Finding> CheckAnswers(const std::vector<std::uint8_t>& answers, const std::vector<std::uint8_t>& script,
                                  CheckOptions& options) {
    setup::SetupScript file, installer;
    file.AppendScriptText(reinterpret_cast<const char*>(answers.data()), answers.size());
    installer.AppendScriptText(reinterpret_cast<const char*>(script.data()), script.size());
    std::vector<Finding> findings;
    for (const setup::AnswerProblem& problem : setup::CheckAnswers(file, installer))
        findings.push_back({Severity::kError, problem.line, problem.message});
    // What the installer passes over without a word: a file or a disk that no copy list has.
    const CopyLists lists = ReadCopyLists(installer);
    std::string section;
    for (int i = 0; i < file.LineCount(); ++i) {
        const std::string line = file.GetScriptLine(i);
        if (const auto header = setup::SetupScript::HeaderName(line)) section = std::string(*header);
        const auto key = setup::SetupScript::HeaderName(line) ? std::nullopt : setup::SetupScript::KeyName(line);
        if (!key) continue;
        const std::string name(*key);
        const bool listed = std::any_of(lists.names.begin(), lists.names.end(),
                                        [&name](const std::string& file) { return setup::EqualNoCase(file, name); });
        if (setup::EqualNoCase(section, "Replace") && !listed)
            findings.push_back({Severity::kWarning, file.SourceLine(i), "[Replace] " + name + ": the script copies no such file"});
        if (setup::EqualNoCase(section, "Disks") && NumberAfter(name, "Disk ") > lists.lastDisk)
            findings.push_back({Severity::kWarning, file.SourceLine(i),
                                name + ": the script's copy lists end with disk " + std::to_string(lists.lastDisk)});
    }
    const std::string directory = setup::AnswerValue(file, "Destination", "Directory");
    int header = 0, line = 0;
    if (!directory.empty() && !setup::NormalizeInstallDir(directory) && file.FindSection("Destination", &header) &&
        file.FindKey("Directory", header + 1, &line))
        findings.push_back({Severity::kError, file.SourceLine(line),
                            "Directory=" + directory +
                                ": the destination dialog refuses it (a full path such as C:\\APPS): the quiet run stops"});
    std::stable_sort(findings.begin(), findings.end(), [](const Finding& a, const Finding& b) { return a.line < b.line; });
    for (int number = 1; const std::optional<setup::SelectQuestion> question = setup::LoadSelectQuestion(installer, number);
         ++number) {
        const int place = setup::AnsweredPlace(file, setup::NumberedKey("Dialog", number).c_str(), "Choice", question->items);
        if (place >= 0) options.choices[number] = place + 1;
    }
    if (const std::optional<setup::PortQuestion> port = setup::LoadPortQuestion(installer))
        options.port = setup::AnsweredPlace(file, "ComPort", "Port", setup::PortNames(*port)) + 1;
    options.destination = directory;
    return findings;
}

std::string FormatFinding(const std::string& file, const Finding& finding) {
    static const char* const kinds[] = {"error", "warning", "note"};
    return file + (finding.line ? ":" + std::to_string(finding.line) : std::string()) + ": " +
           kinds[static_cast<int>(finding.severity)] + ": " + finding.message;
}

}  // namespace checker
