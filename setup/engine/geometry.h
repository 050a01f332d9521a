// Plain rectangles and sizes for the installer's portable layout arithmetic (pixels).
#pragma once

namespace setup {

struct Rect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    bool operator==(const Rect& other) const {
        return left == other.left && top == other.top && right == other.right &&
               bottom == other.bottom;
    }
};

struct Size {
    int cx = 0;
    int cy = 0;
};

}  // namespace setup
