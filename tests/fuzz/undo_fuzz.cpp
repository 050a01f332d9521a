// Fuzzes the undo record's reader and the uninstallation that follows it, on the fake
// machine: a record is read whole or refused with a reason and nothing else, and no record,
// whatever it holds, makes the uninstallation touch a file that the installation could not
// have written (here the Windows directory's WIN.INI); nor does a rollback of its last
// installation, with a copy aside at hand to put over WIN.INI.
#include "fake_undo.h"
#include "uninstall/undo_record.h"

#include <cstddef>
#include <cstdint>
#include <string>

namespace {

const char kScript[] =
    "[Initiation]\r\nInstall Name=Acme\r\nWrite INI 1=win.ini\r\nWrite INI 2=ACME.INI:0\r\nGroup 1=Acme\r\n"
    "[Windows]\r\nFile 1.1=ACME.INI\r\n[DefDir]\r\nFile 1.1=ACME.EXE\r\n"
    "[Register]\r\nKey 1=HKEY_CURRENT_USER\r\nSubKey 1=Software\\Acme\r\nKey Class 1=NULL\r\n"
    "[UnInstall]\r\nSubKey=Acme\r\nDisplayName=Acme\r\nUnInstallString=SETUP.EXE /UNINSTALL=ACME.UNR\r\nRecord=ACME.UNR\r\n";

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    const setup::UndoRecord record = setup::ReadUndoRecord(text);
    if (record.error.empty() == false && !record.entries.empty()) __builtin_trap();
    setup::FakeMachine machine(kScript);
    machine.AddFile("C:\\WINDOWS\\WIN.INI", "the system's own");
    machine.AddFile("C:\\ACME\\ACME.EXE", "program");
    setup::FakeUndo undo(machine);
    undo.recordPath = "C:\\ACME\\ACME.UNR";
    undo.record = text;
    machine.RunUninstall(undo, undo.recordPath);
    if (!machine.HasFile("C:\\WINDOWS\\WIN.INI")) __builtin_trap();
    // Refused, it says so and changes nothing.
    if (!record.error.empty() && (machine.Messages() != std::vector<std::string>{"Uninstall Error Message"} ||
                                  !machine.HasFile("C:\\ACME\\ACME.EXE")))
        __builtin_trap();

    setup::FakeMachine again(kScript);
    again.AddFile("C:\\WINDOWS\\WIN.INI", "the system's own");
    again.AddFile("C:\\ACME\\ACME.UNR.OLD\\1.WIN.INI", "a copy aside");
    setup::FakeUndo rollback(again);
    rollback.recordPath = undo.recordPath;
    rollback.record = text;
    again.answers["Rollback Pending Message"] = {setup::result::kYes};
    again.RollBack(rollback, rollback.recordPath, true);
    if (again.Content("C:\\WINDOWS\\WIN.INI") != "the system's own") __builtin_trap();
    return 0;
}
