#include "ui/TrayIconChoice.h"

#include "shell/CSkinPaths.h"
#include "shell/TextUtils.h"

const std::string& ChooseTrayIcon(const CSkinPaths& skin, const TrayReading& reading)
{
    const bool linked = reading.linkState == LinkConnected || reading.linkState == LinkNoAddress;
    switch (reading.reason) {
    case TrayAdapterChanged:
    case TrayHostReturned:
        if (reading.adapterState == AdapterNone)
            return skin.trayCardNo;
        if (reading.station)
            return skin.trayStaDisconnect;
        return reading.reason == TrayHostReturned ? skin.trayWifiConnect : skin.trayWifiDisconnect;
    case TraySignalRead:
        if (linked && reading.station) {
            const int level = SignalLevel(reading.signalQuality);
            return level <= 1 ? skin.trayStaConnect1 : level == 2 ? skin.trayStaConnect2 : skin.trayStaConnect3;
        }
        break;
    case TrayLinkChanged:
        break;
    }
    if (linked)
        return reading.station ? skin.trayStaConnect3 : skin.trayWifiConnect;
    return reading.station ? skin.trayStaDisconnect : skin.trayWifiDisconnect;
}
