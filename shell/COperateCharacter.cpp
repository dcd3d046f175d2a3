#include "shell/COperateCharacter.h"

#include <cstring>

#include "platform/CodePage.h"

void COperateCharacter::Split(const std::u16string& text, const std::u16string& delimiter, bool skipEmpty,
                              const std::u16string& emptyValue, std::vector<std::u16string>& list) const
{
    list.clear();
    if (delimiter.empty()) { // nothing to split at; searching for "" would never end
        list.push_back(text);
        return;
    }
    std::u16string rest = text + delimiter[0];
    for (;;) {
        size_t p = rest.find(delimiter);
        if (p == std::u16string::npos)
            return;
        if (p > 0)
            list.push_back(rest.substr(0, p));
        else if (!skipEmpty)
            list.push_back(emptyValue);
        rest.erase(0, p + 1);
    }
}

bool COperateCharacter::LooksLikeUtf8(const char* bytes, size_t size) const
{
    const auto* b = reinterpret_cast<const unsigned char*>(bytes);
    size_t n = strnlen(bytes, size);
    auto continuation = [&](size_t i) { return i < n && b[i] >= 0x80 && b[i] <= 0xBF; };
    size_t ascii = 0;
    size_t multiByte = 0;
    for (size_t i = 0; i < n;) {
        if (b[i] < 0x80) {
            ++ascii;
            ++i;
        } else if (b[i] >= 0xC0 && b[i] <= 0xDF && continuation(i + 1)) {
            multiByte += 2;
            i += 2;
        } else if (b[i] >= 0xE0 && b[i] <= 0xEF && continuation(i + 1) && continuation(i + 2)) {
            multiByte += 3;
            i += 3;
        } else {
            ++i;
        }
    }
    if (ascii == n)
        return false;
    size_t ratio = multiByte * 100 / (n - ascii);
    return ratio > 98 || (ratio > 95 && multiByte > 30);
}

int COperateCharacter::Utf8ToLocal(const char* utf8, size_t size, char* out, size_t outSize) const
{
    if (outSize == 0)
        return 1;
    std::string local;
    Utf16ToLocal(Utf8ToUtf16(std::string_view(utf8, strnlen(utf8, size))), local);
    size_t length = std::min(local.size(), outSize - 1);
    memcpy(out, local.data(), length);
    out[length] = '\0';
    return 1;
}

char* ToLocalIfUtf8(const char* src, size_t srcSize, char* dst, size_t dstSize)
{
    COperateCharacter character;
    if (character.LooksLikeUtf8(src, srcSize)) {
        character.Utf8ToLocal(src, srcSize, dst, dstSize);
    } else if (dstSize > 0) {
        size_t length = std::min(strnlen(src, srcSize), dstSize - 1);
        memmove(dst, src, length);
        dst[length] = '\0';
    }
    return dst;
}
