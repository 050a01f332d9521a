// setupdisks: makes a product's installation disks from its setup script.
//   setupdisks SETUP.INF --from SOURCE_DIR --to OUT_DIR [--capacity SIZE] [--compress MODE]
//              [--installer SETUP.EXE]
#include "check.h"
#include "disk_folder.h"
#include "layout.h"
#include "report.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>

namespace {

const char* const kHelp =
    "usage: setupdisks SETUP.INF --from SOURCE_DIR --to OUT_DIR [--capacity SIZE]\n"
    "                  [--compress auto|all|none] [--installer SETUP.EXE]\n"
    "\n"
    "Lays out a product's installation disks as the setup script describes them: every file\n"
    "of the copy list goes from SOURCE_DIR (found by its name without regard to case) onto\n"
    "its disk, OUT_DIR/DISK1 ... DISKn; disk 1 also carries the installer, the script (with\n"
    "CR LF line ends, named after the installer) and the background picture and animation\n"
    "icons the script names. Then the disks are checked as setupcheck checks them, and a\n"
    "table shows how full each disk is. DISKn folders of an earlier run are replaced.\n"
    "\n"
    "  --capacity SIZE    1440K (the default), 1200K, 720K, 2880K, or a number of bytes\n"
    "  --compress MODE    auto: compress a file when that makes it smaller (the default);\n"
    "                     all: every file that may be; none: no file. The script, the\n"
    "                     installer and the pictures and icons it reads itself stay plain.\n"
    "                     A compressed FILE.EXT is written as FILE.EX_.\n"
    "  --installer FILE   the installer to put on disk 1 (default: SETUP.EXE of SOURCE_DIR)\n"
    "\n"
    "Mistakes are printed as SETUP.INF:LINE: error|warning: message.\n"
    "Exit status: 0 without errors, 1 with errors, 2 on bad use.\n";

int Usage() {
    std::fputs(kHelp, stderr);
    return 2;
}

std::optional<std::vector<std::uint8_t>> ReadFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    if (!file) return std::nullopt;
    return std::vector<std::uint8_t>((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
}

struct Arguments {
    std::string script, from, to, installer;
    disks::LayoutOptions options;
};

std::optional<Arguments> ParseArguments(int argc, char** argv) {
    Arguments arguments;
    arguments.options.medium = *disks::ParseMedium("1440K");
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const bool hasValue = i + 1 < argc;
        if (arg == "--from" && hasValue) {
            arguments.from = argv[++i];
        } else if (arg == "--to" && hasValue) {
            arguments.to = argv[++i];
        } else if (arg == "--installer" && hasValue) {
            arguments.installer = argv[++i];
        } else if (arg == "--capacity" && hasValue) {
            const std::optional<disks::Medium> medium = disks::ParseMedium(argv[++i]);
            if (!medium) return std::nullopt;
            arguments.options.medium = *medium;
        } else if (arg == "--compress" && hasValue) {
            const std::string mode = argv[++i];
            if (mode == "auto") arguments.options.compression = disks::Compression::kAuto;
            else if (mode == "all") arguments.options.compression = disks::Compression::kAll;
            else if (mode == "none") arguments.options.compression = disks::Compression::kNone;
            else return std::nullopt;
        } else if (!arg.empty() && arg[0] != '-' && arguments.script.empty()) {
            arguments.script = arg;
        } else {
            return std::nullopt;
        }
    }
    if (arguments.script.empty() || arguments.from.empty() || arguments.to.empty()) return std::nullopt;
    return arguments;
}

struct Counts {
    int errors = 0;
    int warnings = 0;
};

Counts Print(const std::string& script, const std::vector<checker::Finding>& findings) {
    Counts counts;
    for (const checker::Finding& finding : findings) {
        std::printf("%s\n", checker::FormatFinding(script, finding).c_str());
        if (finding.severity == checker::Severity::kError) ++counts.errors;
        if (finding.severity == checker::Severity::kWarning) ++counts.warnings;
    }
    return counts;
}

int Finish(const Counts& counts, const std::string& what) {
    std::fflush(stdout);
    std::fprintf(stderr, "setupdisks: %s, %d error(s), %d warning(s)\n", what.c_str(), counts.errors, counts.warnings);
    return counts.errors ? 1 : 0;
}

}  // namespace

int main(int argc, char** argv) {
    for (int i = 1; i < argc; ++i)
        if (std::string(argv[i]) == "--help" || std::string(argv[i]) == "-h") {
            std::fputs(kHelp, stdout);
            return 0;
        }
    std::optional<Arguments> arguments = ParseArguments(argc, argv);
    if (!arguments) return Usage();
    const std::optional<std::vector<std::uint8_t>> script = ReadFile(arguments->script);
    if (!script) {
        std::fprintf(stderr, "setupdisks: cannot read %s\n", arguments->script.c_str());
        return 2;
    }
    if (!std::filesystem::is_directory(arguments->from)) {
        std::fprintf(stderr, "setupdisks: %s is not a folder\n", arguments->from.c_str());
        return 2;
    }
    const checker::FolderDisks source((std::filesystem::path(arguments->from) / "SETUP.INF").string());
    disks::LayoutOptions& options = arguments->options;
    std::optional<std::vector<std::uint8_t>> installer;
    if (arguments->installer.empty()) {
        options.installerName = "SETUP.EXE";
        installer = source.Read(1, options.installerName);
        if (!installer) {
            std::printf("%s: error: no installer: SETUP.EXE is not in %s (name one with --installer)\n",
                        arguments->script.c_str(), source.Describe(1).c_str());
            return Finish({1, 0}, "no disks made");
        }
    } else {
        options.installerName = std::filesystem::path(arguments->installer).filename().string();
        installer = ReadFile(arguments->installer);
        if (!installer) {
            std::fprintf(stderr, "setupdisks: cannot read %s\n", arguments->installer.c_str());
            return 2;
        }
    }
    options.installer = std::move(*installer);

    const disks::Layout layout = disks::PlanDisks(*script, source, options);
    Counts counts = Print(arguments->script, layout.findings);
    if (layout.HasErrors()) {
        std::printf("\n%s", disks::FormatDiskTable(layout, options.medium).c_str());
        return Finish(counts, "no disks made");
    }
    std::string error;
    if (!disks::WriteDisks(layout, arguments->to, error)) {
        std::fprintf(stderr, "setupdisks: %s\n", error.c_str());
        return 1;
    }
    // The disks as the installer will find them, checked as setupcheck checks them.
    const std::string onDisk = (std::filesystem::path(disks::DiskFolder(arguments->to, 1)) / layout.scriptName).string();
    const checker::CheckResult check = checker::CheckScript(layout.script, checker::FolderDisks(onDisk), {});
    const Counts checked = Print(arguments->script, check.findings);
    counts.errors += checked.errors;
    counts.warnings += checked.warnings;
    std::printf("%s%s", layout.findings.empty() && check.findings.empty() ? "" : "\n",
                disks::FormatDiskTable(layout, options.medium).c_str());
    return Finish(counts, std::to_string(layout.disks.size()) + " disk(s) in " + arguments->to);
}
