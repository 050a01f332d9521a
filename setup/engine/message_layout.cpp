#include "message_layout.h"

#include "../script/text.h"
#include "setup_engine.h"

#include <algorithm>

namespace setup {

int ButtonPlan::Shown() const {
    if (templateState) return 3;
    if (captions[1].empty()) return 1;
    if (captions[2].empty()) return 2;
    return 3;
}

namespace {

std::string Caption(const char* given, const char* fallback) {
    return FitBuffer(given && *given ? given : fallback, kCaptionSize);
}

}  // namespace

ButtonPlan PlanButtons(int style, const char* caption1, const char* caption2, const char* caption3) {
    ButtonPlan plan;
    switch (style & 0x0F) {
    case style::kOk:
        plan.captions = {Caption(caption1, "OK"), "", ""};
        plan.results = {result::kOk, 0, 0};
        break;
    case style::kOkCancel:
        plan.captions = {Caption(caption1, "OK"), Caption(caption2, "Cancel"), ""};
        plan.results = {result::kOk, result::kCancel, 0};
        break;
    case style::kAbortRetryIgnore:
        plan.captions = {Caption(caption1, "About"), Caption(caption2, "Retry"), Caption(caption3, "Ignore")};
        plan.results = {result::kAbort, result::kRetry, result::kIgnore};
        break;
    case style::kYesNoCancel:
        plan.captions = {Caption(caption1, "Yes"), Caption(caption2, "No"), Caption(caption3, "Cancel")};
        plan.results = {result::kYes, result::kNo, result::kCancel};
        break;
    case style::kYesNo:
        plan.captions = {"Yes", "No", ""};
        plan.results = {result::kYes, result::kNo, 0};
        break;
    case style::kRetryCancel:
        plan.captions = {"Retry", "Cancel", ""};
        plan.results = {result::kRetry, result::kCancel, 0};
        break;
    default:
        // Sets 6 to 15: the template's three buttons, each answering with its own id.
        plan.templateState = true;
        plan.results = kMessageButtonIds;
        break;
    }
    return plan;
}

void ApplyButtonText(const SetupScript& script, ButtonPlan& plan) {
    if (plan.templateState) return;
    for (std::string& caption : plan.captions) {
        if (caption.empty()) break;
        caption = script.GetScriptValue("Button Text", caption.c_str(), caption.c_str(), kCaptionSize);
    }
}

std::vector<std::string> SplitMessageLines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (;;) {
        std::size_t end = text.find('\n', start);
        lines.push_back(text.substr(start, end == std::string::npos ? std::string::npos : end - start));
        if (end == std::string::npos) break;
        start = end + 1;
    }
    return lines;
}

TextRows CountTextRows(const std::vector<std::string>& lines, int width,
                       const std::function<std::optional<Size>(const std::string&)>& measure) {
    TextRows result;
    for (const std::string& line : lines) {
        std::optional<Size> extent = line.empty() ? std::nullopt : measure(line);
        if (!extent) {
            ++result.rows;
            continue;
        }
        result.lineHeight = std::max(result.lineHeight, extent->cy);
        result.rows += (width > 0 ? extent->cx / width : 0) + 1;
    }
    return result;
}

MessageLayout LayoutMessage(const TextRows& rows, Rect icon, Rect text, const std::array<Rect, 3>& buttons) {
    const int textHeight = rows.rows * rows.lineHeight;
    const int iconHeight = icon.Height();
    MessageLayout layout{icon, text, buttons};
    int contentBottom = 0;
    if (textHeight < iconHeight) {
        layout.icon.top = 20;
        layout.text.top = 20 + (iconHeight - textHeight) / 2;
        contentBottom = 20 + iconHeight;
    } else {
        layout.text.top = 20;
        layout.icon.top = 20 + (textHeight - iconHeight) / 4;
        contentBottom = 20 + textHeight;
    }
    layout.icon.bottom = layout.icon.top + iconHeight;
    layout.text.bottom = layout.text.top + textHeight;
    const int buttonHeight = buttons[0].Height();
    for (Rect& button : layout.buttons) {
        button.top = contentBottom + 20;
        button.bottom = button.top + buttonHeight;
    }
    return layout;
}

void ArrangeButtons(int shown, int clientWidth, std::array<Rect, 3>& buttons) {
    if (shown == 2) {
        const int span = buttons[1].right - buttons[0].left;
        const int shift = (clientWidth - span) / 2 - buttons[0].left;
        for (int i = 0; i < 2; ++i) {
            buttons[i].left += shift;
            buttons[i].right += shift;
        }
    } else if (shown == 1) {
        const int width = buttons[0].Width();
        buttons[0].left = (clientWidth - width) / 2;
        buttons[0].right = buttons[0].left + width;
    }
}

DialogPlace PlaceMessageDialog(int buttonBottom, int captionHeight, int fullScreenHeight) {
    const int clientHeight = buttonBottom + 20;
    return DialogPlace{(fullScreenHeight - clientHeight) / 2, captionHeight + clientHeight};
}

std::string ButtonCaption(const MessageQuestion& question, int value) {
    const ButtonPlan plan = PlanButtons(question.style, question.captions[0], question.captions[1], question.captions[2]);
    for (int i = 0; i < plan.Shown(); ++i)
        if (plan.results[static_cast<std::size_t>(i)] == value) return plan.captions[static_cast<std::size_t>(i)];
    return std::to_string(value);
}

int ButtonResult(const MessageQuestion& question, const std::string& caption) {
    const ButtonPlan plan = PlanButtons(question.style, question.captions[0], question.captions[1], question.captions[2]);
    for (int i = 0; i < plan.Shown(); ++i)
        if (EqualNoCase(plan.captions[static_cast<std::size_t>(i)], caption)) return plan.results[static_cast<std::size_t>(i)];
    return 0;
}

}  // namespace setup
