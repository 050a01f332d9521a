#include "check.h"

#include "checks.h"

#include <algorithm>

namespace checker {

CheckResult Checker::Run() {
    CheckRawLines();
    CheckStructure();
    CheckValues();
    CheckLists();
    CheckProduct();
    CheckCopyList();
    CheckChecksums();
    CheckPathReferences();
    CheckQuestions();
    CheckRegister();
    CheckMessages();
    CheckUninstall();
    std::stable_sort(m_result.findings.begin(), m_result.findings.end(),
                     [](const Finding& a, const Finding& b) { return a.line < b.line; });
    if (m_options.plan) {
        m_engine.RunSetup();
        m_result.plan = m_engine.plan;
    }
    return m_result;
}

CheckResult CheckScript(const std::vector<std::uint8_t>& script, const Disks& disks, const CheckOptions& options) {
    Checker checker(script, disks, options);
    return checker.Run();
}

std::string FormatFinding(const std::string& file, const Finding& finding) {
    static const char* const kinds[] = {"error", "warning", "note"};
    return file + (finding.line ? ":" + std::to_string(finding.line) : std::string()) + ": " +
           kinds[static_cast<int>(finding.severity)] + ": " + finding.message;
}

}  // namespace checker
