#pragma once

#include "adapter/NetworkDescription.h"
#include "ui/CTDialog.h"
#include "ui/controls/CTButtonPng.h"
#include "ui/controls/CTStaticPng.h"

// The password of a secured network, with authentication and key index for
// WEP. Opens with the stored key when the description is prefilled, and with
// the red failure prompt after a failed attempt. OK (or Enter) checks the
// password and stores it in the description; Cancel, Escape and the close
// button leave it as it was.
class CModePasswordDlg : public CTDialog {
public:
    static constexpr int templateId = 144;

    CModePasswordDlg(NetworkDescription* description, CWindow* parent);

    bool OnInitDialog() override;
    void OnCommand(int commandId) override;
    bool PreTranslateKey(int key) override;

    // A refused password shows its message and keeps the dialog open.
    bool ValidatePassword();
    void StorePassword();

    CTStaticPng message;
    CWindow passwordEdit;
    CTButtonPng showButton;
    CTStaticPng authenticationLabel;
    CWindow authenticationList;
    CTStaticPng keyIndexLabel;
    CWindow keyIndexList;
    CTButtonPng okButton;
    CTButtonPng cancelButton;
    NetworkDescription* description;
    bool passwordShown = false;

private:
    void OnOk();
    std::string localPassword;
};
