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

// A choice from a list: the question's number (the port question: 0), the place chosen
// (from 0), what the list showed there, and the question's title.
struct ListAnswer {
    int number = 0;
    int position = 0;
    std::string text;
    std::string title;
};

// An answer by name: a file question's button by the file's name; a disk's folder by
// "Disk N".
struct NamedAnswer {
    std::string name;
    std::string value;
};

// The messages whose answers are kept, and the file questions, in the order of the
// arrays below.
enum MessageAnswer { kPreviousVersionAnswer, kRestartAnswer, kRebootAnswer, kMessageAnswers };
enum FileQuestion { kReplaceAnswer, kNotFoundAnswer, kCopyErrorAnswer, kFileQuestions };

struct AnswerSet {
    std::optional<ListAnswer> port;
    std::vector<ListAnswer> dialogs;
    std::string directory;                 // as written; empty: none
    std::string messages[kMessageAnswers];  // "Yes", "No" or empty
    std::vector<NamedAnswer> files[kFileQuestions];
    std::vector<NamedAnswer> disks;        // "Disk N": folder as written
    std::string startProgram;              // "Yes", "No" or empty

    const ListAnswer* Dialog(int number) const;
    // The answer of that name (compared without case), or null.
    static const NamedAnswer* Find(const std::vector<NamedAnswer>& answers, const std::string& name);
    // Replaces the answer of that name, or adds it.
    static void Set(std::vector<NamedAnswer>& answers, const std::string& name, const std::string& value);
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

// Where the answer to a message question is kept: its MessageAnswer or FileQuestion; -1
// for a question whose answers are not kept.
int MessageAnswerIndex(Ask ask);
int FileQuestionIndex(Ask ask);
// The [Messages] key of a MessageAnswer; the section of a FileQuestion.
extern const char* const kMessageAnswerKeys[kMessageAnswers];
extern const char* const kFileQuestionSections[kFileQuestions];

// The default caption of the button that gives value, and the value of the button with
// that caption (0 when there is none), for the question's buttons.
std::string ButtonCaption(const MessageQuestion& question, int value);
int ButtonResult(const MessageQuestion& question, const std::string& caption);

// The title the port question shows: the script's, else the dialog's own.
std::string PortTitle(const PortQuestion& question);

}  // namespace setup
