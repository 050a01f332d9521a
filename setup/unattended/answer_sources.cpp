#include "answer_sources.h"

#include "../engine/choices.h"
#include "../engine/message_layout.h"
#include "../engine/set_dir.h"
#include "../engine/setup_engine.h"
#include "../script/text.h"

namespace setup {

namespace {

// The first button is the message dialog's default one.
int DefaultButton(const MessageQuestion& question) {
    return PlanButtons(question.style, question.captions[0], question.captions[1], question.captions[2]).results[0];
}

// A directory as the destination dialog would take it; refused, the run stops.
Answer Directory(const std::string& typed, Origin origin, const char* from) {
    const std::optional<std::string> directory = NormalizeInstallDir(typed);
    if (!directory) return Cancelled(origin, "not a directory the destination dialog accepts", typed);
    Answer answer = Given(result::kOk, origin, from);
    answer.text = *directory;
    return answer;
}

}  // namespace

// --- The rules of quiet mode. ---

Answer RuleAnswers::AskMessage(const MessageQuestion& question) {
    switch (question.ask) {
    case Ask::kPreviousVersion:
    case Ask::kReboot:
    case Ask::kRestart:
    case Ask::kReplace:
    case Ask::kUninstall:
    case Ask::kRollback:
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
    return Cancelled(Origin::kRule, "the disk's files are in none of them", searched);
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

GivenAnswers::GivenAnswers(SetupEngine& engine, const SetupScript& answers, std::string answerFolder, AnswerSource& next)
    : m_engine(engine), m_answers(answers), m_folder(std::move(answerFolder)), m_next(next) {}

Answer GivenAnswers::AskMessage(const MessageQuestion& question) {
    const char* message = MessageAnswerKey(question.ask);
    if (message && question.ask != Ask::kPreviousVersion && m_noRestart)
        return Given(result::kNo, Origin::kCommandLine, "/NORESTART");
    const bool replace = question.ask == Ask::kReplace;
    const std::string button = message ? Value("Messages", message) : replace ? Value("Replace", question.file) : "";
    if (!button.empty()) return Given(ButtonResult(question, button), Origin::kAnswerFile, message ? "[Messages]" : "[Replace]");
    const std::string written =
        question.ask == Ask::kDiskChange ? Value("Disks", NumberedKey("Disk", question.disk).c_str()) : "";
    if (!written.empty()) {
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
    const int place = AnsweredPlace(m_answers, "ComPort", "Port", PortNames(question));
    return place >= 0 ? Given(place, Origin::kAnswerFile, "[ComPort]") : m_next.ChoosePort(question);
}

Answer GivenAnswers::ChooseItem(int number, const SelectQuestion& question) {
    const std::string section = NumberedKey("Dialog", number);
    const int place = AnsweredPlace(m_answers, section.c_str(), "Choice", question.items);
    return place >= 0 ? Given(place, Origin::kAnswerFile) : m_next.ChooseItem(number, question);
}

Answer GivenAnswers::ChooseDirectory() {
    const std::string written = Value("Destination", "Directory");
    // Asked again (the directory could not be created and another is wanted): not again.
    if (m_directoryGiven || (m_directory.empty() && written.empty())) return m_next.ChooseDirectory();
    m_directoryGiven = true;
    if (!m_directory.empty()) return Directory(m_directory, Origin::kCommandLine, "/DIR");
    return Directory(written, Origin::kAnswerFile, "[Destination]");
}

Answer GivenAnswers::AllowProgramStart(const std::string& commandLine) {
    const std::string start = Value("Execute File", "Start");
    if (start.empty()) return m_next.AllowProgramStart(commandLine);
    return Given(EqualNoCase(start, "Yes") ? result::kYes : result::kNo, Origin::kAnswerFile, "[Execute File]");
}

// --- The recorder. ---

Answer AnswerRecorder::AskMessage(const MessageQuestion& question) {
    const Answer answer = m_inner.AskMessage(question);
    const char* message = MessageAnswerKey(question.ask);
    if (answer.cancelled || (!message && question.ask != Ask::kReplace)) return answer;
    const std::string button = ButtonCaption(question, answer.value);
    if (message) m_text.Set("Messages", message, button);
    else m_text.Set("Replace", question.file, button);
    Save();
    return answer;
}

Answer AnswerRecorder::ChoosePort(const PortQuestion& question) {
    const Answer answer = m_inner.ChoosePort(question);
    const std::vector<std::string> names = PortNames(question);
    if (answer.cancelled || answer.value < 0 || answer.value >= static_cast<int>(names.size())) return answer;
    m_text.Set("ComPort", "Title", PortTitle(question));
    m_text.Set("ComPort", "Port", names[static_cast<std::size_t>(answer.value)]);
    Save();
    return answer;
}

Answer AnswerRecorder::ChooseItem(int number, const SelectQuestion& question) {
    const Answer answer = m_inner.ChooseItem(number, question);
    if (answer.cancelled || answer.value < 0 || answer.value >= static_cast<int>(question.items.size())) return answer;
    const std::string section = NumberedKey("Dialog", number);
    m_text.Set(section, "Title", question.title);
    m_text.Set(section, "Item", std::to_string(answer.value + 1));
    m_text.Set(section, "Choice", question.items[static_cast<std::size_t>(answer.value)]);
    Save();
    return answer;
}

Answer AnswerRecorder::ChooseDirectory() {
    const Answer answer = m_inner.ChooseDirectory();
    if (answer.cancelled) return answer;
    m_text.Set("Destination", "Directory", answer.text);
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
