#include "sim/SimAdapterSettings.h"

#include "platform/AsciiCase.h"
#include "sim/SimNetwork.h"

namespace {

bool ParseMs(std::string_view value, Ms& out, std::string& error, const std::string& key)
{
    long long number = 0;
    if (!SimParseNumber(value, number) || number < 0 || number > 3600000) {
        error = key + " must be milliseconds from 0 to 3600000";
        return false;
    }
    out = Ms(number);
    return true;
}

bool ParseFlag(std::string_view value, bool& out, std::string& error, const std::string& key)
{
    if (!SimParseBool(value, out)) {
        error = key + " must be yes or no";
        return false;
    }
    return true;
}

} // namespace

bool SimAdapterSettings::Set(std::string_view rawKey, std::string_view value, std::string& error)
{
    std::string key = FoldAscii(rawKey);
    if (key == "plugged")
        return ParseFlag(value, plugged, error, key);
    if (key == "disabled")
        return ParseFlag(value, disabled, error, key);
    if (key == "radio")
        return ParseFlag(value, radioOn, error, key);
    if (key == "survey_empty_first")
        return ParseFlag(value, surveyEmptyFirst, error, key);
    if (key == "link_delay_ms")
        return ParseMs(value, linkDelay, error, key);
    if (key == "dhcp_delay_ms")
        return ParseMs(value, dhcpDelay, error, key);
    if (key == "mac") {
        if (!SimParseMac(value, mac)) {
            error = "mac must look like 00:11:22:33:44:55";
            return false;
        }
        return true;
    }
    if (key == "name" || key == "connection") {
        // The library's device-name field and the connection-name value are small.
        if (value.empty() || value.size() > 49) {
            error = key + " must be 1 to 49 characters";
            return false;
        }
        (key == "name" ? name : connectionName) = std::string(value);
        return true;
    }
    if (key == "init_failures") {
        long long number = 0;
        if (!SimParseNumber(value, number) || number < 0 || number > 1000) {
            error = "init_failures must be a number from 0 to 1000";
            return false;
        }
        initFailures = int(number);
        return true;
    }
    error = "unknown key " + key;
    return false;
}
