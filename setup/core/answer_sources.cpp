#include "answer_sources.h"

#include "../ui/choices.h"
#include "../ui/message_layout.h"
#include "../ui/set_dir.h"
#include "setup_engine.h"
#include "text.h"

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
    switch (question.ask) {
    case Ask::kRestart:
    case Ask::kReboot:
        if (m_noRestart) return Given(result::kNo, Origin::kCommandLine, "/NORESTART");
        [[fallthrough]];
    case Ask::kPreviousVersion: {
        auto found = m_answers.messages.find(MessageAnswerKey(question.ask));
        if (found != m_answers.messages.end())
            return Given(ButtonResult(question, found->second), Origin::kAnswerFile, "[Messages]");
        break;
    }
    case Ask::kReplace:
    case Ask::kFileNotFound:
    case Ask::kCopyError: return FileAnswer(question);
    case Ask::kDiskChange: {
        auto found = m_answers.disks.find(question.disk);
        if (found == m_answers.disks.end()) break;
        const bool full = found->second.size() > 1 && (found->second[1] == ':' || found->second[0] == '\\');
        const std::string folder = WithBackslash(full ? found->second : m_folder + found->second);
        if (!m_engine.DiskFolderHolds(question.disk, folder)) break;
        Answer answer = Given(result::kOk, Origin::kAnswerFile, "[Disks]");
        answer.text = folder;
        return answer;
    }
    default: break;
    }
    return m_next.AskMessage(question);
}

Answer GivenAnswers::FileAnswer(const MessageQuestion& question) {
    const std::vector<setup::FileAnswer>& list = question.ask == Ask::kReplace    ? m_answers.replace
                                                 : question.ask == Ask::kCopyError ? m_answers.copyError
                                                                                   : m_answers.notFound;
    const std::string section = MessageAnswerKey(question.ask);
    for (const setup::FileAnswer& answer : list) {
        if (!EqualNoCase(answer.file, question.file)) continue;
        // A failed file's answer is used once: Retry given again would ask for ever.
        if (question.ask != Ask::kReplace && !m_fileAnswersGiven.insert(section + "|" + FoldName(answer.file)).second)
            break;
        return Given(ButtonResult(question, answer.button), Origin::kAnswerFile, "[" + section + "]");
    }
    return m_next.AskMessage(question);
}

Answer GivenAnswers::ChoosePort(const PortQuestion& question) {
    if (m_answers.port) return Given(m_answers.port->position, Origin::kAnswerFile, "[ComPort]");
    return m_next.ChoosePort(question);
}

Answer GivenAnswers::ChooseItem(int number, const SelectQuestion& question) {
    auto found = m_answers.dialogs.find(number);
    if (found != m_answers.dialogs.end())
        return Given(found->second.position, Origin::kAnswerFile, "[" + NumberedKey("Dialog", number) + "]");
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
    if (answer.cancelled) return answer;
    const std::string button = ButtonCaption(question, answer.value);
    switch (question.ask) {
    case Ask::kPreviousVersion:
    case Ask::kRestart:
    case Ask::kReboot: m_answers.messages[MessageAnswerKey(question.ask)] = button; break;
    case Ask::kReplace:
    case Ask::kFileNotFound:
    case Ask::kCopyError: {
        std::vector<setup::FileAnswer>& list = question.ask == Ask::kReplace    ? m_answers.replace
                                               : question.ask == Ask::kCopyError ? m_answers.copyError
                                                                                 : m_answers.notFound;
        bool replaced = false;
        for (setup::FileAnswer& kept : list)
            if (EqualNoCase(kept.file, question.file)) kept.button = button, replaced = true;
        if (!replaced) list.push_back(setup::FileAnswer{question.file, button});
        break;
    }
    default: return answer;
    }
    Save();
    return answer;
}

Answer AnswerRecorder::ChoosePort(const PortQuestion& question) {
    const Answer answer = m_inner.ChoosePort(question);
    const std::vector<std::string> names = PortNames(question);
    if (answer.cancelled || answer.value < 0 || answer.value >= static_cast<int>(names.size())) return answer;
    m_answers.port = ListAnswer{answer.value, names[static_cast<std::size_t>(answer.value)], PortTitle(question)};
    Save();
    return answer;
}

Answer AnswerRecorder::ChooseItem(int number, const SelectQuestion& question) {
    const Answer answer = m_inner.ChooseItem(number, question);
    if (answer.cancelled || answer.value < 0 || answer.value >= static_cast<int>(question.items.size())) return answer;
    m_answers.dialogs[number] = ListAnswer{answer.value, question.items[static_cast<std::size_t>(answer.value)], question.title};
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
