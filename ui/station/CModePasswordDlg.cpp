#include "ui/station/CModePasswordDlg.h"

#include <cstring>

#include "shell/CApplicationApp.h"
#include "ui/framework/CMessageBox.h"
#include "ui/station/PasswordRules.h"
#include "ui/station/StationDialogLooks.h"

namespace {
constexpr int commandShow = 1030;
constexpr int commandOk = 1072;
constexpr int commandCancel = 1040;
constexpr int kindWep = 2;
} // namespace

CModePasswordDlg::CModePasswordDlg(NetworkDescription* description, CWindow* parent)
    : CTDialog(templateId, parent), description(description)
{
    BindTitleBar();
    Bind(1073, message);
    Bind(1023, passwordEdit);
    Bind(1030, showButton);
    Bind(1098, authenticationLabel);
    Bind(1096, authenticationList);
    Bind(1099, keyIndexLabel);
    Bind(1097, keyIndexList);
    Bind(commandOk, okButton);
    Bind(commandCancel, cancelButton);
}

bool CModePasswordDlg::OnInitDialog()
{
    CApplicationApp& app = App();
    const CSettings& settings = app.settings;
    InitSkinnedWindow(app.skin.aboutBack);
    StyleText(authenticationLabel, settings.textBlackColor, 6);
    StyleText(keyIndexLabel, settings.textBlackColor, 6);
    StyleButton(okButton, app.skin.btnOk, settings.textWhiteColor);
    StyleButton(cancelButton, app.skin.btnCancel, settings.textBlackColor);
    showButton.SetImages(app.skin.btnShow, app.skin.btnShow, app.skin.btnShowHide);

    authenticationList.InsertItem(0, app.language.Text(u"Open"), 0);
    authenticationList.InsertItem(1, app.language.Text(u"Share"), 1);
    authenticationList.SetCurrentSelection(0);
    for (int index = 0; index < 4; ++index)
        keyIndexList.InsertItem(index, std::u16string(1, char16_t(u'1' + index)), index);
    keyIndexList.SetCurrentSelection(0);
    passwordEdit.SetLimitText(64);
    passwordEdit.SetPasswordMode(true);
    passwordEdit.SetFocus();
    if (!description)
        return true;

    const bool failed = description->retryAfterFailure != 0;
    StyleText(message, failed ? settings.textRedColor : settings.textBlackColor, 4);
    const char16_t* pattern = failed ? u"Connect failed, please reconnect %s" : u"Enter the password of %s";
    message.SetText(FormatText(app.language.Text(pattern), LocalText(description->ssid, sizeof description->ssid)));
    const bool wep = description->securityKind == kindWep;
    for (CWindow* control :
         std::initializer_list<CWindow*>{&authenticationLabel, &authenticationList, &keyIndexLabel, &keyIndexList})
        control->Show(wep);
    if (description->prefilled) {
        if (wep) {
            const int index = description->wepKeyIndex & 3;
            passwordEdit.SetText(LocalText(description->wepKeyText[index], sizeof description->wepKeyText[index]));
            authenticationList.SetCurrentSelection(description->wepAuthentication == 1 ? 1 : 0);
            keyIndexList.SetCurrentSelection(index);
        } else {
            passwordEdit.SetText(LocalText(description->passphrase, sizeof description->passphrase));
        }
    }
    return true;
}

void CModePasswordDlg::OnCommand(int commandId)
{
    switch (commandId) {
    case commandShow:
        passwordShown = !passwordShown;
        passwordEdit.SetPasswordMode(!passwordShown);
        break;
    case commandOk:
        OnOk();
        break;
    case commandCancel:
    case closeId:
        EndDialog(ResultCancel);
        break;
    default:
        break;
    }
}

bool CModePasswordDlg::PreTranslateKey(int key)
{
    if (key == KeyReturn)
        OnOk();
    else if (key == KeyEscape)
        EndDialog(ResultCancel);
    return CTDialog::PreTranslateKey(key);
}

void CModePasswordDlg::OnOk()
{
    passwordEdit.SetFocus();
    if (!ValidatePassword())
        return;
    StorePassword();
    EndDialog(ResultOk);
}

bool CModePasswordDlg::ValidatePassword()
{
    const int kind = description ? int(description->securityKind) : 0;
    const PasswordVerdict verdict = CheckPassword(passwordEdit.Text(), kind, localPassword);
    if (verdict == PasswordOk)
        return true;
    CMessageBox::Show(this, App().language.Text(PasswordMessage(verdict)));
    passwordEdit.SetFocus();
    return false;
}

void CModePasswordDlg::StorePassword()
{
    if (!description)
        return;
    if (description->securityKind == kindWep) {
        const int index = int(keyIndexList.ItemData(keyIndexList.CurrentSelection())) & 3;
        description->wepAuthentication = uint32_t(authenticationList.ItemData(authenticationList.CurrentSelection()));
        description->wepKeyIndex = uint16_t(index);
        std::memset(description->wepKeyText[index], 0, sizeof description->wepKeyText[index]);
        std::memcpy(description->wepKeyText[index], localPassword.data(), localPassword.size());
        description->wepKeyLength[index] = uint16_t(localPassword.size());
    } else {
        std::memset(description->passphrase, 0, sizeof description->passphrase);
        std::memcpy(description->passphrase, localPassword.data(), localPassword.size());
        description->passphraseLength = uint32_t(localPassword.size());
    }
}
