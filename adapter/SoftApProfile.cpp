#include <algorithm>
#include <cstring>
#include <string>

#include "adapter/CAdapterWirelessZadidar.h"
#include "adapter/KeyDerivation.h"
#include "adapter/ProfileSecurity.h"
#include "platform/SecureRandom.h"

using namespace std::chrono_literals;

namespace {

constexpr size_t MaxSsid = 32;
constexpr size_t DefaultPassphraseLength = 8;
// What the default access point is: WPA-PSK with AES, infrastructure.
constexpr uint32_t DefaultSoftApFlags = ProfilePrivacy | (SecurityWpaPsk << 1) | ProfileInfrastructure |
                                        (CipherKindAes << 10);
static_assert(DefaultSoftApFlags == 0xC0D);
constexpr uint32_t KeyWpaPsk = 0x04;
constexpr uint32_t CipherAes = 0x10;
// Privacy, mode, infrastructure, 802.1X and cipher: what the open copy drops.
constexpr uint32_t OpenCopyMask = 0xFFFFF3E0;
// Simplified Chinese: its default passphrase is fixed.
constexpr uint32_t LanguageChinese = 0x0804;
constexpr char ChineseDefaultPassphrase[] = "40718293";
constexpr int LinkPolls = 30;
constexpr char SoftApAddress[] = "192.168.159.1";

// The SSID text of a profile, never beyond 32 bytes, terminated.
void CopyName(char (&out)[33], const char* text, size_t capacity)
{
    memset(out, 0, sizeof out);
    memcpy(out, text, strnlen(text, std::min(capacity, MaxSsid)));
}

} // namespace

void CAdapterWirelessZadidar::LoadSoftApProfile(VuvProfile& out)
{
    if (!LoadProfile("APProfile", out)) {
        out = {};
        MakeDefaultSoftApProfile(out);
        SaveProfile("APProfile", out);
    }
    out.flags &= ~Profile8021x;
}

// The characters come from the system's secure source: nobody can work them
// out from when the access point was made.
std::string CAdapterWirelessZadidar::MakeDefaultSsid()
{
    std::string ssid(apDefaultSsid, strnlen(apDefaultSsid, sizeof apDefaultSsid));
    for (int position = 0; position < 6; ++position) {
        uint32_t r = SecureRandom();
        ssid += position % 2 == 0 ? char('0' + r % 10) : char('A' + r % 6);
    }
    return ssid;
}

std::string CAdapterWirelessZadidar::MakeDefaultPassphrase()
{
    if (lcid == LanguageChinese)
        return ChineseDefaultPassphrase;
    std::string passphrase;
    for (size_t position = 0; position < DefaultPassphraseLength; ++position) {
        uint32_t r = SecureRandom();
        passphrase += position % 2 == 0 ? char('A' + r % 26) : char('0' + r % 10);
    }
    return passphrase;
}

void CAdapterWirelessZadidar::MakeDefaultSoftApProfile(VuvProfile& out)
{
    std::string ssid = MakeDefaultSsid().substr(0, MaxSsid);
    std::string passphrase = MakeDefaultPassphrase().substr(0, DefaultPassphraseLength);
    memcpy(out.profileName, ssid.data(), ssid.size());
    memcpy(out.ssid, ssid.data(), ssid.size());
    out.flags = DefaultSoftApFlags;
    out.channel = 1;
    out.keyManagement = KeyWpaPsk;
    out.pairwiseCiphers = CipherAes;
    memcpy(out.passphrase, passphrase.data(), passphrase.size());
    out.passphraseLength = static_cast<uint32_t>(passphrase.size());
    if (passphrase.size() <= 63 && ssid.size() <= MaxSsid)
        DerivePmk(out.passphrase, passphrase.size(), reinterpret_cast<const uint8_t*>(out.ssid), ssid.size(),
                  out.pmk);
}

void CAdapterWirelessZadidar::GetSoftApSettings(NetworkDescription& out)
{
    VuvProfile profile = {};
    LoadSoftApProfile(profile);
    out = {};
    memcpy(out.ssid, profile.ssid, sizeof out.ssid);
    if (profile.flags & ProfilePrivacy) {
        out.securityKind = profile.keyManagement == KeyWpaPsk ? 3 : 4;
        size_t length = std::min<size_t>(profile.passphraseLength, sizeof out.passphrase);
        memcpy(out.passphrase, profile.passphrase, length);
        out.passphraseLength = static_cast<uint32_t>(length);
    }
}

void CAdapterWirelessZadidar::ApplySoftApSettings(const NetworkDescription& description)
{
    VuvProfile profile;
    BuildProfileFromDescription(description, profile);
    {
        std::lock_guard lock(softApProfileLock);
        softApProfile = profile;
    }
    SaveProfile("APProfile", profile);
    BeginSoftApConfig();
}

VuvProfile CAdapterWirelessZadidar::SoftApProfile()
{
    std::lock_guard lock(softApProfileLock);
    return softApProfile;
}

// The worker gets the profile as it is now.
void CAdapterWirelessZadidar::BeginSoftApConfig()
{
    VuvProfile profile = SoftApProfile();
    StartWorker(SlotSoftApConfig, [this, profile] { ConfigureSoftAp(profile); });
}

bool CAdapterWirelessZadidar::WaitForAccessPoint()
{
    for (int poll = 0; poll < LinkPolls; ++poll) {
        clock.Sleep(200ms);
        int state = DriverLinkNone;
        int ignored = 0;
        char ssid[33] = {};
        uint8_t bssid[6] = {};
        lib.RT_GetStatusLinkInfo(state, ignored, ssid, sizeof ssid, bssid);
        if (state == DriverLinkAccessPoint) {
            clock.Sleep(200ms);
            return true;
        }
    }
    return false;
}

// No result is checked: whether the access point works shows later, in its address.
void CAdapterWirelessZadidar::ConfigureSoftAp(const VuvProfile& profile)
{
    VuvProfile p = profile;
    lib.RT_Disassociate();
    lib.RT_SetNetworkType(1);
    if (!(p.flags & Profile8021x))
        lib.RT_ACM_Delete_AllProfiles();

    // It comes up open first, under its own name.
    VuvProfile open = p;
    memcpy(open.profileName, open.ssid, sizeof open.ssid);
    open.profileName[sizeof open.ssid] = '\0';
    open.flags &= OpenCopyMask;
    char name[33];
    char ssid[33];
    CopyName(name, open.profileName, sizeof open.profileName);
    CopyName(ssid, open.ssid, sizeof open.ssid);
    lib.RT_ACM_LinkVuvProfileNew(open, name, ssid, 0, 1, 1);
    if (!WaitForAccessPoint()) {
        lib.RT_ACM_LinkVuvProfileNew(open, name, ssid, 0, 1, 1);
        WaitForAccessPoint();
    }

    lib.RT_Set_Filter_Type(0);
    lib.RT_SetIsHidden_SSID(0);
    p.flags &= ~Profile8021x;
    lib.RT_Set802_1xStatus(0);
    lib.RT_SetAUTOChannel(0);
    lib.RT_SetChannel(p.channel);
    if (std::any_of(std::begin(p.bssid), std::end(p.bssid), [](uint8_t b) { return b != 0; }))
        lib.RT_SetBSSID(p.bssid);
    KeepRadioSettings();

    int infra = (p.flags & ProfileInfrastructure) ? 1 : 0;
    int mode = ModeOf(p);
    int cipher = CipherOf(p);
    if (!(p.flags & ProfilePrivacy)) {
        lib.RT_SetPrivacy(0, 0x40);
        lib.RT_SetAuthenticaionMode(mode);
        lib.RT_SetMHSecurityInfo(infra, 0, 0);
    } else if (infra) {
        WpaSetting setting = WpaSettingFor(mode, cipher);
        lib.RT_SetAuthenticaionMode(setting.authentication);
        lib.RT_SetEncryptionStatus(setting.encryption);
        lib.RT_SetMHSecurityInfo(infra, setting.info1, setting.info2);
        // 64 characters are the key itself, handed over as its 32 bytes.
        char passphrase[256] = {};
        uint32_t length = std::min<uint32_t>(p.passphraseLength, sizeof passphrase);
        if (length == 64)
            HexToBytes(p.passphrase, 64, reinterpret_cast<uint8_t*>(passphrase), 32);
        else
            memcpy(passphrase, p.passphrase, length);
        lib.RT_AP_SetPassphrase(passphrase, static_cast<int>(length));
    } else {
        lib.RT_SetAuthenticaionMode(5);
        if (cipher == CipherKindTkip || cipher == CipherKindAes)
            lib.RT_SetMHSecurityInfo(0, 5, cipher);
        OidBuffer oid = {};
        WriteAddKey(oid, p);
        lib.RT_SetOID(OidAddKey, oid, sizeof oid.bytes);
    }
    lib.RT_SetSSID(ssid);
}

void CAdapterWirelessZadidar::RefreshStationList(std::vector<StationEntry>& list)
{
    list.clear();
    if (!lib.RT_AP_GetIsAPMode())
        return;
    StationListBuffer buffer = {};
    int count = 0;
    int entrySize = 0;
    uint32_t tableOffset = 0;
    int reserved = 0;
    if (!lib.RT_AP_GetStationList(buffer, sizeof buffer.bytes, count, entrySize, tableOffset, reserved))
        return;
    // The table's place is the library's word: every entry must lie inside the buffer.
    if (entrySize < int(sizeof(StationEntry)) || tableOffset > sizeof buffer.bytes ||
        size_t(entrySize) * StationListEntries > sizeof buffer.bytes - tableOffset)
        return;
    for (int i = 0; i < StationListEntries; ++i) {
        const uint8_t* entry = buffer.bytes + tableOffset + size_t(i) * size_t(entrySize);
        if (entry[0] == 0 || entry[13] == 0)
            continue;
        StationEntry station;
        memcpy(station.bytes, entry, sizeof station.bytes);
        list.push_back(station);
    }
}

// The whole address: another network's 192.168 address is not the access point's.
bool CAdapterWirelessZadidar::WaitForSoftApAddress(int tries)
{
    int enabled = 0;
    char privateName[50] = {};
    char publicName[128] = {};
    lib.ICS_Ordinal3(enabled, privateName, publicName);
    for (int attempt = 0; attempt < tries; ++attempt) {
        char address[16] = {};
        GetIpAddress(address);
        if (strcmp(address, SoftApAddress) == 0)
            return true;
        clock.Sleep(1000ms);
    }
    return false;
}
