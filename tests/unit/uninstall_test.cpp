#include "core/options.h"
#include "core/undo_record.h"
#include "core/uninstall.h"
#include "fake_undo.h"

#include <gtest/gtest.h>

namespace setup {
namespace {

const std::string kHeader = std::string(kUndoRecordHeader) + "\r\n";

TEST(UndoRecord, ReaderRefusesWhatTheInstallerDidNotWrite) {
    const std::pair<std::string, const char*> cases[] = {
        {"", "it is not an undo record of this installer"},
        {"SETUP UNDO RECORD 1", "it is not an undo record of this installer"},
        {"SETUP UNDO RECORD 2\r\n", "it is not an undo record of this installer"},
        {kHeader + "dest\tC:\\APP\\\r\nfile\tC:\\APP\\A\t1", "line 3 is cut short"},
        {kHeader + "dest\tC:\\APP\\\n", "line 2 is cut short"},
        {kHeader + "erase\tC:\\\r\n", "line 2: an entry of an unknown kind"},
        {kHeader + "file\tC:\\A\t1\t2\r\n", "line 2: an entry with the wrong number of fields"},
        {kHeader + "file\tC:\\A\t1x\t2\t0\r\n", "line 2: a file without its size, time and checksum"},
        {kHeader + "dir\tC:\\A%2\r\n", "line 2: a field holds a character a record never writes"},
        {kHeader + "dir\tC:\\A\x01\r\n", "line 2: a field holds a character a record never writes"},
        {kHeader + "ini\tA.INI\tS\tK\tV\tvalue\r\n", "line 2: an INI entry without the value it replaced"},
        {kHeader + "value\tHKEY_USERS\\X\tN\tD\tsome\r\n", "line 2: a registry value of an unknown kind"},
        {kHeader + "key\tHKEY_USERS\\X\t0\r\n", "line 2: a registry key without its levels"},
    };
    for (const auto& [text, error] : cases) {
        const UndoRecord record = ReadUndoRecord(text);
        EXPECT_EQ(record.error.substr(0, std::string(error).size()), error) << text;
        EXPECT_TRUE(record.entries.empty()) << text;
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
    void Append(const std::string& lines) override { text += lines; }
    std::string path, text;
};

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

}  // namespace
}  // namespace setup
