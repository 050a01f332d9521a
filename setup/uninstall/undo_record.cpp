#include "undo_record.h"

#include "../engine/setup_engine.h"
#include "../script/text.h"
#include "record_seal.h"

#include <algorithm>

namespace setup {

const char* const kUndoRecordHeader = "SETUP UNDO RECORD 1";

namespace {

struct KindInfo {
    const char* name;
    unsigned char fields;    // the fields it always has
    unsigned char optional;  // and one more that it may have
};

// In the order of UndoEntry::Kind.
constexpr KindInfo kKinds[] = {{"dest", 1, 0},    {"dir", 1, 0},   {"file", 4, 0},    {"replaced", 1, 3},
                               {"ini", 5, 1},     {"startup", 3, 0}, {"key", 2, 0},  {"value", 4, 1},
                               {"group", 2, 0},   {"item", 2, 0},  {"saved", 2, 1},   {"rollback", 0, 0},
                               {"done", 0, 0}};

constexpr const char* kIniStates[] = {"value", "key", "section", "file"};  // in the order of IniNew

std::string Escape(const std::string& field) {
    std::string out;
    for (char c : field) {
        const unsigned char u = static_cast<unsigned char>(c);
        if (u < 0x20 || u == 0x7F || c == '%') {
            out += '%';
            out += "0123456789ABCDEF"[u >> 4];
            out += "0123456789ABCDEF"[u & 15];
        } else {
            out += c;
        }
    }
    return out;
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// False when the field holds a control character or a "%" that is not an escape.
bool Unescape(std::string_view field, std::string& out) {
    out.clear();
    for (std::size_t i = 0; i < field.size(); ++i) {
        const unsigned char u = static_cast<unsigned char>(field[i]);
        if (u < 0x20 || u == 0x7F) return false;
        if (field[i] != '%') {
            out += field[i];
            continue;
        }
        const int high = i + 2 < field.size() ? HexDigit(field[i + 1]) : -1;
        const int low = high >= 0 ? HexDigit(field[i + 2]) : -1;
        if (low < 0) return false;
        out += static_cast<char>(high * 16 + low);
        i += 2;
    }
    return true;
}

bool AllOf(const std::string& text, bool hex, std::size_t most) {
    if (text.empty() || text.size() > most) return false;
    for (char c : text)
        if (!(c >= '0' && c <= '9') && !(hex && HexDigit(c) >= 0)) return false;
    return true;
}

std::string Hex(std::uint64_t value) {
    std::string digits;
    do digits.insert(digits.begin(), "0123456789ABCDEF"[value & 15]);
    while (value >>= 4);
    return digits;
}

bool OneOf(const std::string& word, std::initializer_list<const char*> words) {
    for (const char* w : words)
        if (word == w) return true;
    return false;
}

// What is wrong with an entry's fields; null when nothing is.
const char* CheckFields(const UndoEntry& entry) {
    const std::vector<std::string>& f = entry.fields;
    for (std::size_t i = 0; i < f.size(); ++i)
        if (f[i].size() > kMostFieldLength) return "a field is too long";
    switch (entry.kind) {
    case UndoEntry::Kind::kFile:
        return AllOf(f[1], true, 16) && AllOf(f[2], true, 16) && AllOf(f[3], true, 8) ? nullptr
                                                                                         : "a file without its size, time and checksum";
    case UndoEntry::Kind::kReplaced:
        return f.size() == 1 || (f.size() == 4 && AllOf(f[1], true, 16) && AllOf(f[2], true, 16) && AllOf(f[3], true, 8))
                   ? nullptr
                   : "a replaced file without its size, time and checksum";
    case UndoEntry::Kind::kIni:
        if (!OneOf(f[4], {"value", "key", "section", "file"})) return "an INI entry of an unknown kind";
        return (f[4] == "value") == (f.size() == 6) ? nullptr : "an INI entry without the value it replaced";
    case UndoEntry::Kind::kStartup: return OneOf(f[0], {"Load", "Run"}) ? nullptr : "a start-up line other than Load and Run";
    case UndoEntry::Kind::kKey: return AllOf(f[1], false, 2) && f[1] != "0" ? nullptr : "a registry key without its levels";
    case UndoEntry::Kind::kValue:
        if (!OneOf(f[3], {"new", "was", "other"})) return "a registry value of an unknown kind";
        return (f[3] == "was") == (f.size() == 5) ? nullptr : "a registry value without the value it replaced";
    case UndoEntry::Kind::kGroup: return OneOf(f[1], {"new", "old"}) ? nullptr : "a program group of an unknown kind";
    case UndoEntry::Kind::kSaved:
        return f.size() == 2 || (f[2].size() == 64 && AllOf(f[2], true, 64)) ? nullptr : "a copy kept aside with a damaged digest";
    default: return nullptr;
    }
}

}  // namespace

UndoRecord ReadUndoRecord(std::string_view text) {
    UndoRecord record;
    const std::string_view header = kUndoRecordHeader;
    if (text.substr(0, header.size()) != header || text.size() < header.size() + 2 ||
        text.substr(header.size(), 2) != "\r\n") {
        record.error = "it is not an undo record of this installer";
        return record;
    }
    int number = 0;
    for (std::size_t at = 0; at < text.size();) {
        ++number;
        const std::size_t end = text.find('\n', at);
        if (end == std::string_view::npos) {
            record.cut = true;
            break;
        }
        if (end == at || text[end - 1] != '\r') {
            record.entries.clear();
            record.error = "line " + std::to_string(number) + " is cut short: the record is damaged";
            return record;
        }
        const std::string_view line = text.substr(at, end - 1 - at);
        at = end + 1;
        if (line == header) {  // each installation into the same record begins anew
            ++record.parts;
            record.lastPartOffset = at - line.size() - 2;
            continue;
        }
        UndoEntry entry;
        entry.line = number;
        entry.part = record.parts;
        std::string kind;
        const char* problem = nullptr;
        for (std::size_t from = 0, tab = 0; tab != std::string_view::npos && !problem; from = tab + 1) {
            tab = line.find('\t', from);
            std::string field;
            if (!Unescape(line.substr(from, tab == std::string_view::npos ? tab : tab - from), field))
                problem = "a field holds a character a record never writes";
            else if (kind.empty() && from == 0) kind = field;
            else entry.fields.push_back(field);
        }
        const KindInfo* info = nullptr;
        for (const KindInfo& known : kKinds)
            if (kind == known.name) info = &known;
        if (!problem && !info) problem = "an entry of an unknown kind";
        if (!problem && (entry.fields.size() < info->fields || entry.fields.size() > info->fields + info->optional))
            problem = "an entry with the wrong number of fields";
        if (!problem) {
            entry.kind = static_cast<UndoEntry::Kind>(info - kKinds);
            problem = CheckFields(entry);
        }
        if (problem) {
            record.entries.clear();
            record.error = "line " + std::to_string(number) + ": " + problem + ": the record is damaged";
            return record;
        }
        record.entries.push_back(std::move(entry));
    }
    record.wholeLength = record.cut ? text.rfind('\n') + 1 : text.size();
    return record;
}

bool LastPartPending(const UndoRecord& record) {
    bool rollback = false, done = false;
    for (const UndoEntry& entry : record.entries) {
        if (entry.part != record.parts) continue;
        rollback = rollback || entry.kind == UndoEntry::Kind::kRollback;
        done = done || entry.kind == UndoEntry::Kind::kDone;
    }
    return record.error.empty() && rollback && !done;
}

std::vector<UndoEntry> EntriesToUndo(const std::vector<UndoEntry>& entries) {
    std::vector<int> completed;
    for (const UndoEntry& entry : entries)
        if (entry.kind == UndoEntry::Kind::kDone) completed.push_back(entry.part);
    auto isCompleted = [&](int part) { return std::find(completed.begin(), completed.end(), part) != completed.end(); };
    std::vector<UndoEntry> out;
    std::vector<std::pair<int, std::string>> saved;  // part and folded path
    for (const UndoEntry& entry : entries) {
        if (!isCompleted(entry.part)) {
            out.push_back(entry);
            continue;
        }
        if (entry.kind == UndoEntry::Kind::kSaved) {
            saved.emplace_back(entry.part, FoldName(entry.fields[0]));
            continue;
        }
        out.push_back(entry);
        if (entry.kind == UndoEntry::Kind::kFile &&
            std::find(saved.begin(), saved.end(), std::make_pair(entry.part, FoldName(entry.fields[0]))) != saved.end()) {
            out.back().kind = UndoEntry::Kind::kReplaced;
            out.back().fields.resize(1);
        }
    }
    return out;
}

// --- The writer. ---

void UndoWriter::Add(const char* kind, std::initializer_list<std::string> fields) {
    if (m_closed) return;
    m_waiting += kind;
    for (const std::string& field : fields) m_waiting += "\t" + Escape(field);
    m_waiting += "\r\n";
    Flush();
}

bool UndoWriter::Flush() {
    if (m_waiting.empty()) return true;
    if (!m_open && !OpenRecord()) return true;  // the directory is not settled or not there yet
    Sha256 sum = m_sum;
    std::uint64_t length = m_length + m_waiting.size();
    if (m_sealing) {
        RecordSeal seal{m_start, m_length, length, sum.Hex(), std::string()};
        sum.Add(m_waiting.data(), m_waiting.size());
        seal.digestAfter = sum.Hex();
        m_sealing = m_sink.WriteSeal(m_path, SealText(seal));
    }
    // Lines that cannot be written wait, for the installation to stop or try again.
    m_failed = !m_sink.Append(m_waiting);
    if (m_failed) return false;
    m_sum = sum;
    m_length = length;
    m_waiting.clear();
    return true;
}

bool UndoWriter::OpenRecord() {
    const std::string path = m_engine.UndoRecordPath();
    if (path.empty()) return false;
    const std::string existing = Continue(path);
    if (!m_sink.Open(path)) return false;
    m_open = true;
    m_path = path;
    StartSeal(existing);
    m_waiting = std::string(kUndoRecordHeader) + "\r\ndest\t" + Escape(m_engine.InstallDir()) + "\r\n" +
                (m_engine.KeepsRollback() ? "rollback\r\n" : "") + m_waiting;
    return true;
}

// What an earlier run left in the record, as this run goes on from it: its last line cut
// short as it was written is cut off, so that the new lines begin on a line of their own. A
// record the uninstallation would refuse (damaged, or changed after its seal) is moved aside
// whole, for a person to read, and a new one begins: lines added to it could never be undone.
std::string UndoWriter::Continue(const std::string& path) {
    std::string existing = m_sink.Existing(path);
    if (existing.empty()) return existing;
    std::size_t keep = existing.size();
    bool refused = false;
    if (m_sink.KeepsSeals())
        if (const std::optional<std::string> kept = m_sink.ReadSeal(path)) {
            const std::optional<RecordSeal> seal = ParseSeal(*kept);
            const std::optional<std::size_t> vouched = seal ? SealedLength(existing, *seal) : std::nullopt;
            refused = !vouched;
            keep = vouched.value_or(keep);
        }
    const UndoRecord parsed = ReadUndoRecord(std::string_view(existing).substr(0, keep));
    if (refused || !parsed.error.empty()) {
        if (!m_sink.SetAside(path)) return existing;
        m_sink.WriteSeal(path, std::string());
        return std::string();
    }
    if (parsed.cut) keep = parsed.wholeLength;
    if (keep < existing.size() && m_sink.Cut(path, keep)) existing.resize(keep);
    return existing;
}

// A record sealed before is continued only as it was sealed: one changed since keeps its
// seal and stays refused. What an unsealed record holds already is no installation's that
// this system can vouch for: the seal starts after it.
void UndoWriter::StartSeal(const std::string& existing) {
    if (!m_sink.KeepsSeals()) return;
    const std::optional<std::string> kept = m_sink.ReadSeal(m_path);
    const std::optional<RecordSeal> seal = kept ? ParseSeal(*kept) : std::nullopt;
    if (kept && (!seal || SealedLength(existing, *seal) != existing.size())) return;
    m_sealing = true;
    m_start = seal ? seal->start : existing.size();
    m_sum.Add(existing.data(), existing.size());
    m_length = existing.size();
}

void UndoWriter::FileSavedAside(const std::string& path, const std::string& copy) {
    // The copy's digest: a copy changed since is never put back.
    if (const std::optional<std::string> digest = m_engine.FileDigest(copy)) Add("saved", {path, copy, *digest});
    else Add("saved", {path, copy});
}

void UndoWriter::Close() {
    m_closed = true;
    m_sink.Close();
}

void UndoWriter::InstallationCompleted() {
    if (m_engine.KeepsRollback()) Add("done", {});
}

void UndoWriter::Answered(const std::string& question, const std::string& answer, const Answer& how) {
    // Every destination the installation was given may hold what it made.
    if (question == "destination directory" && !how.cancelled) Add("dest", {answer});
}

void UndoWriter::DirectoryMade(const std::string& path, bool created, bool) {
    if (created) Add("dir", {path});
}

void UndoWriter::FileInstalled(const InstalledFile& file) {
    if (file.result != 0) return;
    // A replaced file stays: there is no copy of the one before (one kept aside goes when the
    // installation completes). So does one whose facts cannot be read back, since the
    // uninstallation could not tell whether it changed. A replaced file's facts are those an
    // earlier installation into the record that created it must find to remove it.
    if (!file.facts) return Add("replaced", {file.destination});
    const std::string size = Hex(file.facts->size), time = Hex(file.facts->writeTime), crc = Hex(file.facts->crc32);
    if (file.replaced && !file.savedAside) Add("replaced", {file.destination, size, time, crc});
    else Add("file", {file.destination, size, time, crc});
}

void UndoWriter::IniEntryWritten(const std::string& file, const std::string& section, const std::string& key,
                                 const std::string& value, const std::optional<std::string>& replaced, IniNew created) {
    // An entry that was there keeps the value it had, to be put back.
    if (replaced) Add("ini", {file, section, key, value, "value", *replaced});
    else Add("ini", {file, section, key, value, kIniStates[created == IniNew::kNothing ? 1 : static_cast<int>(created)]});
}

void UndoWriter::StartupLineWritten(const std::string& key, const std::string& before, const std::string& after) {
    if (before != after) Add("startup", {key, before, after});
}

void UndoWriter::RegistryKeyOpened(const std::string& key, bool, bool failed, int newLevels) {
    if (!failed && newLevels > 0) Add("key", {key, std::to_string(newLevels)});
}

void UndoWriter::RegistryValueWritten(const std::string& key, const char* name, const char* data, bool written,
                                      const std::optional<std::string>& replaced) {
    if (!written) return;
    const std::string shownName = name ? name : "", shownData = data ? data : "";
    if (!replaced) Add("value", {key, shownName, shownData, "new"});
    // A replaced text too long for the record cannot be put back, like one that is no text.
    else if (*replaced == kNotText || replaced->size() > kMostFieldLength) Add("value", {key, shownName, shownData, "other"});
    else Add("value", {key, shownName, shownData, "was", *replaced});
}

void UndoWriter::ProgramGroupFound(const std::string& name) { m_groupsThere.push_back(FoldName(name)); }

void UndoWriter::ProgramManagerCommand(const std::string& command, ProgramManager::Outcome outcome) {
    if (outcome != ProgramManager::Outcome::kAccepted || command.size() < 3) return;
    const std::string arguments = command.substr(command.find('(') + 1, command.size() - command.find('(') - 3);
    if (command.compare(0, 13, "[CreateGroup(") == 0) {
        m_group = arguments;
        // A group made again (the installation retried) was there only because of the first.
        for (const std::string& there : m_groupsThere)
            if (there == FoldName(m_group) + "\t") return;
        bool before = false;
        for (const std::string& there : m_groupsThere) before = before || there == FoldName(m_group);
        m_groupsThere.push_back(FoldName(m_group) + "\t");
        Add("group", {m_group, before ? "old" : "new"});
    } else if (command.compare(0, 9, "[AddItem(") == 0) {
        // The item's title is the quoted field after the command.
        const std::size_t open = arguments.find(",\"");
        const std::size_t close = open == std::string::npos ? open : arguments.find('"', open + 2);
        if (close != std::string::npos) Add("item", {m_group, arguments.substr(open + 2, close - open - 2)});
    }
}

}  // namespace setup
