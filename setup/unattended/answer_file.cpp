#include "answer_file.h"

#include "../engine/choices.h"
#include "../engine/message_layout.h"
#include "../engine/setup_engine.h"
#include "../script/text.h"

#include <algorithm>
#include <cstdarg>
#include <cstring>

namespace setup {

namespace {

std::string Trimmed(std::string_view text) {
    std::size_t begin = 0, end = text.size();
    while (begin < end && (text[begin] == ' ' || text[begin] == '\t')) ++begin;
    while (end > begin && (text[end - 1] == ' ' || text[end - 1] == '\t')) --end;
    return std::string(text.substr(begin, end - begin));
}

// The number after "prefix " in a name such as "Dialog 2"; 0 when there is none.
int NumberAfter(const std::string& name, const char* prefix) {
    const std::size_t length = std::strlen(prefix);
    int number = 0;
    if (name.size() <= length + 1 || !EqualNoCase(name.substr(0, length), prefix) || name[length] != ' ' ||
        !SetupScript::ParseScriptInt(name.c_str() + length + 1, &number) || name.find(' ', length + 1) != std::string::npos)
        return 0;
    return number;
}

// The place of text among items (without case), or -1.
int PlaceOf(const std::vector<std::string>& items, const std::string& text) {
    for (std::size_t i = 0; i < items.size(); ++i)
        if (EqualNoCase(items[i], text)) return static_cast<int>(i);
    return -1;
}

std::string Joined(const std::vector<std::string>& items) {
    std::string list;
    for (const std::string& item : items) list += (list.empty() ? "" : ", ") + item;
    return list;
}

// True when value is one of the names of a list such as "Yes, No" (without case).
bool OneOf(const std::string& value, const char* list) {
    for (const char* at = list;;) {
        const char* end = std::strchr(at, ',');
        if (EqualNoCase(value, std::string_view(at, end ? static_cast<std::size_t>(end - at) : std::strlen(at)))) return true;
        if (!end) return false;
        at = end + 2;
    }
}

enum class Kind { kSkip, kPort, kDialog, kDestination, kMessages, kReplace, kDisks, kExecute };

// Checks the answer file line by line; a section's keys are checked as they come.
class Checker {
public:
    explicit Checker(const SetupScript& script) : m_script(script) {}

    std::vector<AnswerProblem> problems;

    void Header(const std::string& name, int line) {
        m_line = line;
        m_section = name;
        m_keys.clear();
        m_kind = Kind::kSkip;
        m_place = -1;
        const std::string folded = FoldName(name);
        if (std::find(m_sections.begin(), m_sections.end(), folded) != m_sections.end())
            return Problem("[%s] is given twice", name.c_str());
        m_sections.push_back(folded);
        static const char* const kNames[] = {"ComPort", "Destination", "Messages", "Replace", "Disks", "Execute File"};
        static const Kind kKinds[] = {Kind::kPort, Kind::kDestination, Kind::kMessages, Kind::kReplace, Kind::kDisks, Kind::kExecute};
        for (int i = 0; i < 6; ++i)
            if (EqualNoCase(name, kNames[i])) m_kind = kKinds[i];
        const int number = NumberAfter(name, "Dialog");
        if (number > 0) m_kind = Kind::kDialog;
        if (m_kind == Kind::kSkip)
            return Problem("unknown section [%s] (the sections are ComPort, Dialog N, Destination, Messages, Replace, "
                           "Disks, Execute File)",
                           name.c_str());
        m_question = LoadSelectQuestion(m_script, number);
        // The questions end at the first one that is missing.
        for (int k = 1; k < number && m_question; ++k)
            if (!LoadSelectQuestion(m_script, k)) m_question.reset();
        m_port = LoadPortQuestion(m_script);
        if (m_kind == Kind::kPort && !m_port) Skip("[ComPort]: the script asks no port question");
        if (m_kind == Kind::kDialog && !m_question)
            Skip(Format("[%s]: the script has no selection question %d", name.c_str(), number).c_str());
        if (m_kind == Kind::kDialog) m_title = Format("selection question %d", number);
        if (m_kind == Kind::kExecute && m_script.GetScriptValue("Execute File", "File", nullptr, kPathBufferSize).empty())
            Skip("[Execute File]: the script starts no program");
    }

    void Key(const std::string& key, const std::string& value, int line) {
        m_line = line;
        if (m_kind == Kind::kSkip) return;
        const std::string folded = FoldName(key);
        if (std::find(m_keys.begin(), m_keys.end(), folded) != m_keys.end()) return Problem("%s is given twice", key.c_str());
        m_keys.push_back(folded);
        switch (m_kind) {
        case Kind::kPort: return Port(key, value);
        case Kind::kDialog: return Dialog(key, value);
        case Kind::kDestination:
            if (!EqualNoCase(key, "Directory")) return Unknown(key, "Directory");
            if (value.empty()) Problem("Directory= names no directory");
            return;
        case Kind::kMessages:
            if (!OneOf(key, kMessageKeys)) return Unknown(key, kMessageKeys);
            return Button(key, value, "Yes, No");
        case Kind::kReplace: return Button(key, value, "Yes, No, Replace All");
        case Kind::kDisks: return Disk(key, value);
        case Kind::kExecute:
            if (!EqualNoCase(key, "Start")) return Unknown(key, "Start");
            return Button(key, value, "Yes, No");
        case Kind::kSkip: return;
        }
    }

    // A line that is no answer; the section's keys after it are still checked.
    void Bad(int line, const std::string& message) { problems.push_back({line, message}); }

private:
    void Problem(const char* format, ...) __attribute__((format(printf, 2, 3))) {
        std::va_list arguments;
        va_start(arguments, format);
        problems.push_back({m_line, FormatList(format, arguments)});
        va_end(arguments);
    }

    void Skip(const char* problem) {
        Problem("%s", problem);
        m_kind = Kind::kSkip;
    }

    void Unknown(const std::string& key, const char* known) {
        Problem("unknown key \"%s\" in [%s] (%s)", key.c_str(), m_section.c_str(), known);
    }

    static constexpr const char* kMessageKeys = "Previous Version, Restart, Reboot";

    void Button(const std::string& key, const std::string& value, const char* buttons) {
        if (!OneOf(value, buttons)) Problem("%s=%s: the answer is one of %s", key.c_str(), value.c_str(), buttons);
    }

    void Title(const std::string& value, const std::string& expected, const char* what) {
        if (!EqualNoCase(value, expected))
            Problem("Title=%s: the script's %s is titled \"%s\"", value.c_str(), what, expected.c_str());
    }

    void Port(const std::string& key, const std::string& value) {
        if (EqualNoCase(key, "Title")) return Title(value, PortTitle(*m_port), "port question");
        if (!EqualNoCase(key, "Port")) return Unknown(key, "Title, Port");
        if (PlaceOf(PortNames(*m_port), value) < 0)
            Problem("Port=%s: the port question lists COM1 to COM%d", value.c_str(), m_port->maxComPort);
    }

    // Item and Choice may both be given; then they must name the same entry.
    void Dialog(const std::string& key, const std::string& value) {
        const char* name = m_section.c_str();
        const char* title = m_question->title.c_str();
        const int count = static_cast<int>(m_question->items.size());
        if (EqualNoCase(key, "Title")) return Title(value, m_question->title, m_title.c_str());
        int place = -1;
        if (EqualNoCase(key, "Item")) {
            if (!SetupScript::ParseScriptInt(value.c_str(), &place) || place < 1 || place > count)
                return Problem("Item=%s: [%s] \"%s\" has items 1 to %d", value.c_str(), name, title, count);
            --place;
        } else if (EqualNoCase(key, "Choice")) {
            place = PlaceOf(m_question->items, value);
            if (place < 0)
                return Problem("Choice=%s: [%s] \"%s\" has no such item (%s)", value.c_str(), name, title,
                               Joined(m_question->items).c_str());
        } else {
            return Unknown(key, "Title, Item, Choice");
        }
        if (m_place >= 0 && m_place != place)
            return Problem("%s=%s is item %d, not item %d", key.c_str(), value.c_str(), place + 1, m_place + 1);
        m_place = place;
    }

    void Disk(const std::string& key, const std::string& value) {
        if (NumberAfter(key, "Disk") < 2) Problem("\"%s\": the disks that are asked for are Disk 2 and after", key.c_str());
        else if (value.empty()) Problem("%s names no folder", key.c_str());
    }

    const SetupScript& m_script;
    std::vector<std::string> m_sections;  // folded names seen
    std::vector<std::string> m_keys;      // folded keys of the current section
    std::string m_section;
    std::string m_title;
    Kind m_kind = Kind::kSkip;
    int m_line = 0;
    int m_place = -1;
    std::optional<SelectQuestion> m_question;
    std::optional<PortQuestion> m_port;
};

}  // namespace

std::vector<AnswerProblem> CheckAnswers(const SetupScript& file, const SetupScript& script) {
    Checker checker(script);
    bool inSection = false;
    for (int i = 0; i < file.LineCount(); ++i) {
        const std::string line = file.GetScriptLine(i);
        const std::string text = Trimmed(line);
        const auto key = SetupScript::KeyName(line);
        if (text.empty() || text[0] == ';') continue;
        if (const auto header = SetupScript::HeaderName(line)) {
            checker.Header(std::string(*header), file.SourceLine(i));
            inSection = true;
        } else if (key && !SetupScript::StartsSection(line) && inSection) {
            // Keys as the reader finds them: blanks around them are no part of them.
            checker.Key(std::string(*key), Trimmed(SetupScript::ValueOf(line)), file.SourceLine(i));
        } else {
            checker.Bad(file.SourceLine(i), "not an answer under a section: " + text);
        }
    }
    return checker.problems;
}

std::string AnswerValue(const SetupScript& file, const char* section, const char* key) {
    return Trimmed(file.GetScriptValue(section, key, nullptr, kPathBufferSize));
}

int AnsweredPlace(const SetupScript& file, const char* section, const char* textKey,
                  const std::vector<std::string>& items) {
    const std::string text = AnswerValue(file, section, textKey);
    if (!text.empty()) return PlaceOf(items, text);
    int item = 0;
    const std::string place = AnswerValue(file, section, "Item");
    if (!SetupScript::ParseScriptInt(place.c_str(), &item) || item < 1 || item > static_cast<int>(items.size())) return -1;
    return item - 1;
}

const char* MessageAnswerKey(Ask ask) {
    return ask == Ask::kPreviousVersion ? "Previous Version"
           : ask == Ask::kRestart       ? "Restart"
           : ask == Ask::kReboot        ? "Reboot"
                                        : nullptr;
}

void AnswerText::Set(const std::string& section, const std::string& key, const std::string& value) {
    for (Entry& entry : m_entries)
        if (entry.section == section && EqualNoCase(entry.key, key)) return void(entry.value = value);
    // A new key goes after the last one of its section, so that each section is written once.
    auto last = m_entries.end();
    for (auto it = m_entries.begin(); it != m_entries.end(); ++it)
        if (it->section == section) last = it + 1;
    m_entries.insert(last, Entry{section, key, value});
}

std::string AnswerText::Text() const {
    std::string text =
        "; Answers for SETUP.EXE, written by /RECORD=FILE; replay them with /QUIET /ANSWERS=FILE.\r\n"
        "; Each section is a question as the screen showed it; the setup script manual explains every key.\r\n";
    for (std::size_t i = 0; i < m_entries.size(); ++i) {
        if (i == 0 || m_entries[i].section != m_entries[i - 1].section) text += "\r\n[" + m_entries[i].section + "]\r\n";
        text += m_entries[i].key + "=" + m_entries[i].value + "\r\n";
    }
    return text;
}

}  // namespace setup
