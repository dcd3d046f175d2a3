#pragma once

#include <string>

#include "ui/CTDialog.h"
#include "ui/controls/CTButtonPng.h"
#include "ui/controls/CTStaticPng.h"

// The question before connecting to an open network, "Connect to %s ?", or
// after a failed attempt the red "Connect failed, please reconnect %s".
// OK or Enter connects; Cancel, Escape and the close button do not.
class CModeConnectAckDlg : public CTDialog {
public:
    static constexpr int templateId = 147;

    CModeConnectAckDlg(std::u16string ssidText, bool failed, CWindow* parent);

    bool OnInitDialog() override;
    void OnCommand(int commandId) override;
    bool PreTranslateKey(int key) override;

    CTStaticPng message;
    CTButtonPng okButton;
    CTButtonPng cancelButton;
    std::u16string ssidText;
    bool failed;
};
