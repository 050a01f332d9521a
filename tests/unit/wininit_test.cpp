#include "uninstall/wininit.h"

#include <gtest/gtest.h>

namespace setup {
namespace {

// Each case names the fault it would catch; the expected files are written out by hand.
TEST(Wininit, AddsLinesToTheRenameSection) {
    struct Case {
        const char* fault;
        const char* before;
        const char* after;
    };
    const Case cases[] = {
        {"no file: the section is made", "", "[rename]\r\nNUL=C:\\BRIGHTLF\\SETUP.EXE\r\n"},
        {"a second NUL line must not replace the first (the profile functions would)",
         "[rename]\r\nNUL=C:\\OLD.DLL\r\n", "[rename]\r\nNUL=C:\\OLD.DLL\r\nNUL=C:\\BRIGHTLF\\SETUP.EXE\r\n"},
        {"the line goes into [rename], not at the end of the file, before the blank line",
         "[rename]\r\nC:\\A.DLL=C:\\A.NEW\r\n\r\n[other]\r\nx=1\r\n",
         "[rename]\r\nC:\\A.DLL=C:\\A.NEW\r\nNUL=C:\\BRIGHTLF\\SETUP.EXE\r\n\r\n[other]\r\nx=1\r\n"},
        {"the section's name in another case, last line without its line end",
         "[Rename]\nNUL=C:\\OLD.DLL", "[Rename]\nNUL=C:\\OLD.DLL\r\nNUL=C:\\BRIGHTLF\\SETUP.EXE\r\n"},
        {"another section only: a section of its own after it", "[other]\r\nx=1",
         "[other]\r\nx=1\r\n[rename]\r\nNUL=C:\\BRIGHTLF\\SETUP.EXE\r\n"},
        {"a key named like the section is no section", "rename=[rename]\r\n",
         "rename=[rename]\r\n[rename]\r\nNUL=C:\\BRIGHTLF\\SETUP.EXE\r\n"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(AddRenameLine(c.before, "NUL=C:\\BRIGHTLF\\SETUP.EXE"), c.after) << c.fault;
}

}  // namespace
}  // namespace setup
