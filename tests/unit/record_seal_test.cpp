#include "fake_undo.h"
#include "unattended/options.h"
#include "uninstall/record_seal.h"
#include "uninstall/sha256.h"
#include "uninstall/undo_record.h"

#include <gtest/gtest.h>

namespace setup {
namespace {

// The published examples of FIPS 180-2 (appendix B) and the empty message's well-known digest;
// each also added in uneven pieces, with the digest read half way, which must not disturb the
// sum that goes on.
TEST(Sha256, GivesThePublishedDigests) {
    const struct {
        std::string message;
        const char* digest;
    } cases[] = {
        {"", "E3B0C44298FC1C149AFBF4C8996FB92427AE41E4649B934CA495991B7852B855"},
        {"abc", "BA7816BF8F01CFEA414140DE5DAE2223B00361A396177A9CB410FF61F20015AD"},
        {"abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq",  // padding spills into a second block
         "248D6A61D20638B8E5C026930C3E6039A33CE45964FF2167F6ECEDD419DB06C1"},
        {std::string(1000000, 'a'), "CDC76E5C9914FB9281A1C7E284D73E67F1809A48A497200E046D39CCC7112CD0"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Sha256Hex(c.message), c.digest) << c.message.size();
        Sha256 pieces;
        for (std::size_t at = 0, step = 1; at < c.message.size(); at += step, step = step * 3 % 101 + 1) {
            pieces.Add(c.message.data() + at, std::min(step, c.message.size() - at));
            if (at < 64) pieces.Hex();
        }
        EXPECT_EQ(pieces.Hex(), c.digest) << c.message.size();
    }
}

const std::string kHeader = std::string(kUndoRecordHeader) + "\r\n";
const char kScript[] =
    "[Initiation]\r\nInstall Name=Acme\r\nGroup 1=Acme\r\nWrite INI 1=ACME.INI:0\r\n"
    "[Write INI 1]\r\nItem 1=Options,Size,Big\r\n"
    "[UnInstall]\r\nSubKey=Acme\r\nDisplayName=Acme\r\nUnInstallString=SETUP.EXE /UNINSTALL=ACME.UNR\r\n"
    "Record=ACME.UNR\r\nRollback=1\r\n[System]\r\nFile 1.1=ACME.DLL\r\n";
const std::string kRecord = "C:\\ACME\\ACME.UNR";

// Installations into one record: ACME.EXE new, ACME.DLL of the system directory kept aside
// and installed over; each completed, or the last one left pending.
struct Installed {
    FakeMachine machine{kScript};
    FakeUndo undo{machine};
    FileRecord sink{undo, true};

    Installed(int installations, bool lastCompleted, const std::string& planted = "") {
        undo.recordPath = kRecord;
        undo.record = planted;
        machine.AddFile("A:\\ACME.EXE", "program");
        machine.AddFile("A:\\ACME.DLL", "new library");
        machine.AddFile("C:\\WINDOWS\\SYSTEM\\ACME.DLL", "old library");
        machine.directories.insert("C:\\WINDOWS");
        machine.directories.insert("C:\\WINDOWS\\SYSTEM");
        for (int run = 1; run <= installations; ++run) {
            UndoWriter writer(machine, sink);
            machine.GetJournal().AddWriter(writer);
            machine.ReadInitiation();
            machine.SetInstallDir("C:\\ACME\\");
            machine.m_destinationSettled = true;
            int replaceAll = 1;
            EXPECT_TRUE(machine.CreateInstallDirectory("C:\\ACME\\"));
            EXPECT_TRUE(machine.InstallOneFile(replaceAll, "ACME.EXE", "A:\\", "C:\\ACME\\"));
            EXPECT_TRUE(machine.InstallOneFile(replaceAll, "ACME.DLL", "A:\\", "C:\\WINDOWS\\SYSTEM\\"));
            machine.WriteIniSections();
            if (run < installations || lastCompleted) machine.CompleteInstallation();
            machine.GetJournal().RemoveWriter(writer);
        }
        machine.AddFile(kRecord, undo.record);
        machine.log.clear();
        machine.shown.clear();
    }
};

// Genuine records of one, two and three installations, completed or with the last pending,
// are taken; the seal goes with the record. A pending one rolled back keeps a seal of what
// is left, which a later uninstallation takes.
TEST(RecordSeal, GenuineRecordsAreTaken) {
    for (const int installations : {1, 2, 3})
        for (const bool completed : {true, false}) {
            Installed run(installations, completed);
            ASSERT_EQ(run.undo.seals.count(kRecord), 1u);
            if (!completed) {
                run.machine.answers["Rollback Pending Message"] = {result::kYes};
                run.machine.RollBack(run.undo, kRecord, true);
                EXPECT_EQ(run.machine.Messages(), (std::vector<std::string>{"Rollback Pending Message", "Rollback Message"}))
                    << installations;
                EXPECT_EQ(run.machine.Content("C:\\WINDOWS\\SYSTEM\\ACME.DLL"),
                          installations == 1 ? "old library" : "new library");
                run.machine.shown.clear();
                run.machine.log.clear();
                if (installations == 1) continue;
                EXPECT_EQ(run.undo.seals.count(kRecord), 1u);
            }
            run.machine.RunUninstall(run.undo, kRecord);
            EXPECT_EQ(run.machine.Messages(), (std::vector<std::string>{"Uninstall Message", "Uninstall End Message"}))
                << installations << " " << completed << " " << (run.machine.shown.empty() ? "" : run.machine.shown[0].text);
            EXPECT_FALSE(run.machine.HasFile("C:\\ACME\\ACME.EXE"));
            EXPECT_EQ(run.undo.seals.count(kRecord), 0u);
        }
}

// A record someone made in the folder before the first installation into it is not the
// installer's: the uninstallation leaves its lines alone.
TEST(RecordSeal, ARecordMadeBeforeTheFirstInstallationIsLeftAlone) {
    const std::string planted = kHeader + "dest\tC:\\OTHER\\\r\nfile\tC:\\OTHER\\KEEP.EXE\t4\t0\tCBF0480B\r\n";
    Installed run(1, true, planted);
    run.machine.AddFile("C:\\OTHER\\KEEP.EXE", "keep");
    run.machine.RunUninstall(run.undo, kRecord);
    EXPECT_EQ(run.machine.Messages(), (std::vector<std::string>{"Uninstall Message", "Uninstall End Message"}));
    EXPECT_FALSE(run.machine.HasFile("C:\\ACME\\ACME.EXE"));
    EXPECT_EQ(run.machine.Content("C:\\OTHER\\KEEP.EXE"), "keep");
}

std::string Replaced(std::string text, const std::string& from, const std::string& to) {
    const std::size_t at = text.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    return at == std::string::npos ? text : text.replace(at, from.size(), to);
}

// Records and copies changed as an ordinary user could change them in a folder open to all,
// each on an installation left pending (so that its copy aside is there): refused, with
// nothing changed. An append cut short by a crash is the one change taken: the lines before
// it are the installer's.
TEST(RecordSeal, ChangedRecordsAndCopiesAreRefused) {
    const char* changed = "it was changed after the installation wrote it";
    const struct {
        const char* name;
        std::function<void(Installed&)> change;
        const char* error;  // none: taken
    } cases[] = {
        {"a dest line added", [](Installed& r) { r.undo.record += "dest\tC:\\PROGRAMS\\OTHER\\\r\n"; }, changed},
        {"a saved line aimed elsewhere",
         [](Installed& r) {
             r.undo.record = Replaced(r.undo.record, "saved\tC:\\WINDOWS\\SYSTEM\\ACME.DLL", "saved\tC:\\ACME\\ACME.EXE");
         },
         changed},
        {"a copy aside swapped",
         [](Installed& r) { r.machine.AddFile("C:\\ACME\\ACME.UNR.OLD\\1.ACME.DLL", "planted library"); },
         "names C:\\ACME\\ACME.UNR.OLD\\1.ACME.DLL as a copy kept aside, which was changed after it was made"},
        {"an item title with a command",
         [](Installed& r) { r.undo.record += "item\tAcme\tX\")][DeleteGroup(Main)][ShowGroup(\"Y\r\n"; }, changed},
        {"one byte changed", [](Installed& r) { r.undo.record = Replaced(r.undo.record, "Big", "Bog"); }, changed},
        {"the seal is no seal", [](Installed& r) { r.undo.seals[kRecord] = "0 0 0 0"; }, changed},
        {"the last append cut short",
         [](Installed& r) { r.undo.record.resize(r.undo.record.size() - 3); }, nullptr},
    };
    for (const auto& c : cases) {
        Installed run(1, false);
        c.change(run);
        const auto files = run.machine.files;
        const auto profile = run.machine.profile;
        run.machine.RunUninstall(run.undo, kRecord);
        if (!c.error) {
            EXPECT_EQ(run.machine.Messages(), (std::vector<std::string>{"Uninstall Message", "Uninstall End Message"}))
                << c.name;
            EXPECT_EQ(run.machine.Content("C:\\WINDOWS\\SYSTEM\\ACME.DLL"), "old library") << c.name;
            continue;
        }
        ASSERT_EQ(run.machine.Messages(), std::vector<std::string>{"Uninstall Error Message"}) << c.name;
        EXPECT_NE(run.machine.shown[0].text.find(c.error), std::string::npos) << c.name << ": " << run.machine.shown[0].text;
        std::map<std::string, std::string> left, before;
        for (const auto& [path, file] : run.machine.files) left[path] = file.content;
        for (const auto& [path, file] : files) before[path] = file.content;
        EXPECT_EQ(left, before) << c.name;
        EXPECT_EQ(run.machine.profile, profile) << c.name;
        EXPECT_EQ(run.undo.seals.count(kRecord), 1u) << c.name;
        EXPECT_EQ(run.machine.QuietExitCode(), exit_code::kStopped) << c.name;
    }
}

}  // namespace
}  // namespace setup
