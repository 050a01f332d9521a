// The destination dialog's text and its rule for a typed directory.
#pragma once

#include "../script/script.h"

#include <optional>
#include <string>

namespace setup {

// The typed directory as it is stored: only the form "X:\..." is accepted (X any
// character), a small drive letter is made capital, and a backslash is added at the end.
// Empty when the text is not of that form or the result would not fit 255 characters.
std::optional<std::string> NormalizeInstallDir(const std::string& typed);

// The dialog's text: the [SetDir Message] lines joined by line breaks, or the default text
// naming the product and the OK button.
std::string ComposeSetDirText(const SetupScript& script);

}  // namespace setup
