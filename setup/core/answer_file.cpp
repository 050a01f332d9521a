#include "answer_file.h"

#include "../ui/choices.h"
#include "../ui/message_layout.h"
#include "fields.h"
#include "setup_engine.h"
#include "text.h"

#include <cstdlib>
#include <set>

namespace setup {

namespace {

// One section of the answer file as written, before it is checked.
struct Section {
    std::string name;
    int line = 0;
    struct Value {
        std::string key;
        std::string value;
        int line = 0;
    };
    std::vector<Value> values;
};

std::string Trimmed(std::string_view text) {
    std::size_t begin = 0, end = text.size();
    while (begin < end && (text[begin] == ' ' || text[begin] == '\t')) ++begin;
    while (end > begin && (text[end - 1] == ' ' || text[end - 1] == '\t')) --end;
    return std::string(text.substr(begin, end - begin));
}

// The number after "prefix " in a name such as "Dialog 2"; 0 when there is none.
int NumberAfter(const std::string& name, const char* prefix) {
    const std::string start = std::string(prefix) + " ";
    if (name.size() <= start.size() || !EqualNoCase(name.substr(0, start.size()), start)) return 0;
    int number = 0;
    if (!SetupScript::ParseScriptInt(name.c_str() + start.size(), &number) || number <= 0 ||
        name.find(' ', start.size()) != std::string::npos)
        return 0;
    return number;
}

std::vector<Section> SplitSections(const SetupScript& file, std::vector<AnswerProblem>& problems) {
    std::vector<Section> sections;
    for (int i = 0; i < file.LineCount(); ++i) {
        const std::string line = file.GetScriptLine(i);
        const int at = file.SourceLine(i);
        const std::string text = Trimmed(line);
        if (text.empty() || text[0] == ';') continue;
        if (const auto header = SetupScript::HeaderName(line)) {
            sections.push_back(Section{std::string(*header), at, {}});
        } else if (SetupScript::StartsSection(line)) {
            problems.push_back({at, "not a section header: " + text});
        } else if (const auto key = SetupScript::KeyName(line); key && !sections.empty()) {
            sections.back().values.push_back({Trimmed(*key), Trimmed(SetupScript::ValueOf(line)), at});
        } else {
            problems.push_back({at, key ? "an answer before the first section: " + text : "not KEY=VALUE: " + text});
        }
    }
    return sections;
}

// The buttons of a message that answers are kept for, with their default captions.
MessageQuestion Buttons(Ask ask) {
    MessageQuestion question;
    question.ask = ask;
    switch (ask) {
    case Ask::kReplace:
        question.style = style::kYesNoCancel;
        question.captions[0] = "Yes";
        question.captions[1] = "No";
        question.captions[2] = "Replace All";
        break;
    case Ask::kFileNotFound:
    case Ask::kCopyError:
        question.style = style::kAbortRetryIgnore;
        question.captions[0] = "Retry";
        question.captions[1] = "Ignore";
        question.captions[2] = "Exit";
        break;
    default: question.style = style::kYesNo; break;
    }
    return question;
}

// The file names of every copy list ("File D.M" values and slides), and the last disk.
struct CopyLists {
    std::vector<std::string> names;
    int lastDisk = 0;
};

CopyLists ReadCopyLists(const SetupScript& script) {
    CopyLists lists;
    bool inList = false;
    for (int i = 0; i < script.LineCount(); ++i) {
        const std::string line = script.GetScriptLine(i);
        if (const auto header = SetupScript::HeaderName(line)) {
            const std::string name(*header);
            inList = EqualNoCase(name, "Windows") || EqualNoCase(name, "System") || EqualNoCase(name, "DefDir") ||
                     NumberAfter(name, "SubDir") > 0;
            continue;
        }
        const auto key = inList && !SetupScript::StartsSection(line) ? SetupScript::KeyName(line) : std::nullopt;
        if (!key) continue;
        const std::string keyText(*key);
        const std::size_t space = keyText.rfind(' ');
        const std::string kind = space == std::string::npos ? std::string() : keyText.substr(0, space);
        const bool file = kind.size() >= 4 && EqualNoCase(kind.substr(kind.size() - 4), "File");
        const bool slide = kind.size() >= 6 && EqualNoCase(kind.substr(kind.size() - 6), "Bitmap");
        if (!file && !slide) continue;
        const int disk = std::atoi(keyText.c_str() + space + 1);
        // Names are read as the copy walk reads them: 29 characters, a slide's first field.
        char value[30];
        int position = 0;
        const std::string text = FitBuffer(SetupScript::ValueOf(line), sizeof value);
        if (file) CopyToBuffer(text, value, sizeof value);
        else if (!NextField(text.c_str(), &position, ',', value, sizeof value)) continue;
        if (!*value || EqualNoCase(value, "NULL")) continue;
        lists.names.push_back(value);
        if (disk > lists.lastDisk) lists.lastDisk = disk;
    }
    return lists;
}

// Checks the answer files' sections one kind at a time.
class Reader {
public:
    Reader(const SetupScript& script, AnswerSet& answers, std::vector<AnswerProblem>& problems)
        : m_script(script), m_answers(answers), m_problems(problems), m_lists(ReadCopyLists(script)) {}

    void Read(const Section& section) {
        const std::string& name = section.name;
        if (EqualNoCase(name, "ComPort")) return Port(section);
        if (NumberAfter(name, "Dialog") > 0) return Dialog(section, NumberAfter(name, "Dialog"));
        if (EqualNoCase(name, "Destination")) return Destination(section);
        if (EqualNoCase(name, "Messages")) return Messages(section);
        if (EqualNoCase(name, "Replace")) return Files(section, Ask::kReplace, m_answers.replace);
        if (EqualNoCase(name, "Not Found")) return Files(section, Ask::kFileNotFound, m_answers.notFound);
        if (EqualNoCase(name, "Copy Error")) return Files(section, Ask::kCopyError, m_answers.copyError);
        if (EqualNoCase(name, "Disks")) return Disks(section);
        if (EqualNoCase(name, "Execute File")) return Execute(section);
        Problem(section.line, "unknown section [" + name +
                                  "] (the sections are ComPort, Dialog N, Destination, Messages, Replace, Not Found, "
                                  "Copy Error, Disks, Execute File)");
    }

private:
    void Problem(int line, const std::string& message) { m_problems.push_back({line, message}); }

    // The values of a section whose keys are the given ones; unknown and repeated keys
    // are problems.
    std::map<std::string, Section::Value> Keys(const Section& section, std::initializer_list<const char*> known) {
        std::map<std::string, Section::Value> found;
        for (const Section::Value& value : section.values) {
            const char* match = nullptr;
            for (const char* key : known)
                if (EqualNoCase(value.key, key)) match = key;
            std::string list;
            for (const char* key : known) list += (list.empty() ? "" : ", ") + std::string(key);
            if (!match) Problem(value.line, "unknown key \"" + value.key + "\" in [" + section.name + "] (" + list + ")");
            else if (found.count(match)) Problem(value.line, std::string(match) + " is given twice");
            else found[match] = value;
        }
        return found;
    }

    void CheckTitle(const std::map<std::string, Section::Value>& keys, const std::string& title, const std::string& what) {
        auto given = keys.find("Title");
        if (given != keys.end() && !EqualNoCase(given->second.value, title))
            Problem(given->second.line, "Title=" + given->second.value + ": the script's " + what + " is titled \"" +
                                            title + "\"");
    }

    void Port(const Section& section) {
        const auto keys = Keys(section, {"Title", "Port"});
        const std::optional<PortQuestion> question = LoadPortQuestion(m_script);
        if (!question) return Problem(section.line, "[ComPort]: the script asks no port question");
        CheckTitle(keys, PortTitle(*question), "port question");
        auto port = keys.find("Port");
        if (port == keys.end()) return Problem(section.line, "[ComPort] says no Port=COMn");
        const std::vector<std::string> names = PortNames(*question);
        for (std::size_t i = 0; i < names.size(); ++i)
            if (EqualNoCase(names[i], port->second.value))
                return void(m_answers.port = ListAnswer{static_cast<int>(i), names[i], PortTitle(*question)});
        Problem(port->second.line, "Port=" + port->second.value + ": the port question lists COM1 to COM" +
                                       std::to_string(question->maxComPort));
    }

    void Dialog(const Section& section, int number) {
        const auto keys = Keys(section, {"Title", "Item", "Choice"});
        std::optional<SelectQuestion> question;
        for (int k = 1; k <= number; ++k) {
            question = LoadSelectQuestion(m_script, k);
            // The questions end at the first one that is missing.
            if (!question) return Problem(section.line, "[" + section.name + "]: the script has no selection question " + std::to_string(number));
        }
        CheckTitle(keys, question->title, "selection question " + std::to_string(number));
        const int count = static_cast<int>(question->items.size());
        int position = -1;
        if (auto item = keys.find("Item"); item != keys.end()) {
            int value = 0;
            if (!SetupScript::ParseScriptInt(item->second.value.c_str(), &value) || value < 1 || value > count)
                return Problem(item->second.line, "Item=" + item->second.value + ": [" + section.name + "] \"" +
                                                      question->title + "\" has items 1 to " + std::to_string(count));
            position = value - 1;
        }
        if (auto choice = keys.find("Choice"); choice != keys.end()) {
            int found = -1;
            std::string list;
            for (int i = 0; i < count; ++i) {
                if (found < 0 && EqualNoCase(question->items[static_cast<std::size_t>(i)], choice->second.value)) found = i;
                list += (i ? ", " : "") + question->items[static_cast<std::size_t>(i)];
            }
            if (found < 0)
                return Problem(choice->second.line, "Choice=" + choice->second.value + ": [" + section.name + "] \"" +
                                                        question->title + "\" has no such item (" + list + ")");
            if (position >= 0 && position != found)
                return Problem(choice->second.line, "Choice=" + choice->second.value + " is item " + std::to_string(found + 1) +
                                                        ", not item " + std::to_string(position + 1));
            position = found;
        }
        if (position < 0) return Problem(section.line, "[" + section.name + "] says neither Item= nor Choice=");
        m_answers.dialogs[number] = ListAnswer{position, question->items[static_cast<std::size_t>(position)], question->title};
    }

    void Destination(const Section& section) {
        const auto keys = Keys(section, {"Directory"});
        auto directory = keys.find("Directory");
        if (directory == keys.end() || directory->second.value.empty())
            return Problem(section.line, "[Destination] says no Directory=");
        m_answers.directory = directory->second.value;
    }

    void Messages(const Section& section) {
        for (const auto& [key, value] : Keys(section, {"Previous Version", "Restart", "Reboot"})) {
            if (const char* button = Button(Ask::kRestart, value)) m_answers.messages[key] = button;
        }
    }

    void Files(const Section& section, Ask ask, std::vector<FileAnswer>& into) {
        std::set<std::string> seen;
        for (const Section::Value& value : section.values) {
            bool listed = false;
            for (const std::string& name : m_lists.names) listed = listed || EqualNoCase(name, value.key);
            if (!listed) {
                Problem(value.line, "[" + section.name + "] " + value.key + ": the script copies no such file");
            } else if (!seen.insert(FoldName(value.key)).second) {
                Problem(value.line, value.key + " is given twice");
            } else if (const char* button = Button(ask, value)) {
                into.push_back(FileAnswer{value.key, button});
            }
        }
    }

    void Disks(const Section& section) {
        for (const Section::Value& value : section.values) {
            const int disk = NumberAfter(value.key, "Disk");
            if (disk < 2 || disk > m_lists.lastDisk)
                Problem(value.line, "\"" + value.key + "\": the script's disks that are asked for are Disk 2 to Disk " +
                                        std::to_string(m_lists.lastDisk));
            else if (value.value.empty()) Problem(value.line, value.key + " names no folder");
            else if (!m_answers.disks.emplace(disk, value.value).second) Problem(value.line, value.key + " is given twice");
        }
    }

    void Execute(const Section& section) {
        const auto keys = Keys(section, {"Start"});
        auto start = keys.find("Start");
        if (m_script.GetScriptValue("Execute File", "File", nullptr, kPathBufferSize).empty())
            return Problem(section.line, "[Execute File]: the script starts no program");
        if (start == keys.end()) return Problem(section.line, "[Execute File] says no Start=");
        if (const char* button = Button(Ask::kRestart, start->second)) m_answers.startProgram = button;
    }

    // The button a value names, in its canonical caption; null (and a problem) when the
    // question has no such button.
    const char* Button(Ask ask, const Section::Value& value) {
        const MessageQuestion question = Buttons(ask);
        const ButtonPlan plan = PlanButtons(question.style, question.captions[0], question.captions[1], question.captions[2]);
        std::string list;
        for (int i = 0; i < plan.Shown(); ++i) {
            if (EqualNoCase(plan.captions[static_cast<std::size_t>(i)], value.value))
                return question.captions[i] ? question.captions[i] : (i == 0 ? "Yes" : "No");
            list += (i ? ", " : "") + plan.captions[static_cast<std::size_t>(i)];
        }
        Problem(value.line, value.key + "=" + value.value + ": the answer is one of " + list);
        return nullptr;
    }

    const SetupScript& m_script;
    AnswerSet& m_answers;
    std::vector<AnswerProblem>& m_problems;
    CopyLists m_lists;
};

}  // namespace

std::vector<AnswerProblem> ReadAnswers(const SetupScript& file, const SetupScript& script, AnswerSet& answers) {
    std::vector<AnswerProblem> problems;
    const std::vector<Section> sections = SplitSections(file, problems);
    Reader reader(script, answers, problems);
    std::set<std::string> seen;
    for (const Section& section : sections) {
        if (!seen.insert(FoldName(section.name)).second) problems.push_back({section.line, "[" + section.name + "] is given twice"});
        else reader.Read(section);
    }
    return problems;
}

std::string FormatAnswers(const AnswerSet& answers) {
    std::string text =
        "; Answers for SETUP.EXE, written by /RECORD=FILE; replay them with /QUIET /ANSWERS=FILE.\r\n"
        "; Each section is a question as the screen showed it; the setup script manual explains every key.\r\n";
    auto line = [&text](const std::string& key, const std::string& value) { text += key + "=" + value + "\r\n"; };
    auto section = [&text](const std::string& name) { text += "\r\n[" + name + "]\r\n"; };
    if (answers.port) {
        section("ComPort");
        line("Title", answers.port->title);
        line("Port", answers.port->text);
    }
    for (const auto& [number, answer] : answers.dialogs) {
        section(NumberedKey("Dialog", number));
        line("Title", answer.title);
        line("Item", std::to_string(answer.position + 1));
        line("Choice", answer.text);
    }
    if (!answers.directory.empty()) {
        section("Destination");
        line("Directory", answers.directory);
    }
    if (!answers.messages.empty()) section("Messages");
    for (const auto& [key, button] : answers.messages) line(key, button);
    const std::pair<const char*, const std::vector<FileAnswer>*> files[] = {
        {"Replace", &answers.replace}, {"Not Found", &answers.notFound}, {"Copy Error", &answers.copyError}};
    for (const auto& [name, list] : files) {
        if (!list->empty()) section(name);
        for (const FileAnswer& answer : *list) line(answer.file, answer.button);
    }
    if (!answers.disks.empty()) section("Disks");
    for (const auto& [disk, folder] : answers.disks) line(NumberedKey("Disk", disk), folder);
    if (!answers.startProgram.empty()) {
        section("Execute File");
        line("Start", answers.startProgram);
    }
    return text;
}

const char* MessageAnswerKey(Ask ask) {
    switch (ask) {
    case Ask::kPreviousVersion: return "Previous Version";
    case Ask::kRestart: return "Restart";
    case Ask::kReboot: return "Reboot";
    case Ask::kReplace: return "Replace";
    case Ask::kFileNotFound: return "Not Found";
    case Ask::kCopyError: return "Copy Error";
    default: return "";
    }
}

std::string ButtonCaption(const MessageQuestion& question, int value) {
    const ButtonPlan plan = PlanButtons(question.style, question.captions[0], question.captions[1], question.captions[2]);
    for (int i = 0; i < plan.Shown(); ++i)
        if (plan.results[static_cast<std::size_t>(i)] == value) return plan.captions[static_cast<std::size_t>(i)];
    return std::to_string(value);
}

int ButtonResult(const MessageQuestion& question, const std::string& caption) {
    const ButtonPlan plan = PlanButtons(question.style, question.captions[0], question.captions[1], question.captions[2]);
    for (int i = 0; i < plan.Shown(); ++i)
        if (EqualNoCase(plan.captions[static_cast<std::size_t>(i)], caption)) return plan.results[static_cast<std::size_t>(i)];
    return 0;
}

std::string PortTitle(const PortQuestion& question) {
    // The dialog's own caption when the script gives none.
    return question.title.empty() ? "Remote Control" : question.title;
}

}  // namespace setup
