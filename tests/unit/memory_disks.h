// Installation disks held in memory for the tests: file names (compared without case) and
// their bytes, per disk.
#pragma once

#include "disks.h"

#include <cctype>
#include <map>
#include <string>
#include <vector>

namespace checker {

class MemoryDisks : public Disks {
public:
    std::map<int, std::map<std::string, std::vector<std::uint8_t>>> files;

    void Add(int disk, const std::string& name, std::vector<std::uint8_t> bytes = {'x'}) {
        files[disk][Upper(name)] = std::move(bytes);
    }
    std::optional<std::vector<std::uint8_t>> Read(int disk, const std::string& name) const override {
        auto d = files.find(disk);
        if (d == files.end()) return std::nullopt;
        auto f = d->second.find(Upper(name));
        if (f == d->second.end()) return std::nullopt;
        return f->second;
    }
    bool Exists(int disk, const std::string& name) const override { return Read(disk, name).has_value(); }
    std::string Describe(int disk) const override { return "DISK" + std::to_string(disk); }

private:
    static std::string Upper(std::string text) {
        for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        return text;
    }
};

}  // namespace checker
