// Fuzzes fields and path references: the input's first line is a small script (its
// [Initiation] "SubDir N" keys), the rest a value taken apart with NextField and resolved
// as a path reference against short and long installation directories.
#include "engine/setup_engine.h"
#include "fake_engine.h"
#include "script/fields.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string input(reinterpret_cast<const char*>(data), size);
    std::size_t split = input.find('\n');
    std::string value = split == std::string::npos ? input : input.substr(split + 1);
    value = value.substr(0, std::strlen(value.c_str()));
    setup::FakeMachine engine("[Initiation]\r\n" + (split == std::string::npos ? std::string() : input.substr(0, split)));

    for (char separator : {',', ':'}) {
        for (std::size_t bufferSize : {1u, 2u, 4u, 128u}) {
            char buffer[129];
            std::memset(buffer, 'X', sizeof buffer);
            // Every call moves on or ends the list; a field is terminated inside the buffer.
            int position = 0;
            for (std::size_t calls = 0; calls <= value.size() + 1; ++calls) {
                const int before = position;
                const int found = setup::NextField(value.c_str(), &position, separator, buffer, bufferSize);
                if (buffer[bufferSize] != 'X') __builtin_trap();
                if (found && (std::strlen(buffer) >= bufferSize || !*buffer)) __builtin_trap();
                if (position < before || static_cast<std::size_t>(position) > value.size()) __builtin_trap();
                if (position == before) break;
            }
        }
    }
    for (const char* directory : {"C:\\APP\\", "C:\\AN\\INSTALLATION\\DIRECTORY\\OF\\SOME\\LENGTH"}) {
        engine.SetInstallDir(directory);
        char reference[256];
        std::strncpy(reference, value.c_str(), sizeof reference - 1);
        reference[sizeof reference - 1] = '\0';
        const std::string before = reference;
        if (!engine.ResolvePathRef(reference, sizeof reference, "D:\\DEFAULT") && before != reference) __builtin_trap();
        if (std::strlen(reference) > 255) __builtin_trap();
    }
    return 0;
}
