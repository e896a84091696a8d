// Bounded text writing into caller-owned buffers of bound + 1 bytes.
#pragma once

#include <cstddef>

// Copies at most `bound` characters of the zero-terminated `source`, fills the positions after
// its end up to `bound` with zero bytes and sets the byte at `bound` to zero: exactly
// bound + 1 bytes are written, whatever the length of `source`.
inline void copyBounded(char* destination, const char* source, std::size_t bound) noexcept {
    std::size_t i = 0;
    for (; i < bound && source[i] != '\0'; ++i) {
        destination[i] = source[i];
    }
    for (; i <= bound; ++i) {
        destination[i] = '\0';
    }
}

// Appends the zero-terminated `source` to the text already in `destination` as far as the whole
// stays within `bound` characters, ends it with a zero byte and sets the byte at `bound` to
// zero. Nothing beyond the byte at `bound` is written.
inline void appendBounded(char* destination, const char* source, std::size_t bound) noexcept {
    std::size_t length = 0;
    while (length < bound && destination[length] != '\0') {
        ++length;
    }
    for (; length < bound && *source != '\0'; ++length, ++source) {
        destination[length] = *source;
    }
    destination[length] = '\0';
    destination[bound] = '\0';
}
