#pragma once

#include <atomic>

#include "platform/CSystemAdapters.h"
#include "platform/CRegistry.h"
#include "platform/CSystem.h"
#include "shell/CApplicationApp.h"
#include "tests/support/CSilentDriverLibrary.h"
#include "tests/ui/UiFixture.h"

// The UI in virtual time over an application object whose language, settings
// and skin come from the shipped resources; the adapter answers nothing.
class AppFixture : public UiFixture {
protected:
    class CQuietSystem : public CSystem {
    public:
        COsVersionInfo OsVersion() override { return {2, 10, 0}; }
        bool IsWow64() override { return false; }
        bool IsElevated() override { return true; }
        void RelaunchElevated(const std::string&, const std::vector<std::string>&, const std::string&) override {}
        uint32_t DefaultLocaleId() override { return 1033; }
    };
    // Answers the signal quality the test sets; nothing else.
    class CSignalLibrary : public CSilentDriverLibrary {
    public:
        void RT_GetStatusSignalInfo(int& value, int&) override { value = quality; }
        std::atomic<int> quality{0};
    };
    class CNoAdapters : public CSystemAdapters {
    public:
        bool GetAdaptersInfo(std::vector<CSystemAdapterInfo>&) override { return false; }
    };

    explicit AppFixture(uint32_t locale = 1033) : UiFixture(true)
    {
        app = std::make_unique<CApplicationApp>(system, clock, library, registry, adapters);
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
    CNoAdapters adapters;
    std::unique_ptr<CApplicationApp> app;
};
