// The yardstick of the copy benchmark: copies the files named in a list from one folder
// to another with CopyFileA and prints the milliseconds it took.
//   COPYBENCH SOURCE_DIR DEST_DIR LIST_FILE
#include <windows.h>

#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: COPYBENCH SOURCE_DIR DEST_DIR LIST_FILE\n");
        return 2;
    }
    std::vector<std::string> names;
    std::ifstream list(argv[3]);
    for (std::string name; std::getline(list, name);)
        if (!name.empty()) names.push_back(name);
    ::CreateDirectoryA(argv[2], nullptr);
    LARGE_INTEGER frequency{}, start{}, end{};
    ::QueryPerformanceFrequency(&frequency);
    ::QueryPerformanceCounter(&start);
    for (const std::string& name : names) {
        const std::string from = std::string(argv[1]) + "\\" + name;
        const std::string to = std::string(argv[2]) + "\\" + name;
        if (!::CopyFileA(from.c_str(), to.c_str(), FALSE)) {
            std::fprintf(stderr, "cannot copy %s\n", from.c_str());
            return 1;
        }
    }
    ::QueryPerformanceCounter(&end);
    std::printf("%lld\n", (end.QuadPart - start.QuadPart) * 1000 / frequency.QuadPart);
    return 0;
}
