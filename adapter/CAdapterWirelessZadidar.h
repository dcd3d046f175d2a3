#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "adapter/AdapterState.h"
#include "adapter/ConnectionDetails.h"
#include "adapter/LinkState.h"
#include "adapter/NetworkDescription.h"
#include "adapter/driver_library/CDriverGate.h"
#include "platform/CPlatformServices.h"
#include "platform/ClockMutex.h"
#include "platform/Event.h"
#include "platform/WorkerThread.h"


// A polymorphic member with no data, kept for the object's layout.
class CWirelessFeature {
public:
    virtual ~CWirelessFeature() = default;
};

// The adapter service: every conversation with the driver library, the state
// the windows poll, and the workers that do the long or periodic work so the
// windows never block. Flags and counters shared with the workers are
// atomics written by one side and polled by the other; the network list is
// replaced and read whole, under networksLock.
class CAdapterWirelessZadidar {
public:
    // Worker slots, in table order.
    enum WorkerSlot {
        SlotTicker,
        SlotDeviceWatch,
        SlotButtonWatch,
        SlotStationMode,
        SlotSoftApMode,
        SlotAutoConnect,
        SlotConnect,
        SlotSoftApConfig,
        SlotWps,
        SlotSurvey,
        SlotRadio,
        SlotSoftApRetry,
        WorkerSlotCount
    };

    CAdapterWirelessZadidar(CDriverLibrary& library, const CPlatformServices& services);
    virtual ~CAdapterWirelessZadidar();
    CAdapterWirelessZadidar(const CAdapterWirelessZadidar&) = delete;
    CAdapterWirelessZadidar& operator=(const CAdapterWirelessZadidar&) = delete;

    // Workers and device watch
    void StartTicker();
    void StartDeviceWatch();
    void StartButtonWatch();
    void StartSurveyWorker();
    void BeginRadioChange(bool on);
    // The library's radio reading, for the station panel's switch.
    bool IsRadioOff();
    void BeginAutoConnect();
    void BeginConnect();
    bool OnDeviceChange(uint32_t eventType, const void* eventData);
    void PollAdapter();

    // Site survey and network records
    void SiteSurvey();
    void RequestScan();
    static int GetSecurityKind(const NetworkRecord& record);
    static bool MatchesNetwork(const NetworkRecord& record, const VuvProfile& profile);
    bool IsProfileInRange(const VuvProfile& profile);
    int IsSavedNetwork(const NetworkRecord& record, VuvProfile& profile);
    void TryAutoConnect();
    // The list as one consistent copy; returns networkCount.
    int CopyNetworks(SurveyBuffer& out);

    // Station connection
    void ConnectToNetwork(const NetworkRecord& record, const NetworkDescription& description);
    void ConnectManual(const NetworkDescription& description);
    void BuildProfileFromNetwork(const NetworkRecord& record, const NetworkDescription& description,
                                 VuvProfile& profile);
    void BuildProfileFromDescription(const NetworkDescription& description, VuvProfile& profile);
    void ApplyProfile(const VuvProfile& profile);
    void SaveConnectProfile();
    void AutoSaveProfile();
    void Disconnect();

    // Link status and addressing
    LinkState QueryLink(char (&ssid)[33], uint8_t (&bssid)[6]);
    LinkState GetConnectionDetails(ConnectionDetails& details);
    void GetSignalQuality(int& quality);
    double GetLinkRate();
    int GetLinkSecurityKind();
    void GetIpAddress(char (&out)[16]);
    static bool IsUnusableAddress(const char* address);
    // DriverLinkStation or DriverLinkAssociating as the library says, else LinkDisconnected.
    int GetLinkState();

    // Profile store
    bool LoadProfile(const std::string& name, VuvProfile& out);
    void SaveProfile(const std::string& name, const VuvProfile& profile);
    void FindAutoSavedProfile(const char* ssid, VuvProfile& profile, bool& found, bool& full,
                              std::string& oldestName, std::string& matchedName);
    void StoreAutoSavedProfile(const VuvProfile& profile, const std::string& valueName);
    void DeleteAutoSavedProfile(const std::string& valueName);
    int LoadNetworkMode();
    void SaveNetworkMode(int mode);

    // Mode switching
    void BeginStationMode();
    void BeginSoftApMode();
    void BeginSoftApRetry();
    void SwitchToStation();
    void SwitchToSoftAp();
    void RetrySoftAp();
    void RestoreMode();
    bool GetConnectionName(const char* device, char (&out)[128]);

    // SoftAP profile and configuration
    void LoadSoftApProfile(VuvProfile& out);
    std::string MakeDefaultSsid();
    std::string MakeDefaultPassphrase();
    void MakeDefaultSoftApProfile(VuvProfile& out);
    void GetSoftApSettings(NetworkDescription& out);
    void ApplySoftApSettings(const NetworkDescription& description);
    void BeginSoftApConfig();
    void ConfigureSoftAp(const VuvProfile& profile);
    void RefreshStationList(std::vector<StationEntry>& list);
    bool WaitForSoftApAddress(int tries);
    // softApProfile as one consistent copy.
    VuvProfile SoftApProfile();

    // Internet sharing and DHCP server
    void SetInternetSharing(bool enable);
    bool ChooseInternetConnection(char (&out)[260]);
    bool EnumerateSharingConnections(const char* device, ConnectionTable& table, int& count);
    void StartDhcpServer(const char* server, const char* first, const char* last);
    void StopDhcpServer();
    bool FindDhcpServerProcess(uint32_t& pid);

    char adapterName[50] = {}; // written by the device watch under adapterNameLock
    std::string AdapterName();
    std::atomic<bool> tickerRun = true;
    std::atomic<bool> deviceWatchRun = true;
    std::atomic<bool> surveyRun = true;
    std::atomic<bool> buttonWatchRun = true;
    std::atomic<bool> wpsRun = true;
    CEvent deviceWatchEvent;
    CEvent surveyEvent;
    CEvent buttonWatchEvent;
    std::atomic<bool> radioWanted = true;
    std::atomic<bool> radioOn = true;
    std::atomic<bool> deviceWatchBusy = false;
    std::atomic<bool> connectBusy = false;
    std::atomic<bool> surveyBusy = false;
    std::atomic<bool> autoConnectBusy = false;
    std::atomic<int32_t> autoConnectRetries = 3;
    VuvProfile autoConnectProfile = {};
    VuvProfile connectProfile = {};
    VuvProfile softApProfile = {}; // guarded by softApProfileLock
    uint32_t wpsRequest[4] = {};
    CWirelessFeature feature;
    CWorkerThread workers[WorkerSlotCount];
    std::atomic<int32_t> adapterState = AdapterNone;
    std::atomic<bool> scanAllowed = true;
    std::atomic<bool> autoConnectEnabled = true;
    std::atomic<int32_t> networkMode = 0;
    std::atomic<bool> forceSurvey = false;
    SurveyBuffer networks = {};      // guarded by networksLock
    SurveyBuffer surveyBuffer = {};  // the survey worker's own
    int32_t networkCount = 0;        // guarded by networksLock
    std::atomic<int32_t> tickCount = 0;
    char internetConnection[260] = {};
    std::atomic<bool> modeSwitching = false;
    std::atomic<bool> modeSwitchDone = true;
    std::atomic<int32_t> wpsCountdown = 120;
    std::atomic<int32_t> wpsStatus = 0;
    std::atomic<bool> sharingEnumFirst = true;
    std::atomic<bool> initialised = false;
    // The last StopDhcpServer left no server running; false when one
    // survived every attempt to end it.
    std::atomic<bool> dhcpServerStopped = true;

    // Set by start-up before the workers start, read-only afterwards: the
    // operating-system kind decides a few driver sequences; the install
    // folder holds the DHCP program; the access point's default name begins
    // with the settings' prefix, and its default passphrase depends on the
    // language.
    int osKind = 13;
    std::string exeDir;
    char apDefaultSsid[33] = {};
    uint32_t lcid = 1033;
    std::mutex networksLock;
    std::mutex adapterNameLock;
    std::mutex softApProfileLock;

private:
    void StartWorker(WorkerSlot slot, std::function<void()> body);
    void StopWorker(WorkerSlot slot);
    void StopWorkerLocked(WorkerSlot slot);
    void TickerThread();
    void DeviceWatchThread();
    void ButtonWatchThread();
    void SurveyThread();
    void RadioThread();
    void SortNetworks(int low, int high);
    int PartitionNetworks(int low, int high);
    bool GetAdapterAddressFromSystem(char (&out)[16]);
    void KeepRadioSettings();
    bool WaitForAccessPoint();
    void EnterApMode(int attempts);
    void TurnRadioOn();
    void RunIpconfig(const char* command, const char* connection);
    bool RunDhcpProgram(const std::string& arguments);

    CDriverGate lib;
    CClock& clock;
    CRegistry& registry;
    CSystemAdapters& systemAdapters;
    CLauncher& launcher;
    CSharingService& sharingService;
    // A slot is stopped and started by several threads (the UI, the device
    // watch, the survey worker); one lock per slot keeps that whole.
    std::unique_ptr<CClockMutex> slotLocks[WorkerSlotCount];
    // Set first by the destructor: from then on no worker is started.
    std::atomic<bool> destroying = false;
};
