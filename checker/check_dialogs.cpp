// What the installer shows: the product, its background picture, the questions and the
// messages.
#include "checks.h"

#include "engine/choices.h"
#include "engine/messages.h"
#include "script/text.h"
#include "ui/dib.h"

namespace checker {

void Checker::CheckProduct() {
    if (!m_engine.ReadInitiation())
        Error(0, "no [Initiation] \"Install Name\" and no [Background] \"Product Name\": the installer ends "
                 "without showing anything");
    const KeyLine* picture = Find("Background", "Background Bitmap");
    if (picture && !picture->value.empty()) {
        const std::optional<std::vector<std::uint8_t>> bytes = m_disks.Read(1, setup::FitBuffer(picture->value, 20));
        if (!bytes || bytes->size() <= setup::kBitmapFileHeaderSize ||
            !setup::IsBitmapFileHeader(bytes->data(), bytes->size()) ||
            !setup::ParseDib(bytes->data() + setup::kBitmapFileHeaderSize, bytes->size() - setup::kBitmapFileHeaderSize))
            Warning(picture->line, "background picture \"" + picture->value +
                                       "\" cannot be read from disk 1: the gradient is painted instead");
    }
    const KeyLine* ports = Find("ComPort", "MaxComPort");
    int maxPorts = 0;
    if (ports && setup::SetupScript::ParseScriptInt(ports->value.c_str(), &maxPorts) && maxPorts >= 10)
        Warning(ports->line, "a list of " + std::to_string(maxPorts) + " ports: check that the product knows them all");
}

// Questions that are never asked because a key they need is missing.
void Checker::CheckQuestions() {
    for (int number = 1; number < 100; ++number) {
        const std::string section = setup::NumberedKey("Dialog", number);
        if (!m_engine.FindSection(section.c_str())) continue;
        for (const char* key : {"Title Name", "Info Line 1", "Select Item 1"})
            if (m_engine.GetScriptValue(section.c_str(), key, nullptr, 128).empty())
                Error(SectionLine(section), "[" + section + "] has no \"" + key + "\": it is never shown (nor any later one)");
        const std::optional<setup::SelectQuestion> question = setup::LoadSelectQuestion(m_engine, number);
        if (!question) continue;
        std::size_t joined = 0;
        for (int line = 1;; ++line) {
            const std::string value =
                m_engine.GetScriptValue(section.c_str(), setup::NumberedKey("Info Line", line).c_str(), nullptr, 128);
            if (value.empty()) break;
            joined += value.size() + 1;
        }
        if (joined > setup::kMessageTextSize)
            Warning(SectionLine(section), "[" + section + "] info text over 1023 characters: the end is cut");
    }
    if (m_engine.FindSection("ComPort") && !setup::LoadPortQuestion(m_engine))
        Error(SectionLine("ComPort"), "[ComPort] has no \"File 1\" or no \"Item 1.1\": the port question is never shown");
}

// Script texts of messages that do not fit the message dialog.
void Checker::CheckMessages() {
    for (const SectionSpec& spec : KnownSections()) {
        const std::string section = spec.pattern;
        if (section.find("Message") == std::string::npos || !m_engine.FindSection(section.c_str())) continue;
        std::size_t length = 0;
        for (int line = 1;; ++line) {
            const std::string value =
                m_engine.GetScriptValue(section.c_str(), setup::NumberedKey("Line", line).c_str(), nullptr, 256);
            if (value.empty()) break;
            length += value.size() + 1;
            if (length > setup::kMessageTextSize - 1) {
                Warning(LineOf(section, setup::NumberedKey("Line", line)),
                        "[" + section + "] text over 1023 characters: \"Line " + std::to_string(line) + "\" and later are dropped");
                break;
            }
        }
    }
}

}  // namespace checker
