#pragma once

#include <atomic>
#include <cstdio>

#include "platform/CLauncher.h"
#include "platform/CPlatformServices.h"
#include "platform/CRegistry.h"
#include "shell/CApplicationApp.h"
#include "tests/support/CNoSharingService.h"
#include "tests/support/CNoSystemAdapters.h"
#include "tests/support/CQuietSystem.h"
#include "tests/support/CSilentDriverLibrary.h"
#include "tests/ui/UiFixture.h"

// The UI in virtual time over an application object whose language, settings
// and skin come from the shipped resources; the adapter answers nothing and
// runs no workers, so a test sets its state by hand. The whole program on the
// simulated machine is tests/program/ProgramFixture.h.
class AppFixture : public UiFixture {
protected:
    // Answers the signal quality and the link state the test sets; nothing
    // else. A link with an address is LinkConnected, one without LinkNoAddress.
    class CSignalLibrary : public CSilentDriverLibrary {
    public:
        void RT_GetStatusSignalInfo(int& value, int&) override { value = quality; }
        void RT_GetStatusLinkInfo(int& state, int&, char* ssid, int ssidSize, uint8_t (&bssid)[6]) override
        {
            if (link == LinkDisconnected)
                return;
            state = DriverLinkStation;
            std::snprintf(ssid, std::size_t(ssidSize), "%s", "Linked");
            bssid[5] = 1;
        }
        bool GetIpInformation(const MacAddressBuffer&, IpInformation& info) override
        {
            if (link != LinkConnected)
                return false;
            std::snprintf(info.address1, sizeof info.address1, "%s", "192.168.1.9");
            return true;
        }
        std::atomic<int> quality{0};
        std::atomic<int> link{LinkDisconnected};
    };

    explicit AppFixture(uint32_t locale = 1033) : UiFixture(true)
    {
        app = std::make_unique<CApplicationApp>(library, services);
        const std::string resources = Repository() + "resources/";
        app->language.Load(resources, locale);
        app->settings.LoadSettings(resources, app->language.lcid);
        app->skin.BuildSkinPaths(resources, app->language.lcid, 6);
        app->versionText = "V1.0.0.1";
    }
    ~AppFixture() override { app.reset(); }

    CTempDir state;
    CRegistry registry{state.Path()};
    CQuietSystem system;
    CSignalLibrary library;
    CNoSystemAdapters adapters;
    CLauncher launcher;
    CNoSharingService sharing;
    CPlatformServices services{clock, system, registry, adapters, launcher, sharing};
    std::unique_ptr<CApplicationApp> app;
};
