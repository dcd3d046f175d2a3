#include "platform/CodePage.h"

#include <algorithm>
#include <bit>
#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <iconv.h>
#include <mutex>

namespace {

constexpr char16_t Replacement = 0xFFFD;
constexpr const char* Utf16Name = std::endian::native == std::endian::little ? "UTF-16LE" : "UTF-16BE";

std::mutex codePageMutex;
std::string codePageOverride; // guarded by codePageMutex

std::string LocaleFromEnvironment()
{
    for (const char* name : {"LC_ALL", "LC_CTYPE", "LANG"}) {
        const char* value = std::getenv(name);
        if (value && *value)
            return value;
    }
    return {};
}

std::string CodePageOfLocale(const std::string& locale)
{
    std::string name = locale.substr(0, locale.find('@'));
    size_t dot = name.find('.');
    if (dot != std::string::npos && dot + 1 < name.size())
        return name.substr(dot + 1);
    std::string language = name.substr(0, dot);
    if (language == "zh_CN" || language == "zh_SG" || language == "zh")
        return "CP936";
    if (language == "zh_TW" || language == "zh_HK" || language == "zh_MO")
        return "CP950";
    std::string prefix = language.substr(0, language.find('_'));
    if (prefix == "ja")
        return "CP932";
    if (prefix == "ko")
        return "CP949";
    if (prefix == "ru" || prefix == "uk" || prefix == "be" || prefix == "bg")
        return "CP1251";
    return "CP1252";
}

size_t SkipByte(const char*, size_t)
{
    return 1;
}

// A character outside the code page may be a surrogate pair: skip both halves.
size_t SkipUtf16Character(const char* in, size_t left)
{
    if (left < sizeof(char16_t))
        return left;
    char16_t first;
    std::memcpy(&first, in, sizeof first);
    if (first >= 0xD800 && first <= 0xDBFF && left >= 2 * sizeof(char16_t)) {
        char16_t second;
        std::memcpy(&second, in + sizeof first, sizeof second);
        if (second >= 0xDC00 && second <= 0xDFFF)
            return 2 * sizeof(char16_t);
    }
    return sizeof(char16_t);
}

// Runs one iconv conversion to the end. On an invalid or unconvertible input
// unit (or one cut off at the end) it appends `replacement`, skips the unit
// and goes on.
bool Convert(const char* to, const char* from, const char* in, size_t inLeft,
             size_t (*skip)(const char*, size_t), std::string_view replacement, std::string& out)
{
    out.clear();
    iconv_t cd = iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1))
        return false;
    bool clean = true;
    char buffer[256];
    char* input = const_cast<char*>(in); // iconv does not write its input
    while (inLeft > 0) {
        char* output = buffer;
        size_t outLeft = sizeof buffer;
        size_t result = iconv(cd, &input, &inLeft, &output, &outLeft);
        int error = errno;
        out.append(buffer, output - buffer);
        if (result != static_cast<size_t>(-1) || error == E2BIG)
            continue;
        clean = false;
        out.append(replacement);
        size_t step = skip(input, inLeft);
        input += step;
        inLeft -= step;
    }
    // Ends a stateful encoding's shift sequence.
    size_t result;
    do {
        char* output = buffer;
        size_t outLeft = sizeof buffer;
        result = iconv(cd, nullptr, nullptr, &output, &outLeft);
        out.append(buffer, output - buffer);
    } while (result == static_cast<size_t>(-1) && errno == E2BIG);
    iconv_close(cd);
    return clean;
}

void AppendUtf8(uint32_t code, std::string& out)
{
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | (code >> 6));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        out += static_cast<char>(0xE0 | (code >> 12));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (code >> 18));
        out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
}

} // namespace

std::string LocalCodePage()
{
    std::lock_guard lock(codePageMutex);
    if (!codePageOverride.empty())
        return codePageOverride;
    return CodePageOfLocale(LocaleFromEnvironment());
}

void SetLocalCodePage(const std::string& codeset)
{
    std::lock_guard lock(codePageMutex);
    codePageOverride = codeset;
}

bool LocalToUtf16(std::string_view bytes, std::u16string& out)
{
    out.clear();
    std::string codePage = LocalCodePage();
    std::string raw;
    const char16_t replacement = Replacement;
    bool clean = Convert(Utf16Name, codePage.c_str(), bytes.data(), bytes.size(), SkipByte,
                         std::string_view(reinterpret_cast<const char*>(&replacement), sizeof replacement), raw);
    out.resize(raw.size() / sizeof(char16_t));
    std::memcpy(out.data(), raw.data(), out.size() * sizeof(char16_t));
    return clean;
}

bool Utf16ToLocal(std::u16string_view text, std::string& out)
{
    out.clear();
    std::string codePage = LocalCodePage();
    return Convert(codePage.c_str(), Utf16Name, reinterpret_cast<const char*>(text.data()),
                   text.size() * sizeof(char16_t), SkipUtf16Character, "?", out);
}

std::u16string Utf8ToUtf16(std::string_view utf8)
{
    std::u16string out;
    size_t i = 0;
    while (i < utf8.size()) {
        auto byte = [&](size_t k) { return static_cast<uint8_t>(utf8[k]); };
        uint8_t lead = byte(i);
        size_t length = lead < 0x80 ? 1 : lead >= 0xC2 && lead <= 0xDF ? 2 : lead >= 0xE0 && lead <= 0xEF ? 3
                      : lead >= 0xF0 && lead <= 0xF4 ? 4 : 0;
        uint32_t code = length == 1 ? lead : length == 2 ? lead & 0x1F : length == 3 ? lead & 0x0F : lead & 0x07;
        size_t taken = 1;
        bool valid = length != 0;
        while (valid && taken < length) {
            if (i + taken >= utf8.size() || (byte(i + taken) & 0xC0) != 0x80) {
                valid = false;
                break;
            }
            code = (code << 6) | (byte(i + taken) & 0x3F);
            ++taken;
        }
        // Overlong forms, surrogates and values past U+10FFFF are not characters.
        if (valid && ((length == 3 && (code < 0x800 || (code >= 0xD800 && code <= 0xDFFF)))
                      || (length == 4 && (code < 0x10000 || code > 0x10FFFF))))
            valid = false;
        if (!valid) {
            out += Replacement;
            i += std::max<size_t>(taken, 1);
            continue;
        }
        if (code >= 0x10000) {
            code -= 0x10000;
            out += static_cast<char16_t>(0xD800 | (code >> 10));
            out += static_cast<char16_t>(0xDC00 | (code & 0x3FF));
        } else {
            out += static_cast<char16_t>(code);
        }
        i += length;
    }
    return out;
}

std::string Utf16ToUtf8(std::u16string_view text)
{
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        uint32_t code = text[i];
        if (code >= 0xD800 && code <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00
            && text[i + 1] <= 0xDFFF) {
            code = 0x10000 + ((code - 0xD800) << 10) + (text[i + 1] - 0xDC00);
            ++i;
        } else if (code >= 0xD800 && code <= 0xDFFF) {
            code = Replacement;
        }
        AppendUtf8(code, out);
    }
    return out;
}
