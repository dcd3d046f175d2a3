#pragma once

#include "adapter/driver_library/DriverFunctions.h"

// The outside components as the adapter service sees them. The simulated
// adapter is one implementation; the recorder and the gate wrap another.
class CDriverLibrary {
public:
    virtual ~CDriverLibrary() = default;

#define ZARNWELL_DECLARE(result, name, params, args) virtual result name params = 0;
    ZARNWELL_DRIVER_FUNCTIONS(ZARNWELL_DECLARE)
#undef ZARNWELL_DECLARE
};
