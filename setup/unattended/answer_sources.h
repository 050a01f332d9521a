// The answer sources of a run with switches: answers given beforehand (the answer file,
// /DIR and /NORESTART), the rules of quiet mode, and the recorder that writes down what
// another source answered. The person at the screen is the engine's own source.
#pragma once

#include "../engine/answers.h"
#include "answer_file.h"

#include <string>

namespace setup {

class SetupEngine;

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

// What is given before the run: the answer file (checked, as script lines), the directory
// of /DIR and the "No" of /NORESTART. What they do not answer, the next source answers. The
// directory is given once: asked again (it could not be created), the next source answers.
class GivenAnswers : public AnswerSource {
public:
    // answerFolder: the answer file's folder, with its backslash, for relative disk folders.
    // answers: the checked answer file; it must outlive this source.
    GivenAnswers(SetupEngine& engine, const SetupScript& answers, std::string answerFolder, AnswerSource& next);
    void SetDirectory(const std::string& directory) { m_directory = directory; }
    void SetNoRestart() { m_noRestart = true; }

    Answer AskMessage(const MessageQuestion& question) override;
    Answer ChoosePort(const PortQuestion& question) override;
    Answer ChooseItem(int number, const SelectQuestion& question) override;
    Answer ChooseDirectory() override;
    Answer AllowProgramStart(const std::string& commandLine) override;

private:
    std::string Value(const char* section, const char* key) const { return AnswerValue(m_answers, section, key); }

    SetupEngine& m_engine;
    const SetupScript& m_answers;
    std::string m_folder;
    AnswerSource& m_next;
    std::string m_directory;
    bool m_noRestart = false;
    bool m_directoryGiven = false;
};

// Where the recorder writes: the whole answer file, each time anew; false when it cannot.
class AnswerFileWriter {
public:
    virtual ~AnswerFileWriter() = default;
    virtual bool Replace(const std::string& text) = 0;
};

// Asks another source and writes down its answers, rewriting the whole answer file after
// each one, so that a run that ends early leaves what was
// answered so far. Only answers that a replay uses are kept: the choices, the destination,
// the replace, earlier-version, restart and reboot questions; not Cancel.
class AnswerRecorder : public AnswerSource {
public:
    AnswerRecorder(AnswerSource& inner, AnswerFileWriter& file) : m_inner(inner), m_file(file) {}
    Answer AskMessage(const MessageQuestion& question) override;
    Answer ChoosePort(const PortQuestion& question) override;
    Answer ChooseItem(int number, const SelectQuestion& question) override;
    Answer ChooseDirectory() override;
    Answer AllowProgramStart(const std::string& commandLine) override;

private:
    void Save() { m_file.Replace(m_text.Text()); }

    AnswerSource& m_inner;
    AnswerFileWriter& m_file;
    AnswerText m_text;
};

// The folder of disk N beside the folder of an earlier disk whose name ends in a number:
// "C:\SRC\DISK1\" gives "C:\SRC\DISK2\"; empty when the name ends in no number.
std::string SiblingDiskFolder(const std::string& folder, int disk);

}  // namespace setup
