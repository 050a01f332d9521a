#include "answer_sources.h"

#include "../ui/choices.h"
#include "../ui/message_layout.h"
#include "../ui/set_dir.h"
#include "setup_engine.h"
#include "text.h"

#include <algorithm>

namespace setup {

namespace {

Answer Given(int value, Origin origin, std::string why = std::string()) {
    Answer answer;
    answer.value = value;
    answer.origin = origin;
    answer.why = std::move(why);
    return answer;
}

// The first button is the message dialog's default one.
int DefaultButton(const MessageQuestion& question) {
    return PlanButtons(question.style, question.captions[0], question.captions[1], question.captions[2]).results[0];
}

Answer Cancelled(Origin origin, std::string why) {
    Answer answer = Given(result::kCancel, origin, std::move(why));
    answer.cancelled = true;
    return answer;
}

std::string WithBackslash(std::string folder) {
    if (!folder.empty() && folder.back() != '\\') folder += '\\';
    return folder;
}

// A directory as the destination dialog would take it; refused, the run stops.
Answer Directory(const std::string& typed, Origin origin, const char* from) {
    const std::optional<std::string> directory = NormalizeInstallDir(typed);
    if (!directory) return Cancelled(origin, std::string(from) + " \"" + typed + "\" is not a directory the dialog accepts");
    Answer answer = Given(result::kOk, origin, from);
    answer.text = *directory;
    return answer;
}

}  // namespace

// --- The person at the screen. ---

Answer ScreenAnswers::AskMessage(const MessageQuestion& question) {
    return Given(m_engine.ShowScriptMessage(question.title, question.text, question.captions[0], question.captions[1],
                                            question.captions[2], question.section, question.style),
                 Origin::kUser);
}

Answer ScreenAnswers::ChoosePort(const PortQuestion& question) {
    const std::optional<int> position = m_engine.ShowPortDialog(question);
    return position ? Given(*position, Origin::kUser) : Cancelled(Origin::kUser, std::string());
}

Answer ScreenAnswers::ChooseItem(int, const SelectQuestion& question) {
    const std::optional<int> position = m_engine.ShowSelectDialog(question);
    return position ? Given(*position, Origin::kUser) : Cancelled(Origin::kUser, std::string());
}

Answer ScreenAnswers::ChooseDirectory() {
    const std::optional<std::string> directory = m_engine.ShowSetDirDialog();
    if (!directory) return Cancelled(Origin::kUser, std::string());
    Answer answer = Given(result::kOk, Origin::kUser);
    answer.text = *directory;
    return answer;
}

Answer ScreenAnswers::AllowProgramStart(const std::string&) {
    // The person's installation starts the program, as it always has.
    return Given(result::kYes, Origin::kUser);
}

// --- The rules of quiet mode. ---

Answer RuleAnswers::AskMessage(const MessageQuestion& question) {
    switch (question.ask) {
    case Ask::kPreviousVersion:
    case Ask::kReboot:
    case Ask::kRestart:
    case Ask::kReplace:
        return Given(DefaultButton(question), Origin::kRule, "the default button");
    case Ask::kStop: return Given(result::kYes, Origin::kRule, "a quiet run stops when a rule says so");
    case Ask::kRetypeDirectory:
    case Ask::kRetryGroup: return Given(result::kNo, Origin::kRule, "a quiet run does not try again");
    case Ask::kFileNotFound:
    case Ask::kCopyError:
        return Given(ButtonResult(question, "Exit"), Origin::kRule, "a quiet run stops at a file it cannot install");
    case Ask::kDiskChange: return FindDisk(question);
    case Ask::kReport: break;
    }
    return Given(result::kOk, Origin::kRule);
}

Answer RuleAnswers::FindDisk(const MessageQuestion& question) {
    const std::string places[2] = {SiblingDiskFolder(question.folder, question.disk), question.folder};
    const char* const found[2] = {"beside the disk before", "where the disk before was"};
    std::string searched;
    for (int i = 0; i < 2; ++i) {
        if (places[i].empty()) continue;
        if (m_engine.DiskFolderHolds(question.disk, places[i])) {
            Answer answer = Given(result::kOk, Origin::kRule, found[i]);
            answer.text = places[i];
            return answer;
        }
        searched += (searched.empty() ? "" : ", ") + places[i];
    }
    return Cancelled(Origin::kRule, "the files of disk " + std::to_string(question.disk) + " are in none of " + searched);
}

Answer RuleAnswers::ChoosePort(const PortQuestion& question) {
    return Given(PortPreselection(question), Origin::kRule, "the preselected entry");
}

Answer RuleAnswers::ChooseItem(int, const SelectQuestion& question) {
    return Given(question.firstPosition, Origin::kRule, "the preselected entry");
}

Answer RuleAnswers::ChooseDirectory() {
    // Read as the dialog reads it, into 100 bytes.
    return Directory(m_engine.GetScriptValue("Initiation", "DefDir", nullptr, 100), Origin::kRule, "DefDir");
}

Answer RuleAnswers::AllowProgramStart(const std::string&) {
    return Given(result::kNo, Origin::kRule, "a quiet run starts a program only when the answer file says Start=Yes");
}

// --- Answers given before the run. ---

GivenAnswers::GivenAnswers(SetupEngine& engine, AnswerSet answers, std::string answerFolder, AnswerSource& next)
    : m_engine(engine), m_answers(std::move(answers)), m_folder(std::move(answerFolder)), m_next(next) {}

Answer GivenAnswers::AskMessage(const MessageQuestion& question) {
    const int message = MessageAnswerIndex(question.ask);
    const int file = FileQuestionIndex(question.ask);
    if (message >= 0 && message != kPreviousVersionAnswer && m_noRestart)
        return Given(result::kNo, Origin::kCommandLine, "/NORESTART");
    if (message >= 0 && !m_answers.messages[message].empty())
        return Given(ButtonResult(question, m_answers.messages[message]), Origin::kAnswerFile, "[Messages]");
    const NamedAnswer* given = file >= 0 ? AnswerSet::Find(m_answers.files[file], question.file) : nullptr;
    // A failed file's answer is used once: Retry given again would ask for ever.
    const std::string used = Format("%d|%s", file, FoldName(question.file).c_str());
    if (given && file != kReplaceAnswer) {
        if (std::find(m_given.begin(), m_given.end(), used) != m_given.end()) given = nullptr;
        else m_given.push_back(used);
    }
    if (given)
        return Given(ButtonResult(question, given->value), Origin::kAnswerFile, Format("[%s]", kFileQuestionSections[file]));
    const NamedAnswer* disk =
        question.ask == Ask::kDiskChange ? AnswerSet::Find(m_answers.disks, NumberedKey("Disk", question.disk)) : nullptr;
    if (disk) {
        const std::string& written = disk->value;
        const bool full = written.size() > 1 && (written[1] == ':' || written[0] == '\\');
        const std::string folder = WithBackslash(full ? written : m_folder + written);
        if (m_engine.DiskFolderHolds(question.disk, folder)) {
            Answer answer = Given(result::kOk, Origin::kAnswerFile, "[Disks]");
            answer.text = folder;
            return answer;
        }
    }
    return m_next.AskMessage(question);
}

Answer GivenAnswers::ChoosePort(const PortQuestion& question) {
    if (m_answers.port) return Given(m_answers.port->position, Origin::kAnswerFile, "[ComPort]");
    return m_next.ChoosePort(question);
}

Answer GivenAnswers::ChooseItem(int number, const SelectQuestion& question) {
    if (const ListAnswer* answer = m_answers.Dialog(number))
        return Given(answer->position, Origin::kAnswerFile, Format("[Dialog %d]", number));
    return m_next.ChooseItem(number, question);
}

Answer GivenAnswers::ChooseDirectory() {
    // Asked again (the directory could not be created and another is wanted): not again.
    if (m_directoryGiven || (m_directory.empty() && m_answers.directory.empty())) return m_next.ChooseDirectory();
    m_directoryGiven = true;
    if (!m_directory.empty()) return Directory(m_directory, Origin::kCommandLine, "/DIR");
    return Directory(m_answers.directory, Origin::kAnswerFile, "[Destination]");
}

Answer GivenAnswers::AllowProgramStart(const std::string& commandLine) {
    if (m_answers.startProgram.empty()) return m_next.AllowProgramStart(commandLine);
    return Given(m_answers.startProgram == "Yes" ? result::kYes : result::kNo, Origin::kAnswerFile, "[Execute File]");
}

// --- The recorder. ---

AnswerRecorder::AnswerRecorder(AnswerSource& inner, std::function<void(const std::string&)> write)
    : m_inner(inner), m_write(std::move(write)) {}

Answer AnswerRecorder::AskMessage(const MessageQuestion& question) {
    const Answer answer = m_inner.AskMessage(question);
    const int message = MessageAnswerIndex(question.ask);
    const int file = FileQuestionIndex(question.ask);
    if (answer.cancelled || (message < 0 && file < 0)) return answer;
    const std::string button = ButtonCaption(question, answer.value);
    if (message >= 0) m_answers.messages[message] = button;
    else AnswerSet::Set(m_answers.files[file], question.file, button);
    Save();
    return answer;
}

Answer AnswerRecorder::ChoosePort(const PortQuestion& question) {
    const Answer answer = m_inner.ChoosePort(question);
    const std::vector<std::string> names = PortNames(question);
    if (answer.cancelled || answer.value < 0 || answer.value >= static_cast<int>(names.size())) return answer;
    m_answers.port = ListAnswer{0, answer.value, names[static_cast<std::size_t>(answer.value)], PortTitle(question)};
    Save();
    return answer;
}

Answer AnswerRecorder::ChooseItem(int number, const SelectQuestion& question) {
    const Answer answer = m_inner.ChooseItem(number, question);
    if (answer.cancelled || answer.value < 0 || answer.value >= static_cast<int>(question.items.size())) return answer;
    const ListAnswer chosen{number, answer.value, question.items[static_cast<std::size_t>(answer.value)], question.title};
    auto kept = std::find_if(m_answers.dialogs.begin(), m_answers.dialogs.end(),
                             [number](const ListAnswer& a) { return a.number == number; });
    if (kept == m_answers.dialogs.end()) m_answers.dialogs.push_back(chosen);
    else *kept = chosen;
    Save();
    return answer;
}

Answer AnswerRecorder::ChooseDirectory() {
    const Answer answer = m_inner.ChooseDirectory();
    if (answer.cancelled) return answer;
    m_answers.directory = answer.text;
    Save();
    return answer;
}

Answer AnswerRecorder::AllowProgramStart(const std::string& commandLine) {
    return m_inner.AllowProgramStart(commandLine);
}

std::string SiblingDiskFolder(const std::string& folder, int disk) {
    std::string path = folder;
    while (!path.empty() && path.back() == '\\') path.pop_back();
    std::size_t digits = path.size();
    while (digits > 0 && path[digits - 1] >= '0' && path[digits - 1] <= '9') --digits;
    const std::size_t slash = path.rfind('\\');
    if (digits == path.size() || slash == std::string::npos || digits <= slash + 1) return std::string();
    return path.substr(0, digits) + std::to_string(disk) + "\\";
}

}  // namespace setup
