#pragma once

#include <string>

#include "adapter/NetworkDescription.h"
#include "ui/CTDialog.h"
#include "ui/controls/CTButtonPng.h"
#include "ui/controls/CTStaticPng.h"

// A network entered by hand, typically one that hides its name: SSID,
// security mode, password, and authentication (WEP: open or shared; WPA:
// AES or TKIP) and key index. OK (or Enter) checks the entries and stores
// them in the description; reopened after a failed attempt it shows the red
// line and the values typed last.
class CModeAddDlg : public CTDialog {
public:
    static constexpr int templateId = 149;

    CModeAddDlg(NetworkDescription* description, CWindow* parent);

    bool OnInitDialog() override;
    void OnCommand(int commandId) override;
    bool PreTranslateKey(int key) override;

    void ApplySecurityMode();
    // A refused entry shows its message and focuses its box.
    bool ValidateManual();
    void StoreManual();

    CTStaticPng failureMessage;
    CTStaticPng labels[3];
    CWindow ssidEdit;
    CWindow securityList;
    CWindow passwordEdit;
    CTStaticPng authenticationLabel;
    CWindow authenticationList;
    CTStaticPng keyIndexLabel;
    CWindow keyIndexList;
    CTButtonPng okButton;
    CTButtonPng cancelButton;
    NetworkDescription* description;

private:
    void OnOk();
    // The security kind of the selected mode: 0, 2, 3 or 4.
    int SelectedKind() const;
    std::string localSsid;
    std::string localPassword;
};
