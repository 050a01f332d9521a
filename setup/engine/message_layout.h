// The message dialog's arithmetic: which buttons it shows with which captions and
// results, how many rows its text needs, and where icon, text and buttons go.
#pragma once

#include "../script/script.h"
#include "geometry.h"

#include <array>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace setup {

struct MessageQuestion;

// Button captions are kept in 20-byte buffers.
constexpr std::size_t kCaptionSize = 20;
// Control ids of the message dialog's buttons, left to right.
constexpr std::array<int, 3> kMessageButtonIds = {1022, 1023, 1024};

struct ButtonPlan {
    bool templateState = false;                 // button sets 6 to 15: left as the template has them
    std::array<std::string, 3> captions;        // empty: the button is hidden
    std::array<int, 3> results = {0, 0, 0};     // the dialog result of each button
    int Shown() const;                          // 1, 2 or 3 buttons from the left
};

// The buttons of a style's button set (its low four bits), with the caller's captions
// where the set takes them (cut to 19 characters).
ButtonPlan PlanButtons(int style, const char* caption1, const char* caption2, const char* caption3);

// Replaces the captions by the script's [Button Text] entries whose keys are the captions.
void ApplyButtonText(const SetupScript& script, ButtonPlan& plan);

// Lines of a message text, cut at each "\n" and at its end: a text that ends with "\n"
// ends with one more, empty, line.
std::vector<std::string> SplitMessageLines(const std::string& text);

struct TextRows {
    int rows = 0;
    int lineHeight = 0;
};

// Rows a text needs in a control of the given width: an empty line or one that cannot be
// measured is one row; a measured line of width cx takes cx / width + 1 rows.
TextRows CountTextRows(const std::vector<std::string>& lines, int width,
                       const std::function<std::optional<Size>(const std::string&)>& measure);

struct MessageLayout {
    Rect icon;
    Rect text;
    std::array<Rect, 3> buttons;
};

// Icon, text and buttons for a text of the given rows (all in the dialog's client
// coordinates): content 20 pixels from the top, a short text centred beside the icon, a
// tall text with the icon a quarter of the difference lower, buttons 20 pixels below.
MessageLayout LayoutMessage(const TextRows& rows, Rect icon, Rect text, const std::array<Rect, 3>& buttons);

// Centres the buttons that are shown: a pair as one span, a single button on its own;
// three buttons stay where they are.
void ArrangeButtons(int shown, int clientWidth, std::array<Rect, 3>& buttons);

// Height and top of the dialog window for a layout whose first button ends at
// buttonBottom: 20 pixels below it, centred on the full-screen work area.
struct DialogPlace {
    int top = 0;
    int height = 0;
};
DialogPlace PlaceMessageDialog(int buttonBottom, int captionHeight, int fullScreenHeight);

// The default caption of the button that gives value, and the value of the button with
// that caption (0 when there is none), for the question's buttons.
std::string ButtonCaption(const MessageQuestion& question, int value);
int ButtonResult(const MessageQuestion& question, const std::string& caption);

}  // namespace setup
