// The driver library's access-point calls: the adapter's own access point and
// the system's hosted one.

#include "sim/CSimDriverLibrary.h"
#include "sim/SimLibraryText.h"

void CSimDriverLibrary::RT_AP_SwitchToAPMode()
{
    auto w = world.Lock();
    if (w.Session())
        w.SwitchToApMode();
}

void CSimDriverLibrary::RT_AP_SwitchToStationMode()
{
    auto w = world.Lock();
    if (w.Session())
        w.SwitchToStationMode();
}

bool CSimDriverLibrary::RT_AP_GetIsAPMode()
{
    auto w = world.Lock();
    return w.Session() && w.ApMode();
}

// The system's own hosted network does not exist on this machine.
bool CSimDriverLibrary::RT_ACM_SoftAP_IsEnable()
{
    return false;
}

int CSimDriverLibrary::RT_ACM_SoftAP_GetStatus()
{
    return 0;
}

void CSimDriverLibrary::RT_ACM_SoftAP_Stop() {}

void CSimDriverLibrary::RT_ACM_SoftAP_Enable(int) {}

void CSimDriverLibrary::RT_SetSSID(const char* ssid)
{
    auto w = world.Lock();
    if (w.Session() && w.ApMode())
        w.AccessPoint().Configure(SimText(ssid, 32), w.Station());
}

// The access point announces its name, on its own channel choice, to everyone.
void CSimDriverLibrary::RT_SetIsHidden_SSID(int) {}

void CSimDriverLibrary::RT_SetAUTOChannel(int) {}

void CSimDriverLibrary::RT_Set_Filter_Type(int) {}

void CSimDriverLibrary::RT_AP_SetPassphrase(const char (&passphrase)[256], int length)
{
    auto w = world.Lock();
    if (!w.Session() || !w.ApMode() || length < 0 || length > int(sizeof passphrase))
        return;
    // 64 announces the 32-byte binary key.
    w.AccessPoint().SetPassphrase(std::string_view(passphrase, length == 64 ? 32 : size_t(length)));
}

bool CSimDriverLibrary::RT_AP_GetStationList(StationListBuffer&, int size, int& count, int& entrySize,
                                             uint32_t& tableOffset, int& reserved)
{
    auto w = world.Lock();
    if (!w.Session() || !w.ApMode() || size != int(sizeof(StationListBuffer)))
        return false;
    // No station has joined the access point.
    count = 0;
    entrySize = 24;
    tableOffset = 0;
    reserved = 0;
    return true;
}
