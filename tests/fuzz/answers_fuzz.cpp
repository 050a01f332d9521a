// Fuzzes what a run with switches reads before it changes anything: the first line of the
// input is a command line, the rest an answer file for a script that asks every kind of
// question. A command line read without error reads back the same from its description;
// an answer file checked without problems answers only what the script asks, and the
// same after the recorder has written those answers again.
#include "options_text.h"
#include "unattended/answer_file.h"
#include "unattended/options.h"

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
        const setup::ParsedOptions again = setup::ParseCommandLine(setup::Described(parsed.options));
        if (!again.error.empty() || setup::Described(again.options) != setup::Described(parsed.options)) __builtin_trap();
    }

    const std::string file = newline == std::string::npos ? std::string() : input.substr(newline + 1);
    const Text answers(file.data(), file.size());
    const Text script(kScript, sizeof kScript - 1);
    const std::vector<setup::AnswerProblem> problems = setup::CheckAnswers(answers, script);
    for (const setup::AnswerProblem& problem : problems)
        if (problem.line < 1 || problem.message.empty()) __builtin_trap();
    if (!problems.empty()) return 0;
    // A clean file answers only with what the script has, and written again as the
    // recorder writes it, it is still clean and answers the same.
    const std::vector<std::string> ports = {"COM1", "COM2", "COM3", "COM4"};
    const std::vector<std::string> items = {"Home", "Pro"};
    const int port = setup::AnsweredPlace(answers, "ComPort", "Port", ports);
    const int item = setup::AnsweredPlace(answers, "Dialog 1", "Choice", items);
    if (port < -1 || port > 3 || item < -1 || item > 1) __builtin_trap();
    setup::AnswerText rewritten;
    if (port >= 0) rewritten.Set("ComPort", "Port", ports[static_cast<std::size_t>(port)]);
    if (item >= 0) rewritten.Set("Dialog 1", "Item", std::to_string(item + 1));
    const std::string text = rewritten.Text();
    const Text again(text.data(), text.size());
    if (!setup::CheckAnswers(again, script).empty() || setup::AnsweredPlace(again, "ComPort", "Port", ports) != port ||
        setup::AnsweredPlace(again, "Dialog 1", "Choice", items) != item)
        __builtin_trap();
    return 0;
}
