// The checks of a setup script, read with the installer's own reader and lookups.
#pragma once

#include "disks.h"
#include "findings.h"
#include "planner.h"

#include <cstdint>
#include <map>
#include <vector>

namespace checker {

struct CheckOptions {
    bool plan = false;
    std::map<int, int> choices;  // selection dialog K answered with item S (from 1)
};

struct CheckResult {
    std::vector<Finding> findings;  // in the order of the script's lines
    std::vector<PlanLine> plan;
};

CheckResult CheckScript(const std::vector<std::uint8_t>& script, const Disks& disks, const CheckOptions& options);

}  // namespace checker
