// What the checker reports: errors (the installation would go wrong), warnings (something
// is lost or ignored without a word) and notes.
#pragma once

#include <string>
#include <vector>

namespace checker {

enum class Severity { kError, kWarning, kNote };

struct Finding {
    Severity severity;
    int line;  // line of the script, from 1; 0 when no line is to blame
    std::string message;
};

// "FILE:LINE: error: message" (without the line when it is 0).
std::string FormatFinding(const std::string& file, const Finding& finding);

}  // namespace checker
