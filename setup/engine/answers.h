// Who answers the installation's questions. Every question the installation asks (each
// message of the catalogue, the port, selection and destination questions, the disk
// changes) goes through one AnswerSource: the person at the screen with the installer's
// dialogs, recorded answers, or the rules of quiet mode.
#pragma once

#include <string>
#include <utility>

namespace setup {

// Message styles and dialog results, with the values of the system's message box.
namespace style {
constexpr int kOk = 0x00;
constexpr int kOkCancel = 0x01;
constexpr int kAbortRetryIgnore = 0x02;
constexpr int kYesNoCancel = 0x03;
constexpr int kYesNo = 0x04;
constexpr int kRetryCancel = 0x05;
constexpr int kStopIcon = 0x10;
constexpr int kQuestionIcon = 0x20;
constexpr int kExclamationIcon = 0x30;
constexpr int kInformationIcon = 0x40;
}  // namespace style

namespace result {
constexpr int kOk = 1;
constexpr int kCancel = 2;
constexpr int kAbort = 3;
constexpr int kRetry = 4;
constexpr int kIgnore = 5;
constexpr int kYes = 6;
constexpr int kNo = 7;
}  // namespace result

struct PortQuestion;
struct SelectQuestion;

// The messages of the catalogue by what they ask.
enum class Ask {
    kReport,           // a report with OK alone: the end, a failure, too little space
    kPreviousVersion,  // remove the earlier version and restart Windows?
    kReboot,
    kRestart,
    kStop,             // end the installation now?
    kRetypeDirectory,  // the directory cannot be created: type another?
    kRetryGroup,       // the program group cannot be created: try again?
    kFileNotFound,     // Retry, Ignore, Exit
    kCopyError,        // Retry, Ignore, Exit
    kReplace,          // Yes, No, Replace All
    kDiskChange,       // put in the next disk
    kUninstall,        // remove the product?
    kRollback,         // undo an earlier installation that did not complete?
};

// One message as the installer would show it.
struct MessageQuestion {
    Ask ask = Ask::kReport;
    const char* section = "";  // the script section that may override it ("Restart Message")
    const char* title = "";
    const char* text = "";
    const char* captions[3] = {nullptr, nullptr, nullptr};
    int style = 0;
    const char* file = "";    // the file the replace question is about, by its name
    int disk = 0;             // the disk a disk change asks for
    const char* folder = "";  // where the disk before it was found
};

// Where an answer came from.
enum class Origin { kUser, kAnswerFile, kCommandLine, kRule };

struct Answer {
    bool cancelled = false;  // the dialog's Cancel; a refused directory; a disk that is nowhere
    int value = 0;           // a message's dialog result; the position chosen in a list
    // A directory as stored; the folder where a disk was found. Cancelled: the directory
    // refused, or the folders where the disk was looked for in vain.
    std::string text;
    Origin origin = Origin::kUser;
    const char* why = "";    // what a rule or a given answer went by, for the log
};

// An answer with its value, where it came from and what it went by.
inline Answer Given(int value, Origin origin, const char* why = "") {
    Answer answer;
    answer.value = value;
    answer.origin = origin;
    answer.why = why;
    return answer;
}

// Cancel, with the directory refused or the folders searched in vain.
inline Answer Cancelled(Origin origin, const char* why, std::string text = std::string()) {
    Answer answer = Given(result::kCancel, origin, why);
    answer.cancelled = true;
    answer.text = std::move(text);
    return answer;
}

class AnswerSource {
public:
    virtual ~AnswerSource() = default;
    // value: the dialog result the message dialog would give (result::kOk ... kNo). A disk
    // change gives in text the disk's folder (empty: the disk was put in where the one
    // before it was), or is cancelled when the disk is nowhere.
    virtual Answer AskMessage(const MessageQuestion& question) = 0;
    // value: the position chosen in the port list (from 0).
    virtual Answer ChoosePort(const PortQuestion& question) = 0;
    // value: the position chosen in [Dialog number]'s list (from 0).
    virtual Answer ChooseItem(int number, const SelectQuestion& question) = 0;
    // text: the destination directory as stored ("C:\APP\").
    virtual Answer ChooseDirectory() = 0;
    // value: result::kYes to start the program of [Execute File], result::kNo not to.
    virtual Answer AllowProgramStart(const std::string& commandLine) = 0;
};

}  // namespace setup
