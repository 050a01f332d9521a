#include "unattended.h"

#include "../../framework/handles.h"
#include "../../framework/platform.h"
#include "../engine/setup_engine.h"
#include "../res/resource.h"
#include "../script/text.h"
#include "../uninstall/removal.h"

#include <windows.h>


// The log file: each line appended and handed to the system as it is written, so that a
// run that is ended half way leaves its log up to that point.
class LogFile : public setup::LogSink {
public:
    bool Open(const std::string& path) {
        // Every write goes to the end, also with several writers.
        m_file.Reset(fw::OpenForAppend(path.c_str(), FILE_SHARE_READ | FILE_SHARE_WRITE));
        return static_cast<bool>(m_file);
    }

    std::string Now() override {
        SYSTEMTIME time{};
        ::GetLocalTime(&time);
        return setup::Format("%04u-%02u-%02u %02u:%02u:%02u", time.wYear, time.wMonth, time.wDay, time.wHour,
                             time.wMinute, time.wSecond);
    }

    void Write(const std::string& line) override {
        const std::string text = line + "\r\n";
        fw::AppendToFile(m_file.Get(), text.data(), static_cast<DWORD>(text.size()));
    }

private:
    fw::File m_file;
};

namespace {

// The whole of a small text file; false when it cannot be read.
bool ReadTextFile(const char* path, std::string& text) {
    fw::File file(::CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return false;
    const DWORD size = ::GetFileSize(file.Get(), nullptr);
    if (size == INVALID_FILE_SIZE || size > (1u << 20)) return false;  // no answer file is a megabyte long
    text.assign(size, '\0');
    DWORD read = 0;
    return size == 0 || (::ReadFile(file.Get(), &text[0], size, &read, nullptr) && read == size);
}


// The folder of a file's full path, with its backslash.
std::string FolderOf(const std::string& path) {
    char full[MAX_PATH] = {};
    char* name = nullptr;
    const DWORD length = ::GetFullPathNameA(path.c_str(), sizeof full, full, &name);
    if (length == 0 || length >= sizeof full || !name) return std::string();
    return std::string(full, static_cast<std::size_t>(name - full));
}

std::string FileName(const std::string& path) {
    const std::size_t slash = path.rfind('\\');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace

UnattendedRun::UnattendedRun(setup::SetupOptions options, std::string arguments, std::string title,
                             std::string scriptPath, std::string programPath)
    : m_options(std::move(options)),
      m_arguments(std::move(arguments)),
      m_title(std::move(title)),
      m_scriptPath(std::move(scriptPath)),
      m_programPath(std::move(programPath)) {}

UnattendedRun::~UnattendedRun() = default;

std::unique_ptr<UnattendedRun> UnattendedRun::Start(const char* commandLine, const std::string& title,
                                                    const std::string& scriptPath, const std::string& programPath,
                                                    int& failure) {
    const std::string_view arguments = setup::ArgumentsOf(commandLine);
    setup::ParsedOptions parsed = setup::ParseCommandLine(arguments);
    failure = -1;
    if (!parsed.options.Any() && parsed.error.empty()) return nullptr;
    if (parsed.error.empty() && !parsed.options.finish.empty()) {
        // The uninstallation's helper: no window, no log.
        FinishUninstall(parsed.options.finish);
        failure = 0;
        return nullptr;
    }
    auto run = std::make_unique<UnattendedRun>(std::move(parsed.options), std::string(arguments), title, scriptPath,
                                               programPath);
    if (!run->Begin(parsed.error)) failure = run->ExitCode();
    return run;
}

std::string UnattendedRun::RecordPath() const {
    const std::string& record = m_options.uninstall;
    if (record.size() > 1 && (record[1] == ':' || (record[0] == '\\' && record[1] == '\\'))) return record;
    return record[0] == '\\' ? record : FolderOf(m_programPath) + record;
}

bool UnattendedRun::OpenLog() {
    auto file = std::make_unique<LogFile>();
    if (!file->Open(m_options.log)) return false;
    m_logFile = std::move(file);
    m_log = std::make_unique<setup::LogWriter>(*m_logFile);
    m_log->RunStarted(FileName(m_programPath), SETUP_VERSION_TEXT, m_scriptPath, m_arguments);
    return true;
}

bool UnattendedRun::Begin(const std::string& commandLineError) {
    std::string error = commandLineError;
    if (!m_options.log.empty() && !OpenLog() && error.empty()) error = "the log file " + m_options.log + " cannot be opened";
    if (!error.empty()) {
        Fail(error, setup::exit_code::kBadArguments, true);
        return false;
    }
    if (!m_options.usage) return true;
    // The usage text, and nothing installed.
    Note("usage: ", setup::kUsageText);
    if (!Quiet()) Show(setup::kUsageText, MB_ICONINFORMATION);
    m_exitCode = setup::exit_code::kSuccess;
    if (m_log) m_log->RunEnded(setup::RunEnd::kNotStarted, m_exitCode);
    return false;
}

bool UnattendedRun::ReadAnswerFile(const setup::SetupScript& script, setup::SetupScript& file, std::string& folder) {
    std::string text;
    const char* path = m_options.answers.c_str();
    if (!ReadTextFile(path, text)) {
        Fail(setup::Format("the answer file %s cannot be read", path), setup::exit_code::kBadArguments, true);
        return false;
    }
    file.AppendScriptText(text.data(), text.size());
    const std::vector<setup::AnswerProblem> problems = setup::CheckAnswers(file, script);
    folder = FolderOf(path);
    if (problems.empty()) return true;
    std::string reason;
    for (const setup::AnswerProblem& problem : problems)
        reason += setup::Format("%s%s:%d: %s", reason.empty() ? "" : "\n", path, problem.line, problem.message.c_str());
    Fail(reason, setup::exit_code::kBadArguments, true);
    return false;
}

bool UnattendedRun::Attach(setup::SetupEngine& engine) {
    if (m_log) engine.GetJournal().AddWriter(*m_log);
    setup::AnswerSource* source = &engine.Answers();  // the person at the screen
    if (Quiet()) {
        m_rules = std::make_unique<setup::RuleAnswers>(engine);
        source = m_rules.get();
    }
    if (!m_options.answers.empty() || !m_options.directory.empty() || m_options.noRestart) {
        std::string folder;
        if (!m_options.answers.empty() && !ReadAnswerFile(engine, m_answerFile, folder)) return false;
        m_given = std::make_unique<setup::GivenAnswers>(engine, m_answerFile, folder, *source);
        if (!m_options.directory.empty()) m_given->SetDirectory(m_options.directory);
        if (m_options.noRestart) m_given->SetNoRestart();
        source = m_given.get();
    }
    if (!m_options.record.empty()) {
        if (!Replace(setup::AnswerText().Text())) {
            Fail("the answer file " + m_options.record + " cannot be written", setup::exit_code::kBadArguments, true);
            return false;
        }
        m_recorder = std::make_unique<setup::AnswerRecorder>(*source, *this);
        source = m_recorder.get();
    }
    if (m_options.noRestart) engine.HoldBackRestarts();
    engine.SetAnswerSource(source);
    return true;
}

int UnattendedRun::Finish(setup::SetupEngine& engine) {
    m_exitCode = Quiet() ? engine.QuietExitCode() : setup::exit_code::kInteractive;
    engine.GetJournal().RunEnded(engine.LastRunEnd(), m_exitCode);
    return m_exitCode;
}

void UnattendedRun::Fail(const std::string& reason, int exitCode, bool showUsage) {
    m_exitCode = exitCode;
    Note("error: ", reason);
    if (m_log) m_log->RunEnded(setup::RunEnd::kNotStarted, exitCode);
    if (showUsage && !Quiet()) {
        std::string text = reason + "\n\n" + setup::kUsageText;
        if (text[0] >= 'a' && text[0] <= 'z') text[0] = static_cast<char>(text[0] - 'a' + 'A');
        Show(text, MB_ICONSTOP);
    }
}

void UnattendedRun::Note(const char* prefix, const std::string& text) {
    if (!m_log) return;
    for (std::size_t from = 0, end = 0; end != std::string::npos; from = end + 1) {
        end = text.find('\n', from);
        m_log->Note(prefix + text.substr(from, end == std::string::npos ? std::string::npos : end - from));
    }
}

bool UnattendedRun::Replace(const std::string& text) {
    fw::File file(::CreateFileA(m_options.record.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    DWORD written = 0;
    return file && ::WriteFile(file.Get(), text.data(), static_cast<DWORD>(text.size()), &written, nullptr) &&
           written == text.size();
}

void UnattendedRun::Show(const std::string& text, unsigned icon) const {
    ::MessageBoxA(nullptr, text.c_str(), m_title.c_str(), MB_OK | MB_SETFOREGROUND | icon);
}
