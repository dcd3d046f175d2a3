#include "ui/softap/CChangeWaitDlg.h"

#include "shell/CApplicationApp.h"
#include "ui/WindowTexts.h"

using namespace std::chrono_literals;

namespace {

const char16_t* KindText(int waitKind)
{
    switch (waitKind) {
    case WaitSharing:
        return u"Sharing...";
    case WaitConnecting:
        return u"Connecting...";
    case WaitStarting:
        return u"Starting...";
    case WaitClosing:
        return u"Closing...";
    default:
        return u"Shifting...";
    }
}

} // namespace

CChangeWaitDlg::CChangeWaitDlg(int timeoutSeconds, int waitKind, CWindow* parent)
    : CTDialog(templateId, parent), timeoutSeconds(timeoutSeconds), waitKind(waitKind)
{
    Bind(1101, animation);
    Bind(1102, text);
}

bool CChangeWaitDlg::OnInitDialog()
{
    CApplicationApp& app = App();
    InitSkinnedWindow(app.skin.changeWaitBack);
    translucency = 102;
    if (animation.LoadFile(app.skin.changeWait))
        animation.Play();
    ApplyTextStyle(text, app.settings.textWhiteColor, app.settings);
    text.alignment = 4;
    text.SetText(app.language.Text(KindText(waitKind)));
    SetTimer(tickTimer, 1000ms);
    return true;
}

void CChangeWaitDlg::End()
{
    KillTimer(tickTimer);
    EndDialog(ResultOk);
}

void CChangeWaitDlg::OnTimer(int timerId)
{
    if (timerId != tickTimer)
        return;
    CApplicationApp& app = App();
    CAdapterWirelessZadidar& adapter = app.adapter;
    if (waitKind == WaitShifting || waitKind == WaitSharing) {
        if (!adapter.modeSwitching) {
            End();
            return;
        }
    } else if (waitKind == WaitConnecting) {
        char ssid[33] = {};
        uint8_t bssid[6] = {};
        const int link = adapter.QueryLink(ssid, bssid);
        // Before Vista a link without a usable address is not yet a connection.
        if (link == LinkConnected || (link == LinkNoAddress && app.osKind > 4)) {
            End();
            return;
        }
    }
    if (++waitTicks < timeoutSeconds)
        return;
    if (waitKind != WaitConnecting) {
        End();
        return;
    }
    downTicks = adapter.GetLinkState() == LinkDisconnected ? downTicks + 1 : 0;
    if (downTicks >= 4) {
        End();
        return;
    }
    if (++graceTicks >= 20)
        End();
}
