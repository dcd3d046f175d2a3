#include "ui/CExitDlg.h"

#include "shell/CApplicationApp.h"
#include "ui/WindowTexts.h"

CExitDlg::CExitDlg(CWindow* parent) : CTDialog(templateId, parent)
{
    BindTitleBar();
    Bind(1038, question);
    Bind(1039, exitButton);
    Bind(1040, cancelButton);
}

bool CExitDlg::OnInitDialog()
{
    CApplicationApp& app = App();
    const CSettings& settings = app.settings;
    InitSkinnedWindow(app.skin.exitBack);

    ApplyTextStyle(question, settings.textBlackColor, settings);
    question.alignment = 4;
    exitButton.SetImages(app.skin.btnOk, "", "");
    exitButton.SetFont(settings.staticFontHeight, settings.fontName, settings.staticFontWeight);
    exitButton.normalColor = exitButton.hoverColor = exitButton.pressedColor = settings.textWhiteColor;
    cancelButton.SetImages(app.skin.btnCancel, "", "");
    cancelButton.SetFont(settings.staticFontHeight, settings.fontName, settings.staticFontWeight);
    cancelButton.normalColor = cancelButton.hoverColor = cancelButton.pressedColor = settings.textBlackColor;
    return true;
}

void CExitDlg::OnCommand(int commandId)
{
    if (commandId == 1039)
        EndDialog(ResultOk);
    else if (commandId == 1001 || commandId == 1040)
        EndDialog(ResultCancel);
}

bool CExitDlg::PreTranslateKey(int key)
{
    if (key == KeyEscape)
        EndDialog(ResultCancel);
    return CTDialog::PreTranslateKey(key);
}
