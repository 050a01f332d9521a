#include "fields.h"

#include "text.h"

#include <cstring>

namespace setup {

int NextField(const char* text, int* position, char separator, char* buffer, std::size_t size) {
    if (!text || !position || !buffer || size == 0) return 0;
    const std::size_t length = std::strlen(text);
    if (*position < 0 || static_cast<std::size_t>(*position) >= length) return 0;

    std::size_t at = static_cast<std::size_t>(*position);
    std::size_t stored = 0;
    while (stored < size - 1) {
        const char c = text[at];
        if (c == '\0') break;  // the position stays on the terminator
        ++at;
        if (c == separator) break;
        if (c == '\t') continue;
        buffer[stored++] = c;
    }
    *position = static_cast<int>(at);
    buffer[stored] = '\0';

    while (stored > 0 && IsBlank(buffer[stored - 1])) buffer[--stored] = '\0';
    if (stored == 0) return 0;
    std::size_t first = 0;
    while (IsBlank(buffer[first])) ++first;
    if (first) std::memmove(buffer, buffer + first, stored - first + 1);
    return 1;
}

}  // namespace setup
