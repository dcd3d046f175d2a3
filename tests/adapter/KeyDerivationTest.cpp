#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "adapter/KeyDerivation.h"
#include "tests/support/Hex.h"

namespace {

std::string Pmk(const std::string& passphrase, const std::string& ssid)
{
    uint8_t out[32];
    memset(out, 0xee, sizeof out);
    DerivePmk(passphrase.data(), passphrase.size(), reinterpret_cast<const uint8_t*>(ssid.data()), ssid.size(), out);
    return Hex(out, sizeof out);
}

const std::string Zero(64, '0');

struct PmkCase {
    const char* name;
    std::string passphrase;
    std::string ssid;
    std::string pmk;
};

class DerivePmkTest : public ::testing::TestWithParam<PmkCase> {};

TEST_P(DerivePmkTest, GivesTheKey)
{
    EXPECT_EQ(Pmk(GetParam().passphrase, GetParam().ssid), GetParam().pmk);
}

// The first three are the passphrase-to-key vectors of IEEE 802.11i (the
// third also checked against Python's hashlib). The longest accepted
// passphrase and SSID were computed with hashlib.
INSTANTIATE_TEST_SUITE_P(
    Vectors, DerivePmkTest,
    ::testing::Values(
        PmkCase{"Password", "password", "IEEE", "f42c6fc52df0ebef9ebb4b90b38a5f902e83fe1b135a70e23aed762e9710a12e"},
        PmkCase{"ThisIsAPassword", "ThisIsAPassword", "ThisIsASSID",
                "0dc0d6eb90555ed6419756b9a15ec3e3209b63df707dd508d14581f8982721af"},
        PmkCase{"LongSsid", std::string(32, 'a'), std::string(32, 'Z'),
                "becb93866bb8c3832cb777c2f559807c8c59afcb6eae734885001300a981cc62"},
        PmkCase{"Longest", std::string(63, 'a'), std::string(32, 'Z'),
                "2d43d0dabfdd635377172efa1fc4b4b87dbfc4219193909ded9a7cfb89a3097b"},
        PmkCase{"PassphraseTooLong", std::string(64, 'a'), "IEEE", Zero},
        PmkCase{"SsidTooLong", "password", std::string(33, 'Z'), Zero}),
    [](const auto& info) { return std::string(info.param.name); });

struct HexCase {
    const char* name;
    std::string text;
    size_t size;
    std::vector<uint8_t> bytes;
};

class HexToBytesTest : public ::testing::TestWithParam<HexCase> {};

TEST_P(HexToBytesTest, FillsFromTheEnd)
{
    const HexCase& c = GetParam();
    // Guard bytes on both sides catch a write outside out[0..size).
    std::vector<uint8_t> buffer(c.size + 2, 0xee);
    HexToBytes(c.text.data(), c.text.size(), buffer.data() + 1, c.size);
    EXPECT_EQ(std::vector<uint8_t>(buffer.begin() + 1, buffer.end() - 1), c.bytes);
    EXPECT_EQ(buffer.front(), 0xee);
    EXPECT_EQ(buffer.back(), 0xee);
}

INSTANTIATE_TEST_SUITE_P(
    Table, HexToBytesTest,
    ::testing::Values(HexCase{"Exact", "0123456789", 5, {0x01, 0x23, 0x45, 0x67, 0x89}},
                      HexCase{"LowerCase", "abcdef", 3, {0xab, 0xcd, 0xef}},
                      HexCase{"UpperCase", "ABCDEF", 3, {0xab, 0xcd, 0xef}},
                      HexCase{"OddLengthLeadingDigitAlone", "abc", 2, {0x0a, 0xbc}},
                      HexCase{"ShortTextRightAligned", "1f", 4, {0, 0, 0, 0x1f}},
                      HexCase{"ShortOutputKeepsTheLastBytes", "11223344", 2, {0x33, 0x44}},
                      HexCase{"Empty", "", 3, {0, 0, 0}},
                      HexCase{"NoOutput", "abcd", 0, {}},
                      // Not checked: 'g' is 16, so "1g" is 0x10 + 16.
                      HexCase{"UncheckedCharacters", "1g", 1, {0x20}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(HexToBytesTest, SixtyFourDigitsMakeAThirtyTwoByteKey)
{
    std::string text;
    for (int i = 0; i < 32; ++i)
        text += "0123456789abcdef"[i % 16], text += "fedcba9876543210"[i % 16];
    uint8_t key[32];
    HexToBytes(text.data(), text.size(), key, sizeof key);
    EXPECT_EQ(Hex(key, sizeof key), text);
}

} // namespace
