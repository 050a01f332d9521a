// The answer sources: the person at the screen, answers given beforehand (the answer file,
// /DIR and /NORESTART), the rules of quiet mode, and the recorder that writes down what
// another source answered.
#pragma once

#include "answer_file.h"
#include "answers.h"

#include <functional>
#include <string>
#include <vector>

namespace setup {

class SetupEngine;

// The person at the screen: the installer's own dialogs, through the engine's hooks.
class ScreenAnswers : public AnswerSource {
public:
    explicit ScreenAnswers(SetupEngine& engine) : m_engine(engine) {}
    Answer AskMessage(const MessageQuestion& question) override;
    Answer ChoosePort(const PortQuestion& question) override;
    Answer ChooseItem(int number, const SelectQuestion& question) override;
    Answer ChooseDirectory() override;
    Answer AllowProgramStart(const std::string& commandLine) override;

private:
    SetupEngine& m_engine;
};

// The rules of quiet mode: the preselected entries, DefDir, the default buttons, Exit and
// a stop on every failure, and the search for the next disk beside the one before it.
class RuleAnswers : public AnswerSource {
public:
    explicit RuleAnswers(SetupEngine& engine) : m_engine(engine) {}
    Answer AskMessage(const MessageQuestion& question) override;
    Answer ChoosePort(const PortQuestion& question) override;
    Answer ChooseItem(int number, const SelectQuestion& question) override;
    Answer ChooseDirectory() override;
    Answer AllowProgramStart(const std::string& commandLine) override;

private:
    Answer FindDisk(const MessageQuestion& question);

    SetupEngine& m_engine;
};

// What is given before the run: the answer file (answers), the directory of /DIR and the
// "No" of /NORESTART. What they do not answer, the next source answers. A directory, and
// a file question's answer, are given once: asked again, the next source answers.
class GivenAnswers : public AnswerSource {
public:
    // answerFolder: the answer file's folder, with its backslash, for relative disk folders.
    GivenAnswers(SetupEngine& engine, AnswerSet answers, std::string answerFolder, AnswerSource& next);
    void SetDirectory(const std::string& directory) { m_directory = directory; }
    void SetNoRestart() { m_noRestart = true; }

    Answer AskMessage(const MessageQuestion& question) override;
    Answer ChoosePort(const PortQuestion& question) override;
    Answer ChooseItem(int number, const SelectQuestion& question) override;
    Answer ChooseDirectory() override;
    Answer AllowProgramStart(const std::string& commandLine) override;

private:
    SetupEngine& m_engine;
    AnswerSet m_answers;
    std::string m_folder;
    AnswerSource& m_next;
    std::string m_directory;
    bool m_noRestart = false;
    bool m_directoryGiven = false;
    std::vector<std::string> m_given;  // the failed files whose answer was given: "<question>|<folded name>"
};

// Asks another source and writes down its answers, rewriting the whole answer file after
// each one (write gets the file's text), so that a run that ends early leaves what was
// answered so far. Only answers that a replay can use are kept: not Cancel, not the stop,
// retype and retry questions, not a disk change.
class AnswerRecorder : public AnswerSource {
public:
    AnswerRecorder(AnswerSource& inner, std::function<void(const std::string&)> write);
    Answer AskMessage(const MessageQuestion& question) override;
    Answer ChoosePort(const PortQuestion& question) override;
    Answer ChooseItem(int number, const SelectQuestion& question) override;
    Answer ChooseDirectory() override;
    Answer AllowProgramStart(const std::string& commandLine) override;

    const AnswerSet& Recorded() const { return m_answers; }

private:
    void Save() { m_write(FormatAnswers(m_answers)); }

    AnswerSource& m_inner;
    std::function<void(const std::string&)> m_write;
    AnswerSet m_answers;
};

// The folder of disk N beside the folder of an earlier disk whose name ends in a number:
// "C:\SRC\DISK1\" gives "C:\SRC\DISK2\"; empty when the name ends in no number.
std::string SiblingDiskFolder(const std::string& folder, int disk);

}  // namespace setup
