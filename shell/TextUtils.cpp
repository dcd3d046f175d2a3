#include "shell/TextUtils.h"

#include <algorithm>

bool IsHexText(std::u16string_view text)
{
    return std::all_of(text.begin(), text.end(), [](char16_t c) {
        return (c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'f') || (c >= u'A' && c <= u'F');
    });
}

int CountCjk(std::u16string_view text)
{
    return static_cast<int>(std::count_if(text.begin(), text.end(),
                                          [](char16_t c) { return c >= 0x4E00 && c <= 0x9FA5; }));
}

int SignalLevel(int quality)
{
    if (quality <= 0 || quality > 100)
        return 0;
    if (quality <= 35)
        return 1;
    if (quality <= 60)
        return 2;
    return 3;
}
