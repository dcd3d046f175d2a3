#include "tests/adapter/StationFixture.h"

namespace {

// The fields a builder decides, in a form that compares and prints well;
// keys as the hexadecimal of their keyLength bytes.
struct Fields {
    std::string ssid;
    uint32_t flags = 0;
    uint16_t channel = 6;
    uint32_t capability = 0;
    uint32_t pairwiseCiphers = 0;
    uint32_t keyManagement = 0;
    uint16_t keyIndex = 0;
    std::array<uint16_t, 4> keyLength = {};
    std::array<std::string, 4> keys = {};
    std::string passphrase;
    std::string pmk = std::string(64, '0');
};

void ExpectFields(const VuvProfile& profile, const Fields& expected)
{
    EXPECT_EQ(std::string(profile.profileName, strnlen(profile.profileName, sizeof profile.profileName)), expected.ssid);
    EXPECT_EQ(std::string(profile.ssid, strnlen(profile.ssid, sizeof profile.ssid)), expected.ssid);
    EXPECT_EQ(profile.flags, expected.flags) << std::hex << "0x" << profile.flags;
    EXPECT_EQ(profile.channel, expected.channel);
    EXPECT_EQ(profile.capability, expected.capability);
    EXPECT_EQ(profile.pairwiseCiphers, expected.pairwiseCiphers);
    EXPECT_EQ(profile.keyManagement, expected.keyManagement);
    EXPECT_EQ(profile.keyIndex, expected.keyIndex);
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(profile.keyLength[i], expected.keyLength[i]) << "key " << i;
        size_t length = std::min<size_t>(profile.keyLength[i], sizeof profile.keys[i]);
        EXPECT_EQ(Hex(profile.keys[i], length), expected.keys[i]) << "key " << i;
        EXPECT_TRUE(std::all_of(profile.keys[i] + length, profile.keys[i] + 16, [](uint8_t b) { return b == 0; }));
    }
    EXPECT_EQ(std::string(profile.passphrase, profile.passphraseLength), expected.passphrase);
    EXPECT_EQ(Hex(profile.pmk, sizeof profile.pmk), expected.pmk);
}

// PBKDF2-HMAC-SHA1 of "secret123" over "Home" and over "Manual" (Python hashlib).
const std::string HomePmk = "d907487a3553a27f19d4569b03f92b4a26d6377030701c3765e00a15980660d7";
const std::string ManualPmk = "34ce409b2700ffeb2356f1af95c021f753529bcab7aa750235d9c9cea432a023";
const Lines HashesHome = {"RT_PasswordHash(\"secret123\",9,\"Home\",4,{100 bytes})"};

// Typed WEP keys: 10 and 26 hexadecimal digits, 5 and 13 characters, other lengths.
const std::array<std::string, 4> TypedKeys = {"0102030405", "000102030405060708090a0b0c", "abcde", "toolong"};
const std::array<std::string, 4> OtherTypedKeys = {"", "ABCDEFGHIJKLM", "123456789", "0A0B0C0D0E"};

struct NetworkCase {
    const char* name;
    RecordSpec record;
    DescriptionSpec description;
    Fields expected;
    Lines calls = {};
};

class BuildProfileFromNetworkTest : public StationFixture, public ::testing::WithParamInterface<NetworkCase> {};

TEST_P(BuildProfileFromNetworkTest, FillsTheProfile)
{
    const NetworkCase& c = GetParam();
    VuvProfile profile;
    memset(&profile, 0xcc, sizeof profile);
    adapter->BuildProfileFromNetwork(MakeRecord(c.record), MakeDescription(c.description), profile);
    ExpectFields(profile, c.expected);
    EXPECT_EQ(Hex(profile.bssid, 6), "001a2b3c4d5e");
    EXPECT_EQ(profile.groupCiphers, c.record.groupCiphers);
    EXPECT_EQ(profile.mixedPreference, c.record.mixedPreference);
    EXPECT_TRUE(std::all_of(profile.reserved, profile.reserved + sizeof profile.reserved,
                            [](uint8_t b) { return b == 0; }));
    EXPECT_EQ(recorder.Calls(), c.calls);
}

INSTANTIATE_TEST_SUITE_P(
    Table, BuildProfileFromNetworkTest,
    ::testing::Values(
        NetworkCase{"Open", {.privacy = 0, .capability = 0}, {}, {.ssid = "Home", .flags = 0x208}},
        NetworkCase{"OpenAdHoc", {.networkType = 0, .privacy = 0, .capability = 0}, {}, {.ssid = "Home", .flags = 0x200}},
        // Keys typed for an open network are kept as well, without privacy.
        NetworkCase{"OpenWithTypedKeys",
                    {.privacy = 0, .capability = 0},
                    {.wepKeyIndex = 2, .wepKeys = TypedKeys},
                    {.ssid = "Home",
                     .flags = 0x208,
                     .keyIndex = 2,
                     .keyLength = {5, 13, 5, 0},
                     .keys = {"0102030405", "000102030405060708090a0b0c", "6162636465", ""}}},
        NetworkCase{"WepOpenKeys",
                    {.capability = 0},
                    {.wepAuthentication = 0, .wepKeyIndex = 1, .wepKeys = TypedKeys},
                    {.ssid = "Home",
                     .flags = 0x609,
                     .keyIndex = 1,
                     .keyLength = {5, 13, 5, 0},
                     .keys = {"0102030405", "000102030405060708090a0b0c", "6162636465", ""}}},
        NetworkCase{"WepSharedKeys",
                    {.capability = 0},
                    {.wepAuthentication = 1, .wepKeyIndex = 3, .wepKeys = OtherTypedKeys},
                    {.ssid = "Home",
                     .flags = 0x60B,
                     .keyIndex = 3,
                     .keyLength = {0, 13, 0, 5},
                     .keys = {"", "4142434445464748494a4b4c4d", "", "0a0b0c0d0e"}}},
        // Guard against damaged input: a key index beyond the four slots would
        // address past them, so key 0 is used.
        NetworkCase{"DamagedKeyIndexFallsBackToKey0",
                    {.capability = 0},
                    {.wepKeyIndex = 7, .wepKeys = TypedKeys},
                    {.ssid = "Home",
                     .flags = 0x609,
                     .keyIndex = 0,
                     .keyLength = {5, 13, 5, 0},
                     .keys = {"0102030405", "000102030405060708090a0b0c", "6162636465", ""}}},
        NetworkCase{"WpaPskTkip",
                    {.pairwiseCiphers = 0x04, .keyManagement = 0x04},
                    {.passphrase = "secret123"},
                    {.ssid = "Home", .flags = 0xA0D, .capability = 2, .pairwiseCiphers = 0x04, .keyManagement = 0x04,
                     .passphrase = "secret123", .pmk = HomePmk},
                    HashesHome},
        NetworkCase{"Wpa2PskAes",
                    {.pairwiseCiphers = 0x10, .keyManagement = 0x40},
                    {.passphrase = "secret123"},
                    {.ssid = "Home", .flags = 0xE0F, .capability = 2, .pairwiseCiphers = 0x10, .keyManagement = 0x40,
                     .passphrase = "secret123", .pmk = HomePmk},
                    HashesHome},
        NetworkCase{"Wpa2PskTkipOnly",
                    {.pairwiseCiphers = 0x04, .keyManagement = 0x40},
                    {.passphrase = "secret123"},
                    {.ssid = "Home", .flags = 0xA0F, .capability = 2, .pairwiseCiphers = 0x04, .keyManagement = 0x40,
                     .passphrase = "secret123", .pmk = HomePmk},
                    HashesHome},
        NetworkCase{"MixedPreferWpa2Aes",
                    {.pairwiseCiphers = 0x14, .keyManagement = 0x44, .mixedPreference = 0x40},
                    {.passphrase = "secret123"},
                    {.ssid = "Home", .flags = 0xE0F, .capability = 2, .pairwiseCiphers = 0x10, .keyManagement = 0x40,
                     .passphrase = "secret123", .pmk = HomePmk},
                    HashesHome},
        NetworkCase{"MixedPreferWpa2Tkip",
                    {.pairwiseCiphers = 0x14, .keyManagement = 0x44, .mixedPreference = 0x20},
                    {.passphrase = "secret123"},
                    {.ssid = "Home", .flags = 0xA0F, .capability = 2, .pairwiseCiphers = 0x04, .keyManagement = 0x40,
                     .passphrase = "secret123", .pmk = HomePmk},
                    HashesHome},
        NetworkCase{"MixedPreferWpaTkip",
                    {.pairwiseCiphers = 0x14, .keyManagement = 0x44, .mixedPreference = 0x02},
                    {.passphrase = "secret123"},
                    {.ssid = "Home", .flags = 0xA0D, .capability = 2, .pairwiseCiphers = 0x04, .keyManagement = 0x04,
                     .passphrase = "secret123", .pmk = HomePmk},
                    HashesHome},
        NetworkCase{"MixedPreferWpaAes",
                    {.pairwiseCiphers = 0x14, .keyManagement = 0x44, .mixedPreference = 0x04},
                    {.passphrase = "secret123"},
                    {.ssid = "Home", .flags = 0xE0D, .capability = 2, .pairwiseCiphers = 0x10, .keyManagement = 0x04,
                     .passphrase = "secret123", .pmk = HomePmk},
                    HashesHome},
        // 0x40, 0x20, 0x02, 0x04 are tried in that order.
        NetworkCase{"MixedFirstPreferenceWins",
                    {.pairwiseCiphers = 0x14, .keyManagement = 0x44, .mixedPreference = 0x06},
                    {.passphrase = "secret123"},
                    {.ssid = "Home", .flags = 0xA0D, .capability = 2, .pairwiseCiphers = 0x04, .keyManagement = 0x04,
                     .passphrase = "secret123", .pmk = HomePmk},
                    HashesHome},
        NetworkCase{"MixedWithoutPreference",
                    {.pairwiseCiphers = 0x14, .keyManagement = 0x44},
                    {.passphrase = "secret123"},
                    {.ssid = "Home", .flags = 0x209, .capability = 2, .pairwiseCiphers = 0x14, .keyManagement = 0x44,
                     .passphrase = "secret123", .pmk = HomePmk},
                    HashesHome},
        NetworkCase{"HexKeyIsThePmk",
                    {.pairwiseCiphers = 0x10, .keyManagement = 0x40},
                    {.passphrase = CountingKeyHex()},
                    {.ssid = "Home", .flags = 0xE0F, .capability = 2, .pairwiseCiphers = 0x10, .keyManagement = 0x40,
                     .passphrase = CountingKeyHex(), .pmk = CountingKeyHex()}},
        NetworkCase{"PassphraseTooLongForAKey",
                    {.pairwiseCiphers = 0x10, .keyManagement = 0x40},
                    {.passphrase = std::string(70, 'p')},
                    {.ssid = "Home", .flags = 0xE0F, .capability = 2, .pairwiseCiphers = 0x10, .keyManagement = 0x40,
                     .passphrase = std::string(70, 'p')},
                    {"RT_PasswordHash(\"" + std::string(70, 'p') + "\",70,\"Home\",4,{100 bytes})"}},
        NetworkCase{"Wpa8021x",
                    {.pairwiseCiphers = 0x10, .keyManagement = 0x02},
                    {.passphrase = "secret123"},
                    {.ssid = "Home", .flags = 0xE19, .capability = 2, .pairwiseCiphers = 0x10, .keyManagement = 0x02}},
        NetworkCase{"Wpa28021x",
                    {.pairwiseCiphers = 0x04, .keyManagement = 0x20},
                    {.passphrase = "secret123"},
                    {.ssid = "Home", .flags = 0xA39, .capability = 2, .pairwiseCiphers = 0x04, .keyManagement = 0x20}},
        NetworkCase{"AdHocWpaPskTkip",
                    {.networkType = 0, .pairwiseCiphers = 0x04, .keyManagement = 0x04},
                    {.passphrase = "secret123"},
                    {.ssid = "Home", .flags = 0xA05, .capability = 2, .pairwiseCiphers = 0x04, .keyManagement = 0x04,
                     .passphrase = "secret123", .pmk = HomePmk},
                    HashesHome},
        // The AES bit joins the key management of an ad hoc network, which
        // then matches no PSK kind: mode 3, no cipher, no passphrase.
        NetworkCase{"AdHocWpa2PskAes",
                    {.networkType = 0, .pairwiseCiphers = 0x10, .keyManagement = 0x40},
                    {.passphrase = "secret123"},
                    {.ssid = "Home", .flags = 0x207, .capability = 2, .pairwiseCiphers = 0x10, .keyManagement = 0x50}},
        NetworkCase{"SsidWithoutTerminator",
                    {.ssid = "SSSSSSSSSSSSSSSSSSSSSSSSSSSSSSSSSSSSSSSS", .privacy = 0, .capability = 0},
                    {},
                    {.ssid = std::string(32, 'S'), .flags = 0x208}}),
    [](const auto& info) { return std::string(info.param.name); });

struct DescriptionCase {
    const char* name;
    DescriptionSpec description;
    Fields expected;
};

class BuildProfileFromDescriptionTest : public StationFixture,
                                        public ::testing::WithParamInterface<DescriptionCase> {};

TEST_P(BuildProfileFromDescriptionTest, FillsTheProfile)
{
    const DescriptionCase& c = GetParam();
    VuvProfile profile;
    memset(&profile, 0xcc, sizeof profile);
    adapter->BuildProfileFromDescription(MakeDescription(c.description), profile);
    ExpectFields(profile, c.expected);
    EXPECT_EQ(Hex(profile.bssid, 6), "000000000000");
    EXPECT_EQ(profile.mixedPreference, 0u);
    EXPECT_TRUE(recorder.Calls().empty());
}

INSTANTIATE_TEST_SUITE_P(
    Table, BuildProfileFromDescriptionTest,
    ::testing::Values(
        DescriptionCase{"Open", {.ssid = "Manual"}, {.ssid = "Manual", .flags = 0x208, .channel = 1}},
        DescriptionCase{"WpaPskTkip",
                        {.ssid = "Manual", .securityKind = 3, .cipher = 1, .passphrase = "secret123"},
                        {.ssid = "Manual", .flags = 0xA0D, .channel = 1, .capability = 2, .pairwiseCiphers = 0x04,
                         .keyManagement = 0x04, .passphrase = "secret123", .pmk = ManualPmk}},
        DescriptionCase{"Wpa2PskAes",
                        {.ssid = "Manual", .securityKind = 4, .cipher = 0, .passphrase = "secret123"},
                        {.ssid = "Manual", .flags = 0xE0F, .channel = 1, .capability = 2, .pairwiseCiphers = 0x10,
                         .keyManagement = 0x40, .passphrase = "secret123", .pmk = ManualPmk}},
        DescriptionCase{"Wpa2PskHexKey",
                        {.ssid = "Manual", .securityKind = 4, .passphrase = CountingKeyHex()},
                        {.ssid = "Manual", .flags = 0xE0F, .channel = 1, .capability = 2, .pairwiseCiphers = 0x10,
                         .keyManagement = 0x40, .passphrase = CountingKeyHex(), .pmk = CountingKeyHex()}},
        DescriptionCase{"WepOpen",
                        {.ssid = "Manual", .securityKind = 2, .wepKeyIndex = 2, .wepKeys = TypedKeys},
                        {.ssid = "Manual",
                         .flags = 0x609,
                         .channel = 1,
                         .keyIndex = 2,
                         .keyLength = {5, 13, 5, 0},
                         .keys = {"0102030405", "000102030405060708090a0b0c", "6162636465", ""}}},
        DescriptionCase{"WepShared",
                        {.ssid = "Manual", .securityKind = 2, .wepAuthentication = 1, .wepKeys = OtherTypedKeys},
                        {.ssid = "Manual",
                         .flags = 0x60B,
                         .channel = 1,
                         .keyLength = {0, 13, 0, 5},
                         .keys = {"", "4142434445464748494a4b4c4d", "", "0a0b0c0d0e"}}},
        // Any other kind is an open network; nothing of the passphrase is kept.
        DescriptionCase{"OtherKindIsOpen",
                        {.ssid = "Manual", .securityKind = 5, .passphrase = "secret123"},
                        {.ssid = "Manual", .flags = 0x208, .channel = 1}},
        DescriptionCase{"SsidWithoutTerminator",
                        {.ssid = "SSSSSSSSSSSSSSSSSSSSSSSSSSSSSSSSSSSS"},
                        {.ssid = std::string(32, 'S'), .flags = 0x208, .channel = 1}}),
    [](const auto& info) { return std::string(info.param.name); });

using ProfileBuilderBoundsTest = StationFixture;

// Guard against damaged input: a passphrase length beyond its buffer would
// read past it, so it is cut to the buffer.
TEST_F(ProfileBuilderBoundsTest, DamagedPassphraseLengthIsClampedToTheBuffer)
{
    NetworkDescription description = MakeDescription({.securityKind = 4, .passphrase = std::string(256, 'p')});
    description.passphraseLength = 100000;
    VuvProfile fromNetwork;
    adapter->BuildProfileFromNetwork(MakeRecord({.pairwiseCiphers = 0x10, .keyManagement = 0x40}), description,
                                     fromNetwork);
    VuvProfile fromDescription;
    adapter->BuildProfileFromDescription(description, fromDescription);
    for (const VuvProfile* profile : {&fromNetwork, &fromDescription}) {
        EXPECT_EQ(profile->passphraseLength, 256u);
        EXPECT_EQ(std::string(profile->passphrase, 256), std::string(256, 'p'));
        EXPECT_EQ(Hex(profile->pmk, 32), std::string(64, '0'));
    }
}

// Typed key lengths beyond the text field never reach beyond a key slot.
TEST_F(ProfileBuilderBoundsTest, OddWepKeyLengthsLeaveTheirSlotsEmpty)
{
    NetworkDescription description = MakeDescription({.securityKind = 2});
    for (uint16_t& length : description.wepKeyLength)
        length = 60000;
    VuvProfile profile;
    adapter->BuildProfileFromDescription(description, profile);
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(profile.keyLength[i], 0);
}

} // namespace
