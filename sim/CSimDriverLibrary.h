#pragma once

#include "adapter/driver_library/CDriverLibrary.h"
#include "sim/CSimWorld.h"

// The driver library, the sharing library, the device-change filter and the
// IP helper of the simulated adapter, over a CSimWorld.
//
// It behaves like the hardware: nothing answers while the adapter is
// unplugged or disabled (zero counts, false, untouched buffers), the adapter
// calls need a session opened by RT_Initialize, and an association is judged
// by the access point from what the RT_Set calls configured. No call waits.
class CSimDriverLibrary final : public CDriverLibrary {
public:
    explicit CSimDriverLibrary(CSimWorld& world) : world(world) {}

#define ZARNWELL_SIM_DECLARE(result, name, params, args) result name params override;
    ZARNWELL_DRIVER_FUNCTIONS(ZARNWELL_SIM_DECLARE)
#undef ZARNWELL_SIM_DECLARE

private:
    CSimWorld& world;
};
