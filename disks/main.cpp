// setupdisks: makes a product's installation disks from its setup script.
//   setupdisks SETUP.INF --from SOURCE_DIR --to OUT_DIR [--capacity SIZE] [--compress MODE]
//              [--installer SETUP.EXE] [--images] [--iso FILE]
#include "check.h"
#include "disk_folder.h"
#include "fat_image.h"
#include "iso_image.h"
#include "host_files.h"
#include "layout.h"
#include "report.h"

#include <optional>
#include <string>

namespace {

const char* const kHelp =
    "usage: setupdisks SETUP.INF --from SOURCE_DIR --to OUT_DIR [--capacity SIZE]\n"
    "                  [--compress auto|all|none] [--installer SETUP.EXE] [--images]\n"
    "                  [--iso FILE]\n"
    "\n"
    "Lays out a product's installation disks as the setup script describes them: every file\n"
    "of the copy list goes from SOURCE_DIR (found by its name without regard to case) onto\n"
    "its disk, OUT_DIR/DISK1 ... DISKn; disk 1 also carries the installer, the script (with\n"
    "CR LF line ends, named after the installer) and the background picture and animation\n"
    "icons the script names. The script ends with a [Checksums] section: the size and CRC-32\n"
    "of every other file as installed, which the installer and setupcheck check. Then the\n"
    "disks are checked as setupcheck checks them, and a table shows how full each disk is.\n"
    "DISKn folders of an earlier run are replaced.\n"
    "\n"
    "  --capacity SIZE    1440K (the default), 360K, 720K, 1200K, 1680K (the 1.68 MB\n"
    "                     distribution format), 2880K, or a number of bytes\n"
    "  --compress MODE    auto: compress a file when that makes it smaller (the default);\n"
    "                     all: every file that may be; none: no file. The script, the\n"
    "                     installer and the pictures and icons it reads itself stay plain.\n"
    "                     A compressed FILE.EXT is written as FILE.EX_.\n"
    "  --installer FILE   the installer to put on disk 1 (default: SETUP.EXE of SOURCE_DIR)\n"
    "  --images           also write each disk as the image of a formatted floppy of the\n"
    "                     capacity, OUT_DIR/DISK1.IMG ...: FAT12, volume label DISKn, 8.3\n"
    "                     names; DISKn.IMG files of an earlier run are replaced\n"
    "  --iso FILE         also write one CD image (ISO 9660, 8.3 names) with the files of\n"
    "                     every disk in one tree, from which the installer installs all\n"
    "\n"
    "Mistakes are printed as SETUP.INF:LINE: error|warning: message.\n"
    "Exit status: 0 without errors, 1 with errors, 2 on bad use.\n";

int Usage() {
    host::PrintError(kHelp);
    return 2;
}

std::optional<std::vector<std::uint8_t>> ReadFile(const std::string& path) {
    const std::optional<std::string> bytes = host::ReadWholeFile(path);
    if (!bytes) return std::nullopt;
    return std::vector<std::uint8_t>(bytes->begin(), bytes->end());
}

int CannotRead(const std::string& path) {
    host::PrintError("setupdisks: cannot read " + path + "\n");
    return 2;
}

struct Arguments {
    std::string script, from, to, installer, iso;
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
        } else if (arg == "--iso" && hasValue) {
            arguments.iso = argv[++i];
            arguments.options.cdImage = true;
        } else if (arg == "--images") {
            arguments.options.images = true;
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
    if (arguments.options.images && !arguments.options.medium.floppy) {
        host::PrintError("setupdisks: --images needs the capacity of a floppy, not a number of bytes\n");
        return std::nullopt;
    }
    return arguments;
}

// The local time, for the files of the images.
disks::ImageTime Now() {
    const host::LocalClock now = host::LocalNow();
    return {now.year, now.month, now.day, now.hour, now.minute, now.second};
}

bool WriteCd(const std::vector<disks::CdFile>& files, const std::string& path, std::vector<std::string>& written,
             std::string& error) {
    const std::optional<std::vector<std::uint8_t>> image = disks::MakeCdImage("SETUP", files, Now(), error);
    if (!image) return false;
    if (!host::WriteWholeFile(path, std::string_view(reinterpret_cast<const char*>(image->data()), image->size()))) {
        error = "cannot write " + path;
        return false;
    }
    written.push_back(path);
    return true;
}

struct Counts {
    int errors = 0;
    int warnings = 0;
};

Counts Print(const std::string& script, const std::vector<checker::Finding>& findings) {
    Counts counts;
    for (const checker::Finding& finding : findings) {
        host::PrintOut(checker::FormatFinding(script, finding).c_str());
        host::PrintOut("\n");
        if (finding.severity == checker::Severity::kError) ++counts.errors;
        if (finding.severity == checker::Severity::kWarning) ++counts.warnings;
    }
    return counts;
}

int Finish(const Counts& counts, const std::string& what) {
    host::PrintError("setupdisks: " + what + ", " + std::to_string(counts.errors) + " error(s), " +
                     std::to_string(counts.warnings) + " warning(s)\n");
    return counts.errors ? 1 : 0;
}

}  // namespace

int main(int argc, char** argv) {
    for (int i = 1; i < argc; ++i)
        if (std::string(argv[i]) == "--help" || std::string(argv[i]) == "-h") {
            host::PrintOut(kHelp);
            return 0;
        }
    std::optional<Arguments> arguments = ParseArguments(argc, argv);
    if (!arguments) return Usage();
    const std::optional<std::vector<std::uint8_t>> script = ReadFile(arguments->script);
    if (!script) return CannotRead(arguments->script);
    if (!host::IsDirectory(arguments->from)) {
        host::PrintError("setupdisks: " + arguments->from + " is not a folder\n");
        return 2;
    }
    const checker::FolderDisks source(host::JoinPath(arguments->from, "SETUP.INF"));
    disks::LayoutOptions& options = arguments->options;
    std::optional<std::vector<std::uint8_t>> installer;
    if (arguments->installer.empty()) {
        options.installerName = "SETUP.EXE";
        installer = source.Read(1, options.installerName);
        if (!installer) {
            host::PrintOut(arguments->script + ": error: no installer: SETUP.EXE is not in " + source.Describe(1) +
                           " (name one with --installer)\n");
            return Finish({1, 0}, "no disks made");
        }
    } else {
        options.installerName = host::FileNameOf(arguments->installer);
        installer = ReadFile(arguments->installer);
        if (!installer) return CannotRead(arguments->installer);
    }
    options.installer = std::move(*installer);

    const disks::Layout layout = disks::PlanDisks(*script, source, options);
    Counts counts = Print(arguments->script, layout.findings);
    if (layout.HasErrors()) {
        host::PrintOut("\n" + disks::FormatDiskTable(layout, options.medium));
        return Finish(counts, "no disks made");
    }
    std::string error;
    std::vector<std::string> images;
    // The CD's tree is checked before anything is written.
    std::optional<std::vector<disks::CdFile>> cd;
    if (!arguments->iso.empty() && !(cd = disks::MergeDisks(layout, error))) {
        host::PrintOut(arguments->script + ": error: " + error + "\n");
        return Finish({counts.errors + 1, counts.warnings}, "no disks made");
    }
    if (!disks::WriteDisks(layout, arguments->to, error) ||
        (options.images && !disks::WriteImages(layout, options.medium, arguments->to, Now(), images, error)) ||
        (cd && !WriteCd(*cd, arguments->iso, images, error))) {
        host::PrintError("setupdisks: " + error + "\n");
        return 1;
    }
    // The disks as the installer will find them, checked as setupcheck checks them.
    const std::string onDisk = host::JoinPath(disks::DiskFolder(arguments->to, 1), layout.scriptName);
    const checker::CheckResult check = checker::CheckScript(layout.script, checker::FolderDisks(onDisk), {});
    const Counts checked = Print(arguments->script, check.findings);
    counts.errors += checked.errors;
    counts.warnings += checked.warnings;
    host::PrintOut(layout.findings.empty() && check.findings.empty() ? "" : "\n");
    host::PrintOut(disks::FormatDiskTable(layout, options.medium));
    for (const std::string& image : images) host::PrintOut("image " + image + "\n");
    return Finish(counts, std::to_string(layout.disks.size()) + " disk(s) in " + arguments->to);
}
