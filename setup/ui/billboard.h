// Where a billboard (a slide shown during the copy) goes on the background.
#pragma once

#include "../engine/geometry.h"

#include <optional>
#include <string>

namespace setup {

// Position codes of a billboard.
namespace billboard {
constexpr int kFullScreen = 0;
constexpr int kTopLeft = 1;
constexpr int kTopRight = 2;
constexpr int kBottomLeft = 3;
constexpr int kBottomRight = 4;
}  // namespace billboard

// The rectangle of a picture in the window's client area: 30 pixels from the left or
// right edge and 20 from the top or bottom, in the corner the code names. Empty for the
// full-screen code (the picture is stretched instead) and for codes outside 0 to 4.
std::optional<Rect> BillboardRect(int position, const Rect& client, Size picture);

// The picture's path: the directory, a backslash unless it ends with one, the name. Empty
// when the path would not fit a 256-byte buffer.
std::string BillboardPath(const char* directory, const char* name);

}  // namespace setup
