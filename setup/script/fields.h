// Fields of list values: "A, B, C" taken one by one.
#pragma once

#include <cstddef>

namespace setup {

// Takes the next field of text from *position up to the separator (or the end): tabs are
// dropped, blanks at both ends removed, and at most size - 1 characters stored (the rest
// of a longer field comes back from the next call). *position moves past what was read.
// Returns 1 and a non-empty field, or 0 at the end of the text or for an empty field.
int NextField(const char* text, int* position, char separator, char* buffer, std::size_t size);

}  // namespace setup
