#include <algorithm>
#include <cstring>
#include <string>
#include <string_view>

#include "adapter/CAdapterWirelessZadidar.h"
#include "adapter/KeyDerivation.h"
#include "adapter/ProfileSecurity.h"
#include "platform/CodePage.h"

namespace {

constexpr size_t MaxSsid = 32;
constexpr size_t HexPassphraseLength = 64;

// Record and profile bits
constexpr uint32_t CapabilityWpa = 0x02;
constexpr uint32_t CipherTkip = 0x04;
constexpr uint32_t CipherAes = 0x10;
constexpr uint32_t KeyWpa = 0x02;
constexpr uint32_t KeyWpaPsk = 0x04;
constexpr uint32_t KeyWpa2 = 0x20;
constexpr uint32_t KeyWpa2Psk = 0x40;
constexpr uint32_t KeyMixedPsk = KeyWpaPsk | KeyWpa2Psk;
constexpr uint32_t PreferWpa2Aes = 0x40;
constexpr uint32_t PreferWpa2Tkip = 0x20;
constexpr uint32_t PreferWpaTkip = 0x02;
constexpr uint32_t PreferWpaAes = 0x04;
constexpr uint32_t Profile8021xExtra = 0x0C0; // bits 6-7, cleared with the 802.1X marker

// Description security kinds
constexpr uint32_t KindWep = 2;
constexpr uint32_t KindWpaPsk = 3;
constexpr uint32_t KindWpa2Psk = 4;

constexpr uint32_t RequestFetchHandover = 0x813BFE20;
constexpr uint32_t RequestGiveHandover = 0x813BFE1C;

// Key-handover buffer offsets
constexpr size_t HandoverSsidLength = 4;
constexpr size_t HandoverSsid = 8;
constexpr size_t HandoverBssid = 44;
constexpr size_t HandoverPmkLength = 52;
constexpr size_t HandoverPmk = 56;
constexpr size_t HandoverWpa2 = 570;

void SetMode(VuvProfile& profile, SecurityMode mode)
{
    profile.flags = (profile.flags & ~ProfileModeMask) | (static_cast<uint32_t>(mode) << 1);
}

void SetCipher(VuvProfile& profile, CipherKind cipher)
{
    profile.flags = (profile.flags & ~ProfileCipherMask) | (static_cast<uint32_t>(cipher) << 10);
}

// A key index outside 0..3 would address beyond the four key slots; it falls
// back to key 0.
uint16_t KeySlot(uint16_t index)
{
    return index < 4 ? index : 0;
}

// The SSID text of either record kind, never beyond 32 bytes, terminated.
void CopySsid(VuvProfile& profile, const char* ssid, size_t capacity)
{
    size_t length = strnlen(ssid, std::min(capacity, MaxSsid));
    memcpy(profile.profileName, ssid, length);
    memcpy(profile.ssid, ssid, length);
}

size_t SsidLength(const VuvProfile& profile)
{
    return strnlen(profile.ssid, MaxSsid);
}

void CopyPassphrase(VuvProfile& profile, const NetworkDescription& description)
{
    size_t length = std::min<size_t>(description.passphraseLength, sizeof profile.passphrase);
    memcpy(profile.passphrase, description.passphrase, length);
    profile.passphraseLength = static_cast<uint32_t>(length);
}

// 64 characters are the key itself in hexadecimal; anything else is a
// passphrase (too long a one leaves the key zero).
void SetKeyFromPassphrase(VuvProfile& profile)
{
    if (profile.passphraseLength == HexPassphraseLength)
        HexToBytes(profile.passphrase, HexPassphraseLength, profile.pmk, sizeof profile.pmk);
    else
        DerivePmk(profile.passphrase, profile.passphraseLength,
                  reinterpret_cast<const uint8_t*>(profile.ssid), SsidLength(profile), profile.pmk);
}

// WEP keys by their typed length: 10 or 26 hexadecimal digits, or 5 or 13
// characters taken as they are; any other length leaves the slot empty.
void SetWepKeys(VuvProfile& profile, const NetworkDescription& description)
{
    profile.keyIndex = KeySlot(description.wepKeyIndex);
    for (int i = 0; i < 4; ++i) {
        const char* text = description.wepKeyText[i];
        switch (description.wepKeyLength[i]) {
        case 10:
            HexToBytes(text, 10, profile.keys[i], 5);
            profile.keyLength[i] = 5;
            break;
        case 26:
            HexToBytes(text, 26, profile.keys[i], 13);
            profile.keyLength[i] = 13;
            break;
        case 5:
        case 13:
            memcpy(profile.keys[i], text, description.wepKeyLength[i]);
            profile.keyLength[i] = description.wepKeyLength[i];
            break;
        default:
            break;
        }
    }
}

template <typename T>
void Put(uint8_t* bytes, size_t offset, T value)
{
    memcpy(bytes + offset, &value, sizeof value);
}

void WriteHandover(KeyHandoverBuffer& handover, const VuvProfile& profile)
{
    uint8_t* bytes = handover.bytes;
    size_t ssidLength = SsidLength(profile);
    Put<uint32_t>(bytes, 0, 0);
    Put<uint32_t>(bytes, HandoverSsidLength, static_cast<uint32_t>(ssidLength));
    memcpy(bytes + HandoverSsid, profile.ssid, ssidLength);
    memcpy(bytes + HandoverBssid, profile.bssid, sizeof profile.bssid);
    Put<uint32_t>(bytes, HandoverPmkLength, sizeof profile.pmk);
    memcpy(bytes + HandoverPmk, profile.pmk, sizeof profile.pmk);
    bytes[HandoverWpa2] = ModeOf(profile) == SecurityWpaPsk ? 0 : 1;
}

// A WEP profile keeps the default key's text as typed, for the password
// dialog to show again.
void KeepWepKeyText(VuvProfile& profile, const NetworkDescription& description)
{
    if (!(profile.flags & ProfilePrivacy) || (profile.capability & CapabilityWpa))
        return;
    uint16_t index = KeySlot(description.wepKeyIndex);
    size_t length = std::min<size_t>(description.wepKeyLength[index], sizeof description.wepKeyText[index]);
    memset(profile.passphrase, 0, sizeof profile.passphrase);
    memcpy(profile.passphrase, description.wepKeyText[index], length);
    profile.passphraseLength = static_cast<uint32_t>(length);
}

} // namespace

void CAdapterWirelessZadidar::ConnectToNetwork(const NetworkRecord& record, const NetworkDescription& description)
{
    BuildProfileFromNetwork(record, description, connectProfile);
    KeepWepKeyText(connectProfile, description);
    BeginConnect();
}

void CAdapterWirelessZadidar::ConnectManual(const NetworkDescription& description)
{
    BuildProfileFromDescription(description, connectProfile);
    KeepWepKeyText(connectProfile, description);
    BeginConnect();
}

void CAdapterWirelessZadidar::BuildProfileFromNetwork(const NetworkRecord& record,
                                                      const NetworkDescription& description, VuvProfile& profile)
{
    profile = {};
    CopySsid(profile, record.ssid, sizeof record.ssid);
    memcpy(profile.bssid, record.bssid, sizeof profile.bssid);
    profile.channel = record.channel;
    profile.capability = record.capability;
    profile.groupCiphers = record.groupCiphers;
    profile.pairwiseCiphers = record.pairwiseCiphers;
    profile.keyManagement = record.keyManagement;
    bool infrastructure = record.networkType & 1;
    bool privacy = record.privacy & 1;
    if (infrastructure)
        profile.flags |= ProfileInfrastructure;
    if (privacy)
        profile.flags |= ProfilePrivacy;

    if (!infrastructure) {
        if (profile.pairwiseCiphers & CipherTkip)
            profile.keyManagement |= CipherTkip;
        else if (profile.pairwiseCiphers & CipherAes)
            profile.keyManagement |= CipherAes;
        if (profile.keyManagement & KeyWpaPsk)
            SetMode(profile, SecurityWpaPsk);
        else if (profile.keyManagement & KeyWpa2Psk)
            SetMode(profile, SecurityWpa2Psk);
    }

    profile.keyIndex = 0;

    if (profile.keyManagement & KeyWpa) {
        profile.flags = (profile.flags | Profile8021x) & ~(Profile8021xWpa2 | Profile8021xExtra);
        SetCipher(profile, (profile.pairwiseCiphers & CipherAes) ? CipherKindAes : CipherKindTkip);
    } else if (profile.keyManagement & KeyWpa2) {
        profile.flags = (profile.flags | Profile8021x | Profile8021xWpa2) & ~Profile8021xExtra;
        bool tkipOnly = !(profile.pairwiseCiphers & CipherAes) && (profile.pairwiseCiphers & CipherTkip);
        SetCipher(profile, tkipOnly ? CipherKindTkip : CipherKindAes);
    }

    profile.mixedPreference = record.mixedPreference;

    if (profile.keyManagement == KeyMixedPsk) {
        struct Choice {
            uint32_t preference;
            SecurityMode mode;
            CipherKind cipher;
            uint32_t keyManagement;
            uint32_t pairwiseCiphers;
        };
        static constexpr Choice choices[] = {
            {PreferWpa2Aes, SecurityWpa2Psk, CipherKindAes, KeyWpa2Psk, CipherAes},
            {PreferWpa2Tkip, SecurityWpa2Psk, CipherKindTkip, KeyWpa2Psk, CipherTkip},
            {PreferWpaTkip, SecurityWpaPsk, CipherKindTkip, KeyWpaPsk, CipherTkip},
            {PreferWpaAes, SecurityWpaPsk, CipherKindAes, KeyWpaPsk, CipherAes},
        };
        for (const Choice& choice : choices) {
            if (profile.mixedPreference & choice.preference) {
                SetMode(profile, choice.mode);
                SetCipher(profile, choice.cipher);
                profile.keyManagement = choice.keyManagement;
                profile.pairwiseCiphers = choice.pairwiseCiphers;
                break;
            }
        }
    }

    if (profile.keyManagement == KeyWpaPsk || profile.keyManagement == KeyWpa2Psk) {
        SetMode(profile, profile.keyManagement == KeyWpaPsk ? SecurityWpaPsk : SecurityWpa2Psk);
        SetCipher(profile, (profile.pairwiseCiphers & CipherAes) ? CipherKindAes : CipherKindTkip);
    }

    bool wep = !(profile.capability & CapabilityWpa);
    if (privacy && wep) {
        SetMode(profile, description.wepAuthentication == 0 ? SecurityWepOpen : SecurityWepShared);
        SetCipher(profile, CipherWep);
    }

    if (privacy && (profile.keyManagement == KeyMixedPsk || profile.keyManagement == KeyWpaPsk ||
                    profile.keyManagement == KeyWpa2Psk)) {
        CopyPassphrase(profile, description);
        SetKeyFromPassphrase(profile);
        if (profile.passphraseLength != HexPassphraseLength) {
            uint8_t unused[100] = {};
            lib.RT_PasswordHash(profile.passphrase, static_cast<int>(profile.passphraseLength), profile.ssid,
                                static_cast<int>(SsidLength(profile)), unused);
        }
    }

    if (wep)
        SetWepKeys(profile, description);

    profile.flags |= ProfileBuilt;
}

void CAdapterWirelessZadidar::BuildProfileFromDescription(const NetworkDescription& description, VuvProfile& profile)
{
    profile = {};
    CopySsid(profile, description.ssid, sizeof description.ssid);
    profile.flags = ProfileInfrastructure;
    profile.channel = 1;

    if (description.securityKind == KindWpaPsk || description.securityKind == KindWpa2Psk) {
        profile.flags |= ProfilePrivacy;
        profile.capability = CapabilityWpa;
        if (description.securityKind == KindWpaPsk) {
            SetMode(profile, SecurityWpaPsk);
            profile.keyManagement = KeyWpaPsk;
        } else {
            SetMode(profile, SecurityWpa2Psk);
            profile.keyManagement = KeyWpa2Psk;
        }
        bool aes = description.cipher == 0;
        SetCipher(profile, aes ? CipherKindAes : CipherKindTkip);
        profile.pairwiseCiphers = aes ? CipherAes : CipherTkip;
        CopyPassphrase(profile, description);
        SetKeyFromPassphrase(profile);
    } else if (description.securityKind == KindWep) {
        profile.flags |= ProfilePrivacy;
        SetCipher(profile, CipherWep);
        SetMode(profile, description.wepAuthentication == 0 ? SecurityWepOpen : SecurityWepShared);
        SetWepKeys(profile, description);
    } else {
        profile.flags &= ~(ProfilePrivacy | ProfileModeMask | ProfileCipherMask);
        profile.keyManagement = 0;
        profile.pairwiseCiphers = 0;
    }

    profile.flags |= ProfileBuilt;
}

// No result is checked: the sequence always runs to its end, and the link
// shows whether it worked.
void CAdapterWirelessZadidar::ApplyProfile(const VuvProfile& profile)
{
    VuvProfile copy = profile;
    copy.keyIndex = KeySlot(copy.keyIndex);
    // A damaged stored profile may claim more key than its field holds.
    for (uint16_t& length : copy.keyLength)
        length = std::min<uint16_t>(length, sizeof copy.keys[0]);
    int infra = (copy.flags & ProfileInfrastructure) ? 1 : 0;
    int mode = ModeOf(copy);
    int cipher = CipherOf(copy);

    if (osKind < 7) {
        lib.RT_Disassociate();
        lib.RT_SetNetworkType(infra);
    }
    // An 802.1X profile leaves the library's stored profiles alone.
    if (!(copy.flags & Profile8021x))
        lib.RT_ACM_Delete_AllProfiles();
    copy.flags &= ~Profile8021x;
    lib.RT_Set802_1xStatus(0);

    KeyHandoverBuffer handover = {};
    if (!lib.RT_AP_GetIsAPMode())
        lib.RT_CustomRequest(RequestFetchHandover, handover, sizeof handover.bytes);
    lib.RT_REMOVE_PSK_CONX();
    lib.RT_SetChannel(copy.channel);
    if (std::any_of(std::begin(copy.bssid), std::end(copy.bssid), [](uint8_t b) { return b != 0; }))
        lib.RT_SetBSSID(copy.bssid);

    KeepRadioSettings();

    if (!(copy.flags & ProfilePrivacy)) {
        lib.RT_SetPrivacy(0, 0x40);
        lib.RT_SetAuthenticaionMode(0);
        lib.RT_SetMHSecurityInfo(infra, 0, 0);
    } else if (mode == SecurityWepOpen || mode == SecurityWepShared) {
        // Shared-key authentication exists only towards an access point.
        int auth = (mode == SecurityWepShared && infra) ? 1 : 0;
        uint16_t index = copy.keyIndex;
        lib.RT_SetPrivacy(1, copy.keyLength[index] > 10 ? 0x80 : 0x40);
        lib.RT_SetAuthenticaionMode(auth);
        lib.RT_SetDefaultKeyID(index);
        for (int i = 0; i < 4; ++i)
            lib.RT_SetWEPKey(i, copy.keyLength[i], copy.keys[i]);
        lib.RT_SetWEPKey(index, copy.keyLength[index], copy.keys[index]);
        lib.RT_SetDefaultKeyID(index);
        int algorithm = lib.RT_GetDefaultEncryptionAlgorithm();
        lib.RT_SetMHSecurityInfo(infra, auth, algorithm + 1);
    } else {
        WriteHandover(handover, copy);
        if (infra) {
            WpaSetting setting = WpaSettingFor(mode, cipher);
            lib.RT_SetAuthenticaionMode(setting.authentication);
            lib.RT_SetEncryptionStatus(setting.encryption);
            lib.RT_SetMHSecurityInfo(infra, setting.info1, setting.info2);
            lib.RT_CustomRequest(RequestGiveHandover, handover, sizeof handover.bytes);
            if (copy.passphraseLength <= 63)
                lib.RT_ADD_PSK_CONX(copy.passphrase, copy.passphraseLength);
            else
                lib.RT_ADD_PMK_CONX(copy.pmk, sizeof copy.pmk);
        } else {
            lib.RT_SetAuthenticaionMode(5);
            if (cipher == CipherKindTkip || cipher == CipherKindAes)
                lib.RT_SetMHSecurityInfo(0, 5, cipher);
            OidBuffer oid = {};
            WriteAddKey(oid, copy);
            lib.RT_SetOID(OidAddKey, oid, sizeof oid.bytes);
        }
    }

    // The library takes both names as 33-byte texts; byte 32 stays the end.
    char name[33] = {};
    char ssid[33] = {};
    memcpy(name, copy.profileName, MaxSsid);
    memcpy(ssid, copy.ssid, MaxSsid);
    lib.RT_ACM_LinkVuvProfileNew(copy, name, ssid, infra, 0, 0);
}

// Power saving, rates and preamble stay as the adapter has them.
void CAdapterWirelessZadidar::KeepRadioSettings()
{
    lib.RT_SetPowerSaveMode(lib.RT_GetPowerSaveMode());
    int rates[5] = {};
    lib.RT_GetRates(rates[0], rates[1], rates[2], rates[3], rates[4]);
    lib.RT_SetRates(rates[0] != 0, rates[1], rates[2], rates[3], rates[4]);
    lib.RT_SetPreambleMode(lib.RT_GetPreambleMode());
}

void CAdapterWirelessZadidar::SaveConnectProfile()
{
    SaveProfile("Profile", connectProfile);
    autoConnectRetries = 3;
    autoConnectEnabled = true;
}

void CAdapterWirelessZadidar::AutoSaveProfile()
{
    std::u16string name;
    LocalToUtf16(std::string_view(connectProfile.ssid, SsidLength(connectProfile)), name);
    StoreAutoSavedProfile(connectProfile, Utf16ToUtf8(name));
}

void CAdapterWirelessZadidar::Disconnect()
{
    lib.RT_Disassociate();
    lib.RT_ACM_Delete_AllProfiles();
    lib.RT_ACM_Disconnect();
    autoConnectEnabled = false;
}

// The worker gets the profile as it is now; the caller may overwrite
// autoConnectProfile at once.
void CAdapterWirelessZadidar::BeginAutoConnect()
{
    if (autoConnectBusy)
        return;
    VuvProfile profile = autoConnectProfile;
    StartWorker(SlotAutoConnect, [this, profile] {
        autoConnectBusy = true;
        ApplyProfile(profile);
        autoConnectBusy = false;
    });
}

// A new connect replaces a running WPS attempt or connect.
void CAdapterWirelessZadidar::BeginConnect()
{
    VuvProfile profile = connectProfile;
    wpsRun = false;
    wpsStatus = 0;
    StopWorker(SlotWps);
    StartWorker(SlotConnect, [this, profile] {
        connectBusy = true;
        ApplyProfile(profile);
        connectBusy = false;
    });
}
