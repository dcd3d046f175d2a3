#pragma once

#include "platform/ProfileFile.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_set>

// Translations of the interface's English texts. The English text is the key
// and the fallback; the language is chosen once at start-up from the system
// locale through Languages/Language.ini and never changes afterwards.
//
// Windows and menus are translated by thin loops over their controls built on
// MarkTranslated, KeepsUserText and the two *Translation operations below.
class CLanguageCatalog {
public:
    static constexpr uint32_t chineseLcid = 0x0804;

    // `dir` is exeDir (ending with a slash); `systemLocaleId` is the system's
    // default locale id.
    void Load(const std::string& dir, uint32_t systemLocaleId);

    // The language file's base name for the locale, from the index's [LCID]
    // section; "English" (and lcid 1033) when the index has no value for it.
    std::string SelectLanguage(uint32_t systemLocaleId);

    // Chooses Languages/<name>.lng ("English" for an empty name) and reads it.
    void SetLanguage(const std::string& name);

    // The translation of `source`, or `source` itself when there is none, with
    // the markers and escaped line breaks resolved.
    std::u16string Text(std::u16string_view source) const;

    // A window title or menu entry: true with the translation when it should
    // replace `current` (not empty and different).
    bool TitleTranslation(std::u16string_view current, std::u16string& translated) const;

    // A control's text: true with the translation when it should be set
    // (`current` is neither empty nor "...", and the translation is not empty).
    bool ControlTranslation(std::u16string_view current, std::u16string& translated) const;

    // Controls of these window classes hold the user's data, never translated.
    static bool KeepsUserText(std::string_view className);

    // Records a window handle as translated; false when it already was (then
    // the window is left alone: a window is translated once per handle).
    bool MarkTranslated(uint64_t windowHandle);

    std::string indexFile = "Language.ini";
    std::string baseDir = "./";
    std::string languageName = "English";
    uint32_t lcid = 1033;
    std::string languageFile;

private:
    CProfileFile translations;
    std::unordered_set<uint64_t> translatedWindows;
};
