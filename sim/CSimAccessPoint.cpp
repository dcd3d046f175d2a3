#include "sim/CSimAccessPoint.h"

void CSimAccessPoint::Start(std::string_view name, int newChannel)
{
    running = true;
    ssid = std::string(name);
    channel = newChannel;
}

void CSimAccessPoint::Configure(std::string_view name, const CSimStationConfig& station)
{
    ssid = std::string(name);
    channel = station.Channel();
    authMode = station.AuthMode();
    encryptionStatus = station.EncryptionStatus();
}
