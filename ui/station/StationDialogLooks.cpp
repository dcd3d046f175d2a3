#include "ui/station/StationDialogLooks.h"

#include <cstring>

#include "platform/CodePage.h"
#include "shell/CApplicationApp.h"
#include "ui/WindowTexts.h"

void StyleText(CTStaticPng& text, Colour colour, int alignment)
{
    ApplyTextStyle(text, colour, App().settings);
    text.alignment = alignment;
}

void StyleButton(CTButtonPng& button, const std::string& image, Colour colour)
{
    const CSettings& settings = App().settings;
    button.SetImages(image, "", "");
    button.SetFont(settings.staticFontHeight, settings.fontName, settings.staticFontWeight);
    button.normalColor = button.hoverColor = button.pressedColor = colour;
}

std::u16string FormatText(const std::u16string& pattern, const std::u16string& value)
{
    std::u16string text = pattern;
    const std::size_t at = text.find(u"%s");
    if (at != std::u16string::npos)
        text.replace(at, 2, value);
    return text;
}

std::u16string LocalText(const char* bytes, std::size_t size)
{
    std::u16string text;
    LocalToUtf16(std::string_view(bytes, strnlen(bytes, size)), text);
    return text;
}

bool CopyLocal(const std::u16string& text, char* out, std::size_t size)
{
    std::string local;
    if (!Utf16ToLocal(text, local) || local.size() >= size)
        return false;
    std::memcpy(out, local.data(), local.size());
    out[local.size()] = 0;
    return true;
}
