#pragma once

#include "adapter/ConnectionDetails.h"
#include "ui/CTDialog.h"
#include "ui/controls/CTButtonPng.h"
#include "ui/controls/CTStaticPng.h"
#include "ui/framework/CToolTip.h"

// The connected network's details, read again every 2 s: status, SSID,
// encryption, speed, signal, IP and MAC address. Disconnect (or Enter) ends
// it with OK, and the list panel then disconnects; Escape and the close
// button cancel. A reading of quality 0 keeps the last quality shown.
class CModeDisconnectDlg : public CTDialog {
public:
    static constexpr int templateId = 145;
    static constexpr int refreshTimer = 1000;

    explicit CModeDisconnectDlg(CWindow* parent);

    bool OnInitDialog() override;
    void OnCommand(int commandId) override;
    void OnTimer(int timerId) override;
    bool PreTranslateKey(int key) override;

    void Refresh();

    CTStaticPng labels[7];
    CTStaticPng status;
    CTStaticPng ssid;
    CTStaticPng security;
    CTStaticPng speed;
    CTStaticPng signal;
    CTStaticPng ipAddress;
    CTStaticPng macAddress;
    CTButtonPng disconnectButton;
    CToolTip tips;
    int lastSignal = 0;
};
