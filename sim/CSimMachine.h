#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/CLauncher.h"
#include "platform/CPlatformServices.h"
#include "sim/CSimControlServer.h"
#include "sim/CSimDriverLibrary.h"
#include "sim/CSimProgramHost.h"
#include "sim/CSimRegistryOwner.h"
#include "sim/CSimSharingService.h"
#include "sim/CSimSystemAdapters.h"
#include "sim/CSimWorld.h"

class CClock;
class CRegistry;
class CSystem;

// The machine the program runs on in this build: the USB adapter's world and
// the driver library over it, and what the system shows of that world: its
// adapter list, the connection-name key in the registry, the programs of the
// world (ipconfig, the DHCP server) behind the launcher, the PC's connections
// behind the sharing service, and plug and unplug as device-change
// notifications. It runs on the clock it is given, the real
// one or a mock clock, and serves the control socket when asked to.
//
// The program gets `library` and `services`; both stay valid while the
// machine exists, so whatever uses them goes first.
class CSimMachine {
public:
    // `system` and `registry` are the real platform's (or a test's); the
    // machine answers its connection-name key in `registry` while it exists.
    CSimMachine(CClock& clock, CSystem& system, CRegistry& registry);
    ~CSimMachine();
    CSimMachine(const CSimMachine&) = delete;
    CSimMachine& operator=(const CSimMachine&) = delete;

    // Reads a world file into the world (LoadSimWorld).
    bool LoadWorld(const std::string& path, std::vector<std::string>& problems);

    // The control socket at `path`, so that zarnwell-sim changes the world;
    // false when it cannot serve there. StopControl ends it: no more changes
    // from outside.
    bool StartControl(const std::string& path);
    void StopControl();

    // Where plug and unplug go, as (event type, event data) the way the
    // system notifies its windows; nullptr drops them. Replacing it waits for
    // a call in flight, so what the old one points to may go once this returns.
    void SetDeviceChangeListener(std::function<void(uint32_t, const void*)> listener);

    CSimWorld world;
    CSimDriverLibrary library;
    CSimSystemAdapters systemAdapters;
    CSimRegistryOwner registryOwner;
    CSimProgramHost programHost;
    CLauncher launcher;
    CSimSharingService sharingService;
    CPlatformServices services;

private:
    std::optional<CSimControlServer> control;
};
