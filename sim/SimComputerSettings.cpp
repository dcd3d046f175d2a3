#include "sim/SimComputerSettings.h"

#include "platform/AsciiCase.h"
#include "sim/SimNetwork.h"

bool SimComputerSettings::Set(std::string_view rawKey, std::string_view value, std::string& error)
{
    std::string key = FoldAscii(rawKey);
    if (key == "hosted_network") {
        if (value == "disabled")
            hostedNetwork = HostedDisabled;
        else if (value == "enabled")
            hostedNetwork = HostedEnabled;
        else if (value == "running")
            hostedNetwork = HostedRunning;
        else {
            error = "hosted_network must be disabled, enabled or running";
            return false;
        }
        return true;
    }
    if (key == "dhcp_quits" || key == "dhcp_terminable") {
        if (!SimParseBool(value, key == "dhcp_quits" ? dhcpQuits : dhcpTerminable)) {
            error = key + " must be yes or no";
            return false;
        }
        return true;
    }
    error = "unknown key " + key;
    return false;
}
