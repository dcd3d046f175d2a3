#include "ui/WindowTexts.h"

#include "shell/CLanguageCatalog.h"
#include "shell/CSettings.h"
#include "shell/CSkinPaths.h"
#include "ui/controls/CTPngFace.h"
#include "ui/framework/CMenu.h"
#include "ui/framework/CWindow.h"

namespace {

constexpr std::size_t titleChars = 2046;
constexpr std::size_t controlChars = 1022;

std::u16string Cut(std::u16string text, std::size_t chars)
{
    if (text.size() > chars)
        text.resize(chars);
    return text;
}

} // namespace

void TranslateWindow(CWindow& window, CLanguageCatalog& language)
{
    if (!window.Exists() || !language.MarkTranslated(window.Handle()))
        return;
    std::u16string translated;
    if (language.TitleTranslation(Cut(window.Text(), titleChars), translated))
        window.SetText(translated);
    for (CWindow* control : window.Descendants()) {
        if (!language.MarkTranslated(control->Handle()) || CLanguageCatalog::KeepsUserText(control->ClassName()))
            continue;
        if (control->ClassName() == "ComboBox") {
            int selected = control->CurrentSelection();
            for (int i = 0; i < control->ItemCount(); ++i) {
                std::u16string item = control->Item(i);
                intptr_t data = control->ItemData(i);
                control->DeleteItem(i);
                control->InsertItem(i, language.Text(item), data);
            }
            if (selected >= 0 && selected < control->ItemCount())
                control->SetCurrentSelection(selected);
        }
        if (language.ControlTranslation(Cut(control->Text(), controlChars), translated)) {
            if (auto* face = dynamic_cast<CTPngFace*>(control))
                face->SetText(translated);
            else
                control->SetText(translated);
        }
    }
}

void TranslateMenu(CMenu& menu, const CLanguageCatalog& language)
{
    for (CMenu::Item& item : menu.items) {
        if (item.id == 0 && !item.submenu)
            continue;
        std::u16string translated;
        if (language.TitleTranslation(Cut(item.text, titleChars), translated))
            item.text = translated;
        if (item.submenu)
            TranslateMenu(*item.submenu, language);
    }
}

void ApplyTextStyle(CTPngFace& control, Colour colour, const CSettings& settings)
{
    control.SetFont(settings.staticFontHeight, settings.fontName, settings.staticFontWeight);
    control.normalColor = colour;
    control.hoverColor = colour;
    control.pressedColor = colour;
    control.alignment = 5;
    control.Invalidate();
}

void SetCloseButtonImages(CTPngFace& control, const CSkinPaths& skin)
{
    control.SetImages(skin.btnCloseNormal, skin.btnCloseMove, "");
}
