#include "billboard.h"

#include "../engine/setup_engine.h"

namespace setup {

std::optional<Rect> BillboardRect(int position, const Rect& client, Size picture) {
    int left = 0;
    int top = 0;
    switch (position) {
    case billboard::kTopLeft:
        left = client.left + 30;
        top = client.top + 20;
        break;
    case billboard::kTopRight:
        left = client.right - picture.cx - 30;
        top = client.top + 20;
        break;
    case billboard::kBottomLeft:
        left = client.left + 30;
        top = client.bottom - picture.cy - 20;
        break;
    case billboard::kBottomRight:
        left = client.right - picture.cx - 30;
        top = client.bottom - picture.cy - 20;
        break;
    default:
        return std::nullopt;
    }
    return Rect{left, top, left + picture.cx, top + picture.cy};
}

std::string BillboardPath(const char* directory, const char* name) {
    std::string path = directory ? directory : "";
    if (!path.empty() && path.back() != '\\') path += '\\';
    path += name ? name : "";
    return path.size() < kPathBufferSize ? path : std::string();
}

}  // namespace setup
