#pragma once

#include "adapter/driver_library/CDriverLibrary.h"

// A library that answers nothing: every call leaves its outputs alone and
// returns zero. Tests derive from it to script the few answers they need.
class CSilentDriverLibrary : public CDriverLibrary {
public:
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wunused-parameter"
#define ZARNWELL_SILENT(result, name, params, args) \
    result name params override { return result(); }
    ZARNWELL_DRIVER_FUNCTIONS(ZARNWELL_SILENT)
#undef ZARNWELL_SILENT
#pragma GCC diagnostic pop
};
