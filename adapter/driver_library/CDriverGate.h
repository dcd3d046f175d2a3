#pragma once

#include "adapter/driver_library/CDriverLibrary.h"
#include "platform/WorkerThread.h"

// Every driver call of the adapter service passes here: a worker that has
// been ended forcibly unwinds before it reaches the library again.
class CDriverGate final : public CDriverLibrary {
public:
    explicit CDriverGate(CDriverLibrary& library) : library(library) {}

#define ZARNWELL_GATE(result, name, params, args) \
    result name params override                   \
    {                                             \
        CWorkerThread::CheckTermination();        \
        return library.name args;                 \
    }
    ZARNWELL_DRIVER_FUNCTIONS(ZARNWELL_GATE)
#undef ZARNWELL_GATE

private:
    CDriverLibrary& library;
};
