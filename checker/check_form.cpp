// How a setup script is written: its lines, its sections and keys, its values and its
// numbered lists.
#include "checks.h"

#include "script/text.h"

#include <map>
#include <set>

namespace checker {

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
        if (setup::EqualNoCase(entry.section, setup::kChecksumSection)) size = setup::kChecksumValueSize;
        if (entry.keySpec && entry.keySpec->kind == ValueKind::kInteger) {
            int number = 0;
            const std::string read = setup::FitBuffer(entry.value, setup::SetupScript::kIntBufferSize);
            if (!setup::SetupScript::ParseScriptInt(read.c_str(), &number))
                Warning(entry.line, "\"" + entry.value + "\" is not a number: \"" + entry.key + "\" keeps its default");
            continue;
        }
        if (entry.keySpec && entry.keySpec->kind == ValueKind::kDigits) {
            // Digits of equal length compare as their numbers do.
            if (entry.value.find_first_not_of("0123456789") != std::string::npos)
                Warning(entry.line, "\"" + entry.value + "\" is not a plain number of bytes: no space check is made");
            else if (entry.value.size() > 10 || (entry.value.size() == 10 && entry.value > "4294967295"))
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

}  // namespace checker
