#include "sim/CSimDriverLibrary.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "sim/SimDeviceBroadcast.h"
#include "sim/SimWpsPin.h"

namespace {

constexpr uint32_t RequestQueryHandover = 0x813BFE20;
constexpr uint32_t RequestSetHandover = 0x813BFE1C;
constexpr uint32_t OidAddKey = 0x0D01011D;

std::string Text(const char* text, size_t max)
{
    return text ? std::string(text, strnlen(text, max)) : std::string();
}

// Copies an SSID into a caller's buffer of `size` bytes, NUL included.
void CopySsid(const std::string& ssid, char* out, int size)
{
    if (!out || size <= 0)
        return;
    size_t length = std::min(ssid.size(), size_t(size - 1));
    std::memcpy(out, ssid.data(), length);
    out[length] = '\0';
}

} // namespace

// The lock and the time every call works with.
#define SIM_LOCKED                  \
    Ms now = world.clock.Now();     \
    std::lock_guard lock(world.mutex); \
    (void)now

void CSimDriverLibrary::RT_GetAdapterList(AdapterList& list, int)
{
    SIM_LOCKED;
    if (!world.settings.plugged)
        return;
    list.count = 1;
    list.disabled = world.settings.disabled ? 1 : 0;
    std::strncpy(list.deviceName, world.settings.name.c_str(), sizeof list.deviceName - 1);
}

void CSimDriverLibrary::RT_SetDefaultAdapterIndex(int)
{
    // There is only ever the one adapter.
}

bool CSimDriverLibrary::RT_Initialize(int)
{
    SIM_LOCKED;
    if (!world.PresentLocked())
        return false;
    if (world.session)
        return true;
    if (world.initFailuresLeft > 0) {
        --world.initFailuresLeft;
        return false;
    }
    world.session = true;
    world.scanReady = !world.settings.surveyEmptyFirst;
    return true;
}

void CSimDriverLibrary::RT_Stop()
{
    SIM_LOCKED;
    // Letting go of the adapter ends its association and its access point and
    // forgets what the station was told for the next one.
    world.session = false;
    world.DropLinkLocked();
    world.softAp.running = false;
    world.station = {};
    world.handover = {};
}

void CSimDriverLibrary::RT_PnPX_Check_Device()
{
    // The simulated system sends its device notifications unasked.
}

bool CSimDriverLibrary::RT_GetIsRadioOff()
{
    SIM_LOCKED;
    return world.SessionLocked() && !world.radioOn;
}

void CSimDriverLibrary::RT_SetRadioOff(bool off)
{
    SIM_LOCKED;
    if (!world.SessionLocked() || world.radioOn == !off)
        return;
    world.radioOn = !off;
    world.DropLinkLocked();
    // The scan results went with the radio.
    world.scanReady = !off && !world.settings.surveyEmptyFirst;
}

bool CSimDriverLibrary::RT_Get_HW_PBCStatus()
{
    SIM_LOCKED;
    return world.SessionLocked() && world.buttonPressed;
}

void CSimDriverLibrary::RT_Set_HW_PBCStatus()
{
    SIM_LOCKED;
    if (world.SessionLocked())
        world.buttonPressed = false;
}

void CSimDriverLibrary::RT_GetMacAddress(MacAddressBuffer& mac)
{
    SIM_LOCKED;
    if (world.SessionLocked())
        std::memcpy(mac.bytes, world.settings.mac.data(), 6);
}

int CSimDriverLibrary::RT_SiteSurveyEx(SurveyBuffer& buffer, uint8_t&, int)
{
    SIM_LOCKED;
    if (!world.SessionLocked() || !world.radioOn || world.apMode || !world.scanReady)
        return 0;
    int count = 0;
    for (const SimNetwork& n : world.networks) {
        if (!n.inRange || count == MaxNetworks)
            continue;
        n.FillRecord(buffer.records[count++], n.QualityAt(now.count()));
    }
    return count;
}

void CSimDriverLibrary::RT_Rescan()
{
    SIM_LOCKED;
    if (world.SessionLocked() && world.radioOn && !world.apMode)
        world.scanReady = true;
}

void CSimDriverLibrary::RT_GetStatusLinkInfo(int& state, int& reserved, char* ssid, int ssidSize,
                                             uint8_t (&bssid)[6])
{
    SIM_LOCKED;
    if (!world.SessionLocked())
        return;
    reserved = 0;
    if (world.apMode) {
        if (world.softAp.running && world.radioOn) {
            state = 2;
            CopySsid(world.softAp.ssid, ssid, ssidSize);
            std::memcpy(bssid, world.settings.mac.data(), 6);
        } else {
            state = 0;
        }
        return;
    }
    SimLinkState link = world.LinkStateLocked(now);
    if (link == LinkDown) {
        state = 0;
        return;
    }
    state = link == LinkUp ? 1 : 4;
    CopySsid(world.link.ssid, ssid, ssidSize);
    std::memcpy(bssid, world.link.bssid.data(), 6);
}

void CSimDriverLibrary::RT_GetStatusSignalInfo(int& quality, int& reserved)
{
    SIM_LOCKED;
    if (!world.SessionLocked())
        return;
    reserved = 0;
    const SimNetwork* network = world.FindLocked(world.link.bssid);
    quality = world.LinkStateLocked(now) == LinkUp && network ? network->QualityAt(now.count()) : 0;
}

uint32_t CSimDriverLibrary::RT_GetStatusDynamicRate()
{
    SIM_LOCKED;
    if (!world.SessionLocked() || world.LinkStateLocked(now) != LinkUp)
        return 0;
    const SimNetwork* network = world.FindLocked(world.link.bssid);
    // Units of 100 bit/s.
    return network ? network->LinkRateKbps() * 10 : 0;
}

void CSimDriverLibrary::RT_GetStatusSecurityInfo(int& encryption, int& authentication)
{
    SIM_LOCKED;
    if (!world.SessionLocked())
        return;
    if (world.LinkStateLocked(now) == LinkUp) {
        encryption = world.link.encryption;
        authentication = world.link.authentication;
    } else {
        encryption = 1;
        authentication = 0;
    }
}

void CSimDriverLibrary::RT_Disassociate()
{
    SIM_LOCKED;
    if (!world.SessionLocked())
        return;
    world.DropLinkLocked();
    world.softAp.running = false;
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
    SIM_LOCKED;
    if (!world.SessionLocked())
        return;
    world.station.hasPassphrase = false;
    world.station.passphrase.clear();
    world.station.hasPmk = false;
    world.station.hasHandoverPmk = false;
}

void CSimDriverLibrary::RT_SetNetworkType(int)
{
    // The association itself says whether it joins an access point or an ad hoc network.
}

void CSimDriverLibrary::RT_Set802_1xStatus(int status)
{
    SIM_LOCKED;
    if (world.SessionLocked())
        world.station.ieee8021x = status;
}

void CSimDriverLibrary::RT_SetChannel(int channel)
{
    SIM_LOCKED;
    if (world.SessionLocked())
        world.station.channel = channel;
}

void CSimDriverLibrary::RT_SetBSSID(const uint8_t (&bssid)[6])
{
    SIM_LOCKED;
    if (!world.SessionLocked())
        return;
    std::copy(bssid, bssid + 6, world.station.bssid.begin());
    world.station.hasBssid = world.station.bssid != std::array<uint8_t, 6>{};
}

int CSimDriverLibrary::RT_GetPowerSaveMode()
{
    SIM_LOCKED;
    return world.SessionLocked() ? world.powerSaveMode : 0;
}

void CSimDriverLibrary::RT_SetPowerSaveMode(int mode)
{
    SIM_LOCKED;
    if (world.SessionLocked())
        world.powerSaveMode = mode;
}

void CSimDriverLibrary::RT_GetRates(int& rate1, int& rate2, int& rate3, int& rate4, int& rate5)
{
    SIM_LOCKED;
    if (!world.SessionLocked())
        return;
    rate1 = world.rates[0];
    rate2 = world.rates[1];
    rate3 = world.rates[2];
    rate4 = world.rates[3];
    rate5 = world.rates[4];
}

void CSimDriverLibrary::RT_SetRates(bool rate1, int rate2, int rate3, int rate4, int rate5)
{
    SIM_LOCKED;
    if (world.SessionLocked())
        world.rates = {rate1 ? 1 : 0, rate2, rate3, rate4, rate5};
}

int CSimDriverLibrary::RT_GetPreambleMode()
{
    SIM_LOCKED;
    return world.SessionLocked() ? world.preambleMode : 0;
}

void CSimDriverLibrary::RT_SetPreambleMode(int mode)
{
    SIM_LOCKED;
    if (world.SessionLocked())
        world.preambleMode = mode;
}

void CSimDriverLibrary::RT_SetPrivacy(int on, int keySize)
{
    SIM_LOCKED;
    if (!world.SessionLocked())
        return;
    world.station.privacy = on;
    world.station.keySize = keySize;
}

void CSimDriverLibrary::RT_SetAuthenticaionMode(int mode)
{
    SIM_LOCKED;
    if (world.SessionLocked())
        world.station.authMode = mode;
}

void CSimDriverLibrary::RT_SetEncryptionStatus(int status)
{
    SIM_LOCKED;
    if (world.SessionLocked())
        world.station.encryptionStatus = status;
}

void CSimDriverLibrary::RT_SetMHSecurityInfo(int, int, int value2)
{
    SIM_LOCKED;
    if (world.SessionLocked())
        world.station.securityCipher = value2;
}

void CSimDriverLibrary::RT_SetDefaultKeyID(int index)
{
    SIM_LOCKED;
    if (world.SessionLocked() && index >= 0 && index < 4)
        world.station.defaultKeyId = index;
}

void CSimDriverLibrary::RT_SetWEPKey(int index, int length, const uint8_t (&key)[16])
{
    SIM_LOCKED;
    if (!world.SessionLocked() || index < 0 || index > 3 || length < 0 || length > 16)
        return;
    world.station.wepKeys[index].assign(reinterpret_cast<const char*>(key), size_t(length));
}

int CSimDriverLibrary::RT_GetDefaultEncryptionAlgorithm()
{
    SIM_LOCKED;
    // 1 WEP-40, 2 WEP-104, 0 none.
    if (!world.SessionLocked() || !world.station.privacy)
        return 0;
    return world.station.keySize == 0x80 ? 2 : 1;
}

void CSimDriverLibrary::RT_CustomRequest(uint32_t request, KeyHandoverBuffer& buffer, int length)
{
    SIM_LOCKED;
    if (!world.SessionLocked() || length != int(sizeof buffer.bytes))
        return;
    // The library keeps the last key handover and hands it back on a query.
    if (request == RequestQueryHandover) {
        std::memcpy(buffer.bytes, world.handover.data(), world.handover.size());
        return;
    }
    if (request != RequestSetHandover)
        return;
    std::memcpy(world.handover.data(), buffer.bytes, world.handover.size());
    // SSID length at 4, the SSID at 8, the BSSID at 44, the key length at 52, the key at 56.
    uint32_t ssidLength = 0;
    uint32_t keyLength = 0;
    std::memcpy(&ssidLength, buffer.bytes + 4, 4);
    std::memcpy(&keyLength, buffer.bytes + 52, 4);
    auto& station = world.station;
    station.hasHandoverPmk = ssidLength <= 32 && keyLength == 32;
    if (!station.hasHandoverPmk)
        return;
    station.handoverSsid.assign(reinterpret_cast<const char*>(buffer.bytes + 8), ssidLength);
    std::memcpy(station.handoverBssid.data(), buffer.bytes + 44, 6);
    std::memcpy(station.handoverPmk.data(), buffer.bytes + 56, 32);
}

void CSimDriverLibrary::RT_SetOID(uint32_t oid, OidBuffer& buffer, int length)
{
    SIM_LOCKED;
    if (!world.SessionLocked() || oid != OidAddKey || length < 72 || length > int(sizeof buffer.bytes))
        return;
    // The add-key record starts at offset 8: key length at +8, the key at +32.
    const uint8_t* record = buffer.bytes + 8;
    uint32_t keyLength = 0;
    std::memcpy(&keyLength, record + 8, 4);
    if (keyLength != 32)
        return;
    std::memcpy(world.station.adhocKey.data(), record + 32, 32);
    world.station.hasAdhocKey = true;
}

void CSimDriverLibrary::RT_ADD_PSK_CONX(const char (&passphrase)[256], const uint32_t& length)
{
    SIM_LOCKED;
    if (!world.SessionLocked() || length > sizeof passphrase)
        return;
    world.station.passphrase.assign(passphrase, length);
    world.station.hasPassphrase = true;
    world.station.hasPmk = false;
}

void CSimDriverLibrary::RT_ADD_PMK_CONX(const uint8_t (&pmk)[32], int length)
{
    SIM_LOCKED;
    if (!world.SessionLocked() || length != 32)
        return;
    std::copy(pmk, pmk + 32, world.station.pmk.begin());
    world.station.hasPmk = true;
    world.station.hasPassphrase = false;
}

void CSimDriverLibrary::RT_PasswordHash(const char* passphrase, int length, const char* ssid, int ssidLength,
                                        uint8_t (&out)[100])
{
    if (!passphrase || !ssid || length < 0 || ssidLength < 0)
        return;
    {
        SIM_LOCKED;
        if (!world.SessionLocked())
            return;
    }
    std::array<uint8_t, 32> pmk{};
    if (SimDerivePmk(std::string_view(passphrase, size_t(length)), std::string_view(ssid, size_t(ssidLength)), pmk))
        std::copy(pmk.begin(), pmk.end(), out);
}

void CSimDriverLibrary::RT_ACM_LinkVuvProfileNew(const VuvProfile&, const char (&)[33], const char (&ssid)[33],
                                                 int infrastructure, int flag1, int flag2)
{
    SIM_LOCKED;
    if (!world.SessionLocked())
        return;
    std::string name = Text(ssid, 32);
    if (flag1 == 1 && flag2 == 1) {
        if (!world.apMode)
            return;
        world.softAp.running = true;
        world.softAp.ssid = name;
        world.softAp.channel = world.station.channel;
        return;
    }
    if (flag1 == 0 && flag2 == 0 && !world.apMode)
        world.AssociateLocked(now, name, infrastructure != 0);
}

void CSimDriverLibrary::RT_AP_SwitchToAPMode()
{
    SIM_LOCKED;
    if (!world.SessionLocked() || world.apMode)
        return;
    world.DropLinkLocked();
    world.apMode = true;
}

void CSimDriverLibrary::RT_AP_SwitchToStationMode()
{
    SIM_LOCKED;
    if (!world.SessionLocked())
        return;
    world.apMode = false;
    world.softAp = {};
}

bool CSimDriverLibrary::RT_AP_GetIsAPMode()
{
    SIM_LOCKED;
    return world.SessionLocked() && world.apMode;
}

// The system's own hosted network does not exist on this machine.
bool CSimDriverLibrary::RT_ACM_SoftAP_IsEnable()
{
    return false;
}

int CSimDriverLibrary::RT_ACM_SoftAP_GetStatus()
{
    return 0;
}

void CSimDriverLibrary::RT_ACM_SoftAP_Stop() {}

void CSimDriverLibrary::RT_ACM_SoftAP_Enable(int) {}

void CSimDriverLibrary::RT_SetSSID(const char* ssid)
{
    SIM_LOCKED;
    if (!world.SessionLocked() || !world.apMode)
        return;
    // The access point takes its name and the channel and security configured before it.
    world.softAp.ssid = Text(ssid, 32);
    world.softAp.channel = world.station.channel;
    world.softAp.authMode = world.station.authMode;
    world.softAp.encryptionStatus = world.station.encryptionStatus;
}

// The access point announces its name, on its own channel choice, to everyone.
void CSimDriverLibrary::RT_SetIsHidden_SSID(int) {}

void CSimDriverLibrary::RT_SetAUTOChannel(int) {}

void CSimDriverLibrary::RT_Set_Filter_Type(int) {}

void CSimDriverLibrary::RT_AP_SetPassphrase(const char (&passphrase)[256], int length)
{
    SIM_LOCKED;
    if (!world.SessionLocked() || !world.apMode || length < 0 || length > int(sizeof passphrase))
        return;
    // 64 announces the 32-byte binary key.
    world.softAp.passphrase.assign(passphrase, length == 64 ? 32 : size_t(length));
}

bool CSimDriverLibrary::RT_AP_GetStationList(StationListBuffer&, int size, int& count, int& entrySize,
                                             uint32_t& tableOffset, int& reserved)
{
    SIM_LOCKED;
    if (!world.SessionLocked() || !world.apMode || size != int(sizeof(StationListBuffer)))
        return false;
    // No station has joined the access point.
    count = 0;
    entrySize = 24;
    tableOffset = 0;
    reserved = 0;
    return true;
}

void CSimDriverLibrary::RT_EnableSoftAP_ICS(const char* deviceName, const char* internetConnection)
{
    SIM_LOCKED;
    if (!world.PresentLocked() || Text(deviceName, 256) != world.settings.name)
        return;
    world.sharing.softApIcs = true;
    world.sharing.softApIcsConnection = Text(internetConnection, 259);
}

void CSimDriverLibrary::RT_DisableSoftAP_ICS()
{
    SIM_LOCKED;
    if (world.PresentLocked())
        world.sharing.softApIcs = false;
}

void CSimDriverLibrary::RT_SetNicTcpipAddr(const char* deviceName, int automatic, const char* address,
                                           const char*, const char*, const char*)
{
    RT_SetSoftAP_TcpIpAddress(deviceName, automatic, address, nullptr);
}

void CSimDriverLibrary::RT_SetSoftAP_TcpIpAddress(const char* deviceName, int automatic, const char* address,
                                                  const char*)
{
    SIM_LOCKED;
    if (!world.PresentLocked() || Text(deviceName, 256) != world.settings.name)
        return;
    std::string ip = Text(address, 15);
    if (automatic || ip.empty()) {
        world.staticAddress = false;
        world.staticIp.clear();
    } else {
        world.staticAddress = true;
        world.staticIp = ip;
    }
}

bool CSimDriverLibrary::RT_Check_Current_NIC_IPAddress(const char* deviceName, const char* address)
{
    SIM_LOCKED;
    return world.PresentLocked() && Text(deviceName, 256) == world.settings.name &&
           world.AddressLocked(now) == Text(address, 256);
}

bool CSimDriverLibrary::RT_Check_VuvDHCP_Port_Work()
{
    SIM_LOCKED;
    // The server listens on the adapter's address, so it answers only once the adapter holds it.
    return world.dhcpServer.running && world.PresentLocked() &&
           world.AddressLocked(now) == world.dhcpServer.server;
}

void CSimDriverLibrary::RT_Debug_Methodflag(int method)
{
    SIM_LOCKED;
    if (world.SessionLocked())
        world.wps.method = method;
}

bool CSimDriverLibrary::RT_GetPIN_WS2(uint8_t (&buffer)[8])
{
    SIM_LOCKED;
    if (!world.SessionLocked() || world.apMode || !world.radioOn)
        return false;
    // The push-button method runs with the all-zero PIN.
    std::fill(buffer, buffer + 8, uint8_t('0'));
    world.wps.active = true;
    world.wps.pin = "00000000";
    return true;
}

void CSimDriverLibrary::RT_WPS(const char* pin)
{
    SIM_LOCKED;
    if (!world.SessionLocked() || world.apMode || !world.radioOn)
        return;
    world.wps.active = true;
    world.wps.pin = Text(pin, 8);
}

bool CSimDriverLibrary::RT_WSC_Connect(WpsCredential&, int& progress, char (&)[33])
{
    SIM_LOCKED;
    if (!world.SessionLocked())
        return false;
    // No access point of this world runs a registrar: the exchange never starts.
    progress = 0;
    return false;
}

bool CSimDriverLibrary::RT_Check_Session_Overlap()
{
    return false;
}

void CSimDriverLibrary::RT_WS2_stop()
{
    SIM_LOCKED;
    if (world.SessionLocked())
        world.wps = {};
}

void CSimDriverLibrary::RT_GEN_PIN(char (&pin)[9])
{
    SIM_LOCKED;
    if (!world.SessionLocked())
        return;
    uint64_t seed = 0;
    for (uint8_t byte : world.settings.mac)
        seed = seed << 8 | byte;
    std::string text = SimWpsPin(seed ^ (uint64_t(++world.pinCounter) << 48));
    std::memcpy(pin, text.c_str(), 9);
}

bool CSimDriverLibrary::RT_VERIFY_PIN(const char* pin)
{
    SIM_LOCKED;
    return world.SessionLocked() && pin && SimWpsPinValid(Text(pin, 9));
}

// The machine has no other network connection to share.
void CSimDriverLibrary::ICS_Ordinal1(const char*, ConnectionTable&, int& count, int)
{
    count = 0;
}

void CSimDriverLibrary::ICS_Ordinal2(int enable, const char* privateConnection, const char* publicConnection)
{
    SIM_LOCKED;
    world.sharing.enabled = enable ? 1 : 0;
    world.sharing.privateConnection = enable ? Text(privateConnection, 127) : "";
    world.sharing.publicConnection = enable ? Text(publicConnection, 259) : "";
}

void CSimDriverLibrary::ICS_Ordinal3(int& enabled, char (&privateName)[50], char (&publicName)[128])
{
    SIM_LOCKED;
    enabled = world.sharing.enabled;
    CopySsid(world.sharing.privateConnection, privateName, sizeof privateName);
    CopySsid(world.sharing.publicConnection, publicName, sizeof publicName);
}

void CSimDriverLibrary::ICS_Ordinal5(const char*) {}

bool CSimDriverLibrary::Get_Hi_Speed_Adapter(char (&)[50], char (&)[260])
{
    return false;
}

void CSimDriverLibrary::ICS_DHCP_Enable(const char*, const char* server, const char* rangeStart, const char* rangeEnd)
{
    SIM_LOCKED;
    world.sharing.dhcpServer = Text(server, 15);
    world.sharing.dhcpFirst = Text(rangeStart, 15);
    world.sharing.dhcpLast = Text(rangeEnd, 15);
}

bool CSimDriverLibrary::EnumDevicesChange(const char* deviceName, uint32_t eventType, const void* eventData,
                                          bool& removed, bool& concernsAdapter)
{
    if (!deviceName || !eventData || (eventType != DeviceArrival && eventType != DeviceRemoveComplete))
        return false;
    // Event data of another kind may be shorter: its size comes first.
    uint32_t size = 0;
    std::memcpy(&size, eventData, sizeof size);
    if (size != sizeof(SimDeviceBroadcast))
        return false;
    SimDeviceBroadcast record;
    std::memcpy(&record, eventData, sizeof record);
    if (record.deviceType != DeviceTypeInterface ||
        Text(record.name, sizeof record.name) != Text(deviceName, sizeof record.name))
        return false;
    concernsAdapter = true;
    removed = eventType == DeviceRemoveComplete;
    return true;
}

bool CSimDriverLibrary::GetIpInformation(const MacAddressBuffer& mac, IpInformation& info)
{
    SIM_LOCKED;
    if (!world.PresentLocked() || !std::equal(world.settings.mac.begin(), world.settings.mac.end(), mac.bytes))
        return false;
    std::string address = world.AddressLocked(now);
    std::strncpy(info.address1, address.c_str(), sizeof info.address1 - 1);
    return true;
}
