// The engine's side of the answer source: the port, selection and destination questions
// asked until they are answered or the user stops, the messages and the disk changes, and
// every answer told to the journal in the words the screen would show.
#include "../script/text.h"
#include "choices.h"
#include "message_layout.h"
#include "messages.h"
#include "setup_engine.h"

#include <cstring>

namespace setup {

Answer SetupEngine::AskQuestion(const MessageQuestion& question) {
    const Answer answer = Answers().AskMessage(question);
    if (m_journal.Active()) {
        const ScriptMessage shown = ComposeScriptMessage(*this, question.section, question.title, question.text);
        std::string said = ButtonCaption(question, answer.value);
        if (question.ask == Ask::kDiskChange)
            said = answer.cancelled ? "not found in " + answer.text : answer.text.empty() ? said : answer.text;
        m_journal.Answered(Format("message \"%s\" [%s] \"%s\"", shown.title.c_str(), question.section, shown.text.c_str()),
                           said, answer);
    }
    return answer;
}

std::string SetupEngine::ChangeDisk(int disk, const std::string& current) {
    const Answer answer = AskDiskChange(disk, current);
    if (answer.cancelled) return std::string();
    return answer.text.empty() ? current : answer.text;
}

bool SetupEngine::RunComPortDialog() {
    const std::optional<PortQuestion> question = LoadPortQuestion(*this);
    if (!question) return true;
    const std::vector<std::string> names = PortNames(*question);
    for (;;) {
        const Answer answer = Answers().ChoosePort(*question);
        const int position = answer.value >= 0 && answer.value < static_cast<int>(names.size()) ? answer.value : 0;
        if (m_journal.Active())
            m_journal.Answered(Format("port \"%s\"", PortTitle(*question).c_str()),
                               answer.cancelled ? "Cancel" : names[static_cast<std::size_t>(position)], answer);
        if (!answer.cancelled) {
            SetComPort(static_cast<std::int16_t>(question->baseValue + position));
            return true;
        }
        if (ConfirmStop()) return false;
    }
}

bool SetupEngine::RunSelectDialogs() {
    for (int number = 1;; ++number) {
        const std::optional<SelectQuestion> question = LoadSelectQuestion(*this, number);
        if (!question) return true;
        // A cancelled question is asked again unless the user stops, so that every
        // question leaves exactly one result.
        for (;;) {
            const Answer answer = Answers().ChooseItem(number, *question);
            const int position =
                answer.value >= 0 && answer.value < static_cast<int>(question->items.size()) ? answer.value : 0;
            if (m_journal.Active())
                m_journal.Answered(Format("selection %d \"%s\"", number, question->title.c_str()),
                                   answer.cancelled ? std::string("Cancel")
                                                    : Format("item %d \"%s\"", position + 1,
                                                             question->items[static_cast<std::size_t>(position)].c_str()),
                                   answer);
            if (!answer.cancelled) {
                AddSelection(static_cast<std::uint16_t>(position + 1), SelectionValue(*question, position).c_str());
                break;
            }
            if (ConfirmStop()) return false;
        }
    }
}

bool SetupEngine::RunSetDirDialog() {
    for (;;) {
        Answer answer = Answers().ChooseDirectory();
        // A directory the undo record cannot be kept in is refused: an installation that
        // could not be undone is never made.
        const std::string problem = answer.cancelled ? std::string() : RecordDestinationProblem(answer.text);
        if (!problem.empty()) answer.cancelled = true;
        if (m_journal.Active())
            m_journal.Answered("destination directory",
                               !answer.cancelled ? answer.text : answer.text.empty() ? "Cancel" : answer.text + " refused",
                               answer);
        if (!answer.cancelled) {
            SetInstallDir(answer.text.c_str());
            return true;
        }
        if (!problem.empty()) {
            ReportDestinationRefused(answer.text, problem);
            if (answer.origin == Origin::kUser) continue;  // the dialog again
        }
        if (ConfirmStop()) return false;
    }
}

std::string SetupEngine::RecordDestinationProblem(const std::string& directory) {
    if (!KeepsUndoRecord()) return std::string();
    // The uninstallation takes a plain full path only, never a whole drive nor a directory
    // that holds the system's own; and the record's own path must fit.
    if (!PlainPath(directory)) return "it is not a plain path of a drive, names and single backslashes";
    if (directory.size() <= 3) return "it is a whole drive";
    for (const std::string& own : {WindowsDirectory(), SystemDirectory()})
        if (FoldName(WithBackslash(own)).compare(0, directory.size(), FoldName(directory)) == 0)
            return "it holds the directory " + own;
    char record[2 * kPathBufferSize];  // room to see that it would not fit
    const std::string installDir = m_installDir;
    m_installDir = directory;  // for a record named by the installation directory's code
    const bool fits = GetScriptString("UnInstall", "Record", nullptr, record, kPathBufferSize) &&
                      ResolvePathRef(record, sizeof record, directory.c_str()) && std::strlen(record) < kPathBufferSize;
    m_installDir = installDir;
    return fits ? std::string() : "the record's path would be longer than a path can be";
}

}  // namespace setup
