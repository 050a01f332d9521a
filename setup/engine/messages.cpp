// The installer's messages: every question and report, with its default title and text,
// the script section that may replace them, its buttons and what its answer means.
#include "messages.h"

#include "../script/text.h"
#include "setup_engine.h"

#include <string>

namespace setup {

ScriptMessage ComposeScriptMessage(const SetupScript& script, const char* section,
                                   const char* defaultTitle, const char* defaultText) {
    ScriptMessage message;
    message.title = script.GetScriptValue(section, "Title", nullptr, kMessageTitleSize);
    if (message.title.empty()) {
        message.title = FitBuffer(defaultTitle ? defaultTitle : "", kMessageTitleSize);
        message.text = FitBuffer(defaultText ? defaultText : "", kMessageTextSize);
        return message;
    }
    for (int number = 1;; ++number) {
        const std::string key = NumberedKey("Line", number);
        std::string line = script.GetScriptValue(section, key.c_str(), nullptr, kPathBufferSize);
        if (line.empty()) break;
        if (EqualNoCase(line, "NULL")) line.clear();
        if (message.text.size() + line.size() + 1 > kMessageTextSize - 1) break;
        message.text += line + "\n";
    }
    return message;
}

namespace {

constexpr const char* kEndTitle = "End of Installation";
constexpr const char* kErrorTitle = "Installation Error";
constexpr int kYesNoQuestion = style::kYesNo | style::kQuestionIcon;
constexpr int kRetryIgnoreExit = style::kAbortRetryIgnore | style::kExclamationIcon;

bool Yes(int answer) { return answer != result::kNo; }

MessageQuestion Question(Ask ask, const char* title, const char* text, const char* section, int style,
                         const char* caption1 = nullptr, const char* caption2 = nullptr,
                         const char* caption3 = nullptr) {
    MessageQuestion question;
    question.ask = ask;
    question.title = title;
    question.text = text;
    question.section = section;
    question.style = style;
    question.captions[0] = caption1;
    question.captions[1] = caption2;
    question.captions[2] = caption3;
    return question;
}

// The file questions show "Retry", "Ignore", "Exit" from left to right; the dialog
// reports the buttons by place (abort, retry, ignore), so the places are turned back
// into what the captions say. Escape and anything else is "Exit".
int RetryIgnoreExit(int answer) {
    switch (answer) {
    case result::kAbort: return result::kRetry;
    case result::kRetry: return result::kIgnore;
    default: return result::kAbort;
    }
}

// The list of what stays, under its heading, within the 1023 characters a message holds.
void AppendStayed(std::string& text, const std::vector<std::string>& stayed, const char* heading) {
    if (!stayed.empty()) text += std::string("\n\n") + heading;
    for (const std::string& entry : stayed) {
        if (text.size() + entry.size() > 900) {
            text += "\n...";
            break;
        }
        text += "\n" + entry;
    }
}

}  // namespace

bool SetupEngine::AskPreviousVersion() {
    const std::string text = "The Setup program found the previous Version of " + m_installName +
                             "\n\nThe Setup program will restart windows to continue.\n\n"
                             "Do you wish to continue ?";
    return Yes(AskQuestion(Question(Ask::kPreviousVersion, "Installation", text.c_str(), "PrevVersion Message",
                                    kYesNoQuestion)).value);
}

bool SetupEngine::AskReboot() {
    const std::string text = m_installName + " installation complete.\n\n"
                             "The Setup program will reboot System\nso that the " +
                             m_installName + " can take effect.\n\nDo you wish to reboot System now ?";
    return Yes(AskQuestion(Question(Ask::kReboot, kEndTitle, text.c_str(), "ReBoot Message", kYesNoQuestion)).value);
}

bool SetupEngine::AskRestart() {
    const std::string text = m_installName + " installation complete.\n\n"
                             "The Setup program will restart Windows\nso that the " +
                             m_installName + " can take effect.\n\nDo you wish to restart Windows now ?";
    return Yes(AskQuestion(Question(Ask::kRestart, kEndTitle, text.c_str(), "Restart Message", kYesNoQuestion)).value);
}

int SetupEngine::ReportRebootFailure() {
    const std::string text =
        "Can't reboot System. \n\nYou need to reboot System then the " + m_installName + " can take effect.";
    return AskQuestion(Question(Ask::kReport, kEndTitle, text.c_str(), "Reboot Error Message", style::kOk)).value;
}

int SetupEngine::ReportRestartFailure() {
    const std::string text =
        "Can't restart Window. \n\nYou need to restart Window then the " + m_installName + " can take effect.";
    return AskQuestion(Question(Ask::kReport, kEndTitle, text.c_str(), "Restart Error Message", style::kOk)).value;
}

int SetupEngine::ReportSelfRestartFailure() {
    return AskQuestion(Question(Ask::kReport, kEndTitle,
                                "Can't restart Window. \n\nYou need to reboot system then run Setup program again !",
                                "Self Restart Error Message", style::kOk))
        .value;
}

int SetupEngine::ShowEndMessage() {
    const std::string text = m_installName + " installation is complete.";
    return AskQuestion(Question(Ask::kReport, kEndTitle, text.c_str(), "End Message", style::kOk)).value;
}

bool SetupEngine::ConfirmStop() {
    const std::string text = m_installName +
                             " installation is not yet complete.\n\n"
                             "Are you sure you want to exit installation ?";
    return Yes(AskQuestion(Question(Ask::kStop, "Terminate Installation", text.c_str(), "Stop Message", kYesNoQuestion))
                   .value);
}

int SetupEngine::ReportLowDiskSpace(std::uint32_t neededBytes, std::uint32_t freeBytes, int driveIndex) {
    // Counts are unsigned: sizes above 2 GiB must not print as negative numbers.
    const char drive = static_cast<char>('A' + driveIndex);
    const std::string text = m_installName + " installation need " + std::to_string(neededBytes) +
                             " bytes.\n\nThe " + drive + " drive only have " + std::to_string(freeBytes) +
                             " bytes of free space.\n\n"
                             "Insufficient disk space !\n\n"
                             "Exit installation and increase available disk space.";
    return AskQuestion(Question(Ask::kReport, kErrorTitle, text.c_str(), "Space Message", style::kOk | style::kStopIcon))
        .value;
}

bool SetupEngine::AskRetypeDirectory() {
    // The directory without its trailing backslash.
    const std::string directory = m_installDir.empty() ? m_installDir : m_installDir.substr(0, m_installDir.size() - 1);
    const std::string text = "The directory of " + directory +
                             " can not be created.\n\nDo you want to type the name of the directory again ?";
    return Yes(AskQuestion(Question(Ask::kRetypeDirectory, kErrorTitle, text.c_str(), "Dir Message", kYesNoQuestion))
                   .value);
}

int SetupEngine::AskFileNotFound(const char* path) {
    const std::string text = std::string(path ? path : "") + " can not be found !\n\nDo you want to try again ?";
    MessageQuestion question =
        Question(Ask::kFileNotFound, kErrorTitle, text.c_str(), "File Lose Message", kRetryIgnoreExit, "Retry", "Ignore", "Exit");
    return RetryIgnoreExit(AskQuestion(question).value);
}

int SetupEngine::AskCopyError(const char* fileName) {
    const std::string text =
        "To copy the file ( " + std::string(fileName ? fileName : "") + " ) is error !\n\nDo you want to try again ?";
    MessageQuestion question =
        Question(Ask::kCopyError, kErrorTitle, text.c_str(), "Copy Error Message", kRetryIgnoreExit, "Retry", "Ignore", "Exit");
    return RetryIgnoreExit(AskQuestion(question).value);
}

int SetupEngine::AskDamagedFile(const std::string& path, int disk) {
    const std::string number = std::to_string(disk);
    const std::string text = path + " on Disk " + number + " is damaged !\n\nPlease insert another copy of Disk " +
                             number + ".\n\nDo you want to try again ?";
    MessageQuestion question = Question(Ask::kCopyError, kErrorTitle, text.c_str(), "Damaged File Message",
                                        kRetryIgnoreExit, "Retry", "Ignore", "Exit");
    return RetryIgnoreExit(AskQuestion(question).value);
}

bool SetupEngine::AskRetryGroup() {
    return Yes(AskQuestion(Question(Ask::kRetryGroup, kErrorTitle,
                                    "To create the group is error !!\n\nDo you want to try again ?", "Dir Message",
                                    kYesNoQuestion))
                   .value);
}

int SetupEngine::PromptDiskChange(int disk) { return AskDiskChange(disk, std::string()).value; }

bool SetupEngine::ConfirmUninstall() {
    const std::string text = m_installName +
                             " will be removed from this computer: the files, directories, program group, INI and "
                             "registry entries that its installation made.\n\nDo you wish to continue ?";
    return Yes(AskQuestion(Question(Ask::kUninstall, "Uninstall", text.c_str(), "Uninstall Message", kYesNoQuestion))
                   .value);
}

int SetupEngine::ReportUninstallRefused(const std::string& record, const std::string& reason) {
    const std::string text =
        "The uninstall record " + record + " can not be used:\n" + reason + ".\n\nNothing has been removed.";
    return AskQuestion(Question(Ask::kReport, "Uninstall Error", text.c_str(), "Uninstall Error Message",
                                style::kOk | style::kStopIcon))
        .value;
}

namespace {

// What could not be undone, after what changed since.
void AppendLeft(std::string& text, const UndoOutcome& outcome) {
    AppendStayed(text, outcome.failed, "These could not be undone and stay:");
    if (outcome.cut) text += "\n\nThe record's last line was cut short as it was written: what it named stays.";
}

}  // namespace

int SetupEngine::ReportDestinationRefused(const std::string& directory, const std::string& reason) {
    const std::string text = "The uninstall record of " + m_installName + " can not be kept in " + directory + ":\n" +
                             reason + ".\n\nPlease choose another directory.";
    return AskQuestion(Question(Ask::kReport, "Destination Directory", text.c_str(), "Destination Error Message",
                                style::kOk | style::kStopIcon))
        .value;
}

int SetupEngine::ReportUninstalled(const UndoOutcome& outcome) {
    std::string text = m_installName + " has been removed.";
    AppendStayed(text, outcome.stayed, "These were changed after the installation and stay:");
    AppendLeft(text, outcome);
    return AskQuestion(Question(Ask::kReport, "End of Uninstall", text.c_str(), "Uninstall End Message", style::kOk))
        .value;
}

bool SetupEngine::AskRollbackPending(const std::string& directory) {
    const std::string text = "An earlier installation of " + m_installName + " did not finish:\n" + directory +
                             "\n\nDo you wish to undo the changes it made before this installation begins ?";
    return Yes(AskQuestion(Question(Ask::kRollback, "Unfinished Installation", text.c_str(), "Rollback Pending Message",
                                    kYesNoQuestion))
                   .value);
}

int SetupEngine::ReportRolledBack(const UndoOutcome& outcome) {
    std::string text = "The installation of " + m_installName + " did not finish: the changes it made have been undone.";
    AppendStayed(text, outcome.stayed, "These were changed by someone else during the installation and stay:");
    AppendLeft(text, outcome);
    return AskQuestion(Question(Ask::kReport, "Installation Undone", text.c_str(), "Rollback Message",
                                style::kOk | style::kInformationIcon))
        .value;
}

bool SetupEngine::AskUninstallRestart() {
    const std::string text = "Some files of " + m_installName +
                             " are in use: they will be removed when Windows restarts.\n\n"
                             "Do you wish to restart Windows now ?";
    return Yes(AskQuestion(Question(Ask::kRestart, "End of Uninstall", text.c_str(), "Uninstall Restart Message",
                                    kYesNoQuestion))
                   .value);
}

Answer SetupEngine::AskDiskChange(int disk, const std::string& current) {
    const std::string text = Format("Please change Disk-%d to Disk-%d", disk - 1, disk);
    MessageQuestion question = Question(Ask::kDiskChange, "Insert Disk", text.c_str(), "Disk Message", style::kOk);
    question.disk = disk;
    question.folder = current.c_str();
    return AskQuestion(question);
}

}  // namespace setup
