#include "ui/station/CModeConnectDlg.h"

#include <cstring>

#include "platform/CodePage.h"
#include "shell/CApplicationApp.h"
#include "ui/station/StationDialogLooks.h"

using namespace std::chrono_literals;

namespace {
constexpr int commandConnect = 1055;
}

CModeConnectDlg::CModeConnectDlg(const NetworkSummary& summary, CWindow* parent)
    : CTDialog(templateId, parent), summary(summary)
{
    BindTitleBar();
    const int labelIds[4] = {1018, 1065, 1067, 1069};
    for (int i = 0; i < 4; ++i)
        Bind(labelIds[i], labels[i]);
    Bind(1027, ssid);
    Bind(1066, security);
    Bind(1068, channel);
    Bind(1087, signal);
    Bind(commandConnect, connectButton);
}

bool CModeConnectDlg::OnInitDialog()
{
    CApplicationApp& app = App();
    const CSettings& settings = app.settings;
    InitSkinnedWindow(app.skin.aboutBack);
    for (CTStaticPng& label : labels)
        StyleText(label, settings.textBlackColor, 6);
    for (CTStaticPng* value : {&ssid, &security, &channel})
        StyleText(*value, settings.textBlackColor, 5);
    ssid.alignment = 0;
    StyleButton(connectButton, app.skin.btnOkLong, settings.textWhiteColor);

    const std::u16string name = LocalText(summary.ssid, sizeof summary.ssid);
    ssid.SetText(name);
    security.SetText(LocalText(summary.securityName, sizeof summary.securityName));
    channel.SetText(Utf8ToUtf16(std::to_string(summary.channel)));
    signal.SetImages(app.skin.SignalPicture(summary.quality), "", "");
    tips.Create(*this);
    tips.SetDelay(500ms);
    tips.AddTool(ssid, name);
    tips.AddTool(signal, Utf8ToUtf16(std::to_string(summary.quality) + "%"));
    return true;
}

void CModeConnectDlg::OnCommand(int commandId)
{
    if (commandId == commandConnect)
        EndDialog(ResultOk);
    else if (commandId == closeId)
        EndDialog(ResultCancel);
}

bool CModeConnectDlg::PreTranslateKey(int key)
{
    if (key == KeyReturn)
        EndDialog(ResultOk);
    else if (key == KeyEscape)
        EndDialog(ResultCancel);
    return CTDialog::PreTranslateKey(key);
}
