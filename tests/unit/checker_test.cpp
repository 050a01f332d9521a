#include "check.h"
#include "layout.h"
#include "memory_disks.h"

#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace checker {
namespace {

std::vector<std::uint8_t> Bytes(const std::string& text) { return std::vector<std::uint8_t>(text.begin(), text.end()); }

// A small picture the installer can show.
std::vector<std::uint8_t> Picture() {
    std::vector<std::uint8_t> file = {'B', 'M', 70, 0, 0, 0, 0, 0, 0, 0, 54, 0, 0, 0,
                                      40, 0, 0, 0, 1, 0, 0, 0, 1, 0, 0, 0, 1, 0, 24, 0};
    file.resize(54, 0);
    file.insert(file.end(), {0, 0, 255, 0});
    return file;
}

const std::string kBase = "[Initiation]\r\nInstall Name=Acme\r\n";

std::vector<Finding> Check(const std::string& script, const MemoryDisks& disks = MemoryDisks()) {
    return CheckScript(Bytes(script), disks, CheckOptions{}).findings;
}

struct KindCase {
    const char* name;
    std::string script;
    Severity severity;
    int line;
    const char* fragment;
};

TEST(Checker, EachKindOfFinding) {
    const KindCase cases[] = {
        {"no install name", "[Initiation]\r\nSet DefDir=1\r\n", Severity::kError, 0, "no [Initiation] \"Install Name\""},
        {"first entry not on disk 1", kBase + "[DefDir]\r\nFile 2.1=A.TXT\r\n", Severity::kError, 4, "nothing is copied"},
        {"file missing from its disk", kBase + "[DefDir]\r\nFile 1.1=MISSING.TXT\r\n", Severity::kError, 4,
         "\"MISSING.TXT\" is not on disk 1 (DISK1), nor compressed as \"MISSING.TX_\""},
        {"unknown directory code", kBase + "[Execute File]\r\nFile=RUN.EXE:Q\r\n", Severity::kError, 4,
         "directory code is unknown"},
        {"missing SubDir of a code", kBase + "[Version]\r\nFile 1=V.INI:3\r\nItem 1.1=a,b,c\r\n", Severity::kError, 4,
         "\"SubDir N\" is missing"},
        {"register key without class",
         kBase + "[Register]\r\nKey 1=HKEY_CURRENT_USER\r\nSubKey 1=Software\\Acme\r\nName 1.1=A\r\nData 1.1=B\r\n",
         Severity::kError, 4, "has no \"Key Class 1\""},
        {"dialog never shown", kBase + "[Dialog 1]\r\nTitle Name=T\r\nInfo Line 1=I\r\n", Severity::kError, 3,
         "has no \"Select Item 1\""},
        {"port question never shown", kBase + "[ComPort]\r\nFile 1=P.INI:0\r\n", Severity::kError, 3,
         "port question is never shown"},
        {"gap in a list", kBase + "[Replace File]\r\nFile 1=A\r\nFile 3=C\r\nFile 4=D\r\n", Severity::kWarning, 5,
         "number 2 is missing, so 3, 4 are never read"},
        {"gap in the copy list",
         kBase + "[DefDir]\r\nFile 1.1=A.TXT\r\nBitmap 1.2=NULL\r\nFile 1.4=D.TXT\r\n", Severity::kWarning, 6,
         "[DefDir] entry 1: number 3 is missing, so 4 is never read"},
        {"gap in the dialogs", kBase + "[Dialog 2]\r\nTitle Name=T\r\nInfo Line 1=I\r\nSelect Item 1=S\r\n",
         Severity::kWarning, 3, "sections [Dialog %d]: number 1 is missing"},
        {"section twice", kBase + "[Background]\r\nUse Red=1\r\n[background]\r\nUse Blue=0\r\n", Severity::kWarning, 5,
         "second [background] is never read (the first is at line 3)"},
        {"key before the first section", "Install Name=Early\r\n" + kBase, Severity::kWarning, 1,
         "outside any section is never read"},
        {"unknown section", kBase + "[Backgruond]\r\nUse Red=1\r\n", Severity::kWarning, 3,
         "unknown section [Backgruond] (did you mean [Background]?)"},
        {"unknown key", kBase + "Instal Name=Acme\r\n", Severity::kWarning, 3,
         "unknown key \"Instal Name\" in [Initiation] (did you mean \"Install Name\"?)"},
        {"not a number", kBase + "Set DefDir=no\r\n", Severity::kWarning, 3, "\"no\" is not a number"},
        {"value cut", kBase + "[Background]\r\nProduct Company=Kestrel Works International Ltd\r\n", Severity::kWarning,
         4, "keeps only its first 24 characters: \"Kestrel Works Internatio\""},
        {"button caption cut", kBase + "[Button Text]\r\nCancel=Never mind\r\n", Severity::kWarning, 4,
         "keeps only its first 9 characters"},
        {"long line", kBase + "; " + std::string(260, 'x') + "\r\n", Severity::kWarning, 3,
         "line of 262 characters: only its first 255 are read"},
        {"empty value", kBase + "Dialog Name=\r\n", Severity::kWarning, 3, "has no value and counts as absent"},
        {"many ports", kBase + "[ComPort]\r\nFile 1=P.INI:0\r\nItem 1.1=a,b\r\nMaxComPort=12\r\n", Severity::kWarning, 6,
         "a list of 12 ports"},
        {"long message",
         kBase + "[End Message]\r\nTitle=Done\r\n" + [] {
             std::string lines;
             for (int i = 1; i <= 6; ++i) lines += "Line " + std::to_string(i) + "=" + std::string(200, 'm') + "\r\n";
             return lines;
         }(),
         Severity::kWarning, 10, "\"Line 6\" and later are dropped"},
        {"unreadable slide", kBase + "[DefDir]\r\nBitmap 1.1=BROKEN.BMP,1\r\n", Severity::kWarning, 4,
         "slide \"BROKEN.BMP\" is not a picture"},
        {"counted but never copied", kBase + "[DefDir]\r\nFile 1.1=A.TXT\r\n[SubDir 1]\r\nFile 1.1=B.TXT\r\n",
         Severity::kWarning, 5, "counted but never copied"},
        {"bare LF line ends", "[Initiation]\nInstall Name=Acme\n", Severity::kNote, 0, "LF alone"},
        {"uninstall command nothing installs",
         kBase + "[DefDir]\r\nFile 1.1=A.TXT\r\n[UnInstall]\r\nSubKey=Acme\r\nDisplayName=Acme\r\n"
                 "UnInstallString=REMOVE.EXE /all\r\n",
         Severity::kWarning, 8, "runs REMOVE.EXE, which no copy list installs (with [UnInstall] \"Record\""},
        {"uninstall without its record",
         kBase + "[DefDir]\r\nFile 1.1=SETUP.EXE\r\n[UnInstall]\r\nSubKey=Acme\r\nDisplayName=Acme\r\n"
                 "UnInstallString=SETUP.EXE /UNINSTALL=ACME.UNR\r\n",
         Severity::kWarning, 8, "keeps no \"Record\": there is none to read"},
        {"record on a whole drive", kBase + "Set DefDir=0\r\n[UnInstall]\r\nRecord=ACME.UNR\r\n", Severity::kWarning, 5,
         "which /UNINSTALL refuses"},
        {"rollback without a record", kBase + "[UnInstall]\r\nRollback=1\r\n", Severity::kWarning, 4,
         "\"Rollback\" needs a \"Record\""},
    };
    for (const KindCase& c : cases) {
        MemoryDisks disks;
        for (const char* name : {"A.TXT", "B.TXT", "D.TXT", "BROKEN.BMP"}) disks.Add(1, name);
        const std::vector<Finding> findings = Check(c.script, disks);
        bool found = false;
        for (const Finding& finding : findings)
            found |= finding.severity == c.severity && finding.line == c.line &&
                     finding.message.find(c.fragment) != std::string::npos;
        std::string all;
        for (const Finding& finding : findings) all += "\n  " + FormatFinding("SETUP.INF", finding);
        EXPECT_TRUE(found) << c.name << ": got" << all;
    }
}

TEST(Checker, CompressedFilesAndSubfolders) {
    MemoryDisks disks;
    disks.Add(1, "TOOL.EX_");
    disks.Add(1, "DATA\\INFO.TXT");
    disks.Add(2, "README._");
    disks.Add(1, "SLIDE.BMP", Picture());
    const std::string script = kBase + "SubDir 1=DATA\r\nCopy File From SubDir=1\r\n[DefDir]\r\nFile 1.1=TOOL.EXE\r\n"
                                       "Bitmap 1.2=SLIDE.BMP,2\r\nFile 2.1=README\r\n[SubDir 1]\r\nFile 1.1=INFO.TXT\r\n";
    const std::vector<Finding> findings = Check(script, disks);
    for (const Finding& finding : findings) ADD_FAILURE() << FormatFinding("SETUP.INF", finding);
}

// The sample product's script against the disks setupdisks lays out from it.
TEST(Checker, SampleProductIsClean) {
    std::ifstream script(SAMPLE_DIR "/SETUP.INF", std::ios::binary);
    std::stringstream text;
    text << script.rdbuf();
    ASSERT_FALSE(text.str().empty());
    MemoryDisks source;
    for (const char* name : {"BRIGHTLF.INI", "LEAFSPL.DLL", "BRIGHT.EXE", "README.TXT", "HOME.DAT", "STUDIO.DAT",
                             "WELCOME.TXT", "RECIPES.TXT", "BRIGHT.HLP", "PLAIN.TPL", "OUTLINE.TPL", "LICENSE.TXT",
                             "ICONS\\LEAF1.ICO", "ICONS\\LEAF2.ICO"})
        source.Add(1, name, std::vector<std::uint8_t>(600, static_cast<std::uint8_t>(name[0])));
    source.Add(1, "SLIDE1.BMP", Picture());
    source.Add(1, "SLIDE2.BMP", Picture());
    disks::LayoutOptions layoutOptions{*disks::ParseMedium("1440K"), disks::Compression::kAuto, "SETUP.EXE", {'M', 'Z'}};
    const disks::Layout layout = disks::PlanDisks(Bytes(text.str()), source, layoutOptions);
    ASSERT_FALSE(layout.HasErrors());
    MemoryDisks disks;
    for (std::size_t disk = 0; disk < layout.disks.size(); ++disk)
        for (const disks::DiskFile& file : layout.disks[disk].files) disks.Add(static_cast<int>(disk + 1), file.path, file.bytes);
    CheckOptions options;
    options.plan = true;
    const CheckResult result = CheckScript(Bytes(text.str()), disks, options);
    for (const Finding& finding : result.findings) ADD_FAILURE() << FormatFinding("SETUP.INF", finding);
    const std::string plan = FormatPlan(result.plan);
    for (const char* expected : {"A:\\BRIGHT.EX_  ->  C:\\BRIGHTLF\\BRIGHT.EXE", "selection 2 \"Sample Notes\": item 2",
                                 "group Brightleaf", "Run=  C:\\BRIGHTLF\\BRIGHT.EXE /tray",
                                 "message \"End of Installation\" ([Restart Message])"})
        EXPECT_NE(plan.find(expected), std::string::npos) << expected << "\n" << plan;
}

TEST(Checker, PlanFollowsTheChoices) {
    const std::string script = kBase +
                               "[Dialog 1]\r\nTitle Name=Edition\r\nInfo Line 1=Which?\r\nSelect Item 1=Home\r\n"
                               "Select Item 2=Studio\r\n[DefDir]\r\nFile 1.1=COMMON.TXT\r\n"
                               "Dialog 1. SelItem 1. File 1.1=HOME.DAT\r\nDialog 1. SelItem 2. File 1.1=STUDIO.DAT\r\n";
    MemoryDisks disks;
    for (const char* name : {"COMMON.TXT", "HOME.DAT", "STUDIO.DAT"}) disks.Add(1, name);
    CheckOptions options;
    options.plan = true;
    options.choices[1] = 2;
    const std::string plan = FormatPlan(CheckScript(Bytes(script), disks, options).plan);
    EXPECT_NE(plan.find("STUDIO.DAT  ->  C:\\STUDIO.DAT"), std::string::npos) << plan;
    EXPECT_EQ(plan.find("HOME.DAT  ->"), std::string::npos) << plan;
}

// A file missing from its disk is reported and skipped in the plan; the files after it are
// still planned.
TEST(Checker, PlanSkipsMissingFiles) {
    const std::string script = kBase + "[DefDir]\r\nFile 1.1=GONE.TXT\r\nFile 1.2=HERE.TXT\r\n";
    MemoryDisks disks;
    disks.Add(1, "HERE.TXT");
    CheckOptions options;
    options.plan = true;
    const CheckResult result = CheckScript(Bytes(script), disks, options);
    const std::string plan = FormatPlan(result.plan);
    EXPECT_EQ(plan.find("GONE.TXT  ->"), std::string::npos) << plan;
    EXPECT_NE(plan.find("A:\\HERE.TXT  ->  C:\\HERE.TXT"), std::string::npos) << plan;
    ASSERT_FALSE(result.findings.empty());
    EXPECT_EQ(result.findings[0].severity, Severity::kError);
}

// The sample's answer file is clean and steers the plan; another one has what the installer
// would refuse, a destination the dialog refuses, and names that no copy list has.
TEST(Checker, AnswerFilesAgainstTheirScript) {
    std::ifstream script(SAMPLE_DIR "/SETUP.INF", std::ios::binary);
    std::stringstream text;
    text << script.rdbuf();
    std::ifstream sampleAnswers(SAMPLE_DIR "/ANSWERS.INI", std::ios::binary);
    std::stringstream answers;
    answers << sampleAnswers.rdbuf();
    ASSERT_FALSE(answers.str().empty());
    CheckOptions options;
    for (const Finding& finding : CheckAnswers(Bytes(answers.str()), Bytes(text.str()), options))
        ADD_FAILURE() << FormatFinding("ANSWERS.INI", finding);
    options.plan = true;
    MemoryDisks disks;
    const std::string plan = FormatPlan(CheckScript(Bytes(text.str()), disks, options).plan);
    for (const char* expected : {"COM3 chosen (value 3)", "selection 1 \"Brightleaf Edition\": item 2 \"Studio\"",
                                 "selection 2 \"Sample Notes\": item 3", "destination C:\\BRIGHTLF\\"})
        EXPECT_NE(plan.find(expected), std::string::npos) << expected << "\n" << plan;
    const std::vector<Finding> findings =
        CheckAnswers(Bytes("[ComPort]\r\nPort=COM5\r\n[Destination]\r\nDirectory=LEAF\r\n[Replace]\r\nBRIGHT.INI=Yes\r\n"
                           "[Disks]\r\nDisk 3=..\\DISK3\r\nDisk 4=..\\DISK4\r\n"),
                     Bytes(text.str()), options);
    ASSERT_EQ(findings.size(), 4u);
    EXPECT_EQ(FormatFinding("A.INI", findings[0]), "A.INI:2: error: Port=COM5: the port question lists COM1 to COM4");
    EXPECT_EQ(FormatFinding("A.INI", findings[1]),
              "A.INI:4: error: Directory=LEAF: the destination dialog refuses it (a full path such as C:\\APPS): the quiet "
              "run stops");
    EXPECT_EQ(FormatFinding("A.INI", findings[2]), "A.INI:6: warning: [Replace] BRIGHT.INI: the script copies no such file");
    EXPECT_EQ(FormatFinding("A.INI", findings[3]), "A.INI:9: warning: Disk 4: the script's copy lists end with disk 3");
}

}  // namespace
}  // namespace checker
