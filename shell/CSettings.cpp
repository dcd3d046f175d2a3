#include "shell/CSettings.h"

#include "platform/CodePage.h"
#include "platform/ProfileFile.h"

#include <cstring>
#include <vector>

namespace {

constexpr std::size_t valueChars = 64;
constexpr std::size_t ssidPrefixBytes = 32;

struct FontSet {
    std::u16string name;
    int btnWeight, btnHeight, staticWeight, staticHeight;
};

// Like the C library's atoi, but wrapping instead of undefined on overflow.
int Atoi(const std::string& s)
{
    std::size_t i = 0;
    while (i < s.size() && (s[i] == ' ' || (s[i] >= '\t' && s[i] <= '\r')))
        ++i;
    bool negative = false;
    if (i < s.size() && (s[i] == '-' || s[i] == '+'))
        negative = s[i++] == '-';
    uint32_t number = 0;
    for (; i < s.size() && s[i] >= '0' && s[i] <= '9'; ++i)
        number = number * 10 + uint32_t(s[i] - '0');
    return static_cast<int>(negative ? 0u - number : number);
}

int ReadNumber(const CProfileFile& file, std::u16string_view section, std::u16string_view key,
               std::u16string_view defaultValue)
{
    return Atoi(file.GetLocalString(section, key, defaultValue, valueChars));
}

FontSet ReadFontSet(const CProfileFile& file, const std::u16string& suffix)
{
    return FontSet{
        file.GetString(u"Font", u"font_name" + suffix, u"Microsoft YaHei", valueChars),
        ReadNumber(file, u"Font", u"btn_font_weight" + suffix, u"0"),
        ReadNumber(file, u"Font", u"btn_font_height" + suffix, u"19"),
        ReadNumber(file, u"Font", u"static_font_weight" + suffix, u"0"),
        ReadNumber(file, u"Font", u"static_font_height" + suffix, u"18"),
    };
}

// Exactly three comma-separated fields, low 8 bits each, red first; any other
// count leaves the colour as it was.
void ReadColor(const CProfileFile& file, std::u16string_view key, std::u16string_view defaultValue,
               uint32_t& color)
{
    std::string value = file.GetLocalString(u"Color", key, defaultValue, valueChars);
    std::vector<std::string> fields;
    std::size_t start = 0;
    for (std::size_t comma; (comma = value.find(',', start)) != std::string::npos; start = comma + 1)
        fields.push_back(value.substr(start, comma - start));
    fields.push_back(value.substr(start));
    if (fields.size() != 3)
        return;
    color = 0;
    for (int i = 0; i < 3; ++i)
        color |= (static_cast<uint32_t>(Atoi(fields[i])) & 0xFF) << (8 * i);
}

// Whole characters only, so a double-byte character is never split at the cap.
void CopySsidPrefix(std::u16string_view value, char (&ssid)[33])
{
    std::memset(ssid, 0, sizeof ssid);
    std::size_t used = 0;
    for (std::size_t i = 0; i < value.size();) {
        std::size_t length = (value[i] >= 0xD800 && value[i] < 0xDC00 && i + 1 < value.size()) ? 2 : 1;
        std::string local;
        Utf16ToLocal(value.substr(i, length), local);
        if (used + local.size() > ssidPrefixBytes)
            break;
        std::memcpy(ssid + used, local.data(), local.size());
        used += local.size();
        i += length;
    }
}

} // namespace

void CSettings::LoadSettings(const std::string& exeDir, uint32_t languageId)
{
    CProfileFile file;
    file.Open(exeDir + "Setting/Setting.ini");

    CopySsidPrefix(file.GetString(u"Setting", u"APDefaultSSID", u"Kavlo_", valueChars), apDefaultSsid);

    FontSet chinese = ReadFontSet(file, u"_chinese");
    FontSet other = ReadFontSet(file, u"_other");
    const FontSet& used = (languageId & 0xFFFF) == 0x0804 ? chinese : other;
    fontName = used.name;
    btnFontWeight = used.btnWeight;
    btnFontHeight = used.btnHeight;
    staticFontWeight = used.staticWeight;
    staticFontHeight = used.staticHeight;

    ReadColor(file, u"dlg_back_white_color", u"255,255,255", whiteBackColor);
    ReadColor(file, u"grid_back_color", u"255,255,255", gridBackColor);
    ReadColor(file, u"grid_line_color", u"228,228,228", gridLineColor);
    ReadColor(file, u"grid_move_color", u"242,242,242", gridMoveColor);
    ReadColor(file, u"static_font_text_black_color", u"0,0,0", textBlackColor);
    ReadColor(file, u"static_font_text_gray_color", u"102,102,102", textGrayColor);
    ReadColor(file, u"static_font_text_green_color", u"0,128,0", textGreenColor);
    ReadColor(file, u"static_font_text_red_color", u"255,0,0", textRedColor);
    ReadColor(file, u"static_font_text_orange_color", u"253,79,0", textOrangeColor);
    ReadColor(file, u"static_font_text_white_color", u"255,255,255", textWhiteColor);

    filletRadian = ReadNumber(file, u"Setting", u"fillet_radian", u"10");

    listFont = FontDescription{staticFontHeight, staticFontWeight, fontName.substr(0, 31)};
    gridRowHeight = 31;
}
