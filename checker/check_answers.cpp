// An answer file checked against the script it answers.
#include "check.h"

#include "engine/choices.h"
#include "engine/set_dir.h"
#include "script/fields.h"
#include "script/text.h"
#include "unattended/answer_file.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace checker {

namespace {

// The number after prefix ("SubDir ") in a name, or 0.
int NumberAfter(const std::string& name, const char* prefix) {
    const std::size_t length = std::strlen(prefix);
    if (name.size() <= length || !setup::EqualNoCase(name.substr(0, length), prefix)) return 0;
    int number = 0;
    return setup::SetupScript::ParseScriptInt(name.c_str() + length, &number) ? number : 0;
}

// The file names of every copy list ("File D.M" values and slides), and the last disk.
struct CopyLists {
    std::vector<std::string> names;
    int lastDisk = 0;
};

CopyLists ReadCopyLists(const setup::SetupScript& script) {
    CopyLists lists;
    bool inList = false;
    for (int i = 0; i < script.LineCount(); ++i) {
        const std::string line = script.GetScriptLine(i);
        if (const auto header = setup::SetupScript::HeaderName(line)) {
            const std::string name(*header);
            inList = setup::EqualNoCase(name, "Windows") || setup::EqualNoCase(name, "System") || setup::EqualNoCase(name, "DefDir") ||
                     NumberAfter(name, "SubDir ") > 0;
            continue;
        }
        const auto key = inList && !setup::SetupScript::StartsSection(line) ? setup::SetupScript::KeyName(line) : std::nullopt;
        if (!key) continue;
        const std::string kind = setup::FoldName(*key);
        const std::size_t space = kind.rfind(' ');
        const bool file = space >= 4 && space != std::string::npos && kind.compare(space - 4, 4, "FILE") == 0;
        if (!file && (space == std::string::npos || space < 6 || kind.compare(space - 6, 6, "BITMAP") != 0)) continue;
        // Names are read as the copy walk reads them: 29 characters, a slide's first field.
        char value[30];
        int position = 0;
        const std::string text = setup::FitBuffer(setup::SetupScript::ValueOf(line), sizeof value);
        if (file) setup::CopyToBuffer(text, value, sizeof value);
        else if (!setup::NextField(text.c_str(), &position, ',', value, sizeof value)) continue;
        if (!*value || setup::EqualNoCase(value, "NULL")) continue;
        lists.names.push_back(value);
        lists.lastDisk = std::max(lists.lastDisk, static_cast<int>(std::strtol(kind.c_str() + space + 1, nullptr, 10)));
    }
    return lists;
}


}  // namespace

std::vector<Finding> CheckAnswers(const std::vector<std::uint8_t>& answers, const std::vector<std::uint8_t>& script,
                                  CheckOptions& options) {
    setup::SetupScript file, installer;
    file.AppendScriptText(reinterpret_cast<const char*>(answers.data()), answers.size());
    installer.AppendScriptText(reinterpret_cast<const char*>(script.data()), script.size());
    std::vector<Finding> findings;
    for (const setup::AnswerProblem& problem : setup::CheckAnswers(file, installer))
        findings.push_back({Severity::kError, problem.line, problem.message});
    // What the installer passes over without a word: a file or a disk that no copy list has.
    const CopyLists lists = ReadCopyLists(installer);
    std::string section;
    for (int i = 0; i < file.LineCount(); ++i) {
        const std::string line = file.GetScriptLine(i);
        if (const auto header = setup::SetupScript::HeaderName(line)) section = std::string(*header);
        const auto key = setup::SetupScript::HeaderName(line) ? std::nullopt : setup::SetupScript::KeyName(line);
        if (!key) continue;
        const std::string name(*key);
        const bool listed = std::any_of(lists.names.begin(), lists.names.end(),
                                        [&name](const std::string& file) { return setup::EqualNoCase(file, name); });
        if (setup::EqualNoCase(section, "Replace") && !listed)
            findings.push_back({Severity::kWarning, file.SourceLine(i), "[Replace] " + name + ": the script copies no such file"});
        if (setup::EqualNoCase(section, "Disks") && NumberAfter(name, "Disk ") > lists.lastDisk)
            findings.push_back({Severity::kWarning, file.SourceLine(i),
                                name + ": the script's copy lists end with disk " + std::to_string(lists.lastDisk)});
    }
    const std::string directory = setup::AnswerValue(file, "Destination", "Directory");
    int header = 0, line = 0;
    if (!directory.empty() && !setup::NormalizeInstallDir(directory) && file.FindSection("Destination", &header) &&
        file.FindKey("Directory", header + 1, &line))
        findings.push_back({Severity::kError, file.SourceLine(line),
                            "Directory=" + directory +
                                ": the destination dialog refuses it (a full path such as C:\\APPS): the quiet run stops"});
    std::stable_sort(findings.begin(), findings.end(), [](const Finding& a, const Finding& b) { return a.line < b.line; });
    for (int number = 1; const std::optional<setup::SelectQuestion> question = setup::LoadSelectQuestion(installer, number);
         ++number) {
        const int place = setup::AnsweredPlace(file, setup::NumberedKey("Dialog", number).c_str(), "Choice", question->items);
        if (place >= 0) options.choices[number] = place + 1;
    }
    if (const std::optional<setup::PortQuestion> port = setup::LoadPortQuestion(installer))
        options.port = setup::AnsweredPlace(file, "ComPort", "Port", setup::PortNames(*port)) + 1;
    options.destination = directory;
    return findings;
}

}  // namespace checker
