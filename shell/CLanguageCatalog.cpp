#include "shell/CLanguageCatalog.h"

#include "platform/AsciiCase.h"
#include "platform/CodePage.h"

#include <array>

namespace {

constexpr std::size_t valueChars = 1023;

void ReplaceAll(std::u16string& text, std::u16string_view from, std::u16string_view to)
{
    for (std::size_t at = text.find(from); at != std::u16string::npos; at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
}

} // namespace

void CLanguageCatalog::Load(const std::string& dir, uint32_t systemLocaleId)
{
    indexFile = "Language.ini";
    baseDir = dir;
    languageName = SelectLanguage(systemLocaleId);
    SetLanguage(languageName);
}

std::string CLanguageCatalog::SelectLanguage(uint32_t systemLocaleId)
{
    lcid = systemLocaleId;
    CProfileFile index;
    index.Open(baseDir + "Languages/" + indexFile);
    std::string key = std::to_string(lcid);
    std::u16string name = index.GetString(u"LCID", std::u16string(key.begin(), key.end()), u"", valueChars);
    if (name.empty()) {
        lcid = 1033;
        return "English";
    }
    return Utf16ToUtf8(name); // file names are UTF-8 here
}

void CLanguageCatalog::SetLanguage(const std::string& name)
{
    languageName = name.empty() ? "English" : name;
    languageFile = baseDir + "Languages/" + languageName + ".lng";
    // Nothing writes the file while the program runs, so it is read once.
    translations.Open(languageFile);
}

std::u16string CLanguageCatalog::Text(std::u16string_view source) const
{
    if (source.empty())
        return {};
    std::u16string key = FoldAscii(source);
    std::u16string text = translations.GetString(u"ProgramOutStr", key, u"", valueChars);
    if (text.empty())
        text = source;
    ReplaceAll(text, u"\\r\\n", u"\r\n");
    ReplaceAll(text, u"\\n", u"\n");
    ReplaceAll(text, u"[~NullInfoPexwo~]", u"");
    ReplaceAll(text, u"[~Null~]", u" ");
    return text;
}

bool CLanguageCatalog::TitleTranslation(std::u16string_view current, std::u16string& translated) const
{
    if (current.empty())
        return false;
    translated = Text(current);
    return !translated.empty() && translated != current;
}

bool CLanguageCatalog::ControlTranslation(std::u16string_view current, std::u16string& translated) const
{
    if (current.empty() || current == u"...")
        return false;
    translated = Text(current);
    return !translated.empty();
}

bool CLanguageCatalog::KeepsUserText(std::string_view className)
{
    static constexpr std::array<std::string_view, 8> userDataClasses = {
        "Edit", "ListBox", "SysDateTimePick32", "SysListView32",
        "msctls_progress32", "msctls_updown32", "SysIPAddress32", "SysTreeView32",
    };
    for (std::string_view c : userDataClasses)
        if (c == className)
            return true;
    return false;
}

bool CLanguageCatalog::MarkTranslated(uint64_t windowHandle)
{
    return translatedWindows.insert(windowHandle).second;
}
