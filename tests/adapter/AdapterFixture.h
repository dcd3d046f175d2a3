#pragma once

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "adapter/CAdapterWirelessZadidar.h"
#include "adapter/driver_library/CRecordingDriverLibrary.h"
#include "platform/CLauncher.h"
#include "platform/CPlatformServices.h"
#include "platform/CRegistry.h"
#include "platform/CSystemAdapters.h"
#include "platform/MockClock.h"
#include "tests/support/CNoSharingService.h"
#include "tests/support/CQuietSystem.h"
#include "tests/support/CSilentDriverLibrary.h"
#include "tests/support/TempDir.h"

// A scripted adapter for the adapter object's own rules: what the library
// reports is set by the test, under a lock, and read by the workers.
class CScriptedLibrary : public CSilentDriverLibrary {
public:
    struct Script {
        uint32_t adapters = 0;
        bool disabled = false;
        std::string deviceName = "Kavlo USB";
        int initFailures = 0;
        bool buttonPressed = false;
        int linkState = DriverLinkNone;
        std::string linkSsid;
        uint8_t linkBssid[6] = {};
        std::string addresses[3];
        bool ipInfoAnswers = true;
        int quality = 0;
        uint32_t rate = 0;
        int encryption = 1;
        int authentication = 0;
        std::vector<NetworkRecord> survey;
        int emptySurveys = 0; // surveys that find nothing before `survey` shows
    };

    template <typename F>
    void Change(F f)
    {
        std::lock_guard lock(mutex);
        f(script);
    }

    void RT_GetAdapterList(AdapterList& list, int) override
    {
        std::lock_guard lock(mutex);
        list.count = script.adapters;
        list.disabled = script.disabled ? 1 : 0;
        snprintf(list.deviceName, sizeof list.deviceName, "%s", script.deviceName.c_str());
    }
    bool RT_Initialize(int) override
    {
        std::lock_guard lock(mutex);
        if (script.initFailures > 0) {
            --script.initFailures;
            return false;
        }
        return script.adapters > 0;
    }
    bool RT_Get_HW_PBCStatus() override
    {
        std::lock_guard lock(mutex);
        return script.buttonPressed;
    }
    void RT_Set_HW_PBCStatus() override
    {
        std::lock_guard lock(mutex);
        script.buttonPressed = false;
    }
    void RT_GetStatusLinkInfo(int& state, int&, char* ssid, int ssidSize, uint8_t (&bssid)[6]) override
    {
        std::lock_guard lock(mutex);
        state = script.linkState;
        snprintf(ssid, ssidSize, "%s", script.linkSsid.c_str());
        memcpy(bssid, script.linkBssid, 6);
    }
    bool GetIpInformation(const MacAddressBuffer&, IpInformation& info) override
    {
        std::lock_guard lock(mutex);
        snprintf(info.address1, sizeof info.address1, "%s", script.addresses[0].c_str());
        snprintf(info.address2, sizeof info.address2, "%s", script.addresses[1].c_str());
        snprintf(info.address3, sizeof info.address3, "%s", script.addresses[2].c_str());
        return script.ipInfoAnswers;
    }
    void RT_GetStatusSignalInfo(int& quality, int&) override
    {
        std::lock_guard lock(mutex);
        quality = script.quality;
    }
    uint32_t RT_GetStatusDynamicRate() override
    {
        std::lock_guard lock(mutex);
        return script.rate;
    }
    void RT_GetStatusSecurityInfo(int& encryption, int& authentication) override
    {
        std::lock_guard lock(mutex);
        encryption = script.encryption;
        authentication = script.authentication;
    }
    int RT_SiteSurveyEx(SurveyBuffer& buffer, uint8_t&, int) override
    {
        std::lock_guard lock(mutex);
        if (script.emptySurveys > 0) {
            --script.emptySurveys;
            return 0;
        }
        size_t n = std::min(script.survey.size(), size_t(MaxNetworks));
        for (size_t i = 0; i < n; ++i)
            buffer.records[i] = script.survey[i];
        return static_cast<int>(script.survey.size());
    }

private:
    std::mutex mutex;
    Script script;
};

class CFixedSystemAdapters : public CSystemAdapters {
public:
    bool GetAdaptersInfo(std::vector<CSystemAdapterInfo>& out) override
    {
        out = adapters;
        return answers;
    }
    std::vector<CSystemAdapterInfo> adapters;
    bool answers = true;
};

// The adapter object over the scripted library, in mock time.
class AdapterFixture : public ::testing::Test {
protected:
    AdapterFixture()
    {
        clock.Participate();
        adapter = std::make_unique<CAdapterWirelessZadidar>(recorder, services);
    }
    ~AdapterFixture() override
    {
        adapter.reset();
        clock.Leave();
    }

    void Plug()
    {
        library.Change([](auto& s) { s.adapters = 1; });
    }
    void Unplug()
    {
        library.Change([](auto& s) { s.adapters = 0; });
    }
    void StartWatching()
    {
        adapter->StartDeviceWatch();
        adapter->StartTicker();
    }
    int Count(const std::string& call)
    {
        int n = 0;
        for (const std::string& line : recorder.Calls())
            n += line == call;
        return n;
    }

    CMockClock clock;
    CTempDir state;
    CRegistry registry{state.Path()};
    CScriptedLibrary library;
    CRecordingDriverLibrary recorder{library};
    CFixedSystemAdapters systemAdapters;
    CLauncher launcher;
    CQuietSystem system;
    CNoSharingService sharing;
    CPlatformServices services{clock, system, registry, systemAdapters, launcher, sharing};
    std::unique_ptr<CAdapterWirelessZadidar> adapter;
};
