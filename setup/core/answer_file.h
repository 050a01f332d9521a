// The answer file: an INI file a person can read and edit, keyed by what the user saw: a
// question by its dialog's number and title, a chosen entry by its text and its place, a
// message's answer by the caption of its button, a file question by the file's name.
//
//   [ComPort]            Title=, Port=COMn
//   [Dialog N]           Title=, Item=position from 1, Choice=the entry's text
//   [Destination]        Directory=X:\PATH
//   [Messages]           Previous Version=, Restart=, Reboot=   (Yes or No)
//   [Replace]            FILE=Yes, No or Replace All
//   [Not Found]          FILE=Retry, Ignore or Exit
//   [Copy Error]         FILE=Retry, Ignore or Exit
//   [Disks]              Disk N=folder (relative to the answer file's folder, or full)
//   [Execute File]       Start=Yes or No
#pragma once

#include "answers.h"
#include "script.h"

#include <map>
#include <optional>
#include <string>
#include <vector>

namespace setup {

// A choice from a list: its place (from 0), what the list showed there, and the
// question's title.
struct ListAnswer {
    int position = 0;
    std::string text;
    std::string title;
};

// A message's answer for one file, by the file's name.
struct FileAnswer {
    std::string file;
    std::string button;
};

struct AnswerSet {
    std::optional<ListAnswer> port;
    std::map<int, ListAnswer> dialogs;          // by dialog number
    std::string directory;                      // as written; empty: none
    std::map<std::string, std::string> messages;  // "Previous Version", "Restart", "Reboot": Yes or No
    std::vector<FileAnswer> replace;
    std::vector<FileAnswer> notFound;
    std::vector<FileAnswer> copyError;
    std::map<int, std::string> disks;           // disk number: folder as written
    std::string startProgram;                   // "Yes", "No" or empty
};

struct AnswerProblem {
    int line = 0;  // line of the answer file, from 1; 0 for the file as a whole
    std::string message;
};

// Reads an answer file (loaded as script lines) for the setup script it answers. Every
// section, key and value is checked against the script: a question, entry, port or file
// that the script does not have is a problem. answers holds what was readable.
std::vector<AnswerProblem> ReadAnswers(const SetupScript& file, const SetupScript& script, AnswerSet& answers);

// The answer file's text (CR LF line ends), with a comment that says what it is.
std::string FormatAnswers(const AnswerSet& answers);

// Where answers of the given message question are kept: the [Messages] key, or the
// section of a file question; empty for a question that is not kept.
const char* MessageAnswerKey(Ask ask);

// The default caption of the button that gives value, and the value of the button with
// that caption (0 when there is none), for the question's buttons.
std::string ButtonCaption(const MessageQuestion& question, int value);
int ButtonResult(const MessageQuestion& question, const std::string& caption);

// The title the port question shows: the script's, else the dialog's own.
std::string PortTitle(const PortQuestion& question);

}  // namespace setup
