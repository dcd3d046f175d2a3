#pragma once

#include <string_view>

// True when every character is a hexadecimal digit; an empty text is true.
bool IsHexText(std::u16string_view text);

// Characters in U+4E00..U+9FA5. An SSID's byte length is estimated as
// characters + 2 * CountCjk, each such character taking three bytes in UTF-8.
int CountCjk(std::u16string_view text);

// Signal quality 0..100 to the displayed level 0..3; out of range gives 0.
int SignalLevel(int quality);
