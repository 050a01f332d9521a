#include "answer_file.h"

#include "../ui/choices.h"
#include "../ui/message_layout.h"
#include "fields.h"
#include "setup_engine.h"
#include "text.h"

#include <algorithm>
#include <cstdarg>
#include <cstdlib>
#include <cstring>

namespace setup {

const char* const kMessageAnswerKeys[kMessageAnswers] = {"Previous Version", "Restart", "Reboot"};
const char* const kFileQuestionSections[kFileQuestions] = {"Replace", "Not Found", "Copy Error"};

namespace {

// One section of the answer file as written, before it is checked.
struct Value {
    std::string key;
    std::string value;
    int line = 0;
};

struct Section {
    std::string name;
    int line = 0;
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
    const std::size_t length = std::strlen(prefix);
    int number = 0;
    if (name.size() <= length + 1 || !EqualNoCase(name.substr(0, length), prefix) || name[length] != ' ' ||
        !SetupScript::ParseScriptInt(name.c_str() + length + 1, &number) || name.find(' ', length + 1) != std::string::npos)
        return 0;
    return number;
}

// The buttons of a message whose answers are kept, with their default captions.
MessageQuestion Buttons(Ask ask) {
    static const char* const kFileButtons[2][3] = {{"Yes", "No", "Replace All"}, {"Retry", "Ignore", "Exit"}};
    MessageQuestion question;
    question.ask = ask;
    const int file = FileQuestionIndex(ask);
    question.style = file < 0 ? style::kYesNo : file == kReplaceAnswer ? style::kYesNoCancel : style::kAbortRetryIgnore;
    for (int i = 0; file >= 0 && i < 3; ++i) question.captions[i] = kFileButtons[file == kReplaceAnswer ? 0 : 1][i];
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
        const std::string kind = FoldName(keyText.substr(0, space == std::string::npos ? 0 : space));
        const bool file = kind.size() >= 4 && kind.compare(kind.size() - 4, 4, "FILE") == 0;
        if (!file && (kind.size() < 6 || kind.compare(kind.size() - 6, 6, "BITMAP") != 0)) continue;
        // Names are read as the copy walk reads them: 29 characters, a slide's first field.
        char value[30];
        int position = 0;
        const std::string text = FitBuffer(SetupScript::ValueOf(line), sizeof value);
        if (file) CopyToBuffer(text, value, sizeof value);
        else if (!NextField(text.c_str(), &position, ',', value, sizeof value)) continue;
        if (!*value || EqualNoCase(value, "NULL")) continue;
        lists.names.push_back(value);
        lists.lastDisk = std::max(lists.lastDisk, std::atoi(keyText.c_str() + space + 1));
    }
    return lists;
}

// Checks the answer file's sections one kind at a time.
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
        for (int kind = 0; kind < kFileQuestions; ++kind)
            if (EqualNoCase(name, kFileQuestionSections[kind])) return Files(section, kind);
        if (EqualNoCase(name, "Disks")) return Disks(section);
        if (EqualNoCase(name, "Execute File")) return Execute(section);
        Problem(section.line,
                "unknown section [%s] (the sections are ComPort, Dialog N, Destination, Messages, Replace, Not Found, "
                "Copy Error, Disks, Execute File)",
                name.c_str());
    }

private:
    void Problem(int line, const char* format, ...) __attribute__((format(printf, 3, 4))) {
        std::va_list arguments;
        va_start(arguments, format);
        m_problems.push_back({line, FormatList(format, arguments)});
        va_end(arguments);
    }

    // The values of the known keys (null when absent), in their order; other and repeated
    // keys are problems.
    template <int kCount>
    void Keys(const Section& section, const char* const (&known)[kCount], const Value* (&found)[kCount]) {
        std::string list;
        for (int i = 0; i < kCount; ++i) {
            found[i] = nullptr;
            list += (i ? ", " : "") + std::string(known[i]);
        }
        for (const Value& value : section.values) {
            int match = -1;
            for (int i = 0; i < kCount; ++i)
                if (EqualNoCase(value.key, known[i])) match = i;
            if (match < 0) Problem(value.line, "unknown key \"%s\" in [%s] (%s)", value.key.c_str(), section.name.c_str(), list.c_str());
            else if (found[match]) Problem(value.line, "%s is given twice", known[match]);
            else found[match] = &value;
        }
    }

    void CheckTitle(const Value* title, const std::string& expected, const char* what) {
        if (title && !EqualNoCase(title->value, expected))
            Problem(title->line, "Title=%s: the script's %s is titled \"%s\"", title->value.c_str(), what, expected.c_str());
    }

    void Port(const Section& section) {
        static const char* const kKeys[] = {"Title", "Port"};
        const Value* found[2];
        Keys(section, kKeys, found);
        const std::optional<PortQuestion> question = LoadPortQuestion(m_script);
        if (!question) return Problem(section.line, "[ComPort]: the script asks no port question");
        CheckTitle(found[0], PortTitle(*question), "port question");
        if (!found[1]) return Problem(section.line, "[ComPort] says no Port=COMn");
        const std::vector<std::string> names = PortNames(*question);
        for (std::size_t i = 0; i < names.size(); ++i)
            if (EqualNoCase(names[i], found[1]->value))
                return void(m_answers.port = ListAnswer{0, static_cast<int>(i), names[i], PortTitle(*question)});
        Problem(found[1]->line, "Port=%s: the port question lists COM1 to COM%d", found[1]->value.c_str(), question->maxComPort);
    }

    void Dialog(const Section& section, int number) {
        static const char* const kKeys[] = {"Title", "Item", "Choice"};
        const Value* found[3];
        Keys(section, kKeys, found);
        std::optional<SelectQuestion> question;
        // The questions end at the first one that is missing.
        for (int k = 1; k <= number && (k == 1 || question); ++k) question = LoadSelectQuestion(m_script, k);
        const char* name = section.name.c_str();
        if (!question) return Problem(section.line, "[%s]: the script has no selection question %d", name, number);
        CheckTitle(found[0], question->title, ("selection question " + std::to_string(number)).c_str());
        const int count = static_cast<int>(question->items.size());
        const char* title = question->title.c_str();
        int position = -1;
        if (const Value* item = found[1]) {
            int value = 0;
            if (!SetupScript::ParseScriptInt(item->value.c_str(), &value) || value < 1 || value > count)
                return Problem(item->line, "Item=%s: [%s] \"%s\" has items 1 to %d", item->value.c_str(), name, title, count);
            position = value - 1;
        }
        if (const Value* choice = found[2]) {
            int match = -1;
            std::string list;
            for (int i = count - 1; i >= 0; --i) {
                if (EqualNoCase(question->items[static_cast<std::size_t>(i)], choice->value)) match = i;
                list = question->items[static_cast<std::size_t>(i)] + (list.empty() ? "" : ", ") + list;
            }
            if (match < 0)
                return Problem(choice->line, "Choice=%s: [%s] \"%s\" has no such item (%s)", choice->value.c_str(), name,
                               title, list.c_str());
            if (position >= 0 && position != match)
                return Problem(choice->line, "Choice=%s is item %d, not item %d", choice->value.c_str(), match + 1, position + 1);
            position = match;
        }
        if (position < 0) return Problem(section.line, "[%s] says neither Item= nor Choice=", name);
        m_answers.dialogs.push_back(
            ListAnswer{number, position, question->items[static_cast<std::size_t>(position)], question->title});
    }

    void Destination(const Section& section) {
        static const char* const kKeys[] = {"Directory"};
        const Value* found[1];
        Keys(section, kKeys, found);
        if (!found[0] || found[0]->value.empty()) return Problem(section.line, "[Destination] says no Directory=");
        m_answers.directory = found[0]->value;
    }

    void Messages(const Section& section) {
        const Value* found[kMessageAnswers];
        Keys(section, kMessageAnswerKeys, found);
        for (int i = 0; i < kMessageAnswers; ++i)
            if (found[i]) m_answers.messages[i] = Button(Ask::kRestart, *found[i]);
    }

    void Files(const Section& section, int kind) {
        std::vector<NamedAnswer>& into = m_answers.files[kind];
        static const Ask kAsks[kFileQuestions] = {Ask::kReplace, Ask::kFileNotFound, Ask::kCopyError};
        for (const Value& value : section.values) {
            bool listed = false;
            for (const std::string& name : m_lists.names) listed = listed || EqualNoCase(name, value.key);
            if (!listed) Problem(value.line, "[%s] %s: the script copies no such file", section.name.c_str(), value.key.c_str());
            else if (AnswerSet::Find(into, value.key)) Problem(value.line, "%s is given twice", value.key.c_str());
            else if (const std::string button = Button(kAsks[kind], value); !button.empty()) into.push_back({value.key, button});
        }
    }

    void Disks(const Section& section) {
        for (const Value& value : section.values) {
            const int disk = NumberAfter(value.key, "Disk");
            if (disk < 2 || disk > m_lists.lastDisk)
                Problem(value.line, "\"%s\": the script's disks that are asked for are Disk 2 to Disk %d", value.key.c_str(),
                        m_lists.lastDisk);
            else if (value.value.empty()) Problem(value.line, "%s names no folder", value.key.c_str());
            else if (AnswerSet::Find(m_answers.disks, NumberedKey("Disk", disk))) Problem(value.line, "%s is given twice", value.key.c_str());
            else m_answers.disks.push_back({NumberedKey("Disk", disk), value.value});
        }
    }

    void Execute(const Section& section) {
        static const char* const kKeys[] = {"Start"};
        const Value* found[1];
        Keys(section, kKeys, found);
        if (m_script.GetScriptValue("Execute File", "File", nullptr, kPathBufferSize).empty())
            return Problem(section.line, "[Execute File]: the script starts no program");
        if (!found[0]) return Problem(section.line, "[Execute File] says no Start=");
        m_answers.startProgram = Button(Ask::kRestart, *found[0]);
    }

    // The button a value names, in its default caption; empty (and a problem) when the
    // question has no such button.
    std::string Button(Ask ask, const Value& value) {
        const MessageQuestion question = Buttons(ask);
        const ButtonPlan plan = PlanButtons(question.style, question.captions[0], question.captions[1], question.captions[2]);
        std::string list;
        for (int i = 0; i < plan.Shown(); ++i) {
            const std::string& caption = plan.captions[static_cast<std::size_t>(i)];
            if (EqualNoCase(caption, value.value)) return caption;
            list += (i ? ", " : "") + caption;
        }
        Problem(value.line, "%s=%s: the answer is one of %s", value.key.c_str(), value.value.c_str(), list.c_str());
        return std::string();
    }

    const SetupScript& m_script;
    AnswerSet& m_answers;
    std::vector<AnswerProblem>& m_problems;
    CopyLists m_lists;
};

}  // namespace

const ListAnswer* AnswerSet::Dialog(int number) const {
    for (const ListAnswer& answer : dialogs)
        if (answer.number == number) return &answer;
    return nullptr;
}

const NamedAnswer* AnswerSet::Find(const std::vector<NamedAnswer>& answers, const std::string& name) {
    for (const NamedAnswer& answer : answers)
        if (EqualNoCase(answer.name, name)) return &answer;
    return nullptr;
}

void AnswerSet::Set(std::vector<NamedAnswer>& answers, const std::string& name, const std::string& value) {
    for (NamedAnswer& answer : answers)
        if (EqualNoCase(answer.name, name)) return void(answer.value = value);
    answers.push_back({name, value});
}

std::vector<AnswerProblem> ReadAnswers(const SetupScript& file, const SetupScript& script, AnswerSet& answers) {
    std::vector<AnswerProblem> problems;
    std::vector<Section> sections;
    for (int i = 0; i < file.LineCount(); ++i) {
        const std::string line = file.GetScriptLine(i);
        const int at = file.SourceLine(i);
        const std::string text = Trimmed(line);
        const auto key = SetupScript::KeyName(line);
        if (text.empty() || text[0] == ';') continue;
        if (const auto header = SetupScript::HeaderName(line)) sections.push_back(Section{std::string(*header), at, {}});
        else if (SetupScript::StartsSection(line)) problems.push_back({at, "not a section header: " + text});
        else if (key && !sections.empty()) sections.back().values.push_back({Trimmed(*key), Trimmed(SetupScript::ValueOf(line)), at});
        else problems.push_back({at, (key ? "an answer before the first section: " : "not KEY=VALUE: ") + text});
    }
    Reader reader(script, answers, problems);
    for (std::size_t i = 0; i < sections.size(); ++i) {
        bool repeated = false;
        for (std::size_t j = 0; j < i; ++j) repeated = repeated || EqualNoCase(sections[j].name, sections[i].name);
        if (repeated) problems.push_back({sections[i].line, "[" + sections[i].name + "] is given twice"});
        else reader.Read(sections[i]);
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
    for (const ListAnswer& answer : answers.dialogs) {
        section(NumberedKey("Dialog", answer.number));
        line("Title", answer.title);
        line("Item", std::to_string(answer.position + 1));
        line("Choice", answer.text);
    }
    if (!answers.directory.empty()) {
        section("Destination");
        line("Directory", answers.directory);
    }
    bool opened = false;
    for (int i = 0; i < kMessageAnswers; ++i) {
        if (answers.messages[i].empty()) continue;
        if (!opened) section("Messages");
        opened = true;
        line(kMessageAnswerKeys[i], answers.messages[i]);
    }
    const std::vector<NamedAnswer>* lists[] = {&answers.files[0], &answers.files[1], &answers.files[2], &answers.disks};
    for (int i = 0; i < 4; ++i) {
        if (!lists[i]->empty()) section(i < kFileQuestions ? kFileQuestionSections[i] : "Disks");
        for (const NamedAnswer& answer : *lists[i]) line(answer.name, answer.value);
    }
    if (!answers.startProgram.empty()) {
        section("Execute File");
        line("Start", answers.startProgram);
    }
    return text;
}

int MessageAnswerIndex(Ask ask) {
    return ask == Ask::kPreviousVersion ? kPreviousVersionAnswer
           : ask == Ask::kRestart       ? kRestartAnswer
           : ask == Ask::kReboot        ? kRebootAnswer
                                        : -1;
}

int FileQuestionIndex(Ask ask) {
    return ask == Ask::kReplace        ? kReplaceAnswer
           : ask == Ask::kFileNotFound ? kNotFoundAnswer
           : ask == Ask::kCopyError    ? kCopyErrorAnswer
                                       : -1;
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
