#include "platform/AsciiCase.h"

namespace {

template <typename Char>
std::basic_string<Char> Folded(std::basic_string_view<Char> text)
{
    std::basic_string<Char> folded(text);
    for (Char& c : folded)
        c = FoldAscii(c);
    return folded;
}

} // namespace

char FoldAscii(char c)
{
    return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c;
}

char16_t FoldAscii(char16_t c)
{
    return c >= u'A' && c <= u'Z' ? char16_t(c - u'A' + u'a') : c;
}

std::string FoldAscii(std::string_view text)
{
    return Folded(text);
}

std::u16string FoldAscii(std::u16string_view text)
{
    return Folded(text);
}
