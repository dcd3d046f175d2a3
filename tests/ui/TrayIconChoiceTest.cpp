#include <gtest/gtest.h>

#include "shell/CSkinPaths.h"
#include "ui/TrayIconChoice.h"

namespace {

TEST(TrayIconChoice, FollowsTheAdapterTheLinkAndTheSignal)
{
    CSkinPaths skin;
    skin.BuildSkinPaths("/app/", 1033, 6);
    using Icon = std::string CSkinPaths::*;
    struct Case { TrayReading reading; Icon icon; };
    const bool station = true, softAp = false;
    const std::vector<Case> cases = {
        // The adapter's state changed: not connected whatever the link says.
        {{TrayAdapterChanged, AdapterNone, station, LinkConnected, 90}, &CSkinPaths::trayCardNo},
        {{TrayAdapterChanged, AdapterNone, softAp, LinkConnected, 90}, &CSkinPaths::trayCardNo},
        {{TrayAdapterChanged, AdapterDisabled, station, LinkDisconnected, 0}, &CSkinPaths::trayStaDisconnect},
        {{TrayAdapterChanged, AdapterInitialising, station, LinkDisconnected, 0}, &CSkinPaths::trayStaDisconnect},
        {{TrayAdapterChanged, AdapterReady, station, LinkConnected, 90}, &CSkinPaths::trayStaDisconnect},
        {{TrayAdapterChanged, AdapterReady, softAp, LinkConnected, 90}, &CSkinPaths::trayWifiDisconnect},
        {{TrayAdapterChanged, AdapterDisabled, softAp, LinkDisconnected, 0}, &CSkinPaths::trayWifiDisconnect},
        // The tray came back: SoftAP as connected.
        {{TrayHostReturned, AdapterNone, softAp, LinkDisconnected, 0}, &CSkinPaths::trayCardNo},
        {{TrayHostReturned, AdapterReady, station, LinkConnected, 90}, &CSkinPaths::trayStaDisconnect},
        {{TrayHostReturned, AdapterReady, softAp, LinkDisconnected, 0}, &CSkinPaths::trayWifiConnect},
        // The link changed: the best Station picture until the signal is read.
        {{TrayLinkChanged, AdapterReady, station, LinkConnected, 0}, &CSkinPaths::trayStaConnect3},
        {{TrayLinkChanged, AdapterReady, station, LinkNoAddress, 0}, &CSkinPaths::trayStaConnect3},
        {{TrayLinkChanged, AdapterReady, station, LinkDisconnected, 90}, &CSkinPaths::trayStaDisconnect},
        {{TrayLinkChanged, AdapterReady, station, 0, 90}, &CSkinPaths::trayStaDisconnect},
        {{TrayLinkChanged, AdapterReady, softAp, LinkConnected, 0}, &CSkinPaths::trayWifiConnect},
        {{TrayLinkChanged, AdapterReady, softAp, LinkNoAddress, 0}, &CSkinPaths::trayWifiConnect},
        {{TrayLinkChanged, AdapterReady, softAp, LinkDisconnected, 0}, &CSkinPaths::trayWifiDisconnect},
        // The signal read while connected in Station mode: its level.
        {{TraySignalRead, AdapterReady, station, LinkConnected, 0}, &CSkinPaths::trayStaConnect1},
        {{TraySignalRead, AdapterReady, station, LinkConnected, 1}, &CSkinPaths::trayStaConnect1},
        {{TraySignalRead, AdapterReady, station, LinkConnected, 35}, &CSkinPaths::trayStaConnect1},
        {{TraySignalRead, AdapterReady, station, LinkNoAddress, 36}, &CSkinPaths::trayStaConnect2},
        {{TraySignalRead, AdapterReady, station, LinkConnected, 60}, &CSkinPaths::trayStaConnect2},
        {{TraySignalRead, AdapterReady, station, LinkConnected, 61}, &CSkinPaths::trayStaConnect3},
        {{TraySignalRead, AdapterReady, station, LinkNoAddress, 100}, &CSkinPaths::trayStaConnect3},
        {{TraySignalRead, AdapterReady, station, LinkConnected, 101}, &CSkinPaths::trayStaConnect1},
        // ... and as a link change otherwise.
        {{TraySignalRead, AdapterReady, station, LinkDisconnected, 90}, &CSkinPaths::trayStaDisconnect},
        {{TraySignalRead, AdapterReady, softAp, LinkConnected, 10}, &CSkinPaths::trayWifiConnect},
    };
    for (const Case& c : cases) {
        const TrayReading& r = c.reading;
        EXPECT_EQ(ChooseTrayIcon(skin, r), skin.*c.icon)
            << "reason " << r.reason << ", adapter " << r.adapterState << (r.station ? ", Station" : ", SoftAP")
            << ", link " << r.linkState << ", quality " << r.signalQuality;
    }
}

} // namespace
