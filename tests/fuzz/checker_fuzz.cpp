// Fuzzes the script checker and planner: any bytes as a script, on disks that hold every
// other file name (with the script's own bytes as their contents, so slides are parsed too),
// with the plan worked out and every finding formatted.
#include "check.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace {

class FuzzDisks : public checker::Disks {
public:
    explicit FuzzDisks(std::vector<std::uint8_t> bytes) : m_bytes(std::move(bytes)) {}

    std::optional<std::vector<std::uint8_t>> Read(int disk, const std::string& name) const override {
        if (!Exists(disk, name)) return std::nullopt;
        return m_bytes;
    }
    // Present when the name's length and the disk number differ in parity: a stable mix of
    // found and missing files.
    bool Exists(int disk, const std::string& name) const override { return (name.size() + disk) % 2 == 1; }
    std::string Describe(int disk) const override { return "DISK" + std::to_string(disk); }

private:
    std::vector<std::uint8_t> m_bytes;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::vector<std::uint8_t> script(data, data + size);
    FuzzDisks disks(script);
    checker::CheckOptions options;
    options.plan = true;
    if (size > 0) options.choices[1 + data[0] % 3] = 1 + data[size - 1] % 4;
    const checker::CheckResult result = checker::CheckScript(script, disks, options);

    // Findings come in the order of the script's lines, each on a line the script has.
    int lastLine = 0;
    const int lineLimit = static_cast<int>(size) + 1;
    for (const checker::Finding& finding : result.findings) {
        if (finding.line < lastLine || finding.line > lineLimit || finding.message.empty()) __builtin_trap();
        lastLine = finding.line;
        if (checker::FormatFinding("SETUP.INF", finding).empty()) __builtin_trap();
    }
    checker::FormatPlan(result.plan);
    return 0;
}
