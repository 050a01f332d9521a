#include "set_dir.h"

#include "../script/text.h"
#include "messages.h"
#include "setup_engine.h"

#include <cstdio>

namespace setup {

std::optional<std::string> NormalizeInstallDir(const std::string& typed) {
    if (typed.size() < 3 || typed[1] != ':' || typed[2] != '\\') return std::nullopt;
    std::string directory = typed;
    if (directory[0] >= 'a' && directory[0] <= 'z') directory[0] = static_cast<char>(directory[0] - 'a' + 'A');
    if (directory.back() != '\\') directory += '\\';
    if (directory.size() >= kPathBufferSize) return std::nullopt;
    return directory;
}

std::string ComposeSetDirText(const SetupScript& script) {
    std::string text;
    for (int number = 1;; ++number) {
        const std::string key = NumberedKey("Line", number);
        std::string line = script.GetScriptValue("SetDir Message", key.c_str(), nullptr, kPathBufferSize);
        if (line.empty()) break;
        if (EqualNoCase(line, "NULL")) line.clear();
        const std::string joined = number == 1 ? line : "\n" + line;
        if (text.size() + joined.size() > kMessageTextSize - 1) break;  // whole lines only
        text += joined;
    }
    if (!text.empty() || !script.GetScriptValue("SetDir Message", "Line 1", nullptr, kPathBufferSize).empty())
        return text;

    std::string product = script.GetScriptValue("Initiation", "Install Name", nullptr, kPathBufferSize);
    if (product.empty()) product = script.GetScriptValue("Background", "Product Name", nullptr, kPathBufferSize);
    const std::string button = script.GetScriptValue("Button Text", "OK", "OK", 20);
    return FitBuffer("Installing " + product + " Application.\n\nInstallation will install " + product +
                         " into the following directory which will be created on your hard disk.\n\n"
                         "If you want to install the program in a different directory and/or drive, type the "
                         "name of the directory.\n\nClick " +
                         button + " to begin the installation.",
                     kMessageTextSize);
}

}  // namespace setup
