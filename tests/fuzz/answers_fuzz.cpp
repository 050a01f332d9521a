// Fuzzes what a run with switches reads before it changes anything: the first line of the
// input is a command line, the rest an answer file for a script that asks every kind of
// question. A command line read without error reads back the same from its description;
// an answer file read without problems is written and read back unchanged.
#include "core/answer_file.h"
#include "core/options.h"

#include <cstddef>
#include <cstdint>
#include <string>

namespace {

class Text : public setup::SetupScript {
public:
    Text(const char* data, std::size_t size) { AppendScriptText(data, size); }
};

const char kScript[] =
    "[Initiation]\r\nInstall Name=Acme\r\nDefDir=C:\\ACME\r\n"
    "[ComPort]\r\nTitle Name=Remote\r\nFile 1=ACME.INI:0\r\nItem 1.1=Remote,Port\r\n"
    "[Dialog 1]\r\nTitle Name=Edition\r\nInfo Line 1=Which?\r\nSelect Item 1=Home\r\nSelect Item 2=Pro\r\n"
    "[Dialog 2]\r\nTitle Name=Samples\r\nInfo Line 1=Which?\r\nSelect Item 1=None\r\nSelect Item 2=All\r\n"
    "[DefDir]\r\nFile 1.1=ACME.EXE\r\nFile 2.1=ACME.HLP\r\nBitmap 3.1=SLIDE.BMP,2\r\n"
    "[Execute File]\r\nFile=ACME.EXE:0\r\n";

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string input(reinterpret_cast<const char*>(data), size);
    const std::size_t newline = input.find('\n');
    const std::string commandLine = input.substr(0, newline);

    const setup::ParsedOptions parsed = setup::ParseCommandLine(setup::ArgumentsOf("SETUP.EXE " + commandLine));
    if (parsed.error.empty()) {
        const setup::ParsedOptions again = setup::ParseCommandLine(parsed.options.Describe());
        if (!again.error.empty() || again.options.Describe() != parsed.options.Describe()) __builtin_trap();
    }

    const std::string file = newline == std::string::npos ? std::string() : input.substr(newline + 1);
    const Text answers(file.data(), file.size());
    const Text script(kScript, sizeof kScript - 1);
    setup::AnswerSet set;
    const std::vector<setup::AnswerProblem> problems = setup::ReadAnswers(answers, script, set);
    for (const setup::AnswerProblem& problem : problems)
        if (problem.line < 0 || problem.message.empty()) __builtin_trap();
    if (problems.empty()) {
        const std::string written = setup::FormatAnswers(set);
        setup::AnswerSet reread;
        if (!setup::ReadAnswers(Text(written.data(), written.size()), script, reread).empty()) __builtin_trap();
        if (setup::FormatAnswers(reread) != written) __builtin_trap();
    }
    return 0;
}
