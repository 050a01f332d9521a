// The checks of a setup script, read with the installer's own reader and lookups.
#pragma once

#include "disks.h"
#include "findings.h"
#include "planner.h"

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace checker {

struct CheckOptions {
    bool plan = false;
    std::map<int, int> choices;  // selection dialog K answered with item S (from 1)
    int port = 0;                // the port question answered with its entry P (from 1); 0: its default
    std::string destination;     // the destination typed; empty: DefDir
};

struct CheckResult {
    std::vector<Finding> findings;  // in the order of the script's lines
    std::vector<PlanLine> plan;
};

CheckResult CheckScript(const std::vector<std::uint8_t>& script, const Disks& disks, const CheckOptions& options);

// An answer file checked against the script it answers, with the installer's own reader:
// everything the installer would refuse it for, and a destination directory that the
// destination dialog would refuse (the quiet run would stop there). The port, selection
// and destination answers go into options, so that a plan follows them.
std::vector<Finding> CheckAnswers(const std::vector<std::uint8_t>& answers, const std::vector<std::uint8_t>& script,
                                  CheckOptions& options);

}  // namespace checker
