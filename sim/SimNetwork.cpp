#include "sim/SimNetwork.h"

#include <arpa/inet.h>
#include <openssl/evp.h>

#include <algorithm>
#include <charconv>
#include <cstring>

#include "platform/AsciiCase.h"

namespace {

int HexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

bool ParseInt(std::string_view value, int low, int high, int& out, std::string& error, std::string_view key)
{
    long long number = 0;
    if (!SimParseNumber(value, number) || number < low || number > high) {
        error = std::string(key) + " must be a number from " + std::to_string(low) + " to " + std::to_string(high);
        return false;
    }
    out = int(number);
    return true;
}

bool ParseMask(std::string_view value, std::optional<uint32_t>& out, std::string& error, std::string_view key)
{
    long long number = 0;
    if (!SimParseNumber(value, number) || number < 0 || number > 0xFFFFFFFFLL) {
        error = std::string(key) + " must be a 32-bit number";
        return false;
    }
    out = uint32_t(number);
    return true;
}

// A WEP key as a user types it: 10 or 26 hexadecimal digits, or 5 or 13 characters.
bool ParseWepKey(std::string_view value, std::string& out)
{
    if (value.empty()) {
        out.clear();
        return true;
    }
    if (value.size() == 10 || value.size() == 26)
        return SimParseHex(value, out);
    if (value.size() == 5 || value.size() == 13) {
        out = std::string(value);
        return true;
    }
    return false;
}

} // namespace

bool SimDerivePmk(std::string_view passphrase, std::string_view ssid, std::array<uint8_t, 32>& out)
{
    if (passphrase.size() < 8 || passphrase.size() > 63 || ssid.size() > 32)
        return false;
    return PKCS5_PBKDF2_HMAC_SHA1(passphrase.data(), int(passphrase.size()),
                                  reinterpret_cast<const unsigned char*>(ssid.data()), int(ssid.size()), 4096,
                                  int(out.size()), out.data()) == 1;
}

bool SimParseMac(std::string_view text, std::array<uint8_t, 6>& out)
{
    if (text.size() != 17)
        return false;
    std::array<uint8_t, 6> mac{};
    for (int i = 0; i < 6; ++i) {
        int high = HexDigit(text[i * 3]);
        int low = HexDigit(text[i * 3 + 1]);
        if (high < 0 || low < 0 || (i < 5 && text[i * 3 + 2] != ':' && text[i * 3 + 2] != '-'))
            return false;
        mac[i] = uint8_t(high * 16 + low);
    }
    out = mac;
    return true;
}

std::string SimMacText(const std::array<uint8_t, 6>& mac)
{
    static const char digits[] = "0123456789abcdef";
    std::string text;
    for (int i = 0; i < 6; ++i) {
        if (i)
            text += ':';
        text += digits[mac[i] >> 4];
        text += digits[mac[i] & 15];
    }
    return text;
}

bool SimParseHex(std::string_view text, std::string& bytes)
{
    if (text.size() % 2)
        return false;
    std::string out;
    for (size_t i = 0; i < text.size(); i += 2) {
        int high = HexDigit(text[i]);
        int low = HexDigit(text[i + 1]);
        if (high < 0 || low < 0)
            return false;
        out += char(high * 16 + low);
    }
    bytes = out;
    return true;
}

bool SimParseNumber(std::string_view text, long long& out)
{
    int base = 10;
    bool negative = !text.empty() && text[0] == '-';
    if (negative)
        text.remove_prefix(1);
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        base = 16;
        text.remove_prefix(2);
    }
    if (text.empty())
        return false;
    long long value = 0;
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value, base);
    if (ec != std::errc() || end != text.data() + text.size())
        return false;
    out = negative ? -value : value;
    return true;
}

bool SimParseBool(std::string_view text, bool& out)
{
    std::string value = FoldAscii(text);
    if (value == "yes" || value == "on" || value == "true" || value == "1" || value == "in") {
        out = true;
        return true;
    }
    if (value == "no" || value == "off" || value == "false" || value == "0" || value == "out") {
        out = false;
        return true;
    }
    return false;
}

std::string SimQuoted(std::string_view bytes)
{
    static const char digits[] = "0123456789abcdef";
    std::string out = "\"";
    size_t i = 0;
    while (i < bytes.size()) {
        unsigned char c = static_cast<unsigned char>(bytes[i]);
        size_t length = c < 0x80 ? 1 : (c >> 5) == 6 ? 2 : (c >> 4) == 14 ? 3 : (c >> 3) == 30 ? 4 : 0;
        bool valid = length > 0 && i + length <= bytes.size();
        for (size_t k = 1; valid && k < length; ++k)
            valid = (static_cast<unsigned char>(bytes[i + k]) & 0xC0) == 0x80;
        if (valid && length == 1 && (c < 0x20 || c == 0x7F || c == '"' || c == '\\'))
            valid = c == '"' || c == '\\';
        if (!valid) {
            out += "\\x";
            out += digits[c >> 4];
            out += digits[c & 15];
            ++i;
            continue;
        }
        if (c == '"' || c == '\\')
            out += '\\';
        out.append(bytes.substr(i, length));
        i += length;
    }
    return out + "\"";
}

const char* SimSecurityName(SimSecurity security)
{
    switch (security) {
    case SecurityOpen: return "open";
    case SecurityWep: return "wep";
    case SecurityWpaPsk: return "wpa-psk";
    case SecurityWpa2Psk: return "wpa2-psk";
    case SecurityWpaWpa2Psk: return "wpa-wpa2-psk";
    }
    return "open";
}

bool SimNetwork::OffersWpa() const
{
    return security == SecurityWpaPsk || security == SecurityWpa2Psk || security == SecurityWpaWpa2Psk;
}

uint32_t SimNetwork::OfferedPairwiseCiphers() const
{
    switch (security) {
    case SecurityWpaPsk: return ciphers ? ciphers : CipherTkip;
    case SecurityWpa2Psk: return ciphers ? ciphers : CipherAes;
    case SecurityWpaWpa2Psk: return ciphers ? ciphers : CipherTkip | CipherAes;
    default: return 0;
    }
}

uint32_t SimNetwork::OfferedKeyManagement() const
{
    switch (security) {
    case SecurityWpaPsk: return KeyManagementWpaPsk;
    case SecurityWpa2Psk: return KeyManagementWpa2Psk;
    case SecurityWpaWpa2Psk: return KeyManagementWpaPsk | KeyManagementWpa2Psk;
    default: return 0;
    }
}

uint8_t SimNetwork::RecordPrivacy() const
{
    return uint8_t(privacy.value_or(OffersPrivacy() ? 1 : 0));
}

uint32_t SimNetwork::RecordCapability() const
{
    return capability.value_or(OffersWpa() ? CapabilityWpa : 0);
}

uint32_t SimNetwork::RecordPairwiseCiphers() const
{
    return pairwiseCiphers.value_or(OfferedPairwiseCiphers());
}

uint32_t SimNetwork::RecordGroupCiphers() const
{
    if (groupCiphers)
        return *groupCiphers;
    uint32_t pairwise = RecordPairwiseCiphers();
    if (pairwise == 0)
        return 0;
    // The group cipher is the weakest one every member can use.
    return pairwise & CipherTkip ? CipherTkip : CipherAes;
}

uint32_t SimNetwork::RecordKeyManagement() const
{
    return keyManagement.value_or(OfferedKeyManagement());
}

uint32_t SimNetwork::RecordMixedPreference() const
{
    if (mixedPreference)
        return *mixedPreference;
    return security == SecurityWpaWpa2Psk ? KeyManagementWpa2Psk : 0;
}

uint32_t SimNetwork::LinkRateKbps() const
{
    if (rateKbps > 0)
        return uint32_t(rateKbps);
    // 802.11n rates need AES or no encryption; WEP and TKIP stay at 54 Mbit/s.
    bool legacy = security == SecurityWep || (OffersWpa() && !(OfferedPairwiseCiphers() & CipherAes));
    return legacy ? 54000 : 150000;
}

void SimNetwork::FillRecord(NetworkRecord& record, int currentQuality) const
{
    std::memset(&record, 0, sizeof record);
    record.networkType = infrastructure ? 1 : 0;
    if (!hidden)
        std::memcpy(record.ssid, ssid.data(), std::min<size_t>(ssid.size(), 32));
    std::memcpy(record.bssid, bssid.data(), 6);
    record.quality = uint8_t(currentQuality);
    record.channel = uint8_t(channel);
    record.privacy = RecordPrivacy();
    record.capability = RecordCapability();
    record.groupCiphers = RecordGroupCiphers();
    record.pairwiseCiphers = RecordPairwiseCiphers();
    record.keyManagement = RecordKeyManagement();
    record.mixedPreference = RecordMixedPreference();
}

int SimNetwork::QualityAt(long long nowMs) const
{
    if (drift == 0)
        return quality;
    constexpr long long period = 20000;
    long long phase = (bssid[4] * 257LL + bssid[5] * 997LL) % period;
    long long x = (nowMs + phase) % period;
    // A triangle wave from -drift to +drift and back.
    long long offset = x < period / 2 ? drift * (4 * x - period) / period : drift * (3 * period - 4 * x) / period;
    return int(std::clamp<long long>(quality + offset, 0, 100));
}

bool SimNetwork::Set(std::string_view rawKey, std::string_view value, std::string& error)
{
    std::string key = FoldAscii(rawKey);
    if (key == "ssid") {
        if (value.size() > 32) {
            error = "ssid is longer than 32 bytes";
            return false;
        }
        ssid = std::string(value);
    } else if (key == "ssid_hex") {
        std::string bytes;
        if (!SimParseHex(value, bytes) || bytes.size() > 32) {
            error = "ssid_hex must be up to 32 bytes in hexadecimal digits";
            return false;
        }
        ssid = bytes;
    } else if (key == "hidden") {
        if (!SimParseBool(value, hidden)) {
            error = "hidden must be yes or no";
            return false;
        }
    } else if (key == "bssid") {
        if (!SimParseMac(value, bssid)) {
            error = "bssid must look like 00:11:22:33:44:55";
            return false;
        }
    } else if (key == "channel") {
        return ParseInt(value, 1, 196, channel, error, key);
    } else if (key == "quality") {
        return ParseInt(value, 0, 100, quality, error, key);
    } else if (key == "drift") {
        return ParseInt(value, 0, 100, drift, error, key);
    } else if (key == "type") {
        std::string type = FoldAscii(value);
        if (type != "infrastructure" && type != "adhoc") {
            error = "type must be infrastructure or adhoc";
            return false;
        }
        infrastructure = type == "infrastructure";
    } else if (key == "security") {
        std::string kind = FoldAscii(value);
        static const SimSecurity kinds[] = {SecurityOpen, SecurityWep, SecurityWpaPsk, SecurityWpa2Psk,
                                            SecurityWpaWpa2Psk};
        auto found = std::find_if(std::begin(kinds), std::end(kinds),
                                  [&](SimSecurity each) { return kind == SimSecurityName(each); });
        if (found == std::end(kinds)) {
            error = "security must be open, wep, wpa-psk, wpa2-psk or wpa-wpa2-psk";
            return false;
        }
        security = *found;
    } else if (key == "cipher") {
        std::string cipher = FoldAscii(value);
        if (cipher == "tkip")
            ciphers = CipherTkip;
        else if (cipher == "aes")
            ciphers = CipherAes;
        else if (cipher == "tkip+aes")
            ciphers = CipherTkip | CipherAes;
        else {
            error = "cipher must be tkip, aes or tkip+aes";
            return false;
        }
    } else if (key == "passphrase") {
        passphrase = std::string(value);
    } else if (key == "psk_hex") {
        std::string bytes;
        if (!value.empty() && (!SimParseHex(value, bytes) || bytes.size() != 32)) {
            error = "psk_hex must be 64 hexadecimal digits";
            return false;
        }
        pskHex = std::string(value);
    } else if (key.size() == 8 && key.starts_with("wep_key") && key[7] >= '0' && key[7] <= '3') {
        if (!ParseWepKey(value, wepKeys[key[7] - '0'])) {
            error = key + " must be 10 or 26 hexadecimal digits, or 5 or 13 characters";
            return false;
        }
    } else if (key == "wep_index") {
        return ParseInt(value, 0, 3, wepIndex, error, key);
    } else if (key == "wep_auth") {
        std::string auth = FoldAscii(value);
        if (auth != "open" && auth != "shared") {
            error = "wep_auth must be open or shared";
            return false;
        }
        wepShared = auth == "shared";
    } else if (key == "dhcp") {
        if (!SimParseBool(value, dhcp)) {
            error = "dhcp must be yes or no";
            return false;
        }
    } else if (key == "in_range") {
        if (!SimParseBool(value, inRange)) {
            error = "in_range must be yes or no";
            return false;
        }
    } else if (key == "address") {
        in_addr parsed{};
        if (value.size() > 15 || inet_pton(AF_INET, std::string(value).c_str(), &parsed) != 1) {
            error = "address must be a dotted IPv4 address";
            return false;
        }
        address = std::string(value);
    } else if (key == "rate") {
        double mbps = 0;
        auto [end, ec] = std::from_chars(value.data(), value.data() + value.size(), mbps);
        // Written so that NaN fails too.
        if (ec != std::errc() || end != value.data() + value.size() || !(mbps > 0 && mbps <= 10000)) {
            error = "rate must be a positive number of Mbit/s";
            return false;
        }
        rateKbps = int(mbps * 1000 + 0.5);
    } else if (key == "privacy") {
        return ParseMask(value, privacy, error, key);
    } else if (key == "capability") {
        return ParseMask(value, capability, error, key);
    } else if (key == "group_ciphers") {
        return ParseMask(value, groupCiphers, error, key);
    } else if (key == "pairwise_ciphers") {
        return ParseMask(value, pairwiseCiphers, error, key);
    } else if (key == "key_management") {
        return ParseMask(value, keyManagement, error, key);
    } else if (key == "mixed_preference") {
        return ParseMask(value, mixedPreference, error, key);
    } else {
        error = "unknown key " + key;
        return false;
    }
    return true;
}

bool SimNetwork::Finish(std::string& error)
{
    if (hidden && ssid.empty()) {
        error = "a hidden network needs its real ssid";
        return false;
    }
    hasPmk = false;
    pmk = {};
    if (wepIndex < 0 || wepIndex > 3) {
        error = "wep_index must be a number from 0 to 3";
        return false;
    }
    if (security == SecurityWep && wepKeys[wepIndex].empty()) {
        error = "wep needs a key wep_key" + std::to_string(wepIndex);
        return false;
    }
    if (security == SecurityWpaPsk || security == SecurityWpa2Psk || security == SecurityWpaWpa2Psk) {
        if (!pskHex.empty()) {
            std::string bytes;
            SimParseHex(pskHex, bytes);
            std::memcpy(pmk.data(), bytes.data(), 32);
            hasPmk = true;
        } else if (!SimDerivePmk(passphrase, ssid, pmk)) {
            error = "wpa needs a passphrase of 8 to 63 characters or psk_hex";
            return false;
        } else {
            hasPmk = true;
        }
    }
    return true;
}
