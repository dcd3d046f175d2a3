#include "ui/station/CModeAddDlg.h"

#include <cstring>

#include "shell/CApplicationApp.h"
#include "ui/framework/CMessageBox.h"
#include "ui/station/PasswordRules.h"
#include "ui/station/StationDialogLooks.h"

namespace {
constexpr int commandSecurity = 1024;
constexpr int commandOk = 1072;
constexpr int commandCancel = 1040;
constexpr int kindNone = 0;
constexpr int kindWep = 2;
constexpr int kindWpaPsk = 3;
constexpr int kindWpa2Psk = 4;
} // namespace

CModeAddDlg::CModeAddDlg(NetworkDescription* description, CWindow* parent)
    : CTDialog(templateId, parent), description(description)
{
    BindTitleBar();
    Bind(1100, failureMessage);
    Bind(1018, labels[0]);
    Bind(1019, labels[1]);
    Bind(1020, labels[2]);
    Bind(1022, ssidEdit);
    Bind(commandSecurity, securityList);
    Bind(1023, passwordEdit);
    Bind(1098, authenticationLabel);
    Bind(1096, authenticationList);
    Bind(1099, keyIndexLabel);
    Bind(1097, keyIndexList);
    Bind(commandOk, okButton);
    Bind(commandCancel, cancelButton);
}

bool CModeAddDlg::OnInitDialog()
{
    CApplicationApp& app = App();
    const CSettings& settings = app.settings;
    InitSkinnedWindow(app.skin.aboutBack);
    StyleText(failureMessage, settings.textRedColor, 4);
    failureMessage.Show(false);
    for (CTStaticPng* label : {&labels[0], &labels[1], &labels[2], &authenticationLabel, &keyIndexLabel})
        StyleText(*label, settings.textBlackColor, 6);
    StyleButton(okButton, app.skin.btnOk, settings.textWhiteColor);
    StyleButton(cancelButton, app.skin.btnCancel, settings.textBlackColor);

    for (int index = 0; index < 4; ++index)
        keyIndexList.InsertItem(index, std::u16string(1, char16_t(u'1' + index)), index);
    keyIndexList.SetCurrentSelection(0);
    const char16_t* modes[] = {u"None", u"WEP", u"WPA-PSK", u"WPA2-PSK"};
    const int kinds[] = {kindNone, kindWep, kindWpaPsk, kindWpa2Psk};
    for (int i = 0; i < 4; ++i)
        securityList.InsertItem(i, app.language.Text(modes[i]), kinds[i]);
    securityList.SetCurrentSelection(2);
    ApplySecurityMode();
    ssidEdit.SetLimitText(32);
    passwordEdit.SetLimitText(64);
    ssidEdit.SetFocus();
    if (!description || !description->prefilled)
        return true;

    failureMessage.Show(description->retryAfterFailure != 0);
    ssidEdit.SetText(LocalText(description->ssid, sizeof description->ssid));
    const int kind = int(description->securityKind);
    const int position = kind == kindWep ? 1 : kind == kindWpaPsk ? 2 : kind == kindWpa2Psk ? 3 : 0;
    securityList.SetCurrentSelection(position);
    ApplySecurityMode();
    if (kind == kindWep) {
        const int index = description->wepKeyIndex & 3;
        passwordEdit.SetText(LocalText(description->wepKeyText[index], sizeof description->wepKeyText[index]));
        keyIndexList.SetCurrentSelection(index);
        authenticationList.SetCurrentSelection(description->wepAuthentication == 1 ? 1 : 0);
    } else if (kind != kindNone) {
        passwordEdit.SetText(LocalText(description->passphrase, sizeof description->passphrase));
        authenticationList.SetCurrentSelection(description->cipher == 1 ? 1 : 0);
    }
    passwordEdit.SetFocus();
    return true;
}

int CModeAddDlg::SelectedKind() const
{
    const int selection = securityList.CurrentSelection();
    return selection < 0 ? kindNone : int(securityList.ItemData(selection));
}

void CModeAddDlg::ApplySecurityMode()
{
    CLanguageCatalog& language = App().language;
    const int kind = SelectedKind();
    if (kind == kindNone) {
        passwordEdit.SetText(u"");
        passwordEdit.Enable(false);
        for (CWindow* control : std::initializer_list<CWindow*>{&authenticationLabel, &authenticationList,
                                                                &keyIndexLabel, &keyIndexList})
            control->Show(false);
        return;
    }
    passwordEdit.Enable(true);
    authenticationLabel.Show(true);
    authenticationList.Show(true);
    keyIndexLabel.Show(kind == kindWep);
    keyIndexList.Show(kind == kindWep);
    while (authenticationList.ItemCount() > 0)
        authenticationList.DeleteItem(0);
    authenticationList.InsertItem(0, language.Text(kind == kindWep ? u"Open" : u"AES"), 0);
    authenticationList.InsertItem(1, language.Text(kind == kindWep ? u"Share" : u"TKIP"), 1);
    authenticationList.SetCurrentSelection(0);
}

void CModeAddDlg::OnCommand(int commandId)
{
    switch (commandId) {
    case commandSecurity:
        ApplySecurityMode();
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

bool CModeAddDlg::PreTranslateKey(int key)
{
    if (key == KeyReturn)
        OnOk();
    else if (key == KeyEscape)
        EndDialog(ResultCancel);
    return CTDialog::PreTranslateKey(key);
}

void CModeAddDlg::OnOk()
{
    if (!ValidateManual())
        return;
    StoreManual();
    EndDialog(ResultOk);
}

bool CModeAddDlg::ValidateManual()
{
    CLanguageCatalog& language = App().language;
    const std::u16string ssid = ssidEdit.Text();
    const char16_t* problem = nullptr;
    CWindow* box = &ssidEdit;
    if (ssid.empty())
        problem = u"SSID can not be empty";
    else if (!SsidFits(ssid, localSsid))
        problem = u"SSID can not exceed 32 characters (Chinese accounted for 3 characters)";
    const int kind = SelectedKind();
    localPassword.clear();
    if (!problem && kind != kindNone) {
        const PasswordVerdict verdict = CheckPassword(passwordEdit.Text(), kind, localPassword);
        if (verdict != PasswordOk) {
            problem = PasswordMessage(verdict);
            box = &passwordEdit;
        }
    }
    if (!problem)
        return true;
    CMessageBox::Show(this, language.Text(problem));
    box->SetFocus();
    return false;
}

void CModeAddDlg::StoreManual()
{
    if (!description)
        return;
    std::memset(description->ssid, 0, sizeof description->ssid);
    std::memcpy(description->ssid, localSsid.data(), localSsid.size());
    const int kind = SelectedKind();
    description->securityKind = uint32_t(kind);
    const uint32_t choice = uint32_t(authenticationList.ItemData(authenticationList.CurrentSelection()));
    if (kind == kindWep) {
        const int index = int(keyIndexList.ItemData(keyIndexList.CurrentSelection())) & 3;
        description->wepAuthentication = choice;
        description->wepKeyIndex = uint16_t(index);
        std::memset(description->wepKeyText[index], 0, sizeof description->wepKeyText[index]);
        std::memcpy(description->wepKeyText[index], localPassword.data(), localPassword.size());
        description->wepKeyLength[index] = uint16_t(localPassword.size());
    } else if (kind != kindNone) {
        description->cipher = choice;
        std::memset(description->passphrase, 0, sizeof description->passphrase);
        std::memcpy(description->passphrase, localPassword.data(), localPassword.size());
        description->passphraseLength = uint32_t(localPassword.size());
    }
}
