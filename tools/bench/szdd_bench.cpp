// The SZDD writer of setupdisks against Debian's mscompress on the same files, side by side
// in one run: the compressed sizes and the times, per corpus (a folder of files).
//   szdd_bench NAME FOLDER [NAME FOLDER ...]        (tools/szdd_benchmark.sh runs it)
// Each side compresses every file of the corpus from the file cache to a file, three
// times; the best time counts. mscompress runs as the program it is, one run per file.
#include "szdd.h"

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

struct Result {
    std::uintmax_t bytes = 0;
    double ms = 0;
};

double Since(Clock::time_point start) { return std::chrono::duration<double, std::milli>(Clock::now() - start).count(); }

Result Ours(const std::vector<fs::path>& files, const fs::path& work) {
    Result result;
    const Clock::time_point start = Clock::now();
    for (const fs::path& file : files) {
        std::ifstream in(file, std::ios::binary);
        const std::vector<std::uint8_t> plain((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        const std::string name = file.filename().string();
        const std::vector<std::uint8_t> packed = disks::CompressSzdd(plain.data(), plain.size(), name.back());
        std::ofstream(work / (name + "_"), std::ios::binary)
            .write(reinterpret_cast<const char*>(packed.data()), static_cast<std::streamsize>(packed.size()));
        result.bytes += packed.size();
    }
    result.ms = Since(start);
    return result;
}

// mscompress FILE writes FILE_ beside it; the corpus is copied to the work folder first.
// Both sides read the corpus from the file cache and write their output the same way.
Result Theirs(const std::vector<fs::path>& files, const fs::path& work) {
    std::vector<fs::path> copies;
    for (const fs::path& file : files) {
        copies.push_back(work / file.filename());
        fs::copy_file(file, copies.back(), fs::copy_options::overwrite_existing);
        fs::remove(copies.back().string() + "_");  // mscompress keeps an output it finds
    }
    Result result;
    const Clock::time_point start = Clock::now();
    for (const fs::path& copy : copies) {
        std::string path = copy.string();
        char program[] = "mscompress";
        char* argv[] = {program, path.data(), nullptr};
        pid_t pid = 0;
        int status = 0;
        if (posix_spawnp(&pid, "mscompress", nullptr, nullptr, argv, environ) != 0 || waitpid(pid, &status, 0) < 0 ||
            !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
            std::fprintf(stderr, "szdd_bench: mscompress failed on %s\n", path.c_str());
            std::exit(1);
        }
    }
    result.ms = Since(start);
    for (const fs::path& copy : copies) result.bytes += fs::file_size(copy.string() + "_");
    return result;
}

// The best of three runs.
template <typename Run>
Result Best(Run run, const std::vector<fs::path>& files, const fs::path& work) {
    Result best = run(files, work);
    for (int i = 0; i < 2; ++i) {
        const Result next = run(files, work);
        best.ms = std::min(best.ms, next.ms);
    }
    return best;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3 || argc % 2 != 1) {
        std::fputs("usage: szdd_bench NAME FOLDER [NAME FOLDER ...]\n", stderr);
        return 2;
    }
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    const fs::path work = fs::temp_directory_path() / ("szdd_bench." + std::to_string(::getpid()));
    std::printf("%-8s %6s %12s %12s %12s %7s %9s %9s %7s %6s\n", "corpus", "files", "plain", "ours", "mscompress",
                "size", "ours ms", "msc. ms", "time", "goal");
    for (int i = 1; i + 1 < argc; i += 2) {
        std::vector<fs::path> files;
        std::uintmax_t plain = 0;
        for (const fs::directory_entry& entry : fs::directory_iterator(argv[i + 1]))
            if (entry.is_regular_file()) files.push_back(entry.path()), plain += entry.file_size();
        std::sort(files.begin(), files.end());
        fs::remove_all(work);
        fs::create_directories(work / "ours");
        fs::create_directories(work / "theirs");
        const Result ours = Best(Ours, files, work / "ours");
        const Result theirs = Best(Theirs, files, work / "theirs");
        std::printf("%-8s %6zu %12ju %12ju %12ju %7.3f %9.1f %9.1f %7.3f %6s\n", argv[i], files.size(), plain, ours.bytes,
                    theirs.bytes, static_cast<double>(ours.bytes) / static_cast<double>(theirs.bytes), ours.ms, theirs.ms,
                    ours.ms / theirs.ms, "<=1");
    }
    fs::remove_all(work);
    std::puts("size and time: ours / mscompress (goal: at most 1 for both)");
    return 0;
}
