// The station panel's connect flows: from a click on a listed network, and
// from "Manual add"; each waits for the link and offers a retry until it is
// up or the user gives up.
#include <algorithm>
#include <cstring>

#include "platform/CodePage.h"
#include "shell/COperateCharacter.h"
#include "shell/CApplicationApp.h"
#include "ui/ModalPopup.h"
#include "ui/softap/CChangeWaitDlg.h"
#include "ui/station/CModeAddDlg.h"
#include "ui/station/CModeConnectAckDlg.h"
#include "ui/station/CModeConnectDlg.h"
#include "ui/station/CModeDlg.h"
#include "ui/station/CModePasswordDlg.h"

namespace {

std::u16string SsidText(const char* ssid, std::size_t size)
{
    char local[68] = {};
    ToLocalIfUtf8(ssid, size, local, sizeof local);
    std::u16string text;
    LocalToUtf16(std::string_view(local, strnlen(local, sizeof local)), text);
    return text;
}

// The busy panel until the link is up or its time is over; false when it was
// closed from outside (the adapter went away).
bool WaitForLink(CWindow* owner, int seconds)
{
    CChangeWaitDlg busy(seconds, WaitConnecting, owner);
    return RunModalPopup(busy) == CDialog::ResultOk;
}

bool Linked()
{
    char ssid[33] = {};
    uint8_t bssid[6] = {};
    const int link = App().adapter.QueryLink(ssid, bssid);
    return link == LinkConnected || link == LinkNoAddress;
}

void SaveProfiles(bool secured)
{
    CAdapterWirelessZadidar& adapter = App().adapter;
    if (secured)
        adapter.AutoSaveProfile();
    adapter.SaveConnectProfile();
}

} // namespace

bool CModeDlg::ConnectFromList(int index, int column)
{
    if (index < 0 || index >= snapshotCount || index >= MaxNetworks)
        return false;
    CAdapterWirelessZadidar& adapter = App().adapter;
    const NetworkSummary summary = MakeNetworkSummary(index);
    const NetworkRecord record = scanSnapshot.records[index];
    NetworkDescription description = {};
    const bool secured = record.privacy != 0;
    if (column == 5) {
        CModeConnectDlg details(summary, this);
        if (RunModalPopup(details) != ResultOk)
            return false;
    } else if (!secured) {
        CModeConnectAckDlg ask(SsidText(record.ssid, sizeof record.ssid), false, this);
        if (RunModalPopup(ask) != ResultOk)
            return false;
    }
    if (secured) {
        ToLocalIfUtf8(record.ssid, sizeof record.ssid, description.ssid, sizeof description.ssid);
        description.securityKind = CAdapterWirelessZadidar::GetSecurityKind(record);
        VuvProfile profile = {};
        if (adapter.IsSavedNetwork(record, profile) == 1) {
            ApplySavedProfile(profile, description);
            description.prefilled = 1;
        }
        CModePasswordDlg password(&description, this);
        if (RunModalPopup(password) != ResultOk)
            return false;
    }
    adapter.ConnectToNetwork(record, description);
    WaitForConnect(record, description);
    return true;
}

void CModeDlg::WaitForConnect(const NetworkRecord& record, NetworkDescription& description)
{
    CAdapterWirelessZadidar& adapter = App().adapter;
    const bool secured = record.privacy != 0;
    for (;;) {
        if (!WaitForLink(this, WaitSeconds()))
            return;
        if (Linked()) {
            SaveProfiles(secured);
            return;
        }
        if (secured) {
            description.prefilled = 1;
            description.retryAfterFailure = 1;
            CModePasswordDlg password(&description, this);
            if (RunModalPopup(password) != ResultOk)
                return;
        } else {
            CModeConnectAckDlg ask(SsidText(record.ssid, sizeof record.ssid), true, this);
            if (RunModalPopup(ask) != ResultOk)
                return;
        }
        adapter.ConnectToNetwork(record, description);
    }
}

void CModeDlg::ApplySavedProfile(const VuvProfile& profile, NetworkDescription& description)
{
    const std::size_t length = strnlen(profile.passphrase, sizeof profile.passphrase);
    if (description.securityKind == 2) {
        const int index = profile.keyIndex & 3;
        description.wepKeyIndex = uint16_t(index);
        const std::size_t keyLength = std::min(length, sizeof description.wepKeyText[index] - 1);
        std::memcpy(description.wepKeyText[index], profile.passphrase, keyLength);
        description.wepKeyText[index][keyLength] = 0;
        description.wepKeyLength[index] = uint16_t(std::min<uint32_t>(profile.passphraseLength, keyLength));
        description.wepAuthentication = (profile.flags & ProfileModeMask) != 0 ? 1 : 0;
    } else {
        std::memcpy(description.passphrase, profile.passphrase, sizeof description.passphrase);
        description.passphrase[sizeof description.passphrase - 1] = 0;
        description.passphraseLength = std::min<uint32_t>(profile.passphraseLength, uint32_t(length));
    }
}

bool CModeDlg::ManualAdd()
{
    NetworkDescription description = {};
    CModeAddDlg add(&description, this);
    if (RunModalPopup(add) != ResultOk)
        return false;
    App().adapter.ConnectManual(description);
    WaitForManualConnect(description);
    return true;
}

void CModeDlg::WaitForManualConnect(NetworkDescription& description)
{
    for (;;) {
        if (!WaitForLink(this, WaitSeconds()))
            return;
        if (Linked()) {
            SaveProfiles(description.securityKind != 0);
            return;
        }
        description.prefilled = 1;
        description.retryAfterFailure = 1;
        CModeAddDlg add(&description, this);
        if (RunModalPopup(add) != ResultOk)
            return;
        App().adapter.ConnectManual(description);
    }
}
