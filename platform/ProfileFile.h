#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

// A read-only profile (INI) file with the Windows private-profile rules:
// section and key names compare without regard to (ASCII) case, blanks around
// names and values are trimmed, the first equals sign separates key and value,
// a value enclosed in one pair of matching quotes loses them, and the first
// occurrence of a key wins. Lines beginning with ';' or '#' are comments;
// lines without an equals sign are ignored.
//
// The file may be UTF-16 with byte-order mark (little or big endian), UTF-8
// with byte-order mark, or in the local code page. Reading is bounded: only
// the first maxFileBytes bytes are read (an incomplete last line is then
// dropped) and only the first maxLineChars characters of a line count, so a
// binary, truncated or huge file gives at worst a few odd entries.
class CProfileFile {
public:
    static constexpr std::size_t maxFileBytes = 1024 * 1024;
    static constexpr std::size_t maxLineChars = 4096;

    // Reads the whole file; false when it cannot be opened (then the profile
    // is empty and every lookup gives its default).
    bool Open(const std::string& path);

    // The key's value, or `defaultValue` when the section or key is missing; a
    // present key with an empty value gives the empty text. Like a caller's
    // buffer of `bufferChars` characters, at most bufferChars - 1 are returned.
    std::u16string GetString(std::u16string_view section, std::u16string_view key,
                             std::u16string_view defaultValue, std::size_t bufferChars) const;

    // The same value converted to the local code page.
    std::string GetLocalString(std::u16string_view section, std::u16string_view key,
                               std::u16string_view defaultValue, std::size_t bufferChars) const;

    // A missing or empty value gives `defaultValue`; otherwise an optional sign and the decimal digits up to the first other character
    // (none give 0), wrapping at 32 bits.
    int GetInt(std::u16string_view section, std::u16string_view key, int defaultValue) const;

    // Section names in file order, each once; keys of a section in file order.
    std::vector<std::u16string> Sections() const;
    std::vector<std::u16string> Keys(std::u16string_view section) const;

private:
    struct Entry {
        std::u16string key;
        std::u16string value;
    };
    struct Section {
        std::u16string name;
        std::vector<Entry> entries;
    };

    void Parse(std::u16string_view text);
    const Entry* Find(std::u16string_view section, std::u16string_view key) const;

    std::vector<Section> sections;
};
