#include "tests/adapter/StationFixture.h"

namespace {

constexpr uint32_t Mode(uint32_t mode) { return mode << 1; }
constexpr uint32_t Cipher(uint32_t cipher) { return cipher << 10; }
constexpr uint32_t Infra = ProfileInfrastructure;
constexpr uint32_t Privacy = ProfilePrivacy;

const uint8_t CountingPmk[32] = {0,  1,  2,  3,  4,  5,  6,  7,  8,  9,  10, 11, 12, 13, 14, 15,
                                 16, 17, 18, 19, 20, 21, 22, 23, 24, 25, 26, 27, 28, 29, 30, 31};

// "Home" on channel 6 at 00:1a:2b:3c:4d:5e.
VuvProfile Profile(uint32_t flags)
{
    VuvProfile profile = {};
    strcpy(profile.profileName, "Home");
    strcpy(profile.ssid, "Home");
    const uint8_t bssid[6] = {0x00, 0x1a, 0x2b, 0x3c, 0x4d, 0x5e};
    memcpy(profile.bssid, bssid, sizeof bssid);
    profile.channel = 6;
    profile.flags = flags | ProfileBuilt;
    return profile;
}

VuvProfile Wpa(uint32_t flags, const char* passphrase = "secret123")
{
    VuvProfile profile = Profile(flags);
    strcpy(profile.passphrase, passphrase);
    profile.passphraseLength = static_cast<uint32_t>(strlen(passphrase));
    memcpy(profile.pmk, CountingPmk, sizeof CountingPmk);
    return profile;
}

// Key 1 is 01..05 (64-bit), key 0 is 13 bytes 10..1c (128-bit).
VuvProfile Wep(uint32_t flags, uint16_t keyIndex)
{
    VuvProfile profile = Profile(flags);
    profile.keyIndex = keyIndex;
    profile.keyLength[0] = 13;
    for (int i = 0; i < 13; ++i)
        profile.keys[0][i] = static_cast<uint8_t>(0x10 + i);
    profile.keyLength[1] = 5;
    for (int i = 0; i < 5; ++i)
        profile.keys[1][i] = static_cast<uint8_t>(1 + i);
    return profile;
}

VuvProfile Mixed(CAdapterWirelessZadidar& adapter, uint32_t preference)
{
    VuvProfile profile;
    adapter.BuildProfileFromNetwork(
        MakeRecord({.pairwiseCiphers = 0x14, .keyManagement = 0x44, .mixedPreference = preference}),
        MakeDescription({.securityKind = 5, .passphrase = "secret123"}), profile);
    return profile;
}

const std::string Key0 = "101112131415161718191a1b1c000000";
const std::string Key1 = "01020304050000000000000000000000";
const std::string NoKey = "00000000000000000000000000000000";

// Every sequence: the settings the adapter keeps, after the profile clean-up.
Lines Settings(bool withBssid = true)
{
    Lines lines = {"RT_Set802_1xStatus(0)", "RT_AP_GetIsAPMode()", "RT_CustomRequest(2168192544,{record},572)",
                   "RT_REMOVE_PSK_CONX()", "RT_SetChannel(6)"};
    if (withBssid)
        lines.push_back("RT_SetBSSID(001a2b3c4d5e)");
    return lines + Lines{"RT_GetPowerSaveMode()",  "RT_SetPowerSaveMode(2)", "RT_GetRates(0,0,0,0,0)",
                         "RT_SetRates(1,1,2,3,4)", "RT_GetPreambleMode()",   "RT_SetPreambleMode(1)"};
}

const Lines DeleteProfiles = {"RT_ACM_Delete_AllProfiles()"};
const Lines LinkInfra = {"RT_ACM_LinkVuvProfileNew({record},\"Home\",\"Home\",1,0,0)"};
const Lines LinkAdHoc = {"RT_ACM_LinkVuvProfileNew({record},\"Home\",\"Home\",0,0,0)"};
const Lines GivePassphrase = {"RT_CustomRequest(2168192540,{record},572)", "RT_ADD_PSK_CONX(\"secret123\",9)"};

struct ApplyCase {
    const char* name;
    VuvProfile (*profile)(CAdapterWirelessZadidar&);
    Lines calls;
    int osKind = 13;
    bool apMode = false;
};

class ApplyProfileTest : public StationFixture, public ::testing::WithParamInterface<ApplyCase> {};

TEST_P(ApplyProfileTest, MakesTheDriverCallsOfItsKind)
{
    const ApplyCase& c = GetParam();
    VuvProfile profile = c.profile(*adapter);
    recorder.ClearCalls();
    adapter->osKind = c.osKind;
    if (c.apMode)
        recorder.OverrideResult("RT_AP_GetIsAPMode", 1);
    adapter->ApplyProfile(profile);
    EXPECT_EQ(recorder.Calls(), c.calls);
}

INSTANTIATE_TEST_SUITE_P(
    Branches, ApplyProfileTest,
    ::testing::Values(
        ApplyCase{"Open",
                  [](CAdapterWirelessZadidar&) {
                      VuvProfile profile = Profile(Infra);
                      memset(profile.bssid, 0, sizeof profile.bssid); // any access point
                      return profile;
                  },
                  DeleteProfiles + Settings(false) +
                      Lines{"RT_SetPrivacy(0,64)", "RT_SetAuthenticaionMode(0)", "RT_SetMHSecurityInfo(1,0,0)"} +
                      LinkInfra},
        ApplyCase{"WepOpen64",
                  [](CAdapterWirelessZadidar&) { return Wep(Infra | Privacy | Mode(0) | Cipher(1), 1); },
                  DeleteProfiles + Settings() +
                      Lines{"RT_SetPrivacy(1,64)",
                            "RT_SetAuthenticaionMode(0)",
                            "RT_SetDefaultKeyID(1)",
                            "RT_SetWEPKey(0,13," + Key0 + ")",
                            "RT_SetWEPKey(1,5," + Key1 + ")",
                            "RT_SetWEPKey(2,0," + NoKey + ")",
                            "RT_SetWEPKey(3,0," + NoKey + ")",
                            "RT_SetWEPKey(1,5," + Key1 + ")",
                            "RT_SetDefaultKeyID(1)",
                            "RT_GetDefaultEncryptionAlgorithm()",
                            "RT_SetMHSecurityInfo(1,0,6)"} +
                      LinkInfra},
        ApplyCase{"WepShared128",
                  [](CAdapterWirelessZadidar&) { return Wep(Infra | Privacy | Mode(1) | Cipher(1), 0); },
                  DeleteProfiles + Settings() +
                      Lines{"RT_SetPrivacy(1,128)",
                            "RT_SetAuthenticaionMode(1)",
                            "RT_SetDefaultKeyID(0)",
                            "RT_SetWEPKey(0,13," + Key0 + ")",
                            "RT_SetWEPKey(1,5," + Key1 + ")",
                            "RT_SetWEPKey(2,0," + NoKey + ")",
                            "RT_SetWEPKey(3,0," + NoKey + ")",
                            "RT_SetWEPKey(0,13," + Key0 + ")",
                            "RT_SetDefaultKeyID(0)",
                            "RT_GetDefaultEncryptionAlgorithm()",
                            "RT_SetMHSecurityInfo(1,1,6)"} +
                      LinkInfra},
        // Shared-key authentication is for access points only.
        ApplyCase{"WepSharedAdHoc",
                  [](CAdapterWirelessZadidar&) { return Wep(Privacy | Mode(1) | Cipher(1), 1); },
                  DeleteProfiles + Settings() +
                      Lines{"RT_SetPrivacy(1,64)",
                            "RT_SetAuthenticaionMode(0)",
                            "RT_SetDefaultKeyID(1)",
                            "RT_SetWEPKey(0,13," + Key0 + ")",
                            "RT_SetWEPKey(1,5," + Key1 + ")",
                            "RT_SetWEPKey(2,0," + NoKey + ")",
                            "RT_SetWEPKey(3,0," + NoKey + ")",
                            "RT_SetWEPKey(1,5," + Key1 + ")",
                            "RT_SetDefaultKeyID(1)",
                            "RT_GetDefaultEncryptionAlgorithm()",
                            "RT_SetMHSecurityInfo(0,0,6)"} +
                      LinkAdHoc},
        // Guard against a damaged stored profile: a key index beyond the four
        // slots would address past them, so key 0 is used.
        ApplyCase{"DamagedKeyIndexFallsBackToKey0",
                  [](CAdapterWirelessZadidar&) { return Wep(Infra | Privacy | Mode(0) | Cipher(1), 9); },
                  DeleteProfiles + Settings() +
                      Lines{"RT_SetPrivacy(1,128)",
                            "RT_SetAuthenticaionMode(0)",
                            "RT_SetDefaultKeyID(0)",
                            "RT_SetWEPKey(0,13," + Key0 + ")",
                            "RT_SetWEPKey(1,5," + Key1 + ")",
                            "RT_SetWEPKey(2,0," + NoKey + ")",
                            "RT_SetWEPKey(3,0," + NoKey + ")",
                            "RT_SetWEPKey(0,13," + Key0 + ")",
                            "RT_SetDefaultKeyID(0)",
                            "RT_GetDefaultEncryptionAlgorithm()",
                            "RT_SetMHSecurityInfo(1,0,6)"} +
                      LinkInfra},
        ApplyCase{"WpaPskTkip", [](CAdapterWirelessZadidar&) { return Wpa(Infra | Privacy | Mode(2) | Cipher(2)); },
                  DeleteProfiles + Settings() +
                      Lines{"RT_SetAuthenticaionMode(3)", "RT_SetEncryptionStatus(4)", "RT_SetMHSecurityInfo(1,3,2)"} +
                      GivePassphrase + LinkInfra},
        ApplyCase{"WpaPskAes", [](CAdapterWirelessZadidar&) { return Wpa(Infra | Privacy | Mode(2) | Cipher(3)); },
                  DeleteProfiles + Settings() +
                      Lines{"RT_SetAuthenticaionMode(6)", "RT_SetEncryptionStatus(6)", "RT_SetMHSecurityInfo(1,5,4)"} +
                      GivePassphrase + LinkInfra},
        ApplyCase{"Wpa2PskAes", [](CAdapterWirelessZadidar&) { return Wpa(Infra | Privacy | Mode(3) | Cipher(3)); },
                  DeleteProfiles + Settings() +
                      Lines{"RT_SetAuthenticaionMode(4)", "RT_SetEncryptionStatus(6)", "RT_SetMHSecurityInfo(1,4,3)"} +
                      GivePassphrase + LinkInfra},
        ApplyCase{"Wpa2PskTkip", [](CAdapterWirelessZadidar&) { return Wpa(Infra | Privacy | Mode(3) | Cipher(2)); },
                  DeleteProfiles + Settings() +
                      Lines{"RT_SetAuthenticaionMode(7)", "RT_SetEncryptionStatus(4)", "RT_SetMHSecurityInfo(1,5,5)"} +
                      GivePassphrase + LinkInfra},
        ApplyCase{"MixedPreferWpa2Aes", [](CAdapterWirelessZadidar& a) { return Mixed(a, 0x40); },
                  DeleteProfiles + Settings() +
                      Lines{"RT_SetAuthenticaionMode(4)", "RT_SetEncryptionStatus(6)", "RT_SetMHSecurityInfo(1,4,3)"} +
                      GivePassphrase + LinkInfra},
        ApplyCase{"MixedPreferWpa2Tkip", [](CAdapterWirelessZadidar& a) { return Mixed(a, 0x20); },
                  DeleteProfiles + Settings() +
                      Lines{"RT_SetAuthenticaionMode(7)", "RT_SetEncryptionStatus(4)", "RT_SetMHSecurityInfo(1,5,5)"} +
                      GivePassphrase + LinkInfra},
        ApplyCase{"MixedPreferWpaTkip", [](CAdapterWirelessZadidar& a) { return Mixed(a, 0x02); },
                  DeleteProfiles + Settings() +
                      Lines{"RT_SetAuthenticaionMode(3)", "RT_SetEncryptionStatus(4)", "RT_SetMHSecurityInfo(1,3,2)"} +
                      GivePassphrase + LinkInfra},
        ApplyCase{"MixedPreferWpaAes", [](CAdapterWirelessZadidar& a) { return Mixed(a, 0x04); },
                  DeleteProfiles + Settings() +
                      Lines{"RT_SetAuthenticaionMode(6)", "RT_SetEncryptionStatus(6)", "RT_SetMHSecurityInfo(1,5,4)"} +
                      GivePassphrase + LinkInfra},
        // Without a preference nothing chooses a mode, and mode 0 is WEP.
        ApplyCase{"MixedWithoutPreference", [](CAdapterWirelessZadidar& a) { return Mixed(a, 0); },
                  DeleteProfiles + Settings() +
                      Lines{"RT_SetPrivacy(1,64)",
                            "RT_SetAuthenticaionMode(0)",
                            "RT_SetDefaultKeyID(0)",
                            "RT_SetWEPKey(0,0," + NoKey + ")",
                            "RT_SetWEPKey(1,0," + NoKey + ")",
                            "RT_SetWEPKey(2,0," + NoKey + ")",
                            "RT_SetWEPKey(3,0," + NoKey + ")",
                            "RT_SetWEPKey(0,0," + NoKey + ")",
                            "RT_SetDefaultKeyID(0)",
                            "RT_GetDefaultEncryptionAlgorithm()",
                            "RT_SetMHSecurityInfo(1,0,6)"} +
                      LinkInfra},
        // 63 bytes is still a passphrase; only longer texts go as the key.
        ApplyCase{"LongestPassphrase",
                  [](CAdapterWirelessZadidar&) {
                      return Wpa(Infra | Privacy | Mode(3) | Cipher(3), std::string(63, 'p').c_str());
                  },
                  DeleteProfiles + Settings() +
                      Lines{"RT_SetAuthenticaionMode(4)", "RT_SetEncryptionStatus(6)", "RT_SetMHSecurityInfo(1,4,3)",
                            "RT_CustomRequest(2168192540,{record},572)",
                            "RT_ADD_PSK_CONX(\"" + std::string(63, 'p') + "\",63)"} +
                      LinkInfra},
        ApplyCase{"HexKeyGoesAsPmk",
                  [](CAdapterWirelessZadidar&) {
                      return Wpa(Infra | Privacy | Mode(3) | Cipher(3), CountingKeyHex().c_str());
                  },
                  DeleteProfiles + Settings() +
                      Lines{"RT_SetAuthenticaionMode(4)", "RT_SetEncryptionStatus(6)", "RT_SetMHSecurityInfo(1,4,3)",
                            "RT_CustomRequest(2168192540,{record},572)",
                            "RT_ADD_PMK_CONX(" + CountingKeyHex() + ",32)"} +
                      LinkInfra},
        ApplyCase{"AdHocWpa2Aes", [](CAdapterWirelessZadidar&) { return Wpa(Privacy | Mode(3) | Cipher(3)); },
                  DeleteProfiles + Settings() +
                      Lines{"RT_SetAuthenticaionMode(5)", "RT_SetMHSecurityInfo(0,5,3)",
                            "RT_SetOID(218169629,{record},1000)"} +
                      LinkAdHoc},
        ApplyCase{"AdHocWpaPskTkip", [](CAdapterWirelessZadidar&) { return Wpa(Privacy | Mode(2) | Cipher(2)); },
                  DeleteProfiles + Settings() +
                      Lines{"RT_SetAuthenticaionMode(5)", "RT_SetMHSecurityInfo(0,5,2)",
                            "RT_SetOID(218169629,{record},1000)"} +
                      LinkAdHoc},
        ApplyCase{"AdHocWithoutCipher", [](CAdapterWirelessZadidar&) { return Wpa(Privacy | Mode(2)); },
                  DeleteProfiles + Settings() +
                      Lines{"RT_SetAuthenticaionMode(5)", "RT_SetOID(218169629,{record},1000)"} + LinkAdHoc},
        // An 802.1X network keeps the library's stored profiles and goes the WEP way.
        ApplyCase{"Marker8021xKeepsStoredProfiles",
                  [](CAdapterWirelessZadidar& a) {
                      VuvProfile profile;
                      a.BuildProfileFromNetwork(MakeRecord({.pairwiseCiphers = 0x10, .keyManagement = 0x20}),
                                                MakeDescription({}), profile);
                      return profile;
                  },
                  Settings() +
                      Lines{"RT_SetPrivacy(1,64)",
                            "RT_SetAuthenticaionMode(0)",
                            "RT_SetDefaultKeyID(0)",
                            "RT_SetWEPKey(0,0," + NoKey + ")",
                            "RT_SetWEPKey(1,0," + NoKey + ")",
                            "RT_SetWEPKey(2,0," + NoKey + ")",
                            "RT_SetWEPKey(3,0," + NoKey + ")",
                            "RT_SetWEPKey(0,0," + NoKey + ")",
                            "RT_SetDefaultKeyID(0)",
                            "RT_GetDefaultEncryptionAlgorithm()",
                            "RT_SetMHSecurityInfo(1,0,6)"} +
                      LinkInfra},
        ApplyCase{"BeforeWindows7",
                  [](CAdapterWirelessZadidar&) { return Wpa(Infra | Privacy | Mode(3) | Cipher(3)); },
                  Lines{"RT_Disassociate()", "RT_SetNetworkType(1)"} + DeleteProfiles + Settings() +
                      Lines{"RT_SetAuthenticaionMode(4)", "RT_SetEncryptionStatus(6)", "RT_SetMHSecurityInfo(1,4,3)"} +
                      GivePassphrase + LinkInfra,
                  6},
        // From Windows 7 on, the network type is left as it is.
        ApplyCase{"Windows7",
                  [](CAdapterWirelessZadidar&) { return Wpa(Infra | Privacy | Mode(3) | Cipher(3)); },
                  DeleteProfiles + Settings() +
                      Lines{"RT_SetAuthenticaionMode(4)", "RT_SetEncryptionStatus(6)", "RT_SetMHSecurityInfo(1,4,3)"} +
                      GivePassphrase + LinkInfra,
                  7},
        ApplyCase{"AdHocBeforeWindows7", [](CAdapterWirelessZadidar&) { return Profile(0); },
                  Lines{"RT_Disassociate()", "RT_SetNetworkType(0)"} + DeleteProfiles + Settings() +
                      Lines{"RT_SetPrivacy(0,64)", "RT_SetAuthenticaionMode(0)", "RT_SetMHSecurityInfo(0,0,0)"} +
                      LinkAdHoc,
                  6},
        // In access-point mode the handover buffer is not fetched first.
        ApplyCase{"InAccessPointMode",
                  [](CAdapterWirelessZadidar&) { return Wpa(Infra | Privacy | Mode(3) | Cipher(3)); },
                  DeleteProfiles +
                      Lines{"RT_Set802_1xStatus(0)", "RT_AP_GetIsAPMode()", "RT_REMOVE_PSK_CONX()",
                            "RT_SetChannel(6)", "RT_SetBSSID(001a2b3c4d5e)", "RT_GetPowerSaveMode()",
                            "RT_SetPowerSaveMode(2)", "RT_GetRates(0,0,0,0,0)", "RT_SetRates(1,1,2,3,4)",
                            "RT_GetPreambleMode()", "RT_SetPreambleMode(1)", "RT_SetAuthenticaionMode(4)",
                            "RT_SetEncryptionStatus(6)", "RT_SetMHSecurityInfo(1,4,3)"} +
                      GivePassphrase + LinkInfra,
                  13, true}),
    [](const auto& info) { return std::string(info.param.name); });

using ApplyProfileBuffersTest = StationFixture;

uint32_t U32(const uint8_t* bytes, size_t offset)
{
    uint32_t value;
    memcpy(&value, bytes + offset, sizeof value);
    return value;
}

TEST_F(ApplyProfileBuffersTest, HandoverCarriesTheKeyOverWhatTheLibraryFilledIn)
{
    adapter->ApplyProfile(Wpa(Infra | Privacy | Mode(3) | Cipher(3)));
    std::optional<KeyHandoverBuffer> handover = recorder.Handover();
    ASSERT_TRUE(handover);
    const uint8_t* b = handover->bytes;
    EXPECT_EQ(U32(b, 0), 0u);
    EXPECT_EQ(U32(b, 4), 4u);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(b + 8), 4), "Home");
    EXPECT_EQ(Hex(b + 44, 6), "001a2b3c4d5e");
    EXPECT_EQ(U32(b, 52), 32u);
    EXPECT_EQ(Hex(b + 56, 32), CountingKeyHex());
    EXPECT_EQ(b[570], 1);
    // Everything else stays as the first request left it.
    for (size_t i : {size_t(12), size_t(43), size_t(50), size_t(51), size_t(88), size_t(569), size_t(571)})
        EXPECT_EQ(b[i], 0xa5) << "offset " << i;
}

TEST_F(ApplyProfileBuffersTest, HandoverMarksWpaPskWithZero)
{
    adapter->ApplyProfile(Wpa(Infra | Privacy | Mode(2) | Cipher(2)));
    std::optional<KeyHandoverBuffer> handover = recorder.Handover();
    ASSERT_TRUE(handover);
    EXPECT_EQ(handover->bytes[570], 0);
}

// Guard against a damaged stored profile: an SSID without terminator is cut
// at 32 bytes, in the handover buffer and in the 33-byte names alike.
TEST_F(ApplyProfileBuffersTest, DamagedSsidWithoutTerminatorIsCutAt32Bytes)
{
    VuvProfile profile = Wpa(Infra | Privacy | Mode(3) | Cipher(3));
    memset(profile.ssid, 'S', sizeof profile.ssid); // no terminator at all
    memset(profile.profileName, 'N', sizeof profile.profileName);
    adapter->ApplyProfile(profile);
    std::optional<KeyHandoverBuffer> handover = recorder.Handover();
    ASSERT_TRUE(handover);
    EXPECT_EQ(U32(handover->bytes, 4), 32u);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(handover->bytes + 8), 32), std::string(32, 'S'));
    EXPECT_EQ(handover->bytes[40], 0xa5);
    EXPECT_EQ(recorder.Calls().back(), "RT_ACM_LinkVuvProfileNew({record},\"" + std::string(32, 'N') + "\",\"" +
                                           std::string(32, 'S') + "\",1,0,0)");
}

// Guard against a damaged stored profile: a key length beyond the 16-byte key
// field is cut to it, so the library never reads past a key.
TEST_F(ApplyProfileBuffersTest, DamagedWepKeyLengthIsBoundedByTheKeyField)
{
    VuvProfile profile = Wep(Infra | Privacy | Mode(0) | Cipher(1), 1);
    profile.keyLength[1] = 65535;
    profile.keyLength[3] = 17;
    adapter->ApplyProfile(profile);
    EXPECT_EQ(recorder.CallsStartingWith("RT_SetWEPKey"),
              (Lines{"RT_SetWEPKey(0,13," + Key0 + ")", "RT_SetWEPKey(1,16," + Key1 + ")",
                     "RT_SetWEPKey(2,0," + NoKey + ")", "RT_SetWEPKey(3,16," + NoKey + ")",
                     "RT_SetWEPKey(1,16," + Key1 + ")"}));
    EXPECT_EQ(recorder.CallsStartingWith("RT_SetPrivacy"), Lines{"RT_SetPrivacy(1,128)"});
}

TEST_F(ApplyProfileBuffersTest, AdHocKeyRecordSitsAtOffsetEight)
{
    adapter->ApplyProfile(Wpa(Privacy | Mode(3) | Cipher(3)));
    std::optional<OidBuffer> oid = recorder.AddKey();
    ASSERT_TRUE(oid);
    const uint8_t* b = oid->bytes;
    EXPECT_EQ(Hex(b, 8), "0000000000000000");
    EXPECT_EQ(U32(b, 8), 71u);
    EXPECT_EQ(U32(b, 12), 0u);
    EXPECT_EQ(U32(b, 16), 32u);
    EXPECT_EQ(Hex(b + 20, 6), "ffffffffffff");
    EXPECT_EQ(Hex(b + 26, 6), "000000000000");
    EXPECT_EQ(Hex(b + 32, 8), "0000000000000000");
    EXPECT_EQ(Hex(b + 40, 32), CountingKeyHex());
    EXPECT_TRUE(std::all_of(b + 72, b + sizeof oid->bytes, [](uint8_t x) { return x == 0; }));
}

TEST_F(ApplyProfileBuffersTest, LinksACopyWithoutTheMarkerAndLeavesTheCallersProfile)
{
    VuvProfile profile = Wep(Infra | Privacy | Profile8021x | Profile8021xWpa2, 0);
    VuvProfile before = profile;
    adapter->ApplyProfile(profile);
    std::optional<VuvProfile> linked = recorder.Linked();
    ASSERT_TRUE(linked);
    EXPECT_EQ(linked->flags, profile.flags & ~Profile8021x);
    EXPECT_EQ(memcmp(&profile, &before, sizeof profile), 0);
}

} // namespace
