#include <cstring>
#include <string>

#include "adapter/CAdapterWirelessZadidar.h"
#include "platform/CLauncher.h"
#include "platform/CRegistry.h"
#include "platform/CodePage.h"
#include "platform/CommandLine.h"

using namespace std::chrono_literals;

namespace {

constexpr char ConnectionKey[] =
    "SYSTEM\\CurrentControlSet\\Control\\Network\\{4D36E972-E325-11CE-BFC1-08002BE10318}\\%s\\Connection";
// The value is read into 100 bytes: 49 UTF-16 characters and the end.
constexpr size_t MaxConnectionNameChars = 49;
constexpr int HostedNetworkRunning = 2;

} // namespace

void CAdapterWirelessZadidar::BeginStationMode()
{
    modeSwitching = true;
    for (WorkerSlot slot : {SlotStationMode, SlotSoftApMode, SlotSoftApRetry})
        StopWorker(slot);
    StartWorker(SlotStationMode, [this] { SwitchToStation(); });
    networkMode = 0;
    SaveNetworkMode(0);
}

void CAdapterWirelessZadidar::BeginSoftApMode()
{
    modeSwitching = true;
    wpsRun = false;
    wpsStatus = 0;
    for (WorkerSlot slot : {SlotWps, SlotStationMode, SlotSoftApMode, SlotSoftApRetry})
        StopWorker(slot);
    StartWorker(SlotSoftApMode, [this] { SwitchToSoftAp(); });
    networkMode = 1;
    SaveNetworkMode(1);
}

void CAdapterWirelessZadidar::BeginSoftApRetry()
{
    modeSwitching = true;
    for (WorkerSlot slot : {SlotStationMode, SlotSoftApMode, SlotSoftApRetry})
        StopWorker(slot);
    StartWorker(SlotSoftApRetry, [this] { RetrySoftAp(); });
}

// A name from the system is one argument, whatever quotes it holds.
void CAdapterWirelessZadidar::RunIpconfig(const char* command, const char* connection)
{
    launcher.StartHidden(std::string("ipconfig ") + command + " " + QuoteArgument(connection));
}

void CAdapterWirelessZadidar::SwitchToStation()
{
    modeSwitching = true;
    modeSwitchDone = false;
    lib.RT_Set_HW_PBCStatus();
    if (lib.RT_AP_GetIsAPMode()) {
        StopDhcpServer();
        SetInternetSharing(false);
        lib.RT_AP_SwitchToStationMode();
        std::string device = AdapterName();
        char connection[128] = {};
        GetConnectionName(device.c_str(), connection);
        RunIpconfig("/release", connection);
        lib.RT_SetSoftAP_TcpIpAddress(device.c_str(), 1, "", "");
        RunIpconfig("/renew", connection);
    }
    TurnRadioOn();
    modeSwitchDone = true;
    modeSwitching = false;
}

void CAdapterWirelessZadidar::SwitchToSoftAp()
{
    modeSwitching = true;
    modeSwitchDone = false;
    std::string device = AdapterName();
    lib.RT_SetNicTcpipAddr(device.c_str(), 1, "", "", "", "");
    if (lib.RT_ACM_SoftAP_IsEnable()) {
        // The system's own hosted access point gives the adapter back first.
        if (lib.RT_ACM_SoftAP_GetStatus() == HostedNetworkRunning) {
            StopDhcpServer();
            SetInternetSharing(false);
            lib.RT_ACM_SoftAP_Stop();
        }
        lib.RT_ACM_SoftAP_Enable(0);
    } else {
        StopDhcpServer();
    }
    lib.RT_ACM_Delete_AllProfiles();
    clock.Sleep(2000ms);
    lib.RT_AP_SwitchToAPMode();
    EnterApMode(5);
    TurnRadioOn();
    VuvProfile profile = {};
    LoadSoftApProfile(profile);
    {
        std::lock_guard lock(softApProfileLock);
        softApProfile = profile;
    }
    ConfigureSoftAp(profile);
    ConfigureSoftAp(profile);
    SetInternetSharing(true);
    modeSwitchDone = WaitForSoftApAddress(5);
    modeSwitching = false;
}

void CAdapterWirelessZadidar::RetrySoftAp()
{
    modeSwitching = true;
    modeSwitchDone = false;
    EnterApMode(5);
    TurnRadioOn();
    VuvProfile profile = {};
    LoadSoftApProfile(profile);
    {
        std::lock_guard lock(softApProfileLock);
        softApProfile = profile;
    }
    ConfigureSoftAp(profile);
    SetInternetSharing(true);
    for (int round = 0; round < 3; ++round) {
        if (WaitForSoftApAddress(1))
            continue;
        clock.Sleep(500ms);
        SetInternetSharing(true);
        clock.Sleep(500ms);
    }
    modeSwitchDone = WaitForSoftApAddress(2);
    modeSwitching = false;
}

void CAdapterWirelessZadidar::RestoreMode()
{
    if (osKind >= 7 && lib.RT_ACM_SoftAP_IsEnable() && lib.RT_ACM_SoftAP_GetStatus() <= 0) {
        lib.RT_ACM_SoftAP_Stop();
        lib.RT_ACM_SoftAP_Enable(0);
    }
    if (networkMode == 1) {
        EnterApMode(3);
        BeginSoftApMode();
    } else if (lib.RT_AP_GetIsAPMode()) {
        BeginStationMode();
    } else {
        TurnRadioOn();
    }
}

// Up to `attempts` tries, a second apart, until the library confirms the mode.
void CAdapterWirelessZadidar::EnterApMode(int attempts)
{
    for (int attempt = 0; attempt < attempts; ++attempt) {
        lib.RT_AP_SwitchToAPMode();
        clock.Sleep(1000ms);
        if (lib.RT_AP_GetIsAPMode())
            return;
    }
}

void CAdapterWirelessZadidar::TurnRadioOn()
{
    if (lib.RT_GetIsRadioOff()) {
        lib.RT_SetRadioOff(false);
        radioOn = true;
    }
}

bool CAdapterWirelessZadidar::GetConnectionName(const char* device, char (&out)[128])
{
    char key[sizeof ConnectionKey + 64] = {};
    snprintf(key, sizeof key, ConnectionKey, device);
    std::u16string wideKey;
    LocalToUtf16(key, wideKey);
    std::string name;
    if (!registry.QueryString(HiveLocalMachine, Utf16ToUtf8(wideKey), "Name", name))
        return false;
    std::u16string wide = Utf8ToUtf16(name);
    if (wide.size() > MaxConnectionNameChars)
        return false; // it does not fit the buffer: nothing was read
    std::string local;
    Utf16ToLocal(wide, local);
    size_t length = std::min(local.size(), sizeof out - 1);
    memcpy(out, local.data(), length);
    out[length] = '\0';
    return true;
}
