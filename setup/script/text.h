// Small text helpers shared by the installer's portable code. Text is 8-bit ANSI.
#pragma once

#include <cstdarg>
#include <cstddef>
#include <string>
#include <string_view>

namespace setup {

// Blanks of the setup script are spaces only; a tab is an ordinary character.
constexpr bool IsBlank(char c) { return c == ' '; }

// Case-insensitive equality of two whole names, as the system's ANSI code page folds
// letters (ASCII and the Western European letters of Windows-1252).
bool EqualNoCase(std::string_view a, std::string_view b);

// The name in the one case that EqualNoCase compares: equal folded names are equal names.
std::string FoldName(std::string_view name);

// The value as it is stored in a buffer of bufferSize bytes: cut to bufferSize - 1
// characters (nothing fits in a buffer of 0 or 1 bytes).
std::string FitBuffer(std::string_view value, std::size_t bufferSize);

// Copies text into a caller's buffer of the given size, cut to size - 1 characters and
// terminated. Returns the number of characters stored. A null buffer or size 0 stores
// nothing.
std::size_t CopyToBuffer(std::string_view text, char* buffer, std::size_t size);

// The directory with a backslash at its end: added unless it ends with one already (an
// empty directory becomes "\").
std::string WithBackslash(std::string directory);
// A full path of the plain form "X:\name\name" (a directory may end with "\"): no other
// separator, no "." or ".." part, no empty part inside, no second colon, no wildcard.
bool PlainPath(const std::string& path);

// How many characters must be inserted, deleted or changed to turn one name into the
// other, letters compared without regard to case (ASCII letters only).
std::size_t EditDistance(std::string_view a, std::string_view b);

// The key of a numbered list entry: "SubDir 3", "Line 12".
std::string NumberedKey(const char* name, int number);

// A text made as printf would make it, for the conversions %s (a C string), %d, %u and %X,
// with the length modifier l and a width with or without leading zeros.
std::string Format(const char* format, ...) __attribute__((format(printf, 1, 2)));
std::string FormatList(const char* format, std::va_list arguments);
// The number in decimal, at least `width` characters with zeros after the sign, as "%0*d"
// prints it: "07", "-05".
std::string ZeroPadded(int number, std::size_t width);

}  // namespace setup
