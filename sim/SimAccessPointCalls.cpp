// The driver library's access-point calls: the adapter's own access point and
// the system's hosted one.

#include <arpa/inet.h>

#include <cstring>

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

bool CSimDriverLibrary::RT_ACM_SoftAP_IsEnable()
{
    auto w = world.Lock();
    return w.Session() && w.HostedNetwork().Enabled();
}

int CSimDriverLibrary::RT_ACM_SoftAP_GetStatus()
{
    auto w = world.Lock();
    return w.Session() ? w.HostedNetwork().Status(w.RadioOn()) : 0;
}

void CSimDriverLibrary::RT_ACM_SoftAP_Stop()
{
    auto w = world.Lock();
    if (w.Session())
        w.HostedNetwork().Stop();
}

void CSimDriverLibrary::RT_ACM_SoftAP_Enable(int value)
{
    auto w = world.Lock();
    if (w.Session())
        w.HostedNetwork().SetEnabled(value != 0);
}

void CSimDriverLibrary::RT_SetSSID(const char* ssid)
{
    auto w = world.Lock();
    if (w.Session() && w.ApMode())
        w.AccessPoint().Configure(w.Now(), SimText(ssid, 32), w.Station());
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
    bool binaryKey = length == 64;
    w.AccessPoint().SetPassphrase(w.Now(), std::string_view(passphrase, binaryKey ? 32 : size_t(length)), binaryKey);
}

bool CSimDriverLibrary::RT_AP_GetStationList(StationListBuffer& buffer, int size, int& count, int& entrySize,
                                             uint32_t& tableOffset, int& reserved)
{
    auto w = world.Lock();
    if (!w.Session() || !w.ApMode() || size != int(sizeof(StationListBuffer)))
        return false;
    // 64 entries of 24 bytes after a header of 64: in use at 0, the MAC at 1,
    // the IPv4 address at 8, authorised (the key handshake done) at 13.
    constexpr uint32_t header = 64;
    constexpr int entryBytes = 24;
    constexpr int entries = 64;
    static_assert(header + entries * entryBytes == sizeof buffer.bytes);
    count = 0;
    for (const SimPhoneView& view : w.Phones()) {
        if (view.state == PhoneAway || count == entries)
            continue;
        uint8_t* entry = buffer.bytes + header + count * entryBytes;
        entry[0] = 1;
        std::memcpy(entry + 1, view.phone.mac.data(), 6);
        in_addr address{};
        if (!view.address.empty() && inet_pton(AF_INET, view.address.c_str(), &address) == 1)
            std::memcpy(entry + 8, &address, 4);
        entry[13] = view.state == PhoneJoined ? 1 : 0;
        ++count;
    }
    entrySize = entryBytes;
    tableOffset = header;
    reserved = 0;
    return true;
}
