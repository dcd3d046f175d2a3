// The calls of the machine around the adapter: its addresses and the DHCP
// server's port (driver library), the sharing library, the device-change
// filter and the IP helper.

#include <algorithm>
#include <cstring>
#include <iterator>

#include "sim/CSimDriverLibrary.h"
#include "sim/SimDeviceBroadcast.h"
#include "sim/SimLibraryText.h"

namespace {

// Whether a caller's device name names the adapter.
bool IsAdapter(CSimWorld::Locked& w, const char* deviceName)
{
    return w.Present() && SimText(deviceName, 256) == w.Settings().name;
}

} // namespace

void CSimDriverLibrary::RT_EnableSoftAP_ICS(const char* deviceName, const char* internetConnection)
{
    auto w = world.Lock();
    if (IsAdapter(w, deviceName))
        w.Sharing().SetSoftApIcs(true, SimText(internetConnection, 259));
}

void CSimDriverLibrary::RT_DisableSoftAP_ICS()
{
    auto w = world.Lock();
    if (w.Present())
        w.Sharing().SetSoftApIcs(false, "");
}

void CSimDriverLibrary::RT_SetNicTcpipAddr(const char* deviceName, int automatic, const char* address,
                                           const char*, const char*, const char*)
{
    RT_SetSoftAP_TcpIpAddress(deviceName, automatic, address, nullptr);
}

void CSimDriverLibrary::RT_SetSoftAP_TcpIpAddress(const char* deviceName, int automatic, const char* address,
                                                  const char*)
{
    auto w = world.Lock();
    if (IsAdapter(w, deviceName))
        w.SetAddress(automatic != 0, SimText(address, 15));
}

bool CSimDriverLibrary::RT_Check_Current_NIC_IPAddress(const char* deviceName, const char* address)
{
    auto w = world.Lock();
    return IsAdapter(w, deviceName) && w.Address() == SimText(address, 256);
}

bool CSimDriverLibrary::RT_Check_VuvDHCP_Port_Work()
{
    auto w = world.Lock();
    // The server listens on the adapter's address, so it answers only once the adapter holds it.
    return w.DhcpServer().Running() && w.Present() && w.Address() == w.DhcpServer().Server();
}

// The PC's connections besides the one of `deviceName`; the second name is
// the device behind each.
void CSimDriverLibrary::ICS_Ordinal1(const char* deviceName, ConnectionTable& table, int& count, int)
{
    auto w = world.Lock();
    std::string own = SimText(deviceName, 256);
    count = 0;
    for (const SimConnection& connection : w.Connections()) {
        if (connection.device == own || count == int(std::size(table.entries)))
            continue;
        ConnectionEntry& entry = table.entries[count++];
        SimCopyText(connection.name, entry.name, sizeof entry.name);
        SimCopyText(connection.device, entry.secondName, sizeof entry.secondName);
        entry.characteristics = connection.characteristics;
        entry.status = connection.Status();
        entry.pppoe = connection.media == MediaPppoe ? 1 : 0;
    }
}

void CSimDriverLibrary::ICS_Ordinal2(int enable, const char* privateConnection, const char* publicConnection)
{
    world.Lock().Share(enable != 0, SimText(privateConnection, 127), SimText(publicConnection, 259));
}

void CSimDriverLibrary::ICS_Ordinal3(int& enabled, char (&privateName)[50], char (&publicName)[128])
{
    auto w = world.Lock();
    enabled = w.Sharing().Enabled() ? 1 : 0;
    SimCopyText(w.Sharing().PrivateConnection(), privateName, sizeof privateName);
    SimCopyText(w.Sharing().PublicConnection(), publicName, sizeof publicName);
}

// Clears the sharing of every connection.
void CSimDriverLibrary::ICS_Ordinal5(const char*)
{
    world.Lock().Share(false, "", "");
}

// The connected connection with the fastest link, when exactly one is
// fastest; dial-ups and modems report no speed.
bool CSimDriverLibrary::Get_Hi_Speed_Adapter(char (&device)[50], char (&connection)[260])
{
    auto w = world.Lock();
    const SimConnection* fastest = nullptr;
    bool tie = false;
    for (const SimConnection& each : w.Connections()) {
        if (!each.connected || each.speedMbps <= 0 || each.device == w.Settings().name)
            continue;
        if (!fastest || each.speedMbps > fastest->speedMbps) {
            fastest = &each;
            tie = false;
        } else if (each.speedMbps == fastest->speedMbps) {
            tie = true;
        }
    }
    if (!fastest || tie)
        return false;
    SimCopyText(fastest->device, device, sizeof device);
    SimCopyText(fastest->name, connection, sizeof connection);
    return true;
}

void CSimDriverLibrary::ICS_DHCP_Enable(const char*, const char* server, const char* rangeStart, const char* rangeEnd)
{
    world.Lock().Sharing().TellDhcp(SimText(server, 15), SimText(rangeStart, 15), SimText(rangeEnd, 15));
}

bool CSimDriverLibrary::EnumDevicesChange(const char* deviceName, uint32_t eventType, const void* eventData,
                                          bool& removed, bool& concernsAdapter)
{
    if (!deviceName || !eventData || (eventType != DeviceArrival && eventType != DeviceRemoveComplete))
        return false;
    // Event data of another kind may be shorter: its size comes first.
    uint32_t size = 0;
    std::memcpy(&size, eventData, sizeof size);
    if (size != sizeof(SimDeviceBroadcast))
        return false;
    SimDeviceBroadcast record;
    std::memcpy(&record, eventData, sizeof record);
    if (record.deviceType != DeviceTypeInterface ||
        SimText(record.name, sizeof record.name) != SimText(deviceName, sizeof record.name))
        return false;
    concernsAdapter = true;
    removed = eventType == DeviceRemoveComplete;
    return true;
}

bool CSimDriverLibrary::GetIpInformation(const MacAddressBuffer& mac, IpInformation& info)
{
    auto w = world.Lock();
    if (!w.Present() || !std::equal(w.Settings().mac.begin(), w.Settings().mac.end(), mac.bytes))
        return false;
    std::string address = w.Address();
    std::strncpy(info.address1, address.c_str(), sizeof info.address1 - 1);
    return true;
}
