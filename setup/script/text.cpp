#include "text.h"

#include <algorithm>
#include <cstdarg>
#include <cstring>
#include <vector>

namespace setup {

namespace {

// Upper case of a Windows-1252 letter: a-z, and the accented small letters 0xE0 to 0xFE
// except the division sign 0xF7; also the three letters whose capitals lie elsewhere
// (s and z with caron, and the ligature oe).
unsigned char FoldCase(unsigned char c) {
    if (c >= 'a' && c <= 'z') return static_cast<unsigned char>(c - ('a' - 'A'));
    if (c >= 0xE0 && c <= 0xFE && c != 0xF7) return static_cast<unsigned char>(c - 0x20);
    switch (c) {
    case 0x9A: return 0x8A;  // s caron
    case 0x9C: return 0x8C;  // oe
    case 0x9E: return 0x8E;  // z caron
    case 0xFF: return 0x9F;  // y diaeresis
    default: return c;
    }
}

}  // namespace

bool EqualNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (FoldCase(static_cast<unsigned char>(a[i])) != FoldCase(static_cast<unsigned char>(b[i])))
            return false;
    }
    return true;
}

std::string FoldName(std::string_view name) {
    std::string folded(name);
    for (char& c : folded) c = static_cast<char>(FoldCase(static_cast<unsigned char>(c)));
    return folded;
}

std::string FitBuffer(std::string_view value, std::size_t bufferSize) {
    if (bufferSize == 0) return std::string();
    return std::string(value.substr(0, bufferSize - 1));
}

std::size_t CopyToBuffer(std::string_view text, char* buffer, std::size_t size) {
    if (!buffer || size == 0) return 0;
    std::size_t count = text.size() < size - 1 ? text.size() : size - 1;
    if (count) std::memcpy(buffer, text.data(), count);
    buffer[count] = '\0';
    return count;
}

std::string WithBackslash(std::string directory) {
    if (directory.empty() || directory.back() != '\\') directory += '\\';
    return directory;
}

std::size_t EditDistance(std::string_view a, std::string_view b) {
    const auto upper = [](char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; };
    // One row of the table of distances between the beginnings of a and b.
    std::vector<std::size_t> row(b.size() + 1);
    for (std::size_t j = 0; j <= b.size(); ++j) row[j] = j;
    for (std::size_t i = 1; i <= a.size(); ++i) {
        std::size_t diagonal = row[0];
        row[0] = i;
        for (std::size_t j = 1; j <= b.size(); ++j) {
            const std::size_t above = row[j];
            const std::size_t change = diagonal + (upper(a[i - 1]) == upper(b[j - 1]) ? 0 : 1);
            row[j] = std::min({row[j] + 1, row[j - 1] + 1, change});
            diagonal = above;
        }
    }
    return row[b.size()];
}

std::string NumberedKey(const char* name, int number) { return Format("%s %d", name, number); }

std::string Format(const char* format, ...) {
    std::va_list arguments;
    va_start(arguments, format);
    std::string text = FormatList(format, arguments);
    va_end(arguments);
    return text;
}

std::string FormatList(const char* format, std::va_list arguments) {
    // A small formatter of its own: the C library's would bring its whole implementation
    // (floating point and all) into the program.
    std::string text;
    for (const char* at = format; *at; ++at) {
        if (*at != '%') {
            text += *at;
            continue;
        }
        const bool zeros = *++at == '0';
        std::size_t width = 0;
        for (; *at >= '0' && *at <= '9'; ++at) width = width * 10 + static_cast<std::size_t>(*at - '0');
        const bool isLong = *at == 'l';
        if (isLong) ++at;
        std::string field;
        switch (*at) {
        case 's': {
            const char* value = va_arg(arguments, const char*);
            field = value ? value : "";
            break;
        }
        case 'd': field = std::to_string(isLong ? va_arg(arguments, long) : va_arg(arguments, int)); break;
        case 'u':
        case 'X': {
            unsigned long value = isLong ? va_arg(arguments, unsigned long) : va_arg(arguments, unsigned);
            const unsigned base = *at == 'u' ? 10 : 16;
            do {
                field.insert(field.begin(), "0123456789ABCDEF"[value % base]);
                value /= base;
            } while (value);
            break;
        }
        case '%': field = "%"; break;
        default: return text;  // a format this helper does not know
        }
        if (field.size() < width) field.insert(0, width - field.size(), zeros ? '0' : ' ');
        text += field;
    }
    return text;
}

std::string ZeroPadded(int number, std::size_t width) {
    std::string text = std::to_string(number);
    if (text.size() < width) text.insert(number < 0 ? 1 : 0, width - text.size(), '0');
    return text;
}

bool PlainPath(const std::string& path) {
    const char drive = static_cast<char>(path.empty() ? 0 : path[0] & ~0x20);
    if (path.size() < 3 || path.size() > 255 || drive < 'A' || drive > 'Z' || path[1] != ':' || path[2] != '\\')
        return false;
    for (std::size_t at = 3, end = 0; at < path.size(); at = end + 1) {
        end = path.find('\\', at);
        if (end == std::string::npos) end = path.size();
        const std::string part = path.substr(at, end - at);
        if (part.empty() || part == "." || part == ".." || part.find_first_of(":/*?\"<>|") != std::string::npos)
            return false;
    }
    return true;
}

}  // namespace setup
