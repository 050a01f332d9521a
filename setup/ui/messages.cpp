// The installer's messages: every question and report, with its default title and text,
// the script section that may replace them, its buttons and what its answer means.
#include "messages.h"

#include "../core/setup_engine.h"
#include "../core/text.h"

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

}  // namespace

bool SetupEngine::AskPreviousVersion() {
    const std::string text = "The Setup program found the previous Version of " + m_installName +
                             "\n\nThe Setup program will restart windows to continue.\n\n"
                             "Do you wish to continue ?";
    return Yes(ShowScriptMessage("Installation", text.c_str(), nullptr, nullptr, nullptr,
                                 "PrevVersion Message", kYesNoQuestion));
}

bool SetupEngine::AskReboot() {
    const std::string text = m_installName + " installation complete.\n\n"
                             "The Setup program will reboot System\nso that the " +
                             m_installName + " can take effect.\n\nDo you wish to reboot System now ?";
    return Yes(ShowScriptMessage(kEndTitle, text.c_str(), nullptr, nullptr, nullptr, "ReBoot Message",
                                 kYesNoQuestion));
}

bool SetupEngine::AskRestart() {
    const std::string text = m_installName + " installation complete.\n\n"
                             "The Setup program will restart Windows\nso that the " +
                             m_installName + " can take effect.\n\nDo you wish to restart Windows now ?";
    return Yes(ShowScriptMessage(kEndTitle, text.c_str(), nullptr, nullptr, nullptr, "Restart Message",
                                 kYesNoQuestion));
}

int SetupEngine::ReportRebootFailure() {
    const std::string text =
        "Can't reboot System. \n\nYou need to reboot System then the " + m_installName + " can take effect.";
    return ShowScriptMessage(kEndTitle, text.c_str(), nullptr, nullptr, nullptr, "Reboot Error Message",
                             style::kOk);
}

int SetupEngine::ReportRestartFailure() {
    const std::string text =
        "Can't restart Window. \n\nYou need to restart Window then the " + m_installName + " can take effect.";
    return ShowScriptMessage(kEndTitle, text.c_str(), nullptr, nullptr, nullptr, "Restart Error Message",
                             style::kOk);
}

int SetupEngine::ReportSelfRestartFailure() {
    return ShowScriptMessage(kEndTitle,
                             "Can't restart Window. \n\nYou need to reboot system then run Setup program again !",
                             nullptr, nullptr, nullptr, "Self Restart Error Message", style::kOk);
}

int SetupEngine::ShowEndMessage() {
    const std::string text = m_installName + " installation is complete.";
    return ShowScriptMessage(kEndTitle, text.c_str(), nullptr, nullptr, nullptr, "End Message", style::kOk);
}

bool SetupEngine::ConfirmStop() {
    const std::string text = m_installName +
                             " installation is not yet complete.\n\n"
                             "Are you sure you want to exit installation ?";
    return Yes(ShowScriptMessage("Terminate Installation", text.c_str(), nullptr, nullptr, nullptr,
                                 "Stop Message", kYesNoQuestion));
}

int SetupEngine::ReportLowDiskSpace(std::uint32_t neededBytes, std::uint32_t freeBytes, int driveIndex) {
    // Counts are unsigned: sizes above 2 GiB must not print as negative numbers.
    const char drive = static_cast<char>('A' + driveIndex);
    const std::string text = m_installName + " installation need " + std::to_string(neededBytes) +
                             " bytes.\n\nThe " + drive + " drive only have " + std::to_string(freeBytes) +
                             " bytes of free space.\n\n"
                             "Insufficient disk space !\n\n"
                             "Exit installation and increase available disk space.";
    return ShowScriptMessage(kErrorTitle, text.c_str(), nullptr, nullptr, nullptr, "Space Message",
                             style::kOk | style::kStopIcon);
}

bool SetupEngine::AskRetypeDirectory() {
    // The directory without its trailing backslash.
    const std::string directory = m_installDir.empty() ? m_installDir : m_installDir.substr(0, m_installDir.size() - 1);
    const std::string text = "The directory of " + directory +
                             " can not be created.\n\nDo you want to type the name of the directory again ?";
    return Yes(ShowScriptMessage(kErrorTitle, text.c_str(), nullptr, nullptr, nullptr, "Dir Message",
                                 kYesNoQuestion));
}

int SetupEngine::AskFileNotFound(const char* path) {
    const std::string text = std::string(path ? path : "") + " can not be found !\n\nDo you want to try again ?";
    return RetryIgnoreExit(ShowScriptMessage(kErrorTitle, text.c_str(), "Retry", "Ignore", "Exit",
                                             "File Lose Message", kRetryIgnoreExit));
}

int SetupEngine::AskCopyError(const char* fileName) {
    const std::string text =
        "To copy the file ( " + std::string(fileName ? fileName : "") + " ) is error !\n\nDo you want to try again ?";
    return RetryIgnoreExit(ShowScriptMessage(kErrorTitle, text.c_str(), "Retry", "Ignore", "Exit",
                                             "Copy Error Message", kRetryIgnoreExit));
}

bool SetupEngine::AskRetryGroup() {
    return Yes(ShowScriptMessage(kErrorTitle, "To create the group is error !!\n\nDo you want to try again ?",
                                 nullptr, nullptr, nullptr, "Dir Message", kYesNoQuestion));
}

int SetupEngine::PromptDiskChange(int disk) {
    const std::string text = "Please change Disk-" + std::to_string(disk - 1) + " to Disk-" + std::to_string(disk);
    return ShowScriptMessage("Insert Disk", text.c_str(), nullptr, nullptr, nullptr, "Disk Message", style::kOk);
}

}  // namespace setup
