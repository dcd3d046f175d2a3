#include "ui/station/CModeConnectAckDlg.h"

#include "shell/CApplicationApp.h"
#include "ui/station/StationDialogLooks.h"

CModeConnectAckDlg::CModeConnectAckDlg(std::u16string ssidText, bool failed, CWindow* parent)
    : CTDialog(templateId, parent), ssidText(std::move(ssidText)), failed(failed)
{
    BindTitleBar();
    Bind(1100, message);
    Bind(1072, okButton);
    Bind(1040, cancelButton);
}

bool CModeConnectAckDlg::OnInitDialog()
{
    CApplicationApp& app = App();
    const CSettings& settings = app.settings;
    InitSkinnedWindow(app.skin.aboutBack);
    StyleText(message, failed ? settings.textRedColor : settings.textBlackColor, 4);
    const char16_t* pattern = failed ? u"Connect failed, please reconnect %s" : u"Connect to %s ?";
    message.SetText(FormatText(app.language.Text(pattern), ssidText));
    StyleButton(okButton, app.skin.btnOk, settings.textWhiteColor);
    StyleButton(cancelButton, app.skin.btnCancel, settings.textBlackColor);
    return true;
}

void CModeConnectAckDlg::OnCommand(int commandId)
{
    if (commandId == 1072)
        EndDialog(ResultOk);
    else if (commandId == 1040 || commandId == closeId)
        EndDialog(ResultCancel);
}

bool CModeConnectAckDlg::PreTranslateKey(int key)
{
    if (key == KeyReturn)
        EndDialog(ResultOk);
    else if (key == KeyEscape)
        EndDialog(ResultCancel);
    return CTDialog::PreTranslateKey(key);
}
