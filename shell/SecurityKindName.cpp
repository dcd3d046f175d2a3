#include "shell/SecurityKindName.h"

#include "shell/CLanguageCatalog.h"

std::u16string SecurityKindName(const CLanguageCatalog& language, int kind)
{
    static const char16_t* const names[] = {u"None",     u"UnKnown",      u"WEP", u"WPA-PSK",
                                            u"WPA2-PSK", u"WPA/WPA2-PSK", u"WPA", u"WPA2"};
    if (kind < 0 || kind > 7)
        kind = 1;
    return language.Text(names[kind]);
}
