// The script's override of a message's title and text.
#pragma once

#include "../script/script.h"

#include <string>

namespace setup {

// Sizes of the message dialog's title and text buffers.
constexpr std::size_t kMessageTitleSize = 256;
constexpr std::size_t kMessageTextSize = 1024;

struct ScriptMessage {
    std::string title;
    std::string text;
};

// The title and text to show: when the section has a non-empty "Title", that title and
// the section's "Line 1", "Line 2", ... each followed by a line break (a "NULL" line is
// empty; the first missing or empty line ends the text; lines that would overflow the
// text buffer are dropped); otherwise the defaults (null gives empty).
ScriptMessage ComposeScriptMessage(const SetupScript& script, const char* section,
                                   const char* defaultTitle, const char* defaultText);

}  // namespace setup
