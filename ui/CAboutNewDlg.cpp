#include "ui/CAboutNewDlg.h"

#include "platform/CodePage.h"
#include "shell/CApplicationApp.h"
#include "ui/WindowTexts.h"

CAboutNewDlg::CAboutNewDlg(CWindow* parent) : CTDialog(templateId, parent)
{
    BindTitleBar();
    Bind(1088, logo);
    Bind(1041, product);
    Bind(1003, versionLabel);
    Bind(1043, version);
    Bind(1042, contactLabel);
    Bind(1044, contact);
    Bind(1045, notice);
}

bool CAboutNewDlg::OnInitDialog()
{
    CApplicationApp& app = App();
    const CSettings& settings = app.settings;
    InitSkinnedWindow(app.skin.aboutBack);

    logo.SetImages(app.skin.corpLogo, "", "");
    ApplyTextStyle(product, settings.textBlackColor, settings);
    product.SetFont(settings.staticFontHeight, settings.fontName, 700);
    product.alignment = 4;
    ApplyTextStyle(versionLabel, settings.textBlackColor, settings);
    versionLabel.alignment = 6;
    ApplyTextStyle(version, settings.textBlackColor, settings);
    ApplyTextStyle(contactLabel, settings.textBlackColor, settings);
    contactLabel.alignment = 6;
    ApplyTextStyle(contact, settings.textBlackColor, settings);
    ApplyTextStyle(notice, settings.textGrayColor, settings);
    notice.alignment = 4;
    version.SetText(Utf8ToUtf16(app.versionText));
    return true;
}

void CAboutNewDlg::OnCommand(int commandId)
{
    if (commandId == 1001)
        EndDialog(ResultOk);
}

bool CAboutNewDlg::PreTranslateKey(int key)
{
    if (key == KeyEscape)
        EndDialog(ResultCancel);
    return CTDialog::PreTranslateKey(key);
}
