// setupcheck: finds what a setup script gets wrong before a user does.
//   setupcheck [--plan] [--choose K=S]... [--strict] SETUP.INF
#include "check.h"
#include "host_files.h"

#include <cstdlib>
#include <string>

namespace {

const char* const kHelp =
    "usage: setupcheck [--plan] [--choose K=S]... [--answers FILE] [--strict] SETUP.INF\n"
    "\n"
    "Reads a setup script with the installer's own reader, and the installation disks beside\n"
    "it (disk 1 is the script's folder; when that folder's name ends in 1, as DISK1, disk N is\n"
    "the sibling folder ending in N), and prints what the installer would get wrong or pass\n"
    "over without a word, as FILE:LINE: error|warning|note: message.\n"
    "\n"
    "  errors    the installation would go wrong: no product name, nothing copied, a file\n"
    "            missing from its disk, a path reference that cannot be resolved, a registry\n"
    "            key without its class, a question that is never asked, a file on its disk\n"
    "            that is not the one the script's [Checksums] lists (compressed files are\n"
    "            expanded to be compared)\n"
    "  warnings  something the script says is ignored or cut: gaps in numbered lists, sections\n"
    "            and keys read twice or not at all (with the name you may have meant), numbers\n"
    "            that are no numbers, values longer than the installer keeps, long lines,\n"
    "            empty values, texts that do not fit, pictures that cannot be shown\n"
    "  notes     worth knowing, harmless\n"
    "\n"
    "  --plan        also print what the installation does, step by step: the questions and\n"
    "                their answers, each disk's files from source to destination, program\n"
    "                groups, registry, INI entries, start-up programs and how it ends\n"
    "  --choose K=S  in the plan, answer selection question K with its item S (from 1);\n"
    "                unanswered questions take their defaults\n"
    "  --answers FILE  also check an answer file for SETUP.EXE /ANSWERS=FILE against the\n"
    "                script: questions, items, ports, files and disks the script does not\n"
    "                have, and a destination the dialog would refuse; the plan follows its\n"
    "                port, selection and destination answers\n"
    "  --strict      warnings count as errors for the exit status\n"
    "\n"
    "Exit status: 0 without errors, 1 with errors (or warnings with --strict), 2 on bad use.\n";

int Usage() {
    host::PrintError(kHelp);
    return 2;
}

bool ReadFile(const std::string& path, std::vector<std::uint8_t>& bytes) {
    const std::optional<std::string> text = host::ReadWholeFile(path);
    if (!text) {
        host::PrintError("setupcheck: cannot read " + path + "\n");
        return false;
    }
    bytes.assign(text->begin(), text->end());
    return true;
}

// "K=S": two decimal numbers, each after optional blanks and a sign, the first one followed
// by "=" at once; anything after the second is ignored.
bool ParseChoice(const char* text, int& dialog, int& item) {
    char* end = nullptr;
    dialog = static_cast<int>(std::strtol(text, &end, 10));
    if (end == text || *end != '=') return false;
    const char* second = end + 1;
    item = static_cast<int>(std::strtol(second, &end, 10));
    return end != second;
}

}  // namespace

int main(int argc, char** argv) {
    checker::CheckOptions options;
    bool strict = false;
    std::string path, answersPath;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--help" || arg == "-h") {
            host::PrintOut(kHelp);
            return 0;
        }
        if (arg == "--plan") {
            options.plan = true;
        } else if (arg == "--answers" && i + 1 < argc && answersPath.empty()) {
            answersPath = argv[++i];
        } else if (arg == "--strict") {
            strict = true;
        } else if (arg == "--choose" && i + 1 < argc) {
            int dialog = 0, item = 0;
            if (!ParseChoice(argv[++i], dialog, item) || dialog < 1 || item < 1) return Usage();
            options.choices[dialog] = item;
        } else if (!arg.empty() && arg[0] != '-' && path.empty()) {
            path = arg;
        } else {
            return Usage();
        }
    }
    if (path.empty()) return Usage();
    std::vector<std::uint8_t> script, answers;
    if (!ReadFile(path, script) || (!answersPath.empty() && !ReadFile(answersPath, answers))) return 2;
    std::vector<checker::Finding> answerFindings;
    if (!answersPath.empty()) answerFindings = checker::CheckAnswers(answers, script, options);
    const checker::FolderDisks disks(path);
    const checker::CheckResult result = checker::CheckScript(script, disks, options);

    int errors = 0, warnings = 0;
    auto print = [&errors, &warnings](const std::string& file, const std::vector<checker::Finding>& findings) {
        for (const checker::Finding& finding : findings) {
            host::PrintOut(checker::FormatFinding(file, finding).c_str());
            host::PrintOut("\n");
            if (finding.severity == checker::Severity::kError) ++errors;
            if (finding.severity == checker::Severity::kWarning) ++warnings;
        }
    };
    print(path, result.findings);
    print(answersPath, answerFindings);
    if (options.plan) {
        host::PrintOut(result.findings.empty() ? "" : "\n");
        host::PrintOut(checker::FormatPlan(result.plan).c_str());
    }
    host::PrintError("setupcheck: " + std::to_string(errors) + " error(s), " + std::to_string(warnings) + " warning(s)\n");
    return errors || (strict && warnings) ? 1 : 0;
}
