#pragma once

#include <string>
#include <string_view>

// The key rules of the password and manual-add dialogs. Lengths count the
// bytes of the local code page, which is what reaches the adapter: for ASCII
// that is the number of characters; a text the code page cannot hold, or
// whose bytes break the rule, is refused rather than cut.
enum PasswordVerdict { PasswordOk, PasswordEmpty, PasswordBreaksWepRule, PasswordBreaksKeyRule };

// WEP (kind 2): 5 or 13 bytes as typed, or 10 or 26 hexadecimal digits.
// Other kinds: 8 to 63 bytes, or 64 hexadecimal digits.
PasswordVerdict CheckPassword(std::u16string_view password, int securityKind, std::string& local);

// The message box text of a refused password, in English.
const char16_t* PasswordMessage(PasswordVerdict verdict);

// An SSID fits the description when its local code page form is 1 to 32
// bytes; it is never shortened, which could name another network.
bool SsidFits(std::u16string_view ssid, std::string& local);
