#include "platform/ProfileFile.h"

#include "platform/AsciiCase.h"
#include "platform/CodePage.h"

#include <cstdint>
#include <fstream>
#include <unordered_set>

namespace {

bool SameName(std::u16string_view a, std::u16string_view b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (FoldAscii(a[i]) != FoldAscii(b[i]))
            return false;
    return true;
}

bool IsBlank(char16_t c)
{
    return c == u' ' || c == u'\t' || c == u'\v' || c == u'\f';
}

std::u16string_view Trim(std::u16string_view s)
{
    while (!s.empty() && IsBlank(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && IsBlank(s.back()))
        s.remove_suffix(1);
    return s;
}

std::u16string Utf16FromBytes(std::string_view bytes, bool bigEndian)
{
    std::u16string text(bytes.size() / 2, u'\0');
    for (std::size_t i = 0; i < text.size(); ++i) {
        auto first = static_cast<uint8_t>(bytes[2 * i]);
        auto second = static_cast<uint8_t>(bytes[2 * i + 1]);
        text[i] = bigEndian ? char16_t(first << 8 | second) : char16_t(second << 8 | first);
    }
    return text;
}

std::u16string Decode(std::string_view bytes)
{
    if (bytes.starts_with("\xFF\xFE"))
        return Utf16FromBytes(bytes.substr(2), false);
    if (bytes.starts_with("\xFE\xFF"))
        return Utf16FromBytes(bytes.substr(2), true);
    if (bytes.starts_with("\xEF\xBB\xBF"))
        return Utf8ToUtf16(bytes.substr(3));
    std::u16string text;
    LocalToUtf16(bytes, text); // invalid bytes arrive as U+FFFD, which is fine here
    return text;
}

bool IsLineEnd(char16_t c)
{
    return c == u'\n' || c == u'\r' || c == u'\0';
}

} // namespace

bool CProfileFile::Open(const std::string& path)
{
    sections.clear();
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return false;
    std::string bytes(maxFileBytes + 1, '\0');
    in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    bytes.resize(static_cast<std::size_t>(in.gcount()));
    bool cut = bytes.size() > maxFileBytes;
    if (cut)
        bytes.resize(maxFileBytes);

    std::u16string text = Decode(bytes);
    if (cut) {
        // The last line may have lost its end; a value cut short is worse than none.
        std::size_t lastEnd = text.find_last_of(u"\r\n");
        text.resize(lastEnd == std::u16string::npos ? 0 : lastEnd);
    }
    Parse(text);
    return true;
}

void CProfileFile::Parse(std::u16string_view text)
{
    Section* current = nullptr;
    std::size_t pos = 0;
    while (pos < text.size()) {
        std::size_t end = pos;
        while (end < text.size() && !IsLineEnd(text[end]))
            ++end;
        std::u16string_view line = Trim(text.substr(pos, std::min(end - pos, maxLineChars)));
        pos = end + 1;

        if (line.empty() || line.front() == u';' || line.front() == u'#')
            continue;
        if (line.front() == u'[') {
            std::size_t close = line.find(u']');
            std::u16string_view name = Trim(line.substr(1, close == std::u16string_view::npos ? line.npos : close - 1));
            current = &sections.emplace_back(Section{std::u16string(name), {}});
            continue;
        }
        std::size_t equals = line.find(u'=');
        if (!current || equals == std::u16string_view::npos)
            continue;
        std::u16string_view key = Trim(line.substr(0, equals));
        std::u16string_view value = Trim(line.substr(equals + 1));
        if (value.size() >= 2 && (value.front() == u'"' || value.front() == u'\'') && value.back() == value.front())
            value = value.substr(1, value.size() - 2);
        if (!key.empty())
            current->entries.push_back(Entry{std::u16string(key), std::u16string(value)});
    }
}

const CProfileFile::Entry* CProfileFile::Find(std::u16string_view section, std::u16string_view key) const
{
    for (const Section& s : sections) {
        if (!SameName(s.name, section))
            continue;
        for (const Entry& e : s.entries)
            if (SameName(e.key, key))
                return &e;
    }
    return nullptr;
}

std::u16string CProfileFile::GetString(std::u16string_view section, std::u16string_view key,
                                       std::u16string_view defaultValue, std::size_t bufferChars) const
{
    if (bufferChars == 0)
        return {};
    const Entry* entry = Find(section, key);
    std::u16string_view value = entry ? std::u16string_view(entry->value) : defaultValue;
    return std::u16string(value.substr(0, bufferChars - 1));
}

std::string CProfileFile::GetLocalString(std::u16string_view section, std::u16string_view key,
                                         std::u16string_view defaultValue, std::size_t bufferChars) const
{
    std::string local;
    Utf16ToLocal(GetString(section, key, defaultValue, bufferChars), local);
    return local;
}

int CProfileFile::GetInt(std::u16string_view section, std::u16string_view key, int defaultValue) const
{
    const Entry* entry = Find(section, key);
    if (!entry || entry->value.empty())
        return defaultValue;
    std::u16string_view s = entry->value;
    std::size_t i = 0;
    bool negative = false;
    if (i < s.size() && (s[i] == u'-' || s[i] == u'+'))
        negative = s[i++] == u'-';
    uint32_t number = 0;
    for (; i < s.size() && s[i] >= u'0' && s[i] <= u'9'; ++i)
        number = number * 10 + uint32_t(s[i] - u'0');
    return static_cast<int>(negative ? 0u - number : number);
}

std::vector<std::u16string> CProfileFile::Sections() const
{
    std::vector<std::u16string> names;
    std::unordered_set<std::u16string> seen;
    for (const Section& s : sections)
        if (seen.insert(FoldAscii(s.name)).second)
            names.push_back(s.name);
    return names;
}

std::vector<std::u16string> CProfileFile::Keys(std::u16string_view section) const
{
    std::vector<std::u16string> keys;
    std::unordered_set<std::u16string> seen;
    for (const Section& s : sections) {
        if (!SameName(s.name, section))
            continue;
        for (const Entry& e : s.entries)
            if (seen.insert(FoldAscii(e.key)).second)
                keys.push_back(e.key);
    }
    return keys;
}
