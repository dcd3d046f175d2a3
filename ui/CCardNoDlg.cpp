#include "ui/CCardNoDlg.h"

#include "platform/CodePage.h"
#include "shell/CApplicationApp.h"
#include "ui/WindowTexts.h"
#include "ui/framework/CTrayIcon.h"

CCardNoDlg::CCardNoDlg(CWindow* parent) : CTDialog(templateId, parent)
{
    BindTitleBar();
    Bind(1090, picture);
    Bind(1085, message);
    Bind(1086, buyLink);
}

bool CCardNoDlg::OnInitDialog()
{
    CApplicationApp& app = App();
    const CSettings& settings = app.settings;
    InitSkinnedWindow(app.skin.aboutBack);

    ApplyTextStyle(message, settings.textBlackColor, settings);
    message.alignment = 4;
    buyLink.SetFont(settings.staticFontHeight, settings.fontName, settings.staticFontWeight);
    buyLink.normalColor = buyLink.hoverColor = buyLink.pressedColor = settings.textOrangeColor;
    buyLink.cursor = CTPngFace::CursorHand;
    buyLink.MakeClickable();
    buyLink.SetLinkTarget(Utf16ToUtf8(app.language.Text(u"buy url")));
    return true;
}

void CCardNoDlg::SetCardState(int state)
{
    CApplicationApp& app = App();
    if (state == AdapterNone) {
        picture.SetImages(app.skin.cardNo, "", "");
        buyLink.Show(true);
        message.SetText(app.language.Text(u"Please insert the network adapter"));
    } else if (state == AdapterDisabled) {
        picture.SetImages(app.skin.cardDisable, "", "");
        buyLink.Show(false);
        message.SetText(app.language.Text(u"Please check network adapter is enabled"));
    }
}

void CCardNoDlg::OnCommand(int commandId)
{
    if (commandId == closeId)
        OnClose();
}

void CCardNoDlg::OnClose()
{
    // Only the tray brings the panel back: without one it stays.
    if (CTrayIcon::Available())
        Show(false);
}
