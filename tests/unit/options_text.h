// The options as a command line gives them, to compare them and to read them again.
#pragma once

#include "unattended/options.h"

#include <string>

namespace setup {

inline std::string Described(const SetupOptions& options) {
    const std::pair<const char*, const std::string*> values[] = {
        {"ANSWERS", &options.answers}, {"RECORD", &options.record},       {"LOG", &options.log},
        {"DIR", &options.directory},   {"UNINSTALL", &options.uninstall}, {"FINISH", &options.finish}};
    std::string text = options.quiet ? " /QUIET" : "";
    for (const auto& [name, value] : values) {
        if (value->empty()) continue;
        const bool quote = value->find_first_of(" \t") != std::string::npos;
        text += std::string(" /") + name + (quote ? "=\"" : "=") + *value + (quote ? "\"" : "");
    }
    text += std::string(options.noRestart ? " /NORESTART" : "") + (options.usage ? " /?" : "");
    return text.empty() ? text : text.substr(1);
}

}  // namespace setup
