#include "fake_undo.h"
#include "unattended/options.h"
#include "uninstall/undo_record.h"
#include "uninstall/uninstall.h"

#include <gtest/gtest.h>

#include <functional>

namespace setup {
namespace {

const std::string kHeader = std::string(kUndoRecordHeader) + "\r\n";

TEST(UndoRecord, ReaderRefusesWhatTheInstallerDidNotWrite) {
    const std::pair<std::string, const char*> cases[] = {
        {"", "it is not an undo record of this installer"},
        {"SETUP UNDO RECORD 1", "it is not an undo record of this installer"},
        {"SETUP UNDO RECORD 2\r\n", "it is not an undo record of this installer"},
        {kHeader + "dest\tC:\\APP\\\nfile\tC:\\APP\\A\t1\r\n", "line 2 is cut short"},
        {kHeader + "dest\tC:\\APP\\\n", "line 2 is cut short"},
        {kHeader + "erase\tC:\\\r\n", "line 2: an entry of an unknown kind"},
        {kHeader + "file\tC:\\A\t1\t2\r\n", "line 2: an entry with the wrong number of fields"},
        {kHeader + "file\tC:\\A\t1x\t2\t0\r\n", "line 2: a file without its size, time and checksum"},
        {kHeader + "dir\tC:\\A%2\r\n", "line 2: a field holds a character a record never writes"},
        {kHeader + "dir\tC:\\A\x01\r\n", "line 2: a field holds a character a record never writes"},
        {kHeader + "ini\tA.INI\tS\tK\tV\tvalue\r\n", "line 2: an INI entry without the value it replaced"},
        {kHeader + "value\tHKEY_USERS\\X\tN\tD\tsome\r\n", "line 2: a registry value of an unknown kind"},
        {kHeader + "key\tHKEY_USERS\\X\t0\r\n", "line 2: a registry key without its levels"},
        {kHeader + "saved\tC:\\A\r\n", "line 2: an entry with the wrong number of fields"},
        {kHeader + "done\tC:\\A\r\n", "line 2: an entry with the wrong number of fields"},
    };
    for (const auto& [text, error] : cases) {
        const UndoRecord record = ReadUndoRecord(text);
        EXPECT_EQ(record.error.substr(0, std::string(error).size()), error) << text;
        EXPECT_TRUE(record.entries.empty()) << text;
    }
    // The last line cut short as it was written is left out; what came before it holds.
    const std::string before = kHeader + "dest\tC:\\APP\\\r\n";
    for (const std::string& cut : {std::string("file\tC:\\APP\\A\t1"), std::string("dir\tC:\\APP\\B\r")}) {
        const UndoRecord record = ReadUndoRecord(before + cut);
        EXPECT_EQ(record.error, "") << cut;
        EXPECT_TRUE(record.cut) << cut;
        EXPECT_EQ(record.wholeLength, before.size()) << cut;
        EXPECT_EQ(record.entries.size(), 1u) << cut;
    }
    // Escapes, and a second installation into the same record.
    const UndoRecord whole = ReadUndoRecord(kHeader + "dir\tC:\\A%09B%25\r\n" + kHeader + "replaced\tC:\\A\\X\r\n");
    ASSERT_EQ(whole.error, "");
    ASSERT_EQ(whole.entries.size(), 2u);
    EXPECT_EQ(whole.entries[0].fields[0], "C:\\A\tB%");
    EXPECT_EQ(whole.entries[1].line, 4);
}

class MemoryRecord : public RecordSink {
public:
    bool Open(const std::string& opened) override {
        path = opened;
        return true;
    }
    bool Append(const std::string& lines) override {
        if (full) return false;
        text += lines;
        return true;
    }
    std::string path, text;
    bool full = false;  // the disk
};

// What the writer writes, the reader reads back field for field: every kind of line, each
// optional field there and not, fields with "%", tabs and other control characters, numbers
// at their full width and with every hexadecimal digit. Events that change nothing write nothing.
TEST(UndoRecord, WriterAndReaderAgree) {
    using Kind = UndoEntry::Kind;
    using Lines = std::vector<std::pair<Kind, std::vector<std::string>>>;
    const std::string odd = "100%\t%41\r\n\x01\x1F\x7F\xE9 end";
    const std::string key = "HKEY_CURRENT_USER\\Software\\Acme", dat = "C:\\ACME\\A.DAT", ini = "C:\\ACME\\A.INI";
    const auto file = [&](bool replaced, std::optional<FileFacts> facts, std::uint32_t result = 0) {
        return [=](UndoWriter& w) { w.FileInstalled({"A:\\A.DA_", dat, result, replaced, facts}); };
    };
    const auto entry = [&](std::optional<std::string> replaced, IniNew made) {
        return [=](UndoWriter& w) { w.IniEntryWritten(ini, "Options", "Size", odd, replaced, made); };
    };
    const auto value = [&](const char* name, const char* data, std::optional<std::string> replaced, bool made = true) {
        return [=](UndoWriter& w) { w.RegistryValueWritten(key, name, data, made, replaced); };
    };
    const auto commands = [](std::vector<std::string> sent, const char* there = nullptr) {
        return [=](UndoWriter& w) {
            if (there) w.ProgramGroupFound(there);
            for (const std::string& command : sent) w.ProgramManagerCommand(command, ProgramManager::Outcome::kAccepted);
        };
    };
    Answer cancelled;
    cancelled.cancelled = true;
    const struct {
        const char* name;
        std::function<void(UndoWriter&)> write;
        Lines read;  // after the record's first line and the destination of the run
    } cases[] = {
        {"destination", [](UndoWriter& w) { w.Answered("destination directory", "D:\\%APP\\", Answer()); },
         {{Kind::kDestination, {"D:\\%APP\\"}}}},
        {"cancelled destination", [&](UndoWriter& w) { w.Answered("destination directory", "D:\\", cancelled); }, {}},
        {"directory made", [](UndoWriter& w) { w.DirectoryMade("C:\\ACME\\DOC", true, false); },
         {{Kind::kDirectory, {"C:\\ACME\\DOC"}}}},
        {"directory there", [](UndoWriter& w) { w.DirectoryMade("C:\\ACME", false, false); }, {}},
        {"numbers at full width", file(false, FileFacts{~0ull, 0xFEDCBA9876543210, 0x89ABCDEF}),
         {{Kind::kFile, {dat, "FFFFFFFFFFFFFFFF", "FEDCBA9876543210", "89ABCDEF"}}}},
        {"small numbers", file(false, FileFacts{0, 0x10, 0x01234567}), {{Kind::kFile, {dat, "0", "10", "1234567"}}}},
        {"file there before", file(true, FileFacts{1, 2, 3}), {{Kind::kReplaced, {dat, "1", "2", "3"}}}},
        {"file without its facts", file(false, std::nullopt), {{Kind::kReplaced, {dat}}}},
        {"file not installed", file(false, FileFacts{1, 2, 3}, 0x10000), {}},
        {"INI value replaced", entry(odd + "was", IniNew::kNothing),
         {{Kind::kIni, {ini, "Options", "Size", odd, "value", odd + "was"}}}},
        {"INI value that was empty", entry("", IniNew::kNothing), {{Kind::kIni, {ini, "Options", "Size", odd, "value", ""}}}},
        {"INI key", entry(std::nullopt, IniNew::kKey), {{Kind::kIni, {ini, "Options", "Size", odd, "key"}}}},
        {"INI section", entry(std::nullopt, IniNew::kSection), {{Kind::kIni, {ini, "Options", "Size", odd, "section"}}}},
        {"INI file", entry(std::nullopt, IniNew::kFile), {{Kind::kIni, {ini, "Options", "Size", odd, "file"}}}},
        {"start-up line", [](UndoWriter& w) { w.StartupLineWritten("Run", "", "  C:\\ACME\\ACME.EXE"); },
         {{Kind::kStartup, {"Run", "", "  C:\\ACME\\ACME.EXE"}}}},
        {"start-up line unchanged", [](UndoWriter& w) { w.StartupLineWritten("Load", "A.EXE", "A.EXE"); }, {}},
        {"registry key", [&](UndoWriter& w) { w.RegistryKeyOpened(key, true, false, 12); }, {{Kind::kKey, {key, "12"}}}},
        {"registry key there", [&](UndoWriter& w) { w.RegistryKeyOpened(key, false, false, 0); }, {}},
        {"new value", value("Path", odd.c_str(), std::nullopt), {{Kind::kValue, {key, "Path", odd, "new"}}}},
        {"default value without data", value(nullptr, nullptr, odd), {{Kind::kValue, {key, "", "", "was", odd}}}},
        {"value that was no text", value("Mode", "Fast", std::string(kNotText)),
         {{Kind::kValue, {key, "Mode", "Fast", "other"}}}},
        {"value not written", value("Mode", "Fast", std::nullopt, false), {}},
        {"group made, an item",
         commands({"[CreateGroup(Acme)]", "[ShowGroup(Acme,1)]", "[AddItem(A.EXE,\"Read 100%\",A.EXE,0)]"}),
         {{Kind::kGroup, {"Acme", "new"}}, {Kind::kItem, {"Acme", "Read 100%"}}}},
        {"group there before", commands({"[CreateGroup(Acme)]"}, "ACME"), {{Kind::kGroup, {"Acme", "old"}}}},
        {"group made again", commands({"[CreateGroup(Acme)]", "[CreateGroup(Acme)]"}),
         {{Kind::kGroup, {"Acme", "new"}}}},
    };
    for (const auto& c : cases) {
        FakeMachine machine("[UnInstall]\r\nRecord=ACME.UNR\r\n");
        machine.SetInstallDir("C:\\ACME\\");
        machine.m_destinationSettled = true;
        MemoryRecord sink;
        UndoWriter writer(machine, sink);
        c.write(writer);
        writer.RunEnded(RunEnd::kCompleted, 0);
        const UndoRecord record = ReadUndoRecord(sink.text);
        if (c.read.empty()) {
            EXPECT_EQ(sink.text, "") << c.name;
            continue;
        }
        ASSERT_EQ(record.error, "") << c.name << "\n" << sink.text;
        EXPECT_EQ(record.entries[0].fields, std::vector<std::string>{"C:\\ACME\\"}) << c.name;
        Lines read;
        for (std::size_t i = 1; i < record.entries.size(); ++i)
            read.emplace_back(record.entries[i].kind, record.entries[i].fields);
        EXPECT_EQ(read, c.read) << c.name << "\n" << sink.text;
    }
}

const char kScript[] =
    "[Initiation]\r\nInstall Name=Acme\r\nWrite INI 1=ACME.INI:0\r\nWrite INI 2=win.ini\r\n"
    "[Write INI 1]\r\nItem 1=Options,Colour,Blue\r\nItem 2=Options,Size,Big\r\n"
    "[Write INI 2]\r\nItem 1=Acme,Version,2\r\n"
    "[WIN.INI]\r\nRunFile 1=ACME.EXE\r\n"
    "[Register]\r\nKey 1=HKEY_CURRENT_USER\r\nSubKey 1=Software\\Acme\r\nKey Class 1=NULL\r\n"
    "Name 1.1=Mode\r\nData 1.1=Fast\r\nName 1.2=Path\r\nData 1.2=ACME.EXE:0\r\n"
    "[UnInstall]\r\nSubKey=Acme\r\nDisplayName=Acme\r\nUnInstallString=SETUP.EXE /UNINSTALL=ACME.UNR\r\nRecord=ACME.UNR\r\n";

// An installation on the fake machine, recorded; the record read back and undone, with what
// changed since left and listed, and the rest as it was before.
TEST(Uninstall, UndoesTheRecordAndKeepsWhatChanged) {
    FakeMachine machine(kScript);
    machine.AddFile("A:\\ACME.EXE", "program");
    machine.AddFile("A:\\NOTES.TXT", "notes");
    machine.AddFile("C:\\WINDOWS\\WIN.INI");
    machine.profile[Upper("ACME.INI|Options|Size")] = "unused";  // (another file's entry)
    machine.profile[Upper("C:\\ACME\\ACME.INI|Options|Size")] = "Small";
    machine.profileLines["Run"] = "OTHER.EXE";
    machine.directories.insert("C:\\OLD");
    MemoryRecord sink;
    UndoWriter writer(machine, sink);
    machine.GetJournal().AddWriter(writer);
    machine.ReadInitiation();
    machine.SetInstallDir("C:\\ACME\\");
    machine.m_destinationSettled = true;
    int replaceAll = 0;
    ASSERT_TRUE(machine.CreateInstallDirectory("C:\\ACME\\"));
    ASSERT_TRUE(machine.InstallOneFile(replaceAll, "ACME.EXE", "A:\\", "C:\\ACME\\"));
    ASSERT_TRUE(machine.InstallOneFile(replaceAll, "NOTES.TXT", "A:\\", "C:\\ACME\\"));
    machine.WriteIniSections();
    machine.AddStartupEntries();
    machine.WriteRegisterSection();
    machine.WriteUninstallEntry();
    EXPECT_EQ(sink.path, "C:\\ACME\\ACME.UNR");
    ASSERT_EQ(ReadUndoRecord(sink.text).error, "") << sink.text;

    // The user's changes, and a program that holds ACME.EXE open.
    machine.AddFile("C:\\ACME\\NOTES.TXT", "my own notes");
    machine.profile[Upper("C:\\ACME\\ACME.INI|Options|Colour")] = "Red";
    machine.registry["1\\Software\\Acme|Mode"] = "Slow";
    machine.profileLines["Run"] += " LATER.EXE";
    machine.AddFile("C:\\ACME\\ACME.UNR", sink.text);
    FakeUndo undo(machine);
    undo.recordPath = "C:\\ACME\\ACME.UNR";
    undo.record = sink.text;
    undo.inUse.insert("C:\\ACME\\ACME.EXE");
    machine.answers["Uninstall Restart Message"] = {result::kNo};
    machine.RunUninstall(undo, undo.recordPath);

    EXPECT_EQ(machine.Messages(), (std::vector<std::string>{"Uninstall Message", "Uninstall End Message",
                                                           "Uninstall Restart Message"}));
    EXPECT_EQ(machine.shown[1].text,
              "Acme has been removed.\n\nThese were changed after the installation and stay:\n"
              "registry value HKEY_CURRENT_USER\\Software\\Acme Mode\nC:\\ACME\\ACME.INI [Options] Colour\n"
              "C:\\ACME\\NOTES.TXT");
    EXPECT_EQ(undo.atRestart, (std::set<std::string>{"C:\\ACME\\ACME.EXE", "C:\\ACME"}));
    EXPECT_FALSE(machine.HasFile("C:\\ACME\\ACME.UNR"));
    EXPECT_EQ(machine.profileLines["Run"], "OTHER.EXE LATER.EXE");
    EXPECT_EQ(machine.profile[Upper("C:\\ACME\\ACME.INI|Options|Size")], "Small");  // set back
    EXPECT_EQ(machine.profile.count(Upper("win.ini|Acme|Version")), 0u);
    EXPECT_EQ(machine.registry.count("1\\Software\\Acme|Path"), 0u);
    EXPECT_EQ(machine.registry.count("2\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Acme|DisplayName"), 0u);
    EXPECT_EQ(machine.QuietExitCode(), exit_code::kRestartNeeded);
}

// Entries that name what the installation could not have written: the record is refused
// and nothing is touched.
TEST(Uninstall, RefusesEntriesOutsideTheInstallation) {
    const std::string start = kHeader + "dest\tC:\\ACME\\\r\n";
    const std::pair<std::string, const char*> cases[] = {
        {start + "file\tC:\\ACME\\..\\WINDOWS\\WIN.INI\t1\t1\t0\r\n", "line 3 names C:\\ACME\\..\\WINDOWS\\WIN.INI"},
        {start + "file\tC:\\WINDOWS\\WIN.INI\t1\t1\t0\r\n", "line 3 names C:\\WINDOWS\\WIN.INI"},
        {start + "dir\tC:\\WINDOWS\r\n", "line 3 names C:\\WINDOWS"},
        {start + "ini\tSYSTEM.INI\tboot\tshell\tx\tkey\r\n", "line 3 names SYSTEM.INI"},
        {start + "value\tHKEY_LOCAL_MACHINE\\Software\tX\tY\tnew\r\n", "line 3 names HKEY_LOCAL_MACHINE\\Software"},
        {start + "group\tStartUp\tnew\r\n", "line 3 names StartUp"},
        {kHeader + "dest\tC:\\WINDOWS\\SYSTEM\\..\r\n", "line 2 names C:\\WINDOWS\\SYSTEM\\.. as"},
        {kHeader + "dest\tC:\\\r\n", "line 2 names C:\\ as"},
        {kHeader + "dir\tC:\\ACME\r\n", "it names no installation directory"},
        {start + "file\tC:\\ACMEX\\A.DAT\t1\t1\t0\r\n", "line 3 names C:\\ACMEX\\A.DAT,"},
        {kHeader + "dest\tD:\\ACME\\\r\n", "it does not lie in the installation directory it names"},
        {kHeader + "dest\tC:\\ACME\\DATA\\\r\n", "it does not lie in the installation directory it names"},
    };
    for (const auto& [text, error] : cases) {
        FakeMachine machine(kScript);
        machine.AddFile("C:\\WINDOWS\\WIN.INI", "keep");
        FakeUndo undo(machine);
        undo.recordPath = "C:\\ACME\\ACME.UNR";
        undo.record = text;
        machine.RunUninstall(undo, undo.recordPath);
        ASSERT_EQ(machine.Messages(), std::vector<std::string>{"Uninstall Error Message"}) << text;
        EXPECT_NE(machine.shown[0].text.find(error), std::string::npos) << machine.shown[0].text;
        EXPECT_TRUE(machine.HasFile("C:\\WINDOWS\\WIN.INI"));
        EXPECT_EQ(machine.QuietExitCode(), exit_code::kStopped);
    }
}

// Names that go into the program manager's commands: a title that closes its quotes, or a
// group named with brackets (even one the script names), would make a command of its own out
// of the rest. A title with brackets inside its quotes is a title like any other.
TEST(Uninstall, RefusesProgramManagerNamesThatWouldMakeCommands) {
    const char* script = "[Initiation]\r\nInstall Name=Acme\r\nGroup 1=Acme\r\nGroup 2=Acme][DeleteGroup(Main)\r\n";
    const struct {
        const char* entry;
        const char* error;  // empty: the record is taken
    } cases[] = {
        {"item\tAcme\tRead\")][DeleteGroup(Main)][ShowGroup(\"", "line 3 names the item Read\")][DeleteGroup(Main)]"},
        {"group\tAcme][DeleteGroup(Main)\tnew", "line 3 names Acme][DeleteGroup(Main),"},
        {"group\tAcme\told\r\nitem\tAcme\tRead [me] (100%25)", ""},
    };
    for (const auto& c : cases) {
        FakeMachine machine(script);
        FakeUndo undo(machine);
        undo.recordPath = "C:\\ACME\\ACME.UNR";
        undo.record = kHeader + "dest\tC:\\ACME\\\r\n" + c.entry + "\r\n";
        machine.RunUninstall(undo, undo.recordPath);
        if (*c.error) {
            ASSERT_EQ(machine.Messages(), std::vector<std::string>{"Uninstall Error Message"}) << c.entry;
            EXPECT_NE(machine.shown[0].text.find(c.error), std::string::npos) << machine.shown[0].text;
            EXPECT_TRUE(machine.commands.empty()) << c.entry;
        } else {
            EXPECT_EQ(machine.Messages(), (std::vector<std::string>{"Uninstall Message", "Uninstall End Message"})) << machine.shown[0].text;
            EXPECT_EQ(machine.commands, (std::vector<std::string>{"[ShowGroup(Acme,1)]", "[DeleteItem(\"Read [me] (100%)\")]"}));
        }
    }
}

// The installation directory alone: refused when it holds the system directory or the
// Windows directory, each by itself (also with the system directory outside the Windows
// one); a directory below either is not refused for it.
TEST(Uninstall, RefusesAnInstallationDirectoryThatHoldsTheSystemsOwn) {
    struct Machine : FakeMachine {
        using FakeMachine::FakeMachine;
        std::string system;
        std::string SystemDirectory() const override { return system; }
    };
    const struct {
        const char* system;
        std::string destination;
        bool refused;
    } cases[] = {
        {"C:\\WINDOWS\\SYSTEM", "C:\\WINDOWS\\SYSTEM\\", true},  // not the Windows directory
        {"C:\\WINDOWS\\SYSTEM", "c:\\windows\\system", true},
        {"C:\\WINDOWS\\SYSTEM", "C:\\WINDOWS\\SYSTEM\\ACME\\", false},
        {"C:\\WINDOWS\\SYSTEM", "C:\\WINDOWS\\ACME\\", false},
        {"C:\\WINDOWS\\SYSTEM", "C:\\WIN\\", false},
        {"D:\\SYSTEM32", "C:\\WINDOWS\\", true},  // not the system directory
        {"D:\\SYSTEM32", "D:\\SYSTEM32\\", true},
        {"D:\\SYSTEM32", "C:\\WINDOWS\\SYSTEM\\", false},
    };
    for (const auto& c : cases) {
        Machine machine(kScript);
        machine.system = c.system;
        FakeUndo undo(machine);
        undo.recordPath = c.destination + (c.destination.back() == '\\' ? "" : "\\") + "ACME.UNR";
        undo.record = kHeader + "dest\t" + c.destination + "\r\n";
        machine.answers["Uninstall Message"] = {result::kNo};
        machine.RunUninstall(undo, undo.recordPath);
        EXPECT_EQ(machine.Messages(), std::vector<std::string>{c.refused ? "Uninstall Error Message" : "Uninstall Message"})
            << c.destination << " " << c.system;
    }
}

// Each entry alone, on a machine that holds A.DAT ("data"): undone when it is as the
// installation left it; a file whose size, time or checksum changed stays and is listed;
// a file and a program group that were there before stay.
TEST(Uninstall, EachEntryAloneIsUndoneOrKept) {
    const std::string time = "\tFEDCBA9876543210\t", crc = "ADF3F363";  // the CRC-32 of "data"
    const struct {
        const char* name;
        std::string entry;
        bool fileStays;
        std::vector<std::string> commands;  // to the program manager
        const char* listed;
    } cases[] = {
        {"unchanged", "file\tC:\\ACME\\A.DAT\t4" + time + crc, false, {}, ""},
        // An hour off after daylight saving on a FAT drive, or reset by a copy: the same file.
        {"same content, another time", "file\tC:\\ACME\\A.DAT\t4\tFEDCBA9876543211\t" + crc, false, {}, ""},
        {"same time, another size", "file\tC:\\ACME\\A.DAT\t5" + time + crc, true, {}, "C:\\ACME\\A.DAT"},
        {"same size and time, another checksum", "file\tC:\\ACME\\A.DAT\t4" + time + "BDF3F363", true, {}, "C:\\ACME\\A.DAT"},
        {"file there before", "replaced\tC:\\ACME\\A.DAT", true, {}, ""},
        // An upgrade installed it again with new content: the later installation's facts count.
        {"created, then replaced by a later installation",
         "file\tC:\\ACME\\A.DAT\t9" + time + "BDF3F363\r\n" + kHeader + "dest\tC:\\ACME\\\r\nreplaced\tC:\\ACME\\A.DAT\t4" + time + crc,
         false, {}, ""},
        {"replaced by a later installation, then changed",
         "file\tC:\\ACME\\A.DAT\t4" + time + crc + "\r\n" + kHeader + "dest\tC:\\ACME\\\r\nreplaced\tC:\\ACME\\A.DAT\t4" + time + "BDF3F363",
         true, {}, "C:\\ACME\\A.DAT"},
        {"group there before", "group\tAcme\told\r\nitem\tAcme\tRead Me", true,
         {"[ShowGroup(Acme,1)]", "[DeleteItem(\"Read Me\")]"}, ""},
        {"group made", "group\tAcme\tnew\r\nitem\tAcme\tRead Me", true, {"[DeleteGroup(Acme)]"}, ""},
    };
    for (const auto& c : cases) {
        FakeMachine machine("[Initiation]\r\nInstall Name=Acme\r\nGroup 1=Acme\r\n");
        machine.AddFile("C:\\ACME\\A.DAT", "data");
        machine.AddFile("C:\\ACME\\ACME.UNR");
        FakeUndo undo(machine);
        undo.writeTime = 0xFEDCBA9876543210;
        undo.recordPath = "C:\\ACME\\ACME.UNR";
        undo.record = kHeader + "dest\tC:\\ACME\\\r\n" + c.entry + "\r\n";
        machine.RunUninstall(undo, undo.recordPath);
        ASSERT_EQ(machine.Messages(), (std::vector<std::string>{"Uninstall Message", "Uninstall End Message"}))
            << c.name << ": " << machine.shown.back().text;
        EXPECT_EQ(machine.HasFile("C:\\ACME\\A.DAT"), c.fileStays) << c.name;
        EXPECT_EQ(machine.commands, c.commands) << c.name;
        EXPECT_EQ(machine.shown[1].text, std::string("Acme has been removed.") +
                                             (*c.listed ? "\n\nThese were changed after the installation and stay:\n" : "") +
                                             c.listed)
            << c.name;
    }
}

}  // namespace
}  // namespace setup

namespace setup {
namespace {

const std::string kRollbackScript = std::string(kScript) + "Rollback=1\r\n[System]\r\nFile 1.1=ACME.DLL\r\n";

// An installation with rollback on the fake machine, up to where a test stops it: ACME.EXE
// new, ACME.DLL of the system directory installed over the one there, which is kept aside.
struct RolledBack {
    FakeMachine machine{kRollbackScript};
    MemoryRecord sink;
    UndoWriter writer{machine, sink};
    FakeUndo undo{machine};

    RolledBack() {
        machine.AddFile("A:\\ACME.EXE", "program");
        machine.AddFile("A:\\ACME.DLL", "new library");
        machine.AddFile("C:\\WINDOWS\\WIN.INI");
        machine.directories.insert("C:\\WINDOWS");
        machine.directories.insert("C:\\WINDOWS\\SYSTEM");
        machine.AddFile("C:\\WINDOWS\\SYSTEM\\ACME.DLL", "old library");
        machine.profile[Upper("C:\\ACME\\ACME.INI|Options|Size")] = "Small";
        machine.GetJournal().AddWriter(writer);
        machine.ReadInitiation();
        machine.SetInstallDir("C:\\ACME\\");
        machine.m_destinationSettled = true;
        undo.recordPath = "C:\\ACME\\ACME.UNR";
    }
    void Install() {
        int replaceAll = 0;
        ASSERT_TRUE(machine.CreateInstallDirectory("C:\\ACME\\"));
        ASSERT_TRUE(machine.InstallOneFile(replaceAll, "ACME.EXE", "A:\\", "C:\\ACME\\"));
        ASSERT_TRUE(machine.InstallOneFile(replaceAll, "ACME.DLL", "A:\\", "C:\\WINDOWS\\SYSTEM\\"));
        machine.WriteIniSections();
        machine.WriteRegisterSection();
        machine.WriteUninstallEntry();
    }
    // The record as the file holds it, for the rollback to read; the messages so far forgotten.
    void Keep(const std::string& before = "") {
        undo.record = before + sink.text;
        machine.AddFile(undo.recordPath, undo.record);
        machine.log.clear();
        machine.shown.clear();
    }
};

// The record's lines of a rollback: its mark after the destination, each copy aside before
// the file installed over it (which keeps its facts), the mark of completion; and what the
// reader makes of the parts of a record.
TEST(Rollback, TheRecordMarksItsCopiesAndItsCompletion) {
    RolledBack run;
    run.Install();
    run.machine.CompleteInstallation();
    const std::string& text = run.sink.text;
    EXPECT_EQ(text.substr(0, text.find("dir")), kHeader + "dest\tC:\\ACME\\\r\nrollback\r\n");
    // The copy's SHA-256 (of "old library", by Python's hashlib) comes with it.
    EXPECT_NE(text.find("saved\tC:\\WINDOWS\\SYSTEM\\ACME.DLL\tC:\\ACME\\ACME.UNR.OLD\\1.ACME.DLL\t"
                        "A1622CDA43D37717B562988F9A730C129D06485DFD9E842C944FB67D306EC4A4\r\n"
                        "file\tC:\\WINDOWS\\SYSTEM\\ACME.DLL\t"),
              std::string::npos)
        << text;
    EXPECT_EQ(text.substr(text.size() - 6), "done\r\n");
    // Complete: the copies aside and their folder are gone.
    EXPECT_FALSE(run.machine.HasFile("C:\\ACME\\ACME.UNR.OLD\\1.ACME.DLL"));
    EXPECT_EQ(run.machine.directories.count("C:\\ACME\\ACME.UNR.OLD"), 0u);

    const std::string pending = kHeader + "dest\tC:\\ACME\\\r\nrollback\r\n";
    const struct {
        std::string text;
        bool pending;
        std::size_t lastPart;
    } records[] = {
        {text, false, 0},
        {pending, true, 0},
        {kHeader + "dest\tC:\\ACME\\\r\n", false, 0},  // written without rollback: never pending
        {text + pending, true, text.size()},
        {pending + kHeader + "dest\tC:\\ACME\\\r\n", false, pending.size()},
    };
    for (const auto& r : records) {
        const UndoRecord record = ReadUndoRecord(r.text);
        EXPECT_EQ(LastPartPending(record), r.pending) << r.text;
        EXPECT_EQ(record.lastPartOffset, r.lastPart) << r.text;
    }
    // Uninstalled after it completed, the file it installed over another stays.
    const std::vector<UndoEntry> undone = EntriesToUndo(ReadUndoRecord(text).entries);
    int replaced = 0;
    for (const UndoEntry& entry : undone) {
        EXPECT_NE(entry.kind, UndoEntry::Kind::kSaved);
        if (entry.fields.size() && entry.fields[0] == "C:\\WINDOWS\\SYSTEM\\ACME.DLL") {
            EXPECT_EQ(entry.kind, UndoEntry::Kind::kReplaced);
            ++replaced;
        }
    }
    EXPECT_EQ(replaced, 1);  // the entry is there, once
}

// Stopped half way, the installation is undone and the file it replaced is back; a file
// someone changed meanwhile stays, is listed, and its copy stays too.
TEST(Rollback, AStoppedInstallationLeavesTheMachineAsItWas) {
    for (const bool changed : {false, true}) {
        RolledBack run;
        const auto files = run.machine.files;
        const auto profile = run.machine.profile;
        run.Install();
        if (changed) run.machine.AddFile("C:\\WINDOWS\\SYSTEM\\ACME.DLL", "someone else's");
        run.Keep();
        run.machine.m_runEnd = RunEnd::kStopped;  // as the stopped run left it
        run.machine.RollBack(run.undo, run.undo.recordPath, false);

        EXPECT_EQ(run.machine.Messages(), std::vector<std::string>{"Rollback Message"});
        EXPECT_EQ(run.machine.shown.back().text,
                  std::string("The installation of Acme did not finish: the changes it made have been undone.") +
                      (changed ? "\n\nThese were changed by someone else during the installation and stay:\n"
                                 "C:\\WINDOWS\\SYSTEM\\ACME.DLL"
                               : ""));
        auto expected = files;
        // Changed meanwhile: that file stays, and its copy aside too, never deleted unless put back.
        if (changed) expected[Upper("C:\\WINDOWS\\SYSTEM\\ACME.DLL")].content = "someone else's";
        if (changed) expected[Upper("C:\\ACME\\ACME.UNR.OLD\\1.ACME.DLL")].content = "old library";
        std::map<std::string, std::string> left, wanted;
        for (const auto& [path, file] : run.machine.files) left[path] = file.content;
        for (const auto& [path, file] : expected) wanted[path] = file.content;
        EXPECT_EQ(left, wanted) << "changed: " << changed;
        EXPECT_EQ(run.machine.profile, profile);
        EXPECT_TRUE(run.machine.registry.empty());
        EXPECT_EQ(run.machine.directories.count("C:\\ACME"), changed ? 1u : 0u);  // holding the copy
        EXPECT_EQ(run.machine.LastRunEnd(), RunEnd::kStopped);  // the run's own end is kept
    }
}

// At a later start: the user is asked; No leaves everything, Yes undoes the last installation
// alone and keeps the completed one before it in the record.
TEST(Rollback, APendingInstallationIsUndoneWhenTheUserAgrees) {
    const std::string earlier = kHeader + "dest\tC:\\ACME\\\r\nrollback\r\ndir\tC:\\ACME\\DOCS\r\ndone\r\n";
    for (const int answer : {result::kNo, result::kYes}) {
        RolledBack run;
        run.machine.directories.insert("C:\\ACME");
        run.machine.directories.insert("C:\\ACME\\DOCS");
        run.Install();
        run.Keep(earlier);
        run.machine.answers["Rollback Pending Message"] = {answer};
        run.machine.RollBack(run.undo, run.undo.recordPath, true);
        EXPECT_EQ(run.machine.shown[0].text,
                  "An earlier installation of Acme did not finish:\nC:\\ACME\\\n\nDo you wish to undo the "
                  "changes it made before this installation begins ?");
        EXPECT_EQ(run.machine.Content("C:\\WINDOWS\\SYSTEM\\ACME.DLL"), answer == result::kYes ? "old library" : "new library");
        EXPECT_EQ(run.undo.record, answer == result::kYes ? earlier : earlier + run.sink.text);
        EXPECT_EQ(run.machine.directories.count("C:\\ACME\\DOCS"), 1u);
    }
}

// A file that cannot be copied aside (too little space) is a copy error like any other.
TEST(Rollback, AFileThatCannotBeKeptAsideIsACopyError) {
    RolledBack run;
    int replaceAll = 0;
    run.machine.diskFull = true;
    run.machine.answers["Copy Error Message"] = {result::kAbort, result::kRetry};  // by place: Retry, then Ignore
    ASSERT_TRUE(run.machine.CreateInstallDirectory("C:\\ACME\\"));
    EXPECT_TRUE(run.machine.InstallOneFile(replaceAll, "ACME.DLL", "A:\\", "C:\\WINDOWS\\SYSTEM\\"));
    EXPECT_EQ(run.machine.Messages(), (std::vector<std::string>{"Replace Message", "Copy Error Message", "Copy Error Message"}));
    EXPECT_TRUE(run.machine.Installs().empty());
    EXPECT_EQ(run.machine.Content("C:\\WINDOWS\\SYSTEM\\ACME.DLL"), "old library");
}

}  // namespace
}  // namespace setup
