// Uninstallations and rollbacks as records grow over years: upgrades into one record, records
// cut short or damaged, a disk that fills up, copies aside that went astray, files that cannot
// be removed.
#include "fake_undo.h"
#include "unattended/options.h"
#include "uninstall/undo_record.h"

#include <gtest/gtest.h>

namespace setup {
namespace {

const std::string kHeader = std::string(kUndoRecordHeader) + "\r\n";
const std::string kRecord = "C:\\ACME\\ACME.UNR";

std::string Version(const char* number) {
    return std::string("[Initiation]\r\nInstall Name=Acme\r\nReplace File=1\r\n[Register]\r\nKey 1=HKEY_LOCAL_MACHINE\r\n") +
           "SubKey 1=Software\\Acme\\" + number + "\r\nKey Class 1=NULL\r\nName 1.1=Path\r\nData 1.1=C:\\ACME\r\n" +
           "[UnInstall]\r\nSubKey=Acme\r\nDisplayName=Acme\r\nUnInstallString=SETUP.EXE /UNINSTALL=ACME.UNR\r\n" +
           "Record=ACME.UNR\r\n";
}

// A machine whose undo record is written by a writer it knows, as the installer's frame does.
struct Machine : FakeMachine {
    UndoWriter* writer = nullptr;
    bool RecordFailed() override { return writer && writer->Failed(); }
    void RetryRecord() override { writer->Retry(); }
};

struct Upgrades {
    Machine machine;
    FakeUndo undo{machine};
    FileRecord sink;

    explicit Upgrades(bool sealed) : sink(undo, sealed) { undo.recordPath = kRecord; }
    // One installation of a version by its own script, each file from its own disk.
    void Install(const char* number, const std::vector<std::pair<std::string, std::string>>& files) {
        machine.ClearScript();
        const std::string script = Version(number);
        machine.AppendScriptText(script.data(), script.size());
        UndoWriter writer(machine, sink);
        machine.writer = &writer;
        machine.GetJournal().AddWriter(writer);
        machine.ReadInitiation();
        machine.SetInstallDir("C:\\ACME\\");
        machine.m_destinationSettled = true;
        int replaceAll = 1;
        EXPECT_TRUE(machine.CreateInstallDirectory("C:\\ACME\\"));
        for (const auto& [name, content] : files) {
            machine.AddFile("A:\\" + name, content);
            EXPECT_TRUE(machine.InstallOneFile(replaceAll, name.c_str(), "A:\\", "C:\\ACME\\"));
        }
        machine.WriteRegisterSection();
        machine.WriteUninstallEntry();
        machine.GetJournal().RemoveWriter(writer);
        machine.writer = nullptr;
        machine.AddFile(kRecord, undo.record);
    }
};

// Version 1.0 and then 2.0 into one record, each with its own key: 2.0 installs one file again
// with the same content, one with another, one more, and one of 1.0's no more. One
// uninstallation, run by 2.0's script, removes what each of them wrote: without a seal
// (Windows 95) and with one.
TEST(Upgrade, OneUninstallationRemovesWhatEachInstallationWrote) {
    for (const bool sealed : {false, true}) {
        Upgrades run(sealed);
        run.Install("1.0", {{"SAME.DAT", "same"}, {"CHANGED.DAT", "one"}, {"GONE.DAT", "gone"}});
        run.Install("2.0", {{"SAME.DAT", "same"}, {"CHANGED.DAT", "two"}, {"NEW.DAT", "new"}});
        ASSERT_EQ(run.machine.Content("C:\\ACME\\CHANGED.DAT"), "two");
        run.machine.log.clear();
        run.machine.RunUninstall(run.undo, kRecord);
        ASSERT_EQ(run.machine.Messages(), (std::vector<std::string>{"Uninstall Message", "Uninstall End Message"}))
            << sealed << ": " << run.machine.shown[0].text;
        EXPECT_EQ(run.machine.shown[1].text, "Acme has been removed.") << sealed;
        for (const char* name : {"SAME.DAT", "CHANGED.DAT", "GONE.DAT", "NEW.DAT", "ACME.UNR"})
            EXPECT_FALSE(run.machine.HasFile(std::string("C:\\ACME\\") + name)) << sealed << " " << name;
        EXPECT_TRUE(run.machine.registry.empty()) << sealed;
        EXPECT_EQ(run.machine.directories.count("C:\\ACME"), 0u) << sealed;
    }
}

// The uninstallation's decisions on what stays, each row on a record of its own with A.DAT
// ("data", CRC-32 ADF3F363) installed; the end message says what could not be undone and why.
TEST(Uninstall, WhatCannotBeUndoneIsSaidAndWhy) {
    const std::string file = "file\tC:\\ACME\\A.DAT\t4\t0\tADF3F363\r\n";
    const char* removed = "Acme has been removed.";
    const struct {
        const char* name;
        std::string lines;  // after the destination
        std::function<void(FakeMachine&, FakeUndo&)> before;
        const char* text;     // the end message
        bool aDatStays;
    } cases[] = {
        {"a file that cannot be removed, and not for being in use (no restart for it)", file,
         [](FakeMachine&, FakeUndo& u) { u.locked.insert("C:\\ACME\\A.DAT"); },
         "Acme has been removed.\n\nThese could not be undone and stay:\nC:\\ACME\\A.DAT (access denied)", true},
        {"a copy aside that is missing is said, not passed over",
         "rollback\r\nsaved\tC:\\ACME\\A.DAT\tC:\\ACME\\ACME.UNR.OLD\\1.A.DAT\r\n" + file, nullptr,
         "Acme has been removed.\n\nThese could not be undone and stay:\n"
         "C:\\ACME\\A.DAT (its copy kept aside, C:\\ACME\\ACME.UNR.OLD\\1.A.DAT, is missing)",
         true},
        {"a last line cut short is left out, and said", file + "file\tC:\\ACME\\B.DAT\t4\t0\tADF3",
         [](FakeMachine& m, FakeUndo&) { m.AddFile("C:\\ACME\\B.DAT"); },
         "Acme has been removed.\n\nThe record's last line was cut short as it was written: what it named stays.", false},
        {"copies no line names (the run ended between copy and line) go with the installation", file,
         [](FakeMachine& m, FakeUndo&) { m.AddFile("C:\\ACME\\ACME.UNR.OLD\\7.X.DLL", "old"); }, removed, false},
    };
    for (const auto& c : cases) {
        FakeMachine machine("[Initiation]\r\nInstall Name=Acme\r\n");
        FakeUndo undo(machine);
        machine.AddFile("C:\\ACME\\A.DAT");
        undo.recordPath = kRecord;
        undo.record = kHeader + "dest\tC:\\ACME\\\r\n" + c.lines;
        machine.AddFile(kRecord, undo.record);
        if (c.before) c.before(machine, undo);
        machine.RunUninstall(undo, kRecord);
        ASSERT_EQ(machine.Messages(), (std::vector<std::string>{"Uninstall Message", "Uninstall End Message"}))
            << c.name << ": " << machine.shown.back().text;
        EXPECT_EQ(machine.shown[1].text, c.text) << c.name;
        EXPECT_EQ(machine.HasFile("C:\\ACME\\A.DAT"), c.aDatStays) << c.name;
        EXPECT_FALSE(machine.HasFile("C:\\ACME\\ACME.UNR.OLD\\7.X.DLL")) << c.name;
        EXPECT_TRUE(undo.atRestart.empty()) << c.name;
    }
}

// One installation installed A.DAT twice (asked again after a Retry, or listed twice): undone,
// A.DAT is as it was before the first time. A rollback of a damaged record says so.
TEST(Rollback, PutsBackTheFirstCopyAndSaysWhenItCannotRead) {
    FakeMachine machine("[Initiation]\r\nInstall Name=Acme\r\n[UnInstall]\r\nRecord=ACME.UNR\r\nRollback=1\r\n");
    FakeUndo undo(machine);
    undo.recordPath = kRecord;
    machine.AddFile("C:\\ACME\\A.DAT", "second");
    machine.AddFile("C:\\ACME\\ACME.UNR.OLD\\1.A.DAT", "original");
    machine.AddFile("C:\\ACME\\ACME.UNR.OLD\\2.A.DAT", "first");
    undo.record = kHeader + "dest\tC:\\ACME\\\r\nrollback\r\n"
                            "saved\tC:\\ACME\\A.DAT\tC:\\ACME\\ACME.UNR.OLD\\1.A.DAT\r\nreplaced\tC:\\ACME\\A.DAT\r\n"
                            "saved\tC:\\ACME\\A.DAT\tC:\\ACME\\ACME.UNR.OLD\\2.A.DAT\r\nreplaced\tC:\\ACME\\A.DAT\r\n";
    machine.AddFile(kRecord, undo.record);
    machine.RollBack(undo, kRecord, false);
    EXPECT_EQ(machine.Content("C:\\ACME\\A.DAT"), "original");

    FakeMachine damaged("[Initiation]\r\nInstall Name=Acme\r\n[UnInstall]\r\nRecord=ACME.UNR\r\nRollback=1\r\n");
    FakeUndo garbled(damaged);
    garbled.recordPath = kRecord;
    garbled.record = kHeader + "dest\tC:\\ACME\\\r\nrollback\r\nsaved\tC:\\ACME\\A.DAT\r\n";
    damaged.RollBack(garbled, kRecord, false);
    EXPECT_EQ(damaged.Messages(), std::vector<std::string>{"Uninstall Error Message"});
}

// A destination the undo record cannot be kept in is refused with a message, and the dialog
// comes again: the installation goes to the directory finally chosen, with its record.
TEST(Destination, OneTheRecordCannotBeKeptInIsRefused) {
    const struct {
        std::string typed;
        const char* why;
    } cases[] = {
        {"C:\\ACME\\\\", "it is not a plain path of a drive, names and single backslashes"},
        {"C:\\ACME/OLD\\", "it is not a plain path of a drive, names and single backslashes"},
        {"C:\\ACME\\..\\", "it is not a plain path of a drive, names and single backslashes"},
        {"C:\\", "it is a whole drive"},
        {"C:\\WINDOWS\\", "it holds the directory C:\\WINDOWS"},
        {"C:\\" + std::string(248, 'X') + "\\", "the record's path would be longer than a path can be"},
    };
    for (const auto& c : cases) {
        FakeMachine machine(Version("1.0"));
        machine.ReadInitiation();
        machine.directoryAnswers = {c.typed, std::string("C:\\ACME\\")};
        ASSERT_TRUE(machine.SetupEngine::RunSetDirDialog()) << c.typed;
        ASSERT_EQ(machine.Messages(), std::vector<std::string>{"Destination Error Message"}) << c.typed;
        EXPECT_EQ(machine.shown[0].text, "The uninstall record of Acme can not be kept in " + c.typed + ":\n" + c.why +
                                             ".\n\nPlease choose another directory.");
        EXPECT_EQ(machine.InstallDir(), "C:\\ACME\\") << c.typed;
    }
    // Without a record, any directory the dialog takes is taken, as always.
    FakeMachine plain("[Initiation]\r\nInstall Name=Acme\r\n");
    plain.directoryAnswers = {std::string("C:\\ACME\\\\")};
    ASSERT_TRUE(plain.SetupEngine::RunSetDirDialog());
    EXPECT_TRUE(plain.Messages().empty());
}

// The writer writes nothing its reader refuses, and keeps the record whole across runs and a
// full disk.
TEST(UndoWriter, WritesOnlyWhatItsReaderTakes) {
    // A replaced registry text at the reader's limit is kept to be put back; one longer cannot be.
    for (const std::size_t length : {kMostFieldLength, kMostFieldLength + 1}) {
        FakeMachine machine;
        FakeUndo undo(machine);
        FileRecord sink(undo, false);
        UndoWriter writer(machine, sink);
        machine.ClearScript();
        const std::string script = Version("1.0");
        machine.AppendScriptText(script.data(), script.size());
        machine.SetInstallDir("C:\\ACME\\");
        machine.m_destinationSettled = true;
        writer.RegistryValueWritten("HKEY_LOCAL_MACHINE\\Software\\Acme", "Path", "C:\\ACME", true,
                                    std::string(length, 'x'));
        const UndoRecord record = ReadUndoRecord(undo.record);
        ASSERT_EQ(record.error, "") << length;
        EXPECT_EQ(record.entries.back().fields[3], length == kMostFieldLength ? "was" : "other") << length;
    }
}

TEST(UndoWriter, ContinuesOnlyAWholeRecord) {
    const std::string earlier = kHeader + "dest\tC:\\ACME\\\r\nfile\tC:\\ACME\\A.DAT\t4\t0\tADF3F363\r\n";
    const struct {
        const char* name;
        std::string existing;
        std::string kept;   // the record's first lines after the new installation
        std::string aside;  // moved aside whole
    } cases[] = {
        {"whole", earlier, earlier, ""},
        {"its last line cut short: cut off, the new lines on lines of their own", earlier + "dir\tC:\\AC", earlier, ""},
        {"damaged in the middle: set aside, a new record begins", earlier + "erase\tC:\\\r\n", "", earlier + "erase\tC:\\\r\n"},
    };
    for (const auto& c : cases) {
        Upgrades run(false);
        run.undo.record = c.existing;
        run.Install("1.0", {{"B.DAT", "b"}});
        EXPECT_EQ(run.undo.record.substr(0, c.kept.size()), c.kept) << c.name;
        EXPECT_EQ(run.undo.record.substr(c.kept.size(), kHeader.size()), kHeader) << c.name;
        EXPECT_EQ(ReadUndoRecord(run.undo.record).error, "") << c.name;
        EXPECT_EQ(run.sink.aside, c.aside) << c.name;
    }
}

// A disk that fills up under the record is a copy error: Retry writes the lines once there is
// room, and the record holds the file.
TEST(UndoWriter, ARecordThatCannotBeWrittenIsACopyError) {
    Upgrades run(false);
    run.sink.full = true;
    run.machine.onMessage = [&](const ShownMessage&) { run.sink.full = false; };
    run.machine.answers["Copy Error Message"] = {result::kAbort};  // by place: the first button, Retry
    run.Install("1.0", {{"B.DAT", "b"}});
    EXPECT_EQ(run.machine.Messages(), std::vector<std::string>{"Copy Error Message"});
    EXPECT_NE(run.undo.record.find("file\tC:\\ACME\\B.DAT\t"), std::string::npos);
}

}  // namespace
}  // namespace setup
