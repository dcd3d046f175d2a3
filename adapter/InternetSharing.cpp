#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "adapter/CAdapterWirelessZadidar.h"
#include "platform/CLauncher.h"
#include "platform/CSharingService.h"
#include "platform/CodePage.h"
#include "platform/CommandLine.h"

using namespace std::chrono_literals;

namespace {

constexpr char ServerAddress[] = "192.168.159.1";
constexpr char ServerMask[] = "255.255.255.0";
constexpr char FirstLease[] = "192.168.159.2";
constexpr char LastLease[] = "192.168.159.254";
constexpr char ServerImage[] = "DORAVEZ.exe";
constexpr int MaxConnections = 10;
// A server that survives termination is given up on after this many tries.
constexpr int TerminateTries = 5;

// Media types the system's sharing service numbers.
constexpr uint32_t MediaLan = 3;
constexpr uint32_t MediaPppoe = 6;
constexpr uint32_t MediaBridge = 7;
constexpr uint32_t StatusConnected = 2;

// A text of a fixed field that may lack its terminator.
std::string FieldText(const char* field, size_t size)
{
    return std::string(field, strnlen(field, size));
}

template <size_t N>
void CopyText(char (&out)[N], std::string_view text)
{
    size_t length = std::min(text.size(), N - 1);
    memcpy(out, text.data(), length);
    out[length] = '\0';
}

std::string ToLocal(const std::string& utf8)
{
    std::string local;
    Utf16ToLocal(Utf8ToUtf16(utf8), local);
    return local;
}

} // namespace

void CAdapterWirelessZadidar::SetInternetSharing(bool enable)
{
    if (!enable)
        StopDhcpServer();
    std::string device = AdapterName();
    int enabled = 0;
    char privateName[50] = {};
    char publicName[128] = {};
    lib.ICS_Ordinal3(enabled, privateName, publicName);
    lib.ICS_Ordinal2(0, privateName, publicName);
    lib.ICS_Ordinal5("");
    lib.RT_DisableSoftAP_ICS();
    lib.RT_SetSoftAP_TcpIpAddress(device.c_str(), 1, "", "");
    if (!enable)
        return;

    memset(internetConnection, 0, sizeof internetConnection);
    ChooseInternetConnection(internetConnection);
    if (internetConnection[0] == '\0')
        return; // nothing to share: no sharing and no server
    lib.ICS_Ordinal2(0, device.c_str(), internetConnection);
    lib.RT_SetNicTcpipAddr(device.c_str(), 1, "", "", "", "");
    lib.ICS_Ordinal2(1, device.c_str(), internetConnection);
    for (int check = 0; check < 2; ++check) {
        enabled = 0;
        lib.ICS_Ordinal3(enabled, privateName, publicName);
        if (enabled != 0)
            break;
        lib.ICS_Ordinal2(1, device.c_str(), internetConnection);
    }
    StartDhcpServer(ServerAddress, FirstLease, LastLease);
    lib.RT_EnableSoftAP_ICS(device.c_str(), internetConnection);
}

bool CAdapterWirelessZadidar::ChooseInternetConnection(char (&out)[260])
{
    memset(out, 0, sizeof out);
    ConnectionTable table = {};
    int count = 0;
    if ((osKind == 5 || osKind == 6) && !sharingEnumFirst) {
        EnumerateSharingConnections(AdapterName().c_str(), table, count);
    } else {
        sharingEnumFirst = false;
        lib.ICS_Ordinal1(AdapterName().c_str(), table, count, 0);
    }
    // The table has ten entries, whatever count the library reports.
    count = std::clamp(count, 0, MaxConnections);

    std::vector<const ConnectionEntry*> candidates;
    for (int i = 0; i < count; ++i) {
        const ConnectionEntry& entry = table.entries[i];
        if (strncmp(entry.name, "1394", 4) != 0 && entry.characteristics != 0 && entry.characteristics != 9 &&
            entry.status == StatusConnected)
            candidates.push_back(&entry);
    }
    if (candidates.empty())
        return false;
    if (candidates.size() == 1) {
        CopyText(out, FieldText(candidates[0]->name, sizeof candidates[0]->name));
        return true;
    }
    char device[50] = {};
    char fastest[260] = {};
    if (lib.Get_Hi_Speed_Adapter(device, fastest)) {
        CopyText(out, FieldText(fastest, sizeof fastest));
        return true;
    }
    for (const ConnectionEntry* entry : candidates) {
        if (entry->pppoe == 1) {
            CopyText(out, FieldText(entry->name, sizeof entry->name));
            return true;
        }
    }
    for (const ConnectionEntry* entry : candidates) {
        if (FieldText(entry->secondName, sizeof entry->secondName).find("3G Modem") != std::string::npos) {
            CopyText(out, FieldText(entry->name, sizeof entry->name));
            return true;
        }
    }
    return false;
}

bool CAdapterWirelessZadidar::EnumerateSharingConnections(const char* device, ConnectionTable& table, int& count)
{
    count = 0;
    std::vector<CSharingConnection> connections;
    if (!sharingService.EnumerateConnections(connections))
        return false;
    for (const CSharingConnection& c : connections) {
        bool media = c.mediaType == MediaLan || c.mediaType == MediaPppoe || c.mediaType == MediaBridge;
        std::string guid = ToLocal(c.guid);
        if (!media || c.deviceName.starts_with("1394") || guid == device || count == MaxConnections)
            continue;
        ConnectionEntry& entry = table.entries[count++];
        CopyText(entry.name, ToLocal(c.name));
        CopyText(entry.secondName, guid);
        entry.characteristics = c.characteristics;
        entry.status = c.status;
        entry.pppoe = c.mediaType == MediaPppoe ? 1 : 0;
    }
    return true;
}

// The program by its absolute path, quoted, since the folder may hold blanks.
// A folder with a double quote cannot be named on a command line: nothing is
// started from it.
bool CAdapterWirelessZadidar::RunDhcpProgram(const std::string& arguments)
{
    if (exeDir.empty() || exeDir.front() != '/' || exeDir.find('"') != std::string::npos)
        return false;
    return launcher.StartHidden("\"" + exeDir + "DORAVEZ\" " + arguments);
}

void CAdapterWirelessZadidar::StopDhcpServer()
{
    RunDhcpProgram("-q");
    // A server that will not end is left after a few tries, and said so.
    uint32_t pid = 0;
    bool running = FindDhcpServerProcess(pid);
    for (int attempt = 0; running && attempt < TerminateTries; ++attempt) {
        launcher.TerminateProcess(pid);
        clock.Sleep(100ms);
        running = FindDhcpServerProcess(pid);
    }
    dhcpServerStopped = !running;
}

void CAdapterWirelessZadidar::StartDhcpServer(const char* server, const char* first, const char* last)
{
    StopDhcpServer();
    std::string device = AdapterName();
    lib.RT_SetNicTcpipAddr(device.c_str(), 0, server, ServerMask, "", "");
    std::string start = std::string("-v -ip ") + server + " -range " + first + "-" + last;
    RunDhcpProgram(start);
    clock.Sleep(1000ms);
    for (int attempt = 0; attempt < 2; ++attempt) {
        if (lib.RT_Check_Current_NIC_IPAddress(device.c_str(), server))
            continue;
        lib.RT_SetSoftAP_TcpIpAddress(device.c_str(), 0, server, ServerMask);
        clock.Sleep(500ms);
        uint32_t pid = 0;
        if (lib.RT_Check_Current_NIC_IPAddress(device.c_str(), server) && !FindDhcpServerProcess(pid)) {
            RunDhcpProgram(start);
            clock.Sleep(500ms);
        }
    }
    bool answers = lib.RT_Check_VuvDHCP_Port_Work();
    for (int check = 0; check < 4 && !answers; ++check) {
        clock.Sleep(500ms);
        answers = lib.RT_Check_VuvDHCP_Port_Work();
    }
    if (answers)
        lib.ICS_DHCP_Enable(device.c_str(), server, first, last);
    else
        lib.ICS_DHCP_Enable(device.c_str(), server, "", "");
}

bool CAdapterWirelessZadidar::FindDhcpServerProcess(uint32_t& pid)
{
    for (const CProcessEntry& process : launcher.Processes()) {
        if (process.imageName == ServerImage) {
            pid = process.pid;
            return true;
        }
    }
    return false;
}
