#pragma once

#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <string>

#include "platform/MockClock.h"
#include "sim/CSimDriverLibrary.h"
#include "sim/CSimWorld.h"

using namespace std::chrono_literals;

// A world with a plugged adapter whose library session is open, in mock time.
class SimFixture : public ::testing::Test {
protected:
    SimFixture()
    {
        clock.Participate();
        SimAdapterSettings settings;
        settings.surveyEmptyFirst = false;
        world.Configure(settings);
    }
    ~SimFixture() override { clock.Leave(); }

    void Open()
    {
        AdapterList list{};
        library.RT_GetAdapterList(list, 0);
        library.RT_SetDefaultAdapterIndex(0);
        ASSERT_TRUE(library.RT_Initialize(0));
    }

    SimNetwork& Add(const std::string& ssid, SimSecurity security, const std::string& passphrase = "")
    {
        SimNetwork network;
        network.ssid = ssid;
        network.security = security;
        network.passphrase = passphrase;
        network.bssid = {0x00, 0x11, 0x22, 0x33, 0x44, uint8_t(++added)};
        std::string error;
        EXPECT_TRUE(world.AddNetwork(network, error)) << error;
        last = network;
        return last;
    }

    // RT_GetStatusLinkInfo's state word, 0 when nothing is linked.
    int LinkState(std::string* ssid = nullptr)
    {
        int state = 1;
        int reserved = 0;
        char text[33] = {};
        uint8_t bssid[6] = {};
        library.RT_GetStatusLinkInfo(state, reserved, text, sizeof text, bssid);
        if (ssid)
            *ssid = text;
        return state;
    }

    std::string Address()
    {
        MacAddressBuffer mac{};
        library.RT_GetMacAddress(mac);
        IpInformation info{};
        if (!library.GetIpInformation(mac, info))
            return "none";
        return info.address1;
    }

    CMockClock clock;
    CSimWorld world{clock};
    CSimDriverLibrary library{world};
    SimNetwork last;
    int added = 0;
};
