#include "ui/station/PasswordRules.h"

#include "platform/CodePage.h"
#include "shell/TextUtils.h"

PasswordVerdict CheckPassword(std::u16string_view password, int securityKind, std::string& local)
{
    local.clear();
    if (password.empty())
        return PasswordEmpty;
    const PasswordVerdict broken = securityKind == 2 ? PasswordBreaksWepRule : PasswordBreaksKeyRule;
    if (!Utf16ToLocal(password, local))
        return broken;
    const std::size_t bytes = local.size();
    const bool hex = bytes == password.size() && IsHexText(password);
    if (securityKind == 2) {
        if (bytes == 5 || bytes == 13 || ((bytes == 10 || bytes == 26) && hex))
            return PasswordOk;
        return broken;
    }
    if ((bytes >= 8 && bytes <= 63) || (bytes == 64 && hex))
        return PasswordOk;
    return broken;
}

const char16_t* PasswordMessage(PasswordVerdict verdict)
{
    switch (verdict) {
    case PasswordEmpty:
        return u"Password can not be empty";
    case PasswordBreaksWepRule:
        return u"Password must be ASCII(5 or 13) or hexadecimal(10 or 26) characters!";
    case PasswordBreaksKeyRule:
        return u"Password must be 64 Hexadecimal or 8 to 63 ASCII characters!";
    default:
        return u"";
    }
}

bool SsidFits(std::u16string_view ssid, std::string& local)
{
    local.clear();
    return !ssid.empty() && Utf16ToLocal(ssid, local) && !local.empty() && local.size() <= 32;
}
