#pragma once

#include <algorithm>
#include <cstring>
#include <string>

// Texts crossing the simulated library's boundary.

// At most `max` bytes of a caller's text, which may lack its terminator.
inline std::string SimText(const char* text, size_t max)
{
    return text ? std::string(text, strnlen(text, max)) : std::string();
}

// Copies `text` into a caller's buffer of `size` bytes, NUL included.
inline void SimCopyText(const std::string& text, char* out, int size)
{
    if (!out || size <= 0)
        return;
    size_t length = std::min(text.size(), size_t(size - 1));
    std::memcpy(out, text.data(), length);
    out[length] = '\0';
}
