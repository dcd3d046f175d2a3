#pragma once

#include <string>
#include <string_view>

// The one case rule of the names the system compares without regard to case
// (registry keys and values, INI sections and keys, language keys, program
// names, world-file keys): ASCII letters only, whatever the locale. 'A'..'Z'
// become 'a'..'z'; every other code stays as it is.
char FoldAscii(char c);
char16_t FoldAscii(char16_t c);
std::string FoldAscii(std::string_view text);
std::u16string FoldAscii(std::u16string_view text);
