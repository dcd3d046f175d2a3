#pragma once

#include <string>
#include <string_view>

// Conversions between the local ANSI code page, UTF-8 and UTF-16.
//
// The local code page is the codeset of the user's locale (LC_ALL, then
// LC_CTYPE, then LANG): "zh_CN.GBK" gives GBK, "zh_CN.UTF-8" gives UTF-8. A
// locale without a codeset gives the code page Windows uses for its language
// (zh_CN CP936, zh_TW and zh_HK CP950, ja CP932, ko CP949, ru CP1251); "C",
// "POSIX", no locale at all and every other language give CP1252, the code
// page of English Windows. Any name iconv knows may be set instead.
//
// The local conversions always fill `out` as far as they can: a byte sequence
// that is not valid in the code page becomes U+FFFD, and a character the code
// page cannot hold becomes "?", as the Windows conversions do by default. They
// return false when anything was replaced or the code page is unknown (then
// `out` is empty). All functions are safe to call from any thread.
bool LocalToUtf16(std::string_view bytes, std::u16string& out);
bool Utf16ToLocal(std::u16string_view text, std::string& out);

// Invalid input (malformed UTF-8, unpaired surrogates) becomes U+FFFD.
std::u16string Utf8ToUtf16(std::string_view utf8);
std::string Utf16ToUtf8(std::u16string_view text);

// The iconv name of the local code page, and its replacement ("CP936"); an
// empty name returns to the locale's code page.
std::string LocalCodePage();
void SetLocalCodePage(const std::string& codeset);
