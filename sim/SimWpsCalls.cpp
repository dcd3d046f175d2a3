// The driver library's WPS calls.

#include <algorithm>
#include <cstring>

#include "sim/CSimDriverLibrary.h"
#include "sim/SimLibraryText.h"
#include "sim/SimWpsPin.h"

void CSimDriverLibrary::RT_Debug_Methodflag(int method)
{
    auto w = world.Lock();
    if (w.Session())
        w.Wps().SetMethod(method);
}

bool CSimDriverLibrary::RT_GetPIN_WS2(uint8_t (&buffer)[8])
{
    auto w = world.Lock();
    if (!w.Session() || w.ApMode() || !w.RadioOn())
        return false;
    // The push-button method runs with the all-zero PIN.
    std::fill(buffer, buffer + 8, uint8_t('0'));
    w.Wps().Start("00000000");
    return true;
}

void CSimDriverLibrary::RT_WPS(const char* pin)
{
    auto w = world.Lock();
    if (w.Session() && !w.ApMode() && w.RadioOn())
        w.Wps().Start(SimText(pin, 8));
}

bool CSimDriverLibrary::RT_WSC_Connect(WpsCredential&, int& progress, char (&)[33])
{
    auto w = world.Lock();
    if (!w.Session())
        return false;
    // No access point of this world runs a registrar: the exchange never starts.
    progress = 0;
    return false;
}

bool CSimDriverLibrary::RT_Check_Session_Overlap()
{
    return false;
}

void CSimDriverLibrary::RT_WS2_stop()
{
    auto w = world.Lock();
    if (w.Session())
        w.Wps().Stop();
}

void CSimDriverLibrary::RT_GEN_PIN(char (&pin)[9])
{
    auto w = world.Lock();
    if (!w.Session())
        return;
    std::string text = w.NextPin();
    std::memcpy(pin, text.c_str(), 9);
}

bool CSimDriverLibrary::RT_VERIFY_PIN(const char* pin)
{
    auto w = world.Lock();
    return w.Session() && pin && SimWpsPinValid(SimText(pin, 9));
}
