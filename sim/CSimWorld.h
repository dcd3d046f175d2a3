#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/Clock.h"
#include "sim/SimAdapterSettings.h"
#include "sim/SimNetwork.h"

class CSimDriverLibrary;

enum SimLinkState {
    LinkDown,
    LinkAssociating, // an association attempt runs
    LinkUp,
};

// What `status` shows.
struct SimStatus {
    bool plugged;
    bool disabled;
    bool radioOn;
    bool apMode;
    bool softApRunning;
    std::string softApSsid;
    int softApChannel;
    int softApAuthMode;       // as RT_SetAuthenticaionMode numbers it
    int softApEncryption;     // as RT_SetEncryptionStatus numbers it
    std::string softApPassphrase;
    bool sharing;            // connection sharing switched on
    std::string sharedConnection;
    std::string softApIcsConnection; // empty while off
    std::string sharingDhcp;         // what ICS_DHCP_Enable was told: "server first-last"
    bool dhcpServerRunning;
    bool wpsRunning;
    int wpsMethod;            // as RT_Debug_Methodflag numbers it
    std::string wpsPin;
    SimLinkState link;
    std::string ssid;
    std::array<uint8_t, 6> bssid;
    std::string address; // "0.0.0.0" without one
};

struct SimNetworkState {
    SimNetwork network;
    int quality; // now, with drift
    bool linked;
};

// The simulated USB adapter and the radio world around it: the access points
// in range, their DHCP servers, and the machine's TCP/IP, sharing and DHCP
// server state for the adapter. Everything that depends on time (the link
// coming up after association, the lease after the DHCP delay, drifting
// signal) is worked out from clock.Now() when asked, so the world has no
// threads and runs in mock time; nothing here ever waits.
//
// All state is behind one mutex; every operation may be called from any
// thread. The device-change listener is called without that lock held.
class CSimWorld {
public:
    explicit CSimWorld(CClock& clock);

    void Configure(const SimAdapterSettings& settings);
    SimAdapterSettings Settings();

    // The network must Finish; its BSSID must be new. On success `network`
    // is what was stored: finished, and with the BSSID the world gave it.
    bool AddNetwork(SimNetwork& network, std::string& error);
    // By BSSID text, else every network of that SSID; the number removed.
    int RemoveNetworks(std::string_view ssidOrBssid);
    // key=value settings on the network with `bssid`, all or none.
    bool SetNetwork(const std::array<uint8_t, 6>& bssid,
                    const std::vector<std::pair<std::string, std::string>>& settings, std::string& error);
    std::vector<SimNetworkState> Networks();
    void RemoveAllNetworks();

    // The hardware: plugging sends an arrival, unplugging a removal.
    bool Plug();
    bool Unplug();
    bool Disable();
    bool Enable();
    void PressWpsButton();
    SimStatus Status();

    // Called with (event type, event data) on plug and unplug, as the system
    // notifies its windows; the data is a SimDeviceBroadcast. Replacing the
    // listener waits for a call in flight, so whatever the old one points to
    // may go once this returns. A listener must not replace the listener.
    void SetDeviceChangeListener(std::function<void(uint32_t, const void*)> listener);

    // The machine around the adapter.
    std::string DeviceName();
    std::string ConnectionName();
    // "ipconfig /release" and "/renew" of the adapter's connection; false for another name.
    bool ReleaseAddress(std::string_view connection);
    bool RenewAddress(std::string_view connection);
    // The adapter as the system's adapter list shows it; false while it is not present.
    bool SystemAdapter(std::string& deviceName, std::string& address);
    // The DHCP server program for the adapter's clients.
    void StartDhcpServer(std::string_view server, std::string_view first, std::string_view last);
    void StopDhcpServer();
    bool DhcpServerRunning();

private:
    friend class CSimDriverLibrary;

    // What the station side of the adapter has been told to use for its next association.
    struct StationConfig {
        int ieee8021x = 0;
        int channel = 1;
        bool hasBssid = false;
        std::array<uint8_t, 6> bssid{};
        int privacy = 0;
        int keySize = 0x40;
        int authMode = 0;
        int encryptionStatus = 1;
        int securityCipher = 0;
        int defaultKeyId = 0;
        std::array<std::string, 4> wepKeys;
        bool hasPassphrase = false;
        std::string passphrase;
        bool hasPmk = false;
        std::array<uint8_t, 32> pmk{};
        // The key handed over with request 0x813BFE1C, for the network it names.
        bool hasHandoverPmk = false;
        std::string handoverSsid;
        std::array<uint8_t, 6> handoverBssid{};
        std::array<uint8_t, 32> handoverPmk{};
        bool hasAdhocKey = false;
        std::array<uint8_t, 32> adhocKey{};
    };

    // One association: accepted ones come up after the link delay; refused
    // ones show as an attempt for as long and then end.
    struct Link {
        bool active = false;
        bool accepted = false;
        bool infrastructure = true;
        std::array<uint8_t, 6> bssid{};
        std::string ssid;
        Ms startedAt{0};
        Ms addressAt{0};
        bool released = false;
        int encryption = 1;     // as RT_GetStatusSecurityInfo reports it
        int authentication = 0;
        StationConfig config;  // kept to judge again when the network changes
    };

    struct SoftAp {
        bool running = false;
        std::string ssid;
        int channel = 1;
        int authMode = 0;
        int encryptionStatus = 1;
        std::string passphrase;
    };

    struct Sharing {
        int enabled = 0;
        std::string privateConnection;
        std::string publicConnection;
        bool softApIcs = false;
        std::string softApIcsConnection;
        std::string dhcpServer;
        std::string dhcpFirst;
        std::string dhcpLast;
    };

    struct DhcpServer {
        bool running = false;
        std::string server;
        std::string first;
        std::string last;
    };

    struct Wps {
        bool active = false;
        int method = 0;
        std::string pin;
    };

    bool PresentLocked() const { return settings.plugged && !settings.disabled; }
    bool SessionLocked() const { return PresentLocked() && session; }
    // Ends attempts whose time is up.
    void SettleLocked(Ms now);
    SimLinkState LinkStateLocked(Ms now);
    std::string AddressLocked(Ms now);
    std::string LinkLocalLocked() const;
    void DropLinkLocked();
    void LoseSessionLocked();
    SimNetwork* FindLocked(const std::array<uint8_t, 6>& bssid);
    // The access point's verdict on an association with `config`; on
    // acceptance, the security values the link reports.
    bool JudgeLocked(const SimNetwork& network, const StationConfig& config, bool infrastructure,
                     int& encryption, int& authentication) const;
    // RT_ACM_LinkVuvProfileNew for a station.
    void AssociateLocked(Ms now, std::string_view ssid, bool infrastructure);
    void NotifyDevice(uint32_t eventType);

    CClock& clock;
    std::mutex mutex;
    SimAdapterSettings settings;
    std::vector<SimNetwork> networks;
    bool session = false; // RT_Initialize succeeded and nothing has ended it since
    int initFailuresLeft = 0;
    bool radioOn = true;
    bool scanReady = false;
    bool buttonPressed = false;
    bool apMode = false;
    int powerSaveMode = 0;
    std::array<int, 5> rates{1, 0, 0, 0, 0};
    int preambleMode = 0;
    std::array<uint8_t, 572> handover{};
    StationConfig station;
    Link link;
    SoftAp softAp;
    bool staticAddress = false;
    std::string staticIp;
    Sharing sharing;
    DhcpServer dhcpServer;
    Wps wps;
    uint32_t pinCounter = 0;
    // Held while the listener runs; taken before `mutex`, never inside it.
    std::mutex listenerMutex;
    std::function<void(uint32_t, const void*)> listener;
};
