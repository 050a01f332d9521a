#include "choices.h"

#include "../script/text.h"
#include "messages.h"
#include "setup_engine.h"

namespace setup {

namespace {

constexpr std::size_t kItemSize = 128;

// Values of "<name> 1", "<name> 2", ... up to the first that is absent or empty.
std::vector<std::string> NumberedValues(const SetupScript& script, const std::string& section, const char* name) {
    std::vector<std::string> values;
    for (int number = 1;; ++number) {
        std::string value = script.GetScriptValue(section.c_str(), NumberedKey(name, number).c_str(), nullptr, kItemSize);
        if (value.empty()) return values;
        values.push_back(std::move(value));
    }
}

}  // namespace

std::optional<SelectQuestion> LoadSelectQuestion(const SetupScript& script, int number) {
    SelectQuestion question;
    question.section = NumberedKey("Dialog", number);
    const char* section = question.section.c_str();
    question.title = script.GetScriptValue(section, "Title Name", nullptr, 200);
    const std::vector<std::string> info = NumberedValues(script, question.section, "Info Line");
    question.items = NumberedValues(script, question.section, "Select Item");
    if (question.title.empty() || info.empty() || question.items.empty()) return std::nullopt;

    for (const std::string& line : info) question.info += (question.info.empty() ? "" : "\n") + line;
    question.info = FitBuffer(question.info, kMessageTextSize);
    const int first = script.GetScriptInt(section, "DefSelect", 1);
    question.firstPosition = first >= 1 && first <= static_cast<int>(question.items.size()) ? first - 1 : 0;
    question.baseValue = static_cast<std::uint16_t>(script.GetScriptInt(section, "BaseValue", 0));
    question.writeInteger = EqualNoCase(script.GetScriptValue(section, "WriteValueType", nullptr, kItemSize), "Integer");
    question.animationIcon = script.GetScriptValue(section, "Animation Icon", nullptr, 20);
    return question;
}

std::string SelectionValue(const SelectQuestion& question, int position) {
    if (question.writeInteger) return std::to_string(question.baseValue + position);
    if (position < 0 || position >= static_cast<int>(question.items.size())) return std::string();
    return FitBuffer(question.items[static_cast<std::size_t>(position)], kSelectionValueSize);
}

int TextGrowth(const Rect& text, const TextRows& rows) {
    const int height = rows.rows * rows.lineHeight;
    if (height < text.Height()) return 0;
    return text.top + height - text.bottom;
}

std::string AnimationIconFile(const std::string& prefix, int k) {
    const std::string file = prefix + std::to_string(k) + ".ICO";
    return file.size() < kPathBufferSize ? file : std::string();
}

std::optional<PortQuestion> LoadPortQuestion(const SetupScript& script) {
    if (script.GetScriptValue("ComPort", "File 1", nullptr, kPathBufferSize).empty() ||
        script.GetScriptValue("ComPort", "Item 1.1", nullptr, kItemSize).empty())
        return std::nullopt;
    PortQuestion question;
    question.baseValue = static_cast<std::uint16_t>(script.GetScriptInt("ComPort", "BaseValue", 1));
    question.maxComPort = static_cast<std::uint16_t>(script.GetScriptInt("ComPort", "MaxComPort", 4));
    question.defComPort = static_cast<std::uint16_t>(script.GetScriptInt("ComPort", "DefComPort", 2));
    question.title = script.GetScriptValue("ComPort", "Title Name", nullptr, 200);
    question.info = script.GetScriptValue("ComPort", "Info", nullptr, 200);
    return question;
}

std::vector<std::string> PortNames(const PortQuestion& question) {
    std::vector<std::string> names;
    for (int port = 1; port <= question.maxComPort; ++port) names.push_back("COM" + std::to_string(port));
    return names;
}

int PortPreselection(const PortQuestion& question) {
    const int position = question.defComPort - question.baseValue;
    return position >= 0 && position < question.maxComPort ? position : 0;
}

std::string PortTitle(const PortQuestion& question) {
    // The dialog's own caption when the script gives none.
    return question.title.empty() ? "Remote Control" : question.title;
}

}  // namespace setup
