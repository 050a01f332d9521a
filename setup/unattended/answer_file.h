// The answer file: an INI file a person can read and edit, keyed by what the user saw: a
// question by its dialog's number and title, a chosen entry by its text and its place, a
// message's answer by the caption of its button, a replaced file by its name. It is read
// with the setup script's own reader.
//
//   [ComPort]            Title=, Port=COMn
//   [Dialog N]           Title=, Item=place from 1, Choice=the entry's text
//   [Destination]        Directory=X:\PATH
//   [Messages]           Previous Version=, Restart=, Reboot=   (Yes or No)
//   [Replace]            FILE=Yes, No or Replace All
//   [Disks]              Disk N=folder (relative to the answer file's folder, or full)
//   [Execute File]       Start=Yes or No
#pragma once

#include "../engine/answers.h"
#include "../script/script.h"

#include <string>
#include <vector>

namespace setup {

struct AnswerProblem {
    int line = 0;  // line of the answer file, from 1
    std::string message;
};

// Checks an answer file (loaded as script lines) against the setup script it answers:
// sections, keys and values it does not know, and questions, entries, ports, files and
// disks that the script does not have, are problems.
std::vector<AnswerProblem> CheckAnswers(const SetupScript& file, const SetupScript& script);

// A value of the answer file, its blanks trimmed; empty when it is not there.
std::string AnswerValue(const SetupScript& file, const char* section, const char* key);

// The place (from 0) that a section chooses from a list: its textKey names the entry by
// its text ("Choice", "Port"), else its "Item" by its place; -1 when it says neither.
int AnsweredPlace(const SetupScript& file, const char* section, const char* textKey,
                  const std::vector<std::string>& items);

// The [Messages] key of a message whose answer is kept ("Restart"); null for others.
const char* MessageAnswerKey(Ask ask);

// What the recorder writes: answers by section and key, in the order first given, each
// one replaced when it is given again.
class AnswerText {
public:
    void Set(const std::string& section, const std::string& key, const std::string& value);
    // The file's text, CR LF, with a comment that says what it is.
    std::string Text() const;

private:
    struct Entry {
        std::string section;
        std::string key;
        std::string value;
    };
    std::vector<Entry> m_entries;
};

}  // namespace setup
