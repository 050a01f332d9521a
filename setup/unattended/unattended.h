// A run started with switches: the options read from the command line, the log, the
// answers given beforehand with the rules of quiet mode behind them, the recorder, and the
// exit code. Without switches there is no such run: the installer is the person's at the
// screen, as it always was.
#pragma once

#include "answer_sources.h"
#include "log_writer.h"
#include "options.h"

#include <memory>
#include <string>

class LogFile;

class UnattendedRun : public setup::AnswerFileWriter {
public:
    // arguments: the command line after the program's name, as it was given, for the log.
    UnattendedRun(setup::SetupOptions options, std::string arguments, std::string title, std::string scriptPath,
                  std::string programPath);

    // The run a command line asks for: none without switches. failure gets -1, or the exit
    // code when the program is to end at once (a wrong command line, /?).
    static std::unique_ptr<UnattendedRun> Start(const char* commandLine, const std::string& title,
                                                const std::string& scriptPath, const std::string& programPath,
                                                int& failure);
    ~UnattendedRun();
    UnattendedRun(const UnattendedRun&) = delete;
    UnattendedRun& operator=(const UnattendedRun&) = delete;

    bool Quiet() const { return m_options.quiet; }
    bool Uninstalling() const { return !m_options.uninstall.empty(); }
    // The record to uninstall, as a full path: a relative one lies beside the program.
    std::string RecordPath() const;
    int ExitCode() const { return m_exitCode; }

    // At start-up, before anything is changed: opens the log and writes the start; reports
    // a wrong command line, and shows the usage for /?. False: the program ends now, with
    // ExitCode().
    bool Begin(const std::string& commandLineError);
    // Once the script is loaded: reads and checks the answer file, starts the recording, and
    // gives the engine its answer source and the log as a writer of its journal. False: the
    // program ends, with ExitCode().
    bool Attach(setup::SetupEngine& engine);
    // After the installation: the exit code of the run, also told to the log.
    int Finish(setup::SetupEngine& engine);
    // Ends the program before the installation: the reason goes to the log and, with the
    // usage text when showUsage, to a message box unless the run is quiet.
    void Fail(const std::string& reason, int exitCode, bool showUsage = false);

private:
    bool OpenLog();
    // Writes the whole answer file of /RECORD anew; false when it cannot be written.
    bool Replace(const std::string& text) override;
    bool ReadAnswerFile(const setup::SetupScript& script, setup::SetupScript& file, std::string& folder);
    // Each line of text, after prefix, as a line of the log.
    void Note(const char* prefix, const std::string& text);
    void Show(const std::string& text, unsigned icon) const;

    setup::SetupOptions m_options;
    std::string m_arguments;
    std::string m_title;
    std::string m_scriptPath;
    std::string m_programPath;
    int m_exitCode = 0;
    std::unique_ptr<LogFile> m_logFile;
    std::unique_ptr<setup::LogWriter> m_log;
    setup::SetupScript m_answerFile;  // /ANSWERS, checked
    std::unique_ptr<setup::RuleAnswers> m_rules;
    std::unique_ptr<setup::GivenAnswers> m_given;
    std::unique_ptr<setup::AnswerRecorder> m_recorder;
};
