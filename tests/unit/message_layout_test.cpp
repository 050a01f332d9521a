#include "engine/message_layout.h"

#include "engine/setup_engine.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace setup {
namespace {

struct PlanCase {
    int style;
    const char* captions[3];
    std::array<std::string, 3> shown;
    std::array<int, 3> results;
};

TEST(MessageButtons, Sets) {
    const PlanCase cases[] = {
        {0x00, {nullptr, nullptr, nullptr}, {"OK", "", ""}, {1, 0, 0}},
        {0x10, {"Fine", "ignored", nullptr}, {"Fine", "", ""}, {1, 0, 0}},
        {0x01, {nullptr, nullptr, nullptr}, {"OK", "Cancel", ""}, {1, 2, 0}},
        {0x32, {"Retry", "Ignore", "Exit"}, {"Retry", "Ignore", "Exit"}, {3, 4, 5}},
        {0x02, {nullptr, "", nullptr}, {"About", "Retry", "Ignore"}, {3, 4, 5}},
        {0x23, {"Yes", "No", "Replace All"}, {"Yes", "No", "Replace All"}, {6, 7, 2}},
        {0x03, {nullptr, nullptr, nullptr}, {"Yes", "No", "Cancel"}, {6, 7, 2}},
        {0x24, {"Si", "Non", "x"}, {"Yes", "No", ""}, {6, 7, 0}},  // the set's own captions
        {0x05, {nullptr, nullptr, nullptr}, {"Retry", "Cancel", ""}, {4, 2, 0}},
        {0x00, {"A caption of twenty-five", nullptr, nullptr}, {"A caption of twenty", "", ""}, {1, 0, 0}},
    };
    for (const PlanCase& c : cases) {
        ButtonPlan plan = PlanButtons(c.style, c.captions[0], c.captions[1], c.captions[2]);
        EXPECT_FALSE(plan.templateState);
        EXPECT_EQ(plan.captions, c.shown) << c.style;
        EXPECT_EQ(plan.results, c.results) << c.style;
    }
    for (int style = 6; style <= 15; ++style) {
        ButtonPlan plan = PlanButtons(style, "a", "b", "c");
        EXPECT_TRUE(plan.templateState) << style;
        EXPECT_EQ(plan.results, (std::array<int, 3>{1022, 1023, 1024})) << style;
        EXPECT_EQ(plan.Shown(), 3);
    }
    EXPECT_EQ(PlanButtons(0x24, nullptr, nullptr, nullptr).Shown(), 2);
    EXPECT_EQ(PlanButtons(0x10, nullptr, nullptr, nullptr).Shown(), 1);
    EXPECT_EQ(PlanButtons(0x32, "R", "I", "E").Shown(), 3);
}

class Script : public SetupScript {
public:
    explicit Script(const std::string& text) { AppendScriptText(text.data(), text.size()); }
};

TEST(MessageButtons, ButtonTextReplacesCaptionsByName) {
    Script script("[Button Text]\r\nOK=Fine\r\nyes=Ja\r\nExit=" + std::string(25, 'e') + "\r\nNo=\r\n");
    struct Case {
        int style;
        const char* given[3];
        std::array<std::string, 3> captions;
    };
    const Case cases[] = {
        {0x00, {nullptr, nullptr, nullptr}, {"Fine", "", ""}},
        {0x24, {nullptr, nullptr, nullptr}, {"Ja", "No", ""}},  // a blank entry keeps the caption
        {0x32, {"Retry", "Ignore", "Exit"}, {"Retry", "Ignore", std::string(19, 'e')}},
    };
    for (const Case& c : cases) {
        ButtonPlan plan = PlanButtons(c.style, c.given[0], c.given[1], c.given[2]);
        ApplyButtonText(script, plan);
        EXPECT_EQ(plan.captions, c.captions) << c.style;
    }
}

TEST(MessageText, LinesAndRows) {
    EXPECT_EQ(SplitMessageLines("a\nb"), (std::vector<std::string>{"a", "b"}));
    EXPECT_EQ(SplitMessageLines("a\n"), (std::vector<std::string>{"a", ""}));
    EXPECT_EQ(SplitMessageLines(""), (std::vector<std::string>{""}));

    // Each character measures 10 x 13; a line that cannot be measured counts one row.
    auto measure = [](const std::string& line) -> std::optional<Size> {
        if (line == "unmeasurable") return std::nullopt;
        return Size{static_cast<int>(line.size()) * 10, 13};
    };
    struct Case {
        const char* text;
        int rows;
    };
    for (Case c : {Case{"short", 1}, Case{"short\n", 2}, Case{"a\n\nb", 3}, Case{"0123456789", 2},  // exactly as wide
                   Case{"012345678", 1}, Case{"0123456789012345678901", 3}, Case{"unmeasurable\nx", 2}}) {
        TextRows rows = CountTextRows(SplitMessageLines(c.text), 100, measure);
        EXPECT_EQ(rows.rows, c.rows) << c.text;
        EXPECT_EQ(rows.lineHeight, 13) << c.text;
    }
    EXPECT_EQ(CountTextRows({"", "unmeasurable"}, 100, measure).lineHeight, 0);
}

const Rect kIcon{22, 50, 54, 82};    // 32 high
const Rect kText{72, 16, 309, 143};
const std::array<Rect, 3> kButtons = {Rect{40, 159, 115, 182}, Rect{129, 159, 204, 182}, Rect{217, 159, 292, 182}};

TEST(MessageLayout, ShortTextBesideTheIcon) {
    MessageLayout layout = LayoutMessage(TextRows{1, 13}, kIcon, kText, kButtons);
    EXPECT_EQ(layout.icon, (Rect{22, 20, 54, 52}));
    // Hand-worked: one 13-pixel row beside a 32-pixel icon at 20 stands 9 pixels lower (19
    // pixels to spare, the odd one below), from 29 to 42.
    EXPECT_EQ(layout.text, (Rect{72, 29, 309, 42}));
    for (const Rect& button : layout.buttons) {
        EXPECT_EQ(button.top, 72);  // the icon's bottom (52) and a 20-pixel gap
        EXPECT_EQ(button.Height(), 23);
    }
    EXPECT_EQ(layout.buttons[1].left, 129);
}

TEST(MessageLayout, TallTextPushesTheButtonsDown) {
    MessageLayout layout = LayoutMessage(TextRows{10, 13}, kIcon, kText, kButtons);
    EXPECT_EQ(layout.text, (Rect{72, 20, 309, 150}));
    // Hand-worked: beside 130 pixels of text from 20 to 150, the icon stands a quarter of the 98
    // pixels to spare (24) lower: from 44 to 76.
    EXPECT_EQ(layout.icon, (Rect{22, 44, 54, 76}));
    EXPECT_EQ(layout.buttons[0], (Rect{40, 170, 115, 193}));
    DialogPlace place = PlaceMessageDialog(layout.buttons[0].bottom, 18, 738);
    EXPECT_EQ(place.height, 18 + 213);
    EXPECT_EQ(place.top, 262);  // of 738 pixels, 525 to spare: 262 above, 263 below
}

TEST(MessageLayout, ButtonsCentredByCount) {
    std::array<Rect, 3> pair = kButtons;
    ArrangeButtons(2, 332, pair);
    EXPECT_EQ(pair[0].left, 84);  // two buttons and their gap span 164 of 332 pixels: 84 on either side
    EXPECT_EQ(pair[1].right - pair[0].left, 204 - 40);
    EXPECT_EQ(pair[0].Width(), 75);
    EXPECT_EQ(pair[2], kButtons[2]);

    std::array<Rect, 3> single = kButtons;
    ArrangeButtons(1, 332, single);
    EXPECT_EQ(single[0], (Rect{128, 159, 203, 182}));
    EXPECT_EQ(single[1], kButtons[1]);

    std::array<Rect, 3> three = kButtons;
    ArrangeButtons(3, 332, three);
    EXPECT_EQ(three, kButtons);
}

}  // namespace
}  // namespace setup
