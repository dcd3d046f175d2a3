// The driver library's adapter, scanning, link-status and station calls.

#include "sim/CSimDriverLibrary.h"

#include <algorithm>
#include <cstring>

#include "sim/SimLibraryText.h"

namespace {

constexpr uint32_t RequestQueryHandover = 0x813BFE20;
constexpr uint32_t RequestSetHandover = 0x813BFE1C;
constexpr uint32_t OidAddKey = 0x0D01011D;

} // namespace

void CSimDriverLibrary::RT_GetAdapterList(AdapterList& list, int)
{
    auto w = world.Lock();
    if (!w.Settings().plugged)
        return;
    list.count = 1;
    list.disabled = w.Settings().disabled ? 1 : 0;
    std::strncpy(list.deviceName, w.Settings().name.c_str(), sizeof list.deviceName - 1);
}

void CSimDriverLibrary::RT_SetDefaultAdapterIndex(int)
{
    // There is only ever the one adapter.
}

bool CSimDriverLibrary::RT_Initialize(int)
{
    return world.Lock().OpenSession();
}

void CSimDriverLibrary::RT_Stop()
{
    world.Lock().CloseSession();
}

void CSimDriverLibrary::RT_PnPX_Check_Device()
{
    // The simulated system sends its device notifications unasked.
}

bool CSimDriverLibrary::RT_GetIsRadioOff()
{
    auto w = world.Lock();
    return w.Session() && !w.RadioOn();
}

void CSimDriverLibrary::RT_SetRadioOff(bool off)
{
    auto w = world.Lock();
    if (w.Session())
        w.SetRadio(!off);
}

bool CSimDriverLibrary::RT_Get_HW_PBCStatus()
{
    auto w = world.Lock();
    return w.Session() && w.ButtonPressed();
}

void CSimDriverLibrary::RT_Set_HW_PBCStatus()
{
    auto w = world.Lock();
    if (w.Session())
        w.ForgetButton();
}

void CSimDriverLibrary::RT_GetMacAddress(MacAddressBuffer& mac)
{
    auto w = world.Lock();
    if (w.Session())
        std::memcpy(mac.bytes, w.Settings().mac.data(), 6);
}

int CSimDriverLibrary::RT_SiteSurveyEx(SurveyBuffer& buffer, uint8_t&, int)
{
    auto w = world.Lock();
    return w.Session() ? w.Survey(buffer) : 0;
}

void CSimDriverLibrary::RT_Rescan()
{
    auto w = world.Lock();
    if (w.Session())
        w.Rescan();
}

void CSimDriverLibrary::RT_GetStatusLinkInfo(int& state, int& reserved, char* ssid, int ssidSize,
                                             uint8_t (&bssid)[6])
{
    auto w = world.Lock();
    if (!w.Session())
        return;
    reserved = 0;
    if (w.ApMode()) {
        if (w.AccessPointUp()) {
            state = DriverLinkAccessPoint;
            SimCopyText(w.AccessPoint().Ssid(), ssid, ssidSize);
            std::memcpy(bssid, w.Settings().mac.data(), 6);
        } else {
            state = DriverLinkNone;
        }
        return;
    }
    SimLinkState link = w.LinkState();
    if (link == LinkDown) {
        state = DriverLinkNone;
        return;
    }
    state = link == LinkUp ? DriverLinkStation : DriverLinkAssociating;
    SimCopyText(w.Link().Ssid(), ssid, ssidSize);
    std::memcpy(bssid, w.Link().Bssid().data(), 6);
}

void CSimDriverLibrary::RT_GetStatusSignalInfo(int& quality, int& reserved)
{
    auto w = world.Lock();
    if (!w.Session())
        return;
    reserved = 0;
    const SimNetwork* network = w.LinkedNetwork();
    quality = w.LinkState() == LinkUp && network ? network->QualityAt(w.Now().count()) : 0;
}

uint32_t CSimDriverLibrary::RT_GetStatusDynamicRate()
{
    auto w = world.Lock();
    if (!w.Session() || w.LinkState() != LinkUp)
        return 0;
    const SimNetwork* network = w.LinkedNetwork();
    // Units of 100 bit/s.
    return network ? network->LinkRateKbps() * 10 : 0;
}

void CSimDriverLibrary::RT_GetStatusSecurityInfo(int& encryption, int& authentication)
{
    auto w = world.Lock();
    if (!w.Session())
        return;
    SimLinkSecurity security = w.LinkState() == LinkUp ? w.Link().Security() : SimLinkSecurity{};
    encryption = security.encryption;
    authentication = security.authentication;
}

void CSimDriverLibrary::RT_Disassociate()
{
    auto w = world.Lock();
    if (w.Session())
        w.Disassociate();
}

void CSimDriverLibrary::RT_ACM_Disconnect()
{
    RT_Disassociate();
}

void CSimDriverLibrary::RT_ACM_Delete_AllProfiles()
{
    // Without a profile the library holds no connection either.
    RT_Disassociate();
}

void CSimDriverLibrary::RT_REMOVE_PSK_CONX()
{
    auto w = world.Lock();
    if (w.Session())
        w.Station().ForgetWpaKeys();
}

void CSimDriverLibrary::RT_SetNetworkType(int)
{
    // The association itself says whether it joins an access point or an ad hoc network.
}

void CSimDriverLibrary::RT_Set802_1xStatus(int status)
{
    auto w = world.Lock();
    if (w.Session())
        w.Station().SetIeee8021x(status);
}

void CSimDriverLibrary::RT_SetChannel(int channel)
{
    auto w = world.Lock();
    if (w.Session())
        w.Station().SetChannel(channel);
}

void CSimDriverLibrary::RT_SetBSSID(const uint8_t (&bssid)[6])
{
    auto w = world.Lock();
    if (!w.Session())
        return;
    std::array<uint8_t, 6> value{};
    std::copy(bssid, bssid + 6, value.begin());
    w.Station().SetBssid(value);
}

int CSimDriverLibrary::RT_GetPowerSaveMode()
{
    auto w = world.Lock();
    return w.Session() ? w.Tuning().powerSaveMode : 0;
}

void CSimDriverLibrary::RT_SetPowerSaveMode(int mode)
{
    auto w = world.Lock();
    if (w.Session())
        w.Tuning().powerSaveMode = mode;
}

void CSimDriverLibrary::RT_GetRates(int& rate1, int& rate2, int& rate3, int& rate4, int& rate5)
{
    auto w = world.Lock();
    if (!w.Session())
        return;
    const std::array<int, 5>& rates = w.Tuning().rates;
    rate1 = rates[0];
    rate2 = rates[1];
    rate3 = rates[2];
    rate4 = rates[3];
    rate5 = rates[4];
}

void CSimDriverLibrary::RT_SetRates(bool rate1, int rate2, int rate3, int rate4, int rate5)
{
    auto w = world.Lock();
    if (w.Session())
        w.Tuning().rates = {rate1 ? 1 : 0, rate2, rate3, rate4, rate5};
}

int CSimDriverLibrary::RT_GetPreambleMode()
{
    auto w = world.Lock();
    return w.Session() ? w.Tuning().preambleMode : 0;
}

void CSimDriverLibrary::RT_SetPreambleMode(int mode)
{
    auto w = world.Lock();
    if (w.Session())
        w.Tuning().preambleMode = mode;
}

void CSimDriverLibrary::RT_SetPrivacy(int on, int keySize)
{
    auto w = world.Lock();
    if (w.Session())
        w.Station().SetPrivacy(on, keySize);
}

void CSimDriverLibrary::RT_SetAuthenticaionMode(int mode)
{
    auto w = world.Lock();
    if (w.Session())
        w.Station().SetAuthMode(mode);
}

void CSimDriverLibrary::RT_SetEncryptionStatus(int status)
{
    auto w = world.Lock();
    if (w.Session())
        w.Station().SetEncryptionStatus(status);
}

void CSimDriverLibrary::RT_SetMHSecurityInfo(int, int, int value2)
{
    auto w = world.Lock();
    if (w.Session())
        w.Station().SetSecurityCipher(value2);
}

void CSimDriverLibrary::RT_SetDefaultKeyID(int index)
{
    auto w = world.Lock();
    if (w.Session())
        w.Station().SetDefaultKeyId(index);
}

void CSimDriverLibrary::RT_SetWEPKey(int index, int length, const uint8_t (&key)[16])
{
    auto w = world.Lock();
    if (!w.Session() || length < 0 || length > 16)
        return;
    w.Station().SetWepKey(index, std::string_view(reinterpret_cast<const char*>(key), size_t(length)));
}

int CSimDriverLibrary::RT_GetDefaultEncryptionAlgorithm()
{
    auto w = world.Lock();
    return w.Session() ? w.Station().DefaultEncryptionAlgorithm() : 0;
}

void CSimDriverLibrary::RT_CustomRequest(uint32_t request, KeyHandoverBuffer& buffer, int length)
{
    auto w = world.Lock();
    if (!w.Session() || length != int(sizeof buffer.bytes))
        return;
    // The library keeps the last key handover and hands it back on a query.
    if (request == RequestQueryHandover)
        buffer = w.Station().Handover();
    else if (request == RequestSetHandover)
        w.Station().SetHandover(buffer);
}

void CSimDriverLibrary::RT_SetOID(uint32_t oid, OidBuffer& buffer, int length)
{
    auto w = world.Lock();
    if (!w.Session() || oid != OidAddKey || length < 72 || length > int(sizeof buffer.bytes))
        return;
    // The add-key record starts at offset 8: key length at +8, the key at +32.
    const uint8_t* record = buffer.bytes + 8;
    uint32_t keyLength = 0;
    std::memcpy(&keyLength, record + 8, 4);
    if (keyLength != 32)
        return;
    std::array<uint8_t, 32> key{};
    std::memcpy(key.data(), record + 32, 32);
    w.Station().SetAdhocKey(key);
}

void CSimDriverLibrary::RT_ADD_PSK_CONX(const char (&passphrase)[256], const uint32_t& length)
{
    auto w = world.Lock();
    if (w.Session() && length <= sizeof passphrase)
        w.Station().SetPassphrase(std::string_view(passphrase, length));
}

void CSimDriverLibrary::RT_ADD_PMK_CONX(const uint8_t (&pmk)[32], int length)
{
    auto w = world.Lock();
    if (!w.Session() || length != 32)
        return;
    std::array<uint8_t, 32> key{};
    std::copy(pmk, pmk + 32, key.begin());
    w.Station().SetPmk(key);
}

void CSimDriverLibrary::RT_PasswordHash(const char* passphrase, int length, const char* ssid, int ssidLength,
                                        uint8_t (&out)[100])
{
    if (!passphrase || !ssid || length < 0 || ssidLength < 0 || !world.Lock().Session())
        return;
    // Outside the lock: the derivation takes a while.
    std::array<uint8_t, 32> pmk{};
    if (SimDerivePmk(std::string_view(passphrase, size_t(length)), std::string_view(ssid, size_t(ssidLength)), pmk))
        std::copy(pmk.begin(), pmk.end(), out);
}

void CSimDriverLibrary::RT_ACM_LinkVuvProfileNew(const VuvProfile&, const char (&)[33], const char (&ssid)[33],
                                                 int infrastructure, int flag1, int flag2)
{
    auto w = world.Lock();
    if (!w.Session())
        return;
    std::string name = SimText(ssid, 32);
    if (flag1 == 1 && flag2 == 1) {
        if (w.ApMode())
            w.AccessPoint().Start(w.Now(), name, w.Station().Channel(), w.Settings().linkDelay);
        return;
    }
    if (flag1 == 0 && flag2 == 0 && !w.ApMode())
        w.Associate(name, infrastructure != 0);
}
