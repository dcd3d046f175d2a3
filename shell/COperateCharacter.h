#pragma once

#include <cstddef>
#include <string>
#include <vector>

// Stateless text helpers; one instance lives in the application object.
class COperateCharacter {
public:
    // Fields of `text` between delimiters; an empty field gives `emptyValue`
    // unless `skipEmpty`. "255,,0" at ',' gives "255", "" and "0".
    void Split(const std::u16string& text, const std::u16string& delimiter, bool skipEmpty,
               const std::u16string& emptyValue, std::vector<std::u16string>& list) const;

    // Network names arrive as bytes in UTF-8 or the local code page; this
    // guesses UTF-8 from the share of valid 2- and 3-byte sequences. Reads up
    // to the first zero byte, at most `size` bytes.
    bool LooksLikeUtf8(const char* bytes, size_t size) const;

    // UTF-8 to the local ANSI code page, terminated, cut to `outSize`. Always 1.
    int Utf8ToLocal(const char* utf8, size_t size, char* out, size_t outSize) const;
};

// The text in the local code page: converted when it looks like UTF-8, else
// copied. `dst` is terminated and never written past `dstSize`.
char* ToLocalIfUtf8(const char* src, size_t srcSize, char* dst, size_t dstSize);
