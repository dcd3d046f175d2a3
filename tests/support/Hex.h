#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// Bytes as lower-case hexadecimal text, two digits each.
inline std::string Hex(const uint8_t* bytes, size_t size)
{
    static const char digits[] = "0123456789abcdef";
    std::string text;
    for (size_t i = 0; i < size; ++i) {
        text += digits[bytes[i] >> 4];
        text += digits[bytes[i] & 15];
    }
    return text;
}
