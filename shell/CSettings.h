#pragma once

#include <cstdint>
#include <string>

// The look of the interface and the default SoftAP name prefix, read once at
// start-up from Setting/Setting.ini beside the executable. Every key has a
// built-in default; nothing writes the file. Colours are RGB with red in the
// low byte.
class CSettings {
public:
    // What the network-list cells draw with; every other attribute is zero.
    struct FontDescription {
        int height = 0;
        int weight = 0;
        std::u16string faceName; // at most 31 characters
    };

    // `exeDir` ends with a slash. `languageId` is the language catalogue's:
    // 0x0804 takes the "_chinese" font keys, any other the "_other" ones.
    void LoadSettings(const std::string& exeDir, uint32_t languageId);

    char apDefaultSsid[33] = {};
    int filletRadian = 0;

    std::u16string fontName;
    int btnFontWeight = 0;
    int btnFontHeight = 0;
    int staticFontWeight = 0;
    int staticFontHeight = 0;

    uint32_t whiteBackColor = 0;
    uint32_t gridBackColor = 0;
    uint32_t gridLineColor = 0;
    uint32_t gridMoveColor = 0;
    uint32_t textBlackColor = 0;
    uint32_t textGrayColor = 0;
    uint32_t textGreenColor = 0;
    uint32_t textRedColor = 0;
    uint32_t textOrangeColor = 0;
    uint32_t textWhiteColor = 0;

    FontDescription listFont;
    int gridRowHeight = 31;
};
