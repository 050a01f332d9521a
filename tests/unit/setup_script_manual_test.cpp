// The examples of the setup script manual (docs/setup-script.md), run through the
// installer's own code. Every ```ini block of the manual is a script; the check blocks
// after it say what the installer makes of it:
//   ```expect            one "query = expected value" a line, or a directive that sets
//                        the scene ("installing into C:\DIR\", "chosen in Dialog 1: X",
//                        "chosen port: COM3");
//   ```message SECTION   a message as shown: its title, a line "---", then its text.
// Line breaks and tabs of actual values are written "\n" and "\t"; an expected value in
// double quotes keeps its blanks.
#include "engine/choices.h"
#include "engine/message_layout.h"
#include "engine/messages.h"
#include "engine/set_dir.h"
#include "fake_engine.h"
#include "script/fields.h"
#include "ui/background.h"

#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <iostream>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace setup {
namespace {

struct CheckBlock {
    int line = 0;            // of the block's first line in the manual
    std::string kind;        // "expect" or "message <section>"
    std::vector<std::string> lines;
};

struct Example {
    int line = 0;
    std::string script;      // the block's lines, each ended by CR LF as on a disk
    std::vector<CheckBlock> checks;
};

// The manual's examples. Check blocks before the first example fail the test here.
std::vector<Example> ReadExamples(std::istream& manual) {
    std::vector<Example> examples;
    std::string line;
    int number = 0;
    while (std::getline(manual, line)) {
        ++number;
        if (line.rfind("```", 0) != 0) continue;
        const std::string info = line.substr(3);
        const int start = number + 1;
        std::vector<std::string> body;
        while (std::getline(manual, line) && line.rfind("```", 0) != 0) {
            ++number;
            body.push_back(line);
        }
        ++number;
        if (info == "ini") {
            Example example{start, "", {}};
            for (const std::string& scriptLine : body) example.script += scriptLine + "\r\n";
            examples.push_back(example);
        } else if (info == "expect" || info.rfind("message ", 0) == 0) {
            if (examples.empty()) {
                ADD_FAILURE() << "manual line " << start << ": a check block before any example";
                continue;
            }
            examples.back().checks.push_back(CheckBlock{start, info, body});
        }
    }
    return examples;
}

// The text as the manual writes it: tabs as "\t" and, unless kept, line breaks as "\n".
std::string Shown(const std::string& text, bool lineBreaks = true) {
    std::string shown;
    for (char c : text) shown += c == '\t' ? "\\t" : c == '\n' && lineBreaks ? "\\n" : std::string(1, c);
    return shown;
}

std::string Unquoted(const std::string& value) {
    return value.size() >= 2 && value.front() == '"' && value.back() == '"' ? value.substr(1, value.size() - 2) : value;
}

std::string Joined(const std::vector<std::string>& parts) {
    std::string joined;
    for (const std::string& part : parts) joined += (joined.empty() ? "" : " | ") + part;
    return joined;
}

std::string Upper(std::string text) {
    for (char& c : text) c = static_cast<char>(c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c);
    return text;
}

bool Consume(std::string& text, const std::string& prefix) {
    if (text.rfind(prefix, 0) != 0) return false;
    text.erase(0, prefix.size());
    return true;
}

// One example's script on a machine of the test engine, with the scene the directives set.
class ExampleRun {
public:
    explicit ExampleRun(const std::string& script) : m_machine(script) { m_machine.ReadInitiation(); }

    bool Directive(std::string line) {
        if (Consume(line, "installing into ")) {
            m_machine.SetInstallDir(line.c_str());
            return true;
        }
        if (Consume(line, "chosen in Dialog ")) {
            const std::size_t colon = line.find(": ");
            const int dialog = std::stoi(line.substr(0, colon));
            const std::optional<SelectQuestion> question = LoadSelectQuestion(m_machine, dialog);
            const int position = question ? Position(question->items, line.substr(colon + 2)) : -1;
            if (position < 0 || dialog != m_machine.GetSelectionCount() + 1) return false;
            m_machine.AddSelection(static_cast<std::uint16_t>(position + 1), SelectionValue(*question, position).c_str());
            return true;
        }
        if (Consume(line, "chosen port: ")) {
            const std::optional<PortQuestion> question = LoadPortQuestion(m_machine);
            const int position = question ? Position(PortNames(*question), line) : -1;
            if (position < 0) return false;
            m_machine.SetComPort(static_cast<std::int16_t>(question->baseValue + position));
            return true;
        }
        return false;
    }

    // What the installer makes of the query; empty for a query this test does not know.
    std::optional<std::string> Query(std::string query) {
        if (Consume(query, "[")) return Lookup(query);
        if (Consume(query, "path ")) {
            char reference[kPathBufferSize];
            CopyToBuffer(query, reference, sizeof reference);
            if (!m_machine.ResolvePathRef(reference, sizeof reference, m_machine.m_installDir.c_str())) return "(fails)";
            return std::string(reference);
        }
        if (Consume(query, "fields ")) {
            std::vector<std::string> fields;
            char field[kPathBufferSize];
            for (int at = 0; NextField(query.c_str(), &at, ',', field, sizeof field);) fields.push_back(field);
            return fields.empty() ? "(none)" : Joined(fields);
        }
        if (query == "install name") return m_machine.ReadInitiation() ? m_machine.m_installName : "(none)";
        if (query == "titles") {
            const ProductTitles titles = ReadProductTitles(m_machine);
            return titles.company + " | " + titles.name;
        }
        if (Consume(query, "band ")) {
            const int band = std::stoi(query);
            const std::vector<GradientBand> bands =
                GradientBands(ReadGradientSettings(m_machine), std::stoi(query.substr(query.find(" of ") + 4)));
            const Rgb colour = bands.at(static_cast<std::size_t>(band)).colour;
            return "red " + std::to_string(colour.red) + ", green " + std::to_string(colour.green) + ", blue " +
                   std::to_string(colour.blue);
        }
        if (query == "copy list") {
            m_machine.CountCopyItems();
            const unsigned entries = m_machine.m_copyEntryCount, disks = m_machine.m_diskCount;
            return std::to_string(entries) + (entries == 1 ? " entry on " : " entries on ") + std::to_string(disks) +
                   (disks == 1 ? " disk" : " disks");
        }
        if (Consume(query, "dialog ")) return Dialog(query);
        if (Consume(query, "port ")) return Port(query);
        if (query == "destination text") return ComposeSetDirText(m_machine);
        if (Consume(query, "typed ")) return NormalizeInstallDir(query).value_or("(refused)");
        if (query == "disk space needed") {
            const std::uint32_t bytes = m_machine.GetRequiredDiskSpace();
            return bytes ? std::to_string(bytes) : "(no check)";
        }
        if (Consume(query, "program manager command ")) {
            m_machine.commands.clear();
            m_machine.CreateProgramGroups();
            const std::size_t index = std::stoul(query);
            return index <= m_machine.commands.size() ? m_machine.commands[index - 1] : "(none)";
        }
        if (Consume(query, "ini ")) return Ini(query);
        if (Consume(query, "registry ")) return Registry(query);
        if (Consume(query, "win.ini ")) {
            m_machine.profileLines.clear();
            m_machine.AddStartupEntries();
            return m_machine.profileLines[query];
        }
        if (query == "starts") {
            m_machine.started.clear();
            m_machine.RunExecuteFile();
            return m_machine.started.empty() ? "(nothing)" : m_machine.started[0];
        }
        if (Consume(query, "button ")) {
            ButtonPlan plan = PlanButtons(style::kOk, query.c_str(), nullptr, nullptr);
            ApplyButtonText(m_machine, plan);
            return plan.captions[0];
        }
        return std::nullopt;
    }

    // The message shown for the section (by the operation that shows it, with the
    // arguments the manual names), as its title, "---" and its text.
    std::optional<std::string> Message(const std::string& section) {
        m_machine.SetInstallDir("C:\\BRIGHTLEAF\\");
        m_machine.AddFile("C:\\BRIGHTLEAF\\BLEAF.EXE", "old", LocalTime{2024, 3, 2, 9, 15});
        m_machine.AddFile("A:\\BLEAF.EXE", "new", LocalTime{2024, 5, 17, 14, 30});
        const std::map<std::string, std::function<void()>> operations = {
            {"PrevVersion Message", [this] { m_machine.AskPreviousVersion(); }},
            {"Stop Message", [this] { m_machine.ConfirmStop(); }},
            {"Space Message", [this] { m_machine.ReportLowDiskSpace(5000000, 1200000, 2); }},
            {"Dir Message (directory)", [this] { m_machine.AskRetypeDirectory(); }},
            {"Dir Message (group)", [this] { m_machine.AskRetryGroup(); }},
            {"Disk Message", [this] { m_machine.PromptDiskChange(2); }},
            {"File Lose Message", [this] { m_machine.AskFileNotFound("A:\\BLEAF.EX_"); }},
            {"Copy Error Message", [this] { m_machine.AskCopyError("BLEAF.EXE"); }},
            {"Damaged File Message", [this] { m_machine.AskDamagedFile("NOTES\\README.TXT", 2); }},
            {"Replace Message",
             [this] { m_machine.ConfirmFileReplace("BLEAF.EXE", "BLEAF.EXE", "A:\\", "C:\\BRIGHTLEAF\\"); }},
            {"ReBoot Message", [this] { m_machine.AskReboot(); }},
            {"Restart Message", [this] { m_machine.AskRestart(); }},
            {"Reboot Error Message", [this] { m_machine.ReportRebootFailure(); }},
            {"Restart Error Message", [this] { m_machine.ReportRestartFailure(); }},
            {"Self Restart Error Message", [this] { m_machine.ReportSelfRestartFailure(); }},
            {"End Message", [this] { m_machine.ShowEndMessage(); }},
            {"Uninstall Message", [this] { m_machine.ConfirmUninstall(); }},
            {"Uninstall Error Message",
             [this] {
                 m_machine.ReportUninstallRefused("C:\\BRIGHTLF\\BRIGHTLF.UNR",
                                                  "line 9 names C:\\WINDOWS\\WIN.INI, which lies outside what the "
                                                  "installation could have written");
             }},
            {"Uninstall End Message",
             [this] {
                 m_machine.ReportUninstalled(UndoOutcome{{"C:\\BRIGHTLF\\README.TXT", "C:\\BRIGHTLF\\BRIGHT.INI [Options] Font"},
                                                         {"C:\\BRIGHTLF\\HOME.DAT (access denied)"},
                                                         false});
             }},
            {"Destination Error Message",
             [this] { m_machine.ReportDestinationRefused("C:\\BRIGHT\\\\", "it is not a plain path of a drive, names and single backslashes"); }},
            {"Uninstall Restart Message", [this] { m_machine.AskUninstallRestart(); }},
            {"Rollback Message", [this] { m_machine.ReportRolledBack(UndoOutcome{{"C:\\WINDOWS\\SYSTEM\\LEAFSPL.DLL"}, {}, false}); }},
            {"Rollback Pending Message", [this] { m_machine.AskRollbackPending("C:\\BRIGHTLF\\"); }},
        };
        auto operation = operations.find(section);
        if (operation == operations.end()) return std::nullopt;
        m_machine.shown.clear();
        operation->second();
        if (m_machine.shown.size() != 1) return "(no message)";
        // Each operation composes its default and the dialog takes the script's override.
        const ShownMessage& shown = m_machine.shown[0];
        const ScriptMessage message =
            ComposeScriptMessage(m_machine, shown.section.c_str(), shown.title.c_str(), shown.text.c_str());
        return message.title + "\n---\n" + message.text;
    }

private:
    static int Position(const std::vector<std::string>& items, const std::string& item) {
        for (std::size_t i = 0; i < items.size(); ++i)
            if (items[i] == item) return static_cast<int>(i);
        return -1;
    }

    // "Section] Key" or "Section] Key as number".
    std::optional<std::string> Lookup(const std::string& query) {
        const std::size_t close = query.find("] ");
        if (close == std::string::npos) return std::nullopt;
        const std::string section = query.substr(0, close);
        std::string key = query.substr(close + 2);
        const bool number = key.size() > 10 && key.compare(key.size() - 10, 10, " as number") == 0;
        if (number) key.resize(key.size() - 10);
        const std::string value = m_machine.GetScriptValue(section.c_str(), key.c_str(), nullptr, kPathBufferSize);
        if (value.empty()) return "(absent)";
        if (!number) return value;
        // A value that is no number gives each caller its own default.
        const int first = m_machine.GetScriptInt(section.c_str(), key.c_str(), 7);
        if (first != m_machine.GetScriptInt(section.c_str(), key.c_str(), 8)) return "(not a number)";
        return std::to_string(first);
    }

    std::optional<std::string> Dialog(std::string query) {
        const int number = std::stoi(query);
        query.erase(0, query.find(' ') + 1);
        const std::optional<SelectQuestion> question = LoadSelectQuestion(m_machine, number);
        if (query == "choices") return question ? Joined(question->items) : "(no question)";
        if (!question) return "(no question)";
        if (query == "text") return question->info;
        if (query == "selected at first") return question->items.at(static_cast<std::size_t>(question->firstPosition));
        if (Consume(query, "value of ")) {
            const int position = Position(question->items, query);
            return position < 0 ? "(no such choice)" : SelectionValue(*question, position);
        }
        return std::nullopt;
    }

    std::optional<std::string> Port(const std::string& query) {
        const std::optional<PortQuestion> question = LoadPortQuestion(m_machine);
        if (!question) return "(no question)";
        const std::vector<std::string> names = PortNames(*question);
        if (query == "list") return Joined(names);
        if (query == "selected at first") return names.at(static_cast<std::size_t>(PortPreselection(*question)));
        return std::nullopt;
    }

    // "FILE [SECTION] KEY": what the INI writers put there.
    std::optional<std::string> Ini(const std::string& query) {
        const std::size_t open = query.find(" ["), close = query.find("] ");
        if (open == std::string::npos || close == std::string::npos) return std::nullopt;
        m_machine.profile.clear();
        m_machine.WriteIniSections();
        if (m_machine.m_comPortChosen) m_machine.WriteComPortResults(m_machine.m_comPort);
        m_machine.WriteDialogResults();
        m_machine.WriteVersionEntries();
        auto written = m_machine.profile.find(Upper(query.substr(0, open) + "|" +
                                                    query.substr(open + 2, close - open - 2) + "|" +
                                                    query.substr(close + 2)));
        return written == m_machine.profile.end() ? "(not written)" : written->second;
    }

    // "ROOT\PATH | NAME" ("(default)" for the unnamed value): what the registry writers put there.
    std::optional<std::string> Registry(const std::string& query) {
        const std::size_t slash = query.find('\\'), bar = query.find(" | ");
        if (slash == std::string::npos || bar == std::string::npos) return std::nullopt;
        const std::optional<RegistryRoot> root = RegistryRootByName(query.substr(0, slash));
        if (!root) return std::nullopt;
        m_machine.registry.clear();
        m_machine.WriteRegisterSection();
        m_machine.WriteUninstallEntry();
        std::string name = query.substr(bar + 3);
        if (name == "(default)") name = "@";
        auto written = m_machine.registry.find(std::to_string(static_cast<int>(*root)) + "\\" +
                                               query.substr(slash + 1, bar - slash - 1) + "|" + name);
        if (written == m_machine.registry.end()) return "(not written)";
        return written->second == "<no data>" ? "(no data)" : written->second;
    }

    FakeMachine m_machine;
};

class SetupScriptManual : public ::testing::Test {
protected:
    void SetUp() override {
        std::ifstream manual(SETUP_SCRIPT_MANUAL);
        ASSERT_TRUE(manual) << "cannot read " << SETUP_SCRIPT_MANUAL;
        m_examples = ReadExamples(manual);
    }
    std::vector<Example> m_examples;
};

TEST_F(SetupScriptManual, EveryExampleIsChecked) {
    ASSERT_GE(m_examples.size(), 20u) << "the manual's examples were not found";
    for (const Example& example : m_examples) {
        bool checked = false;
        for (const CheckBlock& block : example.checks) checked = checked || !block.lines.empty();
        EXPECT_TRUE(checked) << "manual line " << example.line << ": an example without checks";
    }
}

// Each expect line is a query and its value, or a directive; each message block is the
// whole message.
TEST_F(SetupScriptManual, ExpectationsHold) {
    int checked = 0;
    for (const Example& example : m_examples) {
        ExampleRun run(example.script);
        for (const CheckBlock& block : example.checks) {
            if (block.kind != "expect") {
                std::string expected;
                for (std::size_t i = 0; i < block.lines.size(); ++i) expected += (i ? "\n" : "") + block.lines[i];
                const std::optional<std::string> actual = run.Message(block.kind.substr(8));
                EXPECT_TRUE(actual.has_value()) << "manual line " << block.line << ": unknown message " << block.kind;
                if (actual) {
                    EXPECT_EQ(Shown(*actual, false), expected) << "manual line " << block.line;
                }
                ++checked;
                continue;
            }
            for (std::size_t i = 0; i < block.lines.size(); ++i) {
                const std::string& line = block.lines[i];
                const int at = block.line + static_cast<int>(i);
                const std::size_t equals = line.find(" = ");
                if (equals == std::string::npos) {
                    EXPECT_TRUE(run.Directive(line)) << "manual line " << at << ": cannot set the scene: " << line;
                    continue;
                }
                const std::optional<std::string> actual = run.Query(line.substr(0, equals));
                EXPECT_TRUE(actual.has_value()) << "manual line " << at << ": unknown query: " << line;
                if (actual) {
                    EXPECT_EQ(Shown(*actual), Unquoted(line.substr(equals + 3))) << "manual line " << at;
                }
                ++checked;
            }
        }
    }
    EXPECT_GE(checked, 100) << "fewer checks than the manual is known to hold";
    std::cout << "[          ] " << checked << " checks in " << m_examples.size() << " examples\n";
}

}  // namespace
}  // namespace setup
