// Whole runs of the installation through the answer sources: quiet rules, answers given
// beforehand, the recorder, and the journal with the log as its writer.
#include "actions/copy_list.h"
#include "fake_engine.h"
#include "unattended/answer_sources.h"
#include "unattended/log_writer.h"
#include "unattended/options.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

namespace setup {
namespace {

using Strings = std::vector<std::string>;

// A fake machine whose dialog steps and copy are the installer's own.
class RunMachine : public FakeMachine {
public:
    using FakeMachine::FakeMachine;
    std::string sourceDir = "A:\\DISK1\\";

    bool RunComPortDialog() override { return SetupEngine::RunComPortDialog(); }
    bool RunSelectDialogs() override { return SetupEngine::RunSelectDialogs(); }
    bool RunSetDirDialog() override { return SetupEngine::RunSetDirDialog(); }
    bool RunCopyDialog() override {
        NoProgress progress;
        CopyWalk walk(*this, progress, CopyParameters{sourceDir, m_installDir, m_diskCount, m_copyFromSubDir});
        return walk.CopyAllDisks();
    }
    // Every file of the sample's three disks.
    void LayOutDisks(const std::string& root) {
        for (const char* file : {"DISK1\\ACME.EXE", "DISK1\\PRO.DAT", "DISK2\\ACME.HL_", "DISK3\\LICENSE.TXT"})
            AddFile(root + file, file);
    }
};

class MemoryLog : public LogSink {
public:
    Strings lines;
    std::string Now() override { return "T"; }
    void Write(const std::string& line) override { lines.push_back(line.substr(3)); }
    bool Has(const std::string& part) const {
        return std::any_of(lines.begin(), lines.end(), [&](const std::string& l) { return l.find(part) != std::string::npos; });
    }
};

// A quiet run on a fake machine: the rules answer, the log is kept in memory.
struct QuietRun {
    explicit QuietRun(const std::string& script) : machine(script) {
        machine.LayOutDisks("A:\\");
        machine.GetJournal().AddWriter(log);
        machine.SetAnswerSource(&rules);
    }
    RunMachine machine;
    RuleAnswers rules{machine};
    MemoryLog sink;
    LogWriter log{sink};
};

const std::string kScript =
    "[Initiation]\r\nInstall Name=Acme\r\nDefDir=C:\\ACME\r\nSubDir 1=DOC\r\n"
    "[ComPort]\r\nMaxComPort=4\r\nDefComPort=2\r\nFile 1=ACME.INI:0\r\nItem 1.1=Remote,Port\r\n"
    "[Dialog 1]\r\nTitle Name=Edition\r\nInfo Line 1=Which one?\r\nSelect Item 1=Home\r\nSelect Item 2=Pro\r\n"
    "File 1=ACME.INI:0\r\nItem 1.1=Edition,Name\r\n"
    "[DefDir]\r\nFile 1.1=ACME.EXE\r\nDialog 1. SelItem 2. File 1.1=PRO.DAT\r\nFile 2.1=ACME.HLP\r\n"
    "[SubDir 1]\r\nFile 3.1=LICENSE.TXT\r\n"
    "[WIN.INI]\r\nRunFile 1=ACME.EXE\r\n";

// The quiet rules answer every question; the disks are found beside each other.
TEST(QuietRun, TheRulesInstallWithTheDefaultsFromTheDiskFolders) {
    QuietRun run(kScript);
    RunMachine& machine = run.machine;
    machine.HoldBackRestarts();
    machine.RunSetup();

    EXPECT_TRUE(machine.shown.empty()) << "a message was shown: " << machine.shown[0].section;
    EXPECT_EQ(machine.Installs(), (Strings{"C:\\ACME\\ACME.EXE", "C:\\ACME\\ACME.HLP", "C:\\ACME\\DOC\\LICENSE.TXT"}));
    EXPECT_EQ(machine.Content("C:\\ACME\\ACME.HLP"), "DISK2\\ACME.HL_");
    EXPECT_EQ(machine.profileWrites, (Strings{"C:\\ACME\\ACME.INI|Remote|Port=2", "C:\\ACME\\ACME.INI|Edition|Name=Home"}));
    // Start-up programs were added: a restart is due, held back by /NORESTART.
    EXPECT_EQ(machine.LastRunEnd(), RunEnd::kCompleted);
    EXPECT_EQ(machine.QuietExitCode(), exit_code::kRestartNeeded);
    EXPECT_EQ(std::count_if(machine.log.begin(), machine.log.end(),
                            [](const std::string& e) { return e.rfind("exit windows", 0) == 0; }),
              0);
}

TEST(QuietRun, ExitCodesTellHowTheRunEnded) {
    struct Case {
        const char* name;
        std::string script;
        bool holdRestarts;
        std::deque<bool> exitResults;
        int code;
    };
    const std::string plain = "[Initiation]\r\nInstall Name=Acme\r\n";
    const Case cases[] = {
        {"completed", plain, false, {}, exit_code::kSuccess},
        {"restart begun", plain + "Restart Windows=1\r\n", false, {true}, exit_code::kRestartStarted},
        {"reboot held back", plain + "ReBoot System=1\r\n", true, {}, exit_code::kRestartNeeded},
        {"restart refused", plain + "Restart Windows=1\r\n", false, {false, false}, exit_code::kRestartNeeded},
        {"nothing named", "[Initiation]\r\nDefDir=C:\\X\r\n", false, {}, exit_code::kStopped},
        {"no destination", plain + "[DefDir]\r\nFile 1.1=A\r\n", false, {}, exit_code::kStopped},
    };
    for (const Case& c : cases) {
        QuietRun run(c.script);
        RunMachine& machine = run.machine;
        if (c.holdRestarts) machine.HoldBackRestarts();
        machine.exitResults = c.exitResults;
        machine.RunSetup();
        EXPECT_EQ(machine.QuietExitCode(), c.code) << c.name;
        EXPECT_TRUE(machine.shown.empty()) << c.name;
    }
}

TEST(QuietRun, AMissingFileStopsTheRunAndTheLogNamesIt) {
    QuietRun run(kScript);
    run.machine.files.erase("A:\\DISK2\\ACME.HL_");
    run.machine.AddFile("A:\\DISK2\\OTHER.TXT");
    run.machine.RunSetup();

    EXPECT_EQ(run.machine.QuietExitCode(), exit_code::kStopped);
    EXPECT_EQ(run.machine.Installs(), Strings{"C:\\ACME\\ACME.EXE"});
    // DISK2 holds none of disk 2's files; the folder of disk 1 neither.
    EXPECT_TRUE(run.sink.Has("\"Please change Disk-1 to Disk-2\" -> not found in A:\\DISK2\\, A:\\DISK1\\ (rule: the disk's "
                         "files are in none of them)"))
        << run.sink.lines.back();

    QuietRun second(kScript);
    second.machine.files.erase("A:\\DISK1\\ACME.EXE");
    second.machine.RunSetup();
    EXPECT_EQ(second.machine.QuietExitCode(), exit_code::kStopped);
    EXPECT_TRUE(second.machine.Installs().empty());
    EXPECT_TRUE(second.sink.Has("[File Lose Message] \"A:\\DISK1\\ACME.EX_ can not be found ! Do you want to try again ?\" "
                               "-> Exit (rule: a quiet run stops at a file it cannot install)"));
}

// An interactive run with the recorder, then a quiet replay of what it wrote on a fresh
// machine: the same files, INI entries and registry values.
TEST(QuietRun, ARecordedRunReplaysQuietlyToTheSameResult) {
    const std::string script = kScript + "[Register]\r\nKey 1=HKEY_LOCAL_MACHINE\r\nSubKey 1=Software\\Acme\r\n"
                                         "Key Class 1=NULL\r\nName 1.1=Path\r\nData 1.1=ACME.EXE:0\r\n";
    RunMachine person(script);
    person.LayOutDisks("A:\\");
    person.sourceDir = "A:\\DISK1\\";
    person.AddFile("D:\\OLD\\ACME.EXE", "old");
    person.directories.insert("D:\\OLD");
    person.portAnswers = {std::nullopt, 3};  // Cancel, No to the stop question, then COM4
    person.answers["Stop Message"] = {result::kNo};
    person.itemAnswers = {1};
    person.directoryAnswers = {std::string("D:\\OLD\\")};
    person.answers["Replace Message"] = {result::kNo};
    person.answers["Restart Message"] = {result::kNo};
    // The person puts each disk into the drive: the files of the next disk appear in DISK1.
    person.onMessage = [&person](const ShownMessage& shown) {
        if (shown.section == "Disk Message") person.AddFile("A:\\DISK1\\ACME.HL_", "help");
        if (shown.section == "Disk Message" && shown.text.find("Disk-3") != std::string::npos)
            person.AddFile("A:\\DISK1\\LICENSE.TXT", "license");
    };
    struct Recorded : AnswerFileWriter {
        std::string text;
        bool Replace(const std::string& written) override {
            text = written;
            return true;
        }
    } file;
    AnswerRecorder recorder(person.Answers(), file);
    const std::string& recorded = file.text;
    person.SetAnswerSource(&recorder);
    person.RunSetup();
    ASSERT_EQ(person.LastRunEnd(), RunEnd::kCompleted);
    EXPECT_EQ(person.Content("D:\\OLD\\ACME.EXE"), "old");  // No to the replace question

    RunMachine quiet(script);
    quiet.LayOutDisks("B:\\SRC\\");
    quiet.sourceDir = "B:\\SRC\\DISK1\\";
    quiet.AddFile("D:\\OLD\\ACME.EXE", "old");
    quiet.directories.insert("D:\\OLD");
    SetupScript answers;
    answers.AppendScriptText(recorded.data(), recorded.size());
    ASSERT_TRUE(CheckAnswers(answers, quiet).empty()) << recorded;
    RuleAnswers rules(quiet);
    GivenAnswers given(quiet, answers, "B:\\", rules);
    quiet.SetAnswerSource(&given);
    quiet.RunSetup();

    EXPECT_TRUE(quiet.shown.empty());
    EXPECT_EQ(quiet.QuietExitCode(), exit_code::kRestartNeeded);  // the restart was declined
    EXPECT_EQ(quiet.Installs(), person.Installs());
    EXPECT_EQ(quiet.profileWrites, person.profileWrites);
    EXPECT_EQ(quiet.registry, person.registry);
    EXPECT_EQ(quiet.profileLines, person.profileLines);
    EXPECT_EQ(quiet.Content("D:\\OLD\\ACME.EXE"), "old");
    EXPECT_EQ(quiet.profile.at("D:\\OLD\\ACME.INI|REMOTE|PORT"), "4");
}

// A run with answers given beforehand: /DIR, the answer file's choice, its folder for disk
// 2 (relative to the answer file; disk 3 is then found beside it), its Yes to the restart.
struct GivenRun {
    explicit GivenRun(bool withProData) {
        machine.LayOutDisks("A:\\");
        if (!withProData) machine.files.erase("A:\\DISK1\\PRO.DAT");
        machine.AddFile("E:\\ANSWERS\\D2\\ACME.HL_", "moved");
        machine.AddFile("E:\\ANSWERS\\D3\\LICENSE.TXT", "beside");
        given.SetDirectory("D:\\PRO");
        machine.SetAnswerSource(&given);
        machine.GetJournal().AddWriter(log);
        machine.RunSetup();
    }
    static SetupScript Answers() {
        const std::string text = "[Dialog 1]\r\nChoice=Pro\r\n[Disks]\r\nDisk 2=D2\r\n[Messages]\r\nRestart=Yes\r\n";
        SetupScript answers;
        answers.AppendScriptText(text.data(), text.size());
        return answers;
    }
    RunMachine machine{kScript};
    SetupScript answers = Answers();
    RuleAnswers rules{machine};
    GivenAnswers given{machine, answers, "E:\\ANSWERS\\", rules};
    MemoryLog sink;
    LogWriter log{sink};
};

TEST(QuietRun, GivenAnswersComeBeforeTheRules) {
    GivenRun run(false);
    const MemoryLog& sink = run.sink;
    const RunMachine& machine = run.machine;

    // The missing file stops the run, whatever the answer file says.
    EXPECT_EQ(machine.QuietExitCode(), exit_code::kStopped);
    EXPECT_TRUE(sink.Has("destination directory -> D:\\PRO\\ (command line: /DIR)"));
    EXPECT_TRUE(sink.Has("selection 1 \"Edition\" -> item 2 \"Pro\" (answer file)"));
    EXPECT_TRUE(sink.Has("-> Exit (rule: a quiet run stops at a file it cannot install)"));
    EXPECT_TRUE(sink.Has("[Stop Message]"));

    // With the file there, the answer file's disk folder is taken first.
    GivenRun whole(true);
    EXPECT_EQ(whole.machine.Content("D:\\PRO\\ACME.HLP"), "moved");
    EXPECT_EQ(whole.machine.Content("D:\\PRO\\DOC\\LICENSE.TXT"), "beside");  // beside the disk before
    EXPECT_EQ(whole.machine.QuietExitCode(), exit_code::kRestartStarted);
}

TEST(QuietRun, ARefusedDirectoryStopsTheRun) {
    for (const char* directory : {"ACME", "C:ACME", "\\\\SERVER\\ACME"}) {
        RunMachine machine(kScript);
        machine.LayOutDisks("A:\\");
        RuleAnswers rules(machine);
        const SetupScript noFile;
        GivenAnswers given(machine, noFile, "C:\\", rules);
        given.SetDirectory(directory);
        machine.SetAnswerSource(&given);
        machine.RunSetup();
        EXPECT_EQ(machine.QuietExitCode(), exit_code::kStopped) << directory;
        EXPECT_TRUE(machine.Installs().empty()) << directory;
    }
}

// /NORESTART answers No to the restart and reboot questions, before the answer file; the
// earlier-version question and the others go on to the answer file and the rules.
TEST(QuietRun, NoRestartAnswersOnlyTheRestartAndRebootQuestions) {
    const struct {
        const char* name;
        bool (SetupEngine::*ask)();
        const char* answers;  // the answer file
        bool yes;
        const char* why;  // as the log gives it
    } cases[] = {
        {"restart", &SetupEngine::AskRestart, "", false, "(command line: /NORESTART)"},
        {"restart answered Yes", &SetupEngine::AskRestart, "[Messages]\r\nRestart=Yes\r\n", false, "(command line: /NORESTART)"},
        {"reboot answered Yes", &SetupEngine::AskReboot, "[Messages]\r\nReboot=Yes\r\n", false, "(command line: /NORESTART)"},
        {"uninstallation's restart", &SetupEngine::AskUninstallRestart, "", false, "(command line: /NORESTART)"},
        {"earlier version", &SetupEngine::AskPreviousVersion, "", true, "(rule: the default button)"},
        {"earlier version answered No", &SetupEngine::AskPreviousVersion, "[Messages]\r\nPrevious Version=No\r\n", false,
         "(answer file: [Messages])"},
        {"stop", &SetupEngine::ConfirmStop, "", true, "(rule: a quiet run stops when a rule says so)"},
    };
    for (const auto& c : cases) {
        RunMachine machine(kScript);
        SetupScript answers;
        answers.AppendScriptText(c.answers, std::strlen(c.answers));
        RuleAnswers rules(machine);
        GivenAnswers given(machine, answers, "C:\\", rules);
        given.SetNoRestart();
        machine.SetAnswerSource(&given);
        MemoryLog sink;
        LogWriter log(sink);
        machine.GetJournal().AddWriter(log);
        EXPECT_EQ((machine.*c.ask)(), c.yes) << c.name;
        EXPECT_TRUE(sink.Has(c.why)) << c.name << ": " << ::testing::PrintToString(sink.lines);
        EXPECT_TRUE(machine.shown.empty()) << c.name;
    }
}

// The program of [Execute File]: a quiet run starts it only when the answer file says
// Start=Yes; with a person at the screen it starts unless the answer file says Start=No.
TEST(QuietRun, TheProgramStartsOnlyWhenTheAnswerSaysSo) {
    const struct {
        bool quiet;
        const char* answers;
        bool started;
    } cases[] = {
        {true, "", false},
        {true, "[Execute File]\r\nStart=Yes\r\n", true},
        {true, "[Execute File]\r\nStart=No\r\n", false},
        {true, "[execute file]\r\n start = yes \r\n", true},
        {false, "", true},
        {false, "[Execute File]\r\nStart=No\r\n", false},
    };
    for (const auto& c : cases) {
        RunMachine machine("[Execute File]\r\nFile=ACME.EXE:0\r\n");
        machine.SetInstallDir("C:\\ACME\\");
        SetupScript answers;
        answers.AppendScriptText(c.answers, std::strlen(c.answers));
        RuleAnswers rules(machine);
        GivenAnswers given(machine, answers, "C:\\", c.quiet ? static_cast<AnswerSource&>(rules) : machine.Answers());
        machine.SetAnswerSource(&given);
        EXPECT_EQ(machine.RunExecuteFile(), c.started) << c.answers;
        EXPECT_EQ(machine.started, c.started ? Strings{"C:\\ACME\\ACME.EXE"} : Strings{}) << c.answers;
    }
}

// The journal hears of every change once, with what undoing it needs; without writers the
// run asks the machine for nothing more than before.
TEST(Journal, ChangesAreToldWithWhatUndoingThemNeeds) {
    const std::string script = kScript + "[Register]\r\nKey 1=HKEY_CURRENT_USER\r\nSubKey 1=Software\\Acme\r\n"
                                         "Key Class 1=NULL\r\nName 1.1=Font\r\nData 1.1=Times\r\n";
    RunMachine machine(script);
    machine.LayOutDisks("A:\\");
    machine.directories.insert("C:\\ACME");
    machine.AddFile("C:\\ACME\\ACME.EXE", "old");
    machine.WriteProfileValue("Remote", "Port", "1", "C:\\ACME\\ACME.INI");
    RuleAnswers rules(machine);
    machine.SetAnswerSource(&rules);
    MemoryLog sink;
    LogWriter log(sink);
    machine.GetJournal().AddWriter(log);
    machine.OpenRegistryKey(RegistryRoot::kCurrentUser, "Software\\Acme", nullptr);  // there already
    machine.RunSetup();

    EXPECT_TRUE(sink.Has("directory C:\\ACME: already there"));
    EXPECT_TRUE(sink.Has("directory C:\\ACME\\DOC: created"));
    EXPECT_TRUE(sink.Has("file A:\\DISK1\\ACME.EXE -> C:\\ACME\\ACME.EXE: installed, replacing the file that was there "
                         "(14 bytes, CRC-32 EF044124)"));
    EXPECT_TRUE(sink.Has("file A:\\DISK2\\ACME.HL_ -> C:\\ACME\\ACME.HLP: installed, new"));
    EXPECT_TRUE(sink.Has("INI C:\\ACME\\ACME.INI [Remote] Port=2 (was \"1\")"));
    EXPECT_TRUE(sink.Has("INI C:\\ACME\\ACME.INI [Edition] Name=Home (new)"));
    EXPECT_TRUE(sink.Has("win.ini [windows] Run: \"\" -> \"  C:\\ACME\\ACME.EXE\""));
    EXPECT_TRUE(sink.Has("registry key HKEY_CURRENT_USER\\Software\\Acme: already there"));
    EXPECT_TRUE(sink.Has("registry value HKEY_CURRENT_USER\\Software\\Acme \"Font\" = \"Times\""));
}

TEST(Journal, WithoutWritersTheRunIsTheOneItWas) {
    // The person at the screen, no journal: exactly the messages and installs of before.
    RunMachine machine(kScript);
    machine.LayOutDisks("A:\\");
    machine.onMessage = [&machine](const ShownMessage& shown) {
        if (shown.section == "Disk Message") {
            machine.AddFile("A:\\DISK1\\ACME.HL_");
            machine.AddFile("A:\\DISK1\\LICENSE.TXT");
        }
    };
    machine.RunSetup();
    EXPECT_EQ(machine.Messages(), (Strings{"Disk Message", "Disk Message", "Restart Message"}));
    EXPECT_EQ(machine.log[0], "dialog:ComPort");
    EXPECT_EQ(machine.Installs().size(), 3u);
    EXPECT_FALSE(machine.GetJournal().Active());
}

TEST(Log, VersionLibraryResultsInWords) {
    EXPECT_EQ(DescribeInstallResult(0), "installed");
    EXPECT_EQ(DescribeInstallResult(0x10000), "failed: cannot read the source (0x10000)");
    EXPECT_EQ(DescribeInstallResult(0x40 | 0x800), "failed: read-only destination, cannot create the destination (0x840)");
    EXPECT_EQ(DescribeInstallResult(0x80000000u), "failed: unknown result (0x80000000)");
    EXPECT_EQ(DescribeInstallResult(kPathTooLong), "not installed: the path is longer than 255 characters");
    EXPECT_EQ(DescribeInstallResult(kCutShort), "not installed: damaged: it expands to another length than its header states");
    EXPECT_EQ(OneLine("a\r\n\n\tb  c \n"), "a b c");
}

// Every result bit the version library can return, the last one too, in its own words: the
// bits as the version library's documentation publishes them (winver.h's VIF_ values), each
// line written out whole.
TEST(Log, EveryResultBitInWords) {
    const std::pair<std::uint32_t, const char*> cases[] = {
        {0x1, "failed: temporary copy left (0x1)"},                  // VIF_TEMPFILE
        {0x2, "failed: versions differ (0x2)"},                      // VIF_MISMATCH
        {0x4, "failed: source older (0x4)"},                         // VIF_SRCOLD
        {0x8, "failed: languages differ (0x8)"},                     // VIF_DIFFLANG
        {0x10, "failed: code pages differ (0x10)"},                  // VIF_DIFFCODEPG
        {0x20, "failed: file types differ (0x20)"},                  // VIF_DIFFTYPE
        {0x40, "failed: read-only destination (0x40)"},              // VIF_WRITEPROT
        {0x80, "failed: destination in use (0x80)"},                 // VIF_FILEINUSE
        {0x100, "failed: disk full (0x100)"},                        // VIF_OUTOFSPACE
        {0x200, "failed: access denied (0x200)"},                    // VIF_ACCESSVIOLATION
        {0x400, "failed: sharing violation (0x400)"},                // VIF_SHARINGVIOLATION
        {0x800, "failed: cannot create the destination (0x800)"},    // VIF_CANNOTCREATE
        {0x1000, "failed: cannot delete the old file (0x1000)"},     // VIF_CANNOTDELETE
        {0x2000, "failed: cannot rename the copy (0x2000)"},         // VIF_CANNOTRENAME
        {0x4000, "failed: cannot delete the file in use (0x4000)"},  // VIF_CANNOTDELETECUR
        {0x8000, "failed: out of memory (0x8000)"},                  // VIF_OUTOFMEMORY
        {0x10000, "failed: cannot read the source (0x10000)"},       // VIF_CANNOTREADSRC
        {0x20000, "failed: cannot read the destination (0x20000)"},  // VIF_CANNOTREADDST
        {0x40000, "failed: buffer too small (0x40000)"},             // VIF_BUFFTOOSMALL
        {0x80000, "failed: cannot load the expander (0x80000)"},     // VIF_CANNOTLOADLZ32
        {0x100000, "failed: cannot load the cabinet library (0x100000)"},  // VIF_CANNOTLOADCABINET
        {0x200000, "failed: unknown result (0x200000)"},             // no bit of the library's
    };
    for (const auto& [bit, line] : cases) EXPECT_EQ(DescribeInstallResult(bit), line) << std::hex << bit;
}

TEST(DiskFolders, TheNextDiskBesideTheOneBefore) {
    EXPECT_EQ(SiblingDiskFolder("C:\\SRC\\DISK1\\", 2), "C:\\SRC\\DISK2\\");
    EXPECT_EQ(SiblingDiskFolder("C:\\SRC\\DISK9\\", 10), "C:\\SRC\\DISK10\\");
    EXPECT_EQ(SiblingDiskFolder("C:\\SRC\\DISK12", 13), "C:\\SRC\\DISK13\\");
    EXPECT_EQ(SiblingDiskFolder("C:\\SRC\\SETUP\\", 2), "");
    EXPECT_EQ(SiblingDiskFolder("C:\\1\\", 2), "");
    EXPECT_EQ(SiblingDiskFolder("", 2), "");
}

}  // namespace
}  // namespace setup
