#pragma once

#include "ui/CTDialog.h"
#include "ui/controls/CTButtonPng.h"
#include "ui/controls/CTStaticPng.h"
#include "ui/framework/CToolTip.h"
#include "ui/station/NetworkSummary.h"

// A listed network's details before connecting: SSID, encryption, channel
// and signal, and Connect (OK, also Enter). Escape and the close button
// cancel.
class CModeConnectDlg : public CTDialog {
public:
    static constexpr int templateId = 143;

    CModeConnectDlg(const NetworkSummary& summary, CWindow* parent);

    bool OnInitDialog() override;
    void OnCommand(int commandId) override;
    bool PreTranslateKey(int key) override;

    CTStaticPng labels[4];
    CTStaticPng ssid;
    CTStaticPng security;
    CTStaticPng channel;
    CTStaticPng signal;
    CTButtonPng connectButton;
    CToolTip tips;
    NetworkSummary summary;
};
