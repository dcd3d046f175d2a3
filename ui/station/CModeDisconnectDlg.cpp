#include "ui/station/CModeDisconnectDlg.h"

#include <cstdio>
#include <cstring>

#include "adapter/LinkState.h"
#include "platform/CodePage.h"
#include "shell/COperateCharacter.h"
#include "shell/CApplicationApp.h"
#include "shell/SecurityKindName.h"
#include "ui/station/StationDialogLooks.h"

using namespace std::chrono_literals;

namespace {
constexpr int commandDisconnect = 1075;
}

CModeDisconnectDlg::CModeDisconnectDlg(CWindow* parent) : CTDialog(templateId, parent)
{
    BindTitleBar();
    const int labelIds[7] = {1078, 1018, 1065, 1076, 1069, 1080, 1082};
    for (int i = 0; i < 7; ++i)
        Bind(labelIds[i], labels[i]);
    Bind(1079, status);
    Bind(1027, ssid);
    Bind(1066, security);
    Bind(1077, speed);
    Bind(1087, signal);
    Bind(1081, ipAddress);
    Bind(1083, macAddress);
    Bind(commandDisconnect, disconnectButton);
}

bool CModeDisconnectDlg::OnInitDialog()
{
    CApplicationApp& app = App();
    const CSettings& settings = app.settings;
    InitSkinnedWindow(app.skin.aboutBack);
    for (CTStaticPng& label : labels)
        StyleText(label, settings.textBlackColor, 6);
    for (CTStaticPng* value : {&status, &ssid, &security, &speed, &ipAddress, &macAddress})
        StyleText(*value, settings.textBlackColor, 5);
    ssid.alignment = 0;
    StyleButton(disconnectButton, app.skin.btnCancelLong, settings.textOrangeColor);
    tips.Create(*this);
    tips.SetDelay(500ms);
    tips.AddTool(ssid, u"");
    tips.AddTool(signal, u"");
    tips.AddTool(status, u"");
    Refresh();
    SetTimer(refreshTimer, 2000ms);
    return true;
}

void CModeDisconnectDlg::Refresh()
{
    CApplicationApp& app = App();
    const CSettings& settings = app.settings;
    ConnectionDetails details = {};
    const int link = app.adapter.GetConnectionDetails(details);
    if (details.quality != 0)
        lastSignal = details.quality;
    else
        details.quality = lastSignal;
    char local[68] = {};
    ToLocalIfUtf8(details.ssid, sizeof details.ssid, local, sizeof local);

    // A connection that ended while the dialog is open reads as no connection.
    const bool connected = link == LinkConnected || link == LinkNoAddress;
    const bool restricted = details.restricted || !connected;
    const std::u16string statusText =
        app.language.Text(restricted ? u"Restricted or no connection" : u"Connected");
    status.normalColor = status.hoverColor = status.pressedColor =
        restricted ? settings.textOrangeColor : settings.textGreenColor;
    status.SetText(statusText);
    const std::u16string name = LocalText(local, sizeof local);
    ssid.SetText(name);
    security.SetText(connected ? SecurityKindName(app.language, details.securityKind) : u"");
    char rate[32] = {};
    std::snprintf(rate, sizeof rate, "%0.1f Mbps", details.rateMbps);
    speed.SetText(connected ? Utf8ToUtf16(rate) : u"");
    signal.SetImages(app.skin.SignalPicture(details.quality), "", "");
    ipAddress.SetText(Utf8ToUtf16(std::string(details.ipAddress, strnlen(details.ipAddress, sizeof details.ipAddress))));
    macAddress.SetText(Utf8ToUtf16(std::string(details.bssidText, strnlen(details.bssidText, sizeof details.bssidText))));
    tips.UpdateTipText(ssid, name);
    tips.UpdateTipText(signal, Utf8ToUtf16(std::to_string(details.quality) + "%"));
    tips.UpdateTipText(status, statusText);
    Invalidate();
}

void CModeDisconnectDlg::OnTimer(int timerId)
{
    if (timerId == refreshTimer)
        Refresh();
}

void CModeDisconnectDlg::OnCommand(int commandId)
{
    if (commandId == commandDisconnect)
        EndDialog(ResultOk);
    else if (commandId == closeId)
        EndDialog(ResultCancel);
}

bool CModeDisconnectDlg::PreTranslateKey(int key)
{
    if (key == KeyReturn)
        EndDialog(ResultOk);
    else if (key == KeyEscape)
        EndDialog(ResultCancel);
    return CTDialog::PreTranslateKey(key);
}
