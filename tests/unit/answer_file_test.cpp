#include "unattended/answer_file.h"

#include <gtest/gtest.h>

#include <string>

namespace setup {
namespace {

class Text : public SetupScript {
public:
    explicit Text(const std::string& text) { AppendScriptText(text.data(), text.size()); }
};

const char* const kScript =
    "[Initiation]\r\nInstall Name=Acme\r\nDefDir=C:\\ACME\r\n"
    "[ComPort]\r\nTitle Name=Acme Remote\r\nMaxComPort=3\r\nFile 1=ACME.INI:0\r\nItem 1.1=Remote,Port\r\n"
    "[Dialog 1]\r\nTitle Name=Edition\r\nInfo Line 1=Which one?\r\nSelect Item 1=Home\r\nSelect Item 2=Pro\r\n"
    "[Dialog 2]\r\nTitle Name=Samples\r\nInfo Line 1=Samples?\r\nSelect Item 1=None\r\nSelect Item 2=Some\r\n"
    "[Dialog 4]\r\nTitle Name=Never asked\r\nInfo Line 1=x\r\nSelect Item 1=y\r\n"
    "[DefDir]\r\nFile 1.1=ACME.EXE\r\nDialog 1. SelItem 2. File 1.1=PRO.DAT\r\nFile 2.1=ACME.HLP\r\n"
    "[SubDir 1]\r\nBitmap 3.1=SLIDE.BMP,2\r\n"
    "[Execute File]\r\nFile=ACME.EXE:0\r\n";

// What the recorder writes is a clean answer file; a key given again replaces its value,
// and a key of an earlier section joins that section.
TEST(AnswerFile, WhatIsWrittenReadsBackAsWritten) {
    AnswerText written;
    written.Set("ComPort", "Title", "Acme Remote");
    written.Set("ComPort", "Port", "COM2");
    written.Set("Dialog 1", "Item", "1");
    written.Set("Replace", "ACME.EXE", "No");
    written.Set("ComPort", "Port", "COM3");
    written.Set("Dialog 1", "Choice", "Pro");
    written.Set("Dialog 1", "Item", "2");
    written.Set("Disks", "Disk 3", "E:\\THIRD");
    written.Set("Messages", "Restart", "No");
    written.Set("Execute File", "Start", "Yes");
    const std::string text = written.Text();
    EXPECT_NE(text.find("\r\n[ComPort]\r\nTitle=Acme Remote\r\nPort=COM3\r\n\r\n[Dialog 1]\r\nItem=2\r\nChoice=Pro\r\n"),
              std::string::npos)
        << text;
    const Text file(text);
    EXPECT_TRUE(CheckAnswers(file, Text(kScript)).empty()) << CheckAnswers(file, Text(kScript))[0].message;
    EXPECT_EQ(AnswerValue(file, "Replace", "acme.exe"), "No");
    EXPECT_EQ(AnsweredPlace(file, "ComPort", "Port", {"COM1", "COM2", "COM3"}), 2);
    EXPECT_EQ(AnsweredPlace(file, "Dialog 1", "Choice", {"Home", "Pro"}), 1);
    EXPECT_EQ(AnsweredPlace(file, "Dialog 2", "Choice", {"None", "Some"}), -1);
}

TEST(AnswerFile, AHandWrittenFileNeedsOnlyWhatItAnswers) {
    // Any case, blanks around names and values, comments; an entry by its text or its place.
    const Text file("; my answers\r\n[ dialog 2 ]\r\n  choice =  some \r\n[DIALOG 1]\r\nitem=2\r\n[comport]\r\nport=com1\r\n");
    const auto problems = CheckAnswers(file, Text(kScript));
    EXPECT_TRUE(problems.empty()) << problems[0].message;
    EXPECT_EQ(AnsweredPlace(file, "Dialog 2", "Choice", {"None", "Some"}), 1);
    EXPECT_EQ(AnsweredPlace(file, "Dialog 1", "Choice", {"Home", "Pro"}), 1);
    EXPECT_EQ(AnsweredPlace(file, "ComPort", "Port", {"COM1", "COM2"}), 0);
}

TEST(AnswerFile, EachMistakeIsNamedWithItsLine) {
    struct Case {
        const char* file;
        int line;
        const char* message;
    };
    const Case cases[] = {
        {"[Dialgo 1]\r\nItem=1\r\n", 1,
         "unknown section [Dialgo 1] (the sections are ComPort, Dialog N, Destination, Messages, Replace, Disks, "
         "Execute File)"},
        {"[Dialog 3]\r\nItem=1\r\n", 1, "[Dialog 3]: the script has no selection question 3"},
        {"[Dialog 4]\r\nItem=1\r\n", 1, "[Dialog 4]: the script has no selection question 4"},
        {"[Dialog 1]\r\nItem=3\r\n", 2, "Item=3: [Dialog 1] \"Edition\" has items 1 to 2"},
        {"[Dialog 1]\r\nChoice=Studio\r\n", 2, "Choice=Studio: [Dialog 1] \"Edition\" has no such item (Home, Pro)"},
        {"[Dialog 1]\r\nItem=1\r\nChoice=Pro\r\n", 3, "Choice=Pro is item 2, not item 1"},
        {"[Dialog 1]\r\nTitle=Editions\r\nItem=1\r\n", 2,
         "Title=Editions: the script's selection question 1 is titled \"Edition\""},
        {"[Dialog 1]\r\nItem=1\r\nItem=2\r\n", 3, "Item is given twice"},
        {"[Dialog 1]\r\nItem=1\r\n[dialog 1]\r\nItem=2\r\n", 3, "[dialog 1] is given twice"},
        {"[ComPort]\r\nPort=COM4\r\n", 2, "Port=COM4: the port question lists COM1 to COM3"},
        {"[ComPort]\r\nPort=COM1\r\nPrt=COM1\r\n", 3, "unknown key \"Prt\" in [ComPort] (Title, Port)"},
        {"[Messages]\r\nRestart=Later\r\n", 2, "Restart=Later: the answer is one of Yes, No"},
        {"[Replace]\r\nACME.EXE=All\r\n", 2, "ACME.EXE=All: the answer is one of Yes, No, Replace All"},
        {"[Replace]\r\nSLIDE.BMP=Skip\r\n", 2, "SLIDE.BMP=Skip: the answer is one of Yes, No, Replace All"},
        {"[Not Found]\r\nSLIDE.BMP=Ignore\r\n", 1,
         "unknown section [Not Found] (the sections are ComPort, Dialog N, Destination, Messages, Replace, Disks, "
         "Execute File)"},
        {"[Messages]\r\nStop=Yes\r\n", 2, "unknown key \"Stop\" in [Messages] (Previous Version, Restart, Reboot)"},
        {"[Execute File]\r\nStart=Maybe\r\n", 2, "Start=Maybe: the answer is one of Yes, No"},        {"[Disks]\r\nDisk 1=X\r\n", 2, "\"Disk 1\": the disks that are asked for are Disk 2 and after"},
        {"[Disks]\r\nDisk 2=\r\n", 2, "Disk 2 names no folder"},
        {"[Destination]\r\nDirectory=\r\n", 2, "Directory= names no directory"},
        {"Item=1\r\n", 1, "not an answer under a section: Item=1"},
        {"[Dialog 1]\r\nItem=1\r\nItem 1\r\n", 3, "not an answer under a section: Item 1"},
        {"[Dialog 1\r\n", 1, "not an answer under a section: [Dialog 1"},
    };
    for (const Case& c : cases) {
        const auto problems = CheckAnswers(Text(c.file), Text(kScript));
        ASSERT_EQ(problems.size(), 1u) << c.file;
        EXPECT_EQ(problems[0].line, c.line) << c.file;
        EXPECT_EQ(problems[0].message, c.message) << c.file;
    }
    // Questions the script does not ask at all.
    const auto problems =
        CheckAnswers(Text("[ComPort]\r\nPort=COM1\r\n[Execute File]\r\nStart=Yes\r\n"), Text("[DefDir]\r\nFile 1.1=A\r\n"));
    ASSERT_EQ(problems.size(), 2u);
    EXPECT_EQ(problems[0].message, "[ComPort]: the script asks no port question");
    EXPECT_EQ(problems[1].message, "[Execute File]: the script starts no program");
}

}  // namespace
}  // namespace setup
