#include "sim/SimPhone.h"

#include "platform/AsciiCase.h"

bool SimPhone::Set(std::string_view rawKey, std::string_view value, std::string& error)
{
    std::string key = FoldAscii(rawKey);
    if (key == "name") {
        if (value.empty() || value.size() > 64) {
            error = "name must be 1 to 64 characters";
            return false;
        }
        name = std::string(value);
        return true;
    }
    if (key == "mac") {
        if (!SimParseMac(value, mac)) {
            error = "mac must look like 00:11:22:33:44:55";
            return false;
        }
        return true;
    }
    if (key == "ssid" || key == "passphrase") {
        if (value.size() > (key == "ssid" ? 32u : 64u)) {
            error = key + (key == "ssid" ? " is longer than 32 bytes" : " is longer than 64 characters");
            return false;
        }
        (key == "ssid" ? ssid : passphrase) = std::string(value);
        return true;
    }
    if (key == "security") {
        std::string kind = FoldAscii(value);
        for (SimSecurity each : {SecurityOpen, SecurityWpaPsk, SecurityWpa2Psk}) {
            if (kind == SimSecurityName(each)) {
                security = each;
                return true;
            }
        }
        error = "security must be open, wpa-psk or wpa2-psk";
        return false;
    }
    error = "unknown key " + key;
    return false;
}

bool SimPhone::Finish(std::string& error)
{
    if (name.empty()) {
        error = "a phone needs a name";
        return false;
    }
    if (mac == std::array<uint8_t, 6>{}) {
        // A locally administered address made from the name, as phones use per network.
        uint32_t hash = 2166136261u;
        for (unsigned char c : name)
            hash = (hash ^ c) * 16777619u;
        mac = {0x0a, 0x5a, uint8_t(hash >> 24), uint8_t(hash >> 16), uint8_t(hash >> 8), uint8_t(hash)};
    }
    return true;
}
