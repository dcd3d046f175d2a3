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
#include "sim/CSimAccessPoint.h"
#include "sim/CSimDhcpServer.h"
#include "sim/CSimHostedNetwork.h"
#include "sim/CSimLink.h"
#include "sim/CSimPhones.h"
#include "sim/CSimSharing.h"
#include "sim/CSimStationConfig.h"
#include "sim/CSimWps.h"
#include "sim/SimAdapterSettings.h"
#include "sim/SimComputerSettings.h"
#include "sim/SimConnection.h"
#include "sim/SimNetwork.h"
#include "sim/SimPhone.h"

// What `status` shows.
struct SimStatus {
    bool plugged;
    bool disabled;
    bool radioOn;
    bool apMode;
    bool softApRunning;
    std::string softApSsid;
    int softApChannel;
    SimSecurity softApSecurity;
    uint32_t softApCipher; // CipherTkip or CipherAes; 0 without WPA
    std::string softApPassphrase;
    std::vector<SimPhoneView> phones;
    bool sharing;            // connection sharing switched on
    std::string sharedConnection;
    bool sharedConnectionUp; // it is there and connected
    std::string softApIcsConnection; // empty while off
    std::string sharingDhcp;         // what ICS_DHCP_Enable was told: "server first-last"
    uint32_t dhcpServerPid;          // 0 while none runs
    std::string dhcpServerRange;
    SimHostedState hostedNetwork;
    bool wpsRunning;
    int wpsMethod;            // as RT_Debug_Methodflag numbers it
    std::string wpsPin;
    SimLinkState link;
    std::string ssid;
    std::array<uint8_t, 6> bssid;
    std::string address; // "0.0.0.0" without one
};

// What the adapter keeps as it is unless told otherwise.
struct SimAdapterTuning {
    int powerSaveMode = 0;
    std::array<int, 5> rates{1, 0, 0, 0, 0};
    int preambleMode = 0;
};

struct SimNetworkState {
    SimNetwork network;
    int quality; // now, with drift
    bool linked;
};

// The simulated USB adapter and the radio world around it: the access points
// in range, their DHCP servers, the phones near the PC, and the PC itself (its
// network connections, its TCP/IP, sharing and DHCP server state for the
// adapter, the system's hosted access point). Everything that depends on time (the link
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
    // The DHCP server program for the adapter's clients: a new process, its id
    // 0 when one runs already (the new one ends at once).
    uint32_t StartDhcpServer(std::string_view server, std::string_view first, std::string_view last);
    // Its "-q": false when none runs or it ignores the request.
    bool QuitDhcpServer();
    // False when `pid` is not the server or it cannot be terminated.
    bool TerminateDhcpServer(uint32_t pid);
    uint32_t DhcpServerPid();
    bool DhcpServerRunning() { return DhcpServerPid() != 0; }

    // The PC itself: its DHCP program's manners and the system's hosted access point.
    void ConfigureComputer(const SimComputerSettings& computer);
    // The hosted access point: "start", "stop", "enable" or "disable".
    bool SetHostedNetwork(std::string_view action, std::string& error);

    // The PC's network connections besides the adapter's. A connection must
    // Finish, and its name must be new.
    bool AddConnection(SimConnection& connection, std::string& error);
    void RemoveAllConnections();
    // A connection goes up or down; false when there is none of that name.
    bool SetConnectionUp(std::string_view name, bool up);
    std::vector<SimConnection> Connections();

    // Phones near the PC. A phone must Finish, and its name must be new.
    bool AddPhone(SimPhone& phone, std::string& error);
    bool RemovePhone(std::string_view name);
    void RemoveAllPhones();
    std::vector<SimPhoneView> Phones();

    class Locked;
    // The world held under its mutex for as long as the result lives, for
    // the driver library's calls. Never held while calling the listener.
    Locked Lock();

private:
    bool PresentLocked() const { return settings.plugged && !settings.disabled; }
    bool SessionLocked() const { return PresentLocked() && session; }
    SimLinkState LinkStateLocked(Ms now) { return link.State(now); }
    bool AccessPointUpLocked(Ms now) const;
    // Whether the DHCP server answers: running, on the address the adapter holds.
    bool DhcpAnswersLocked(Ms now);
    void SettlePhonesLocked(Ms now);
    SimConnection* FindConnectionLocked(std::string_view name);
    std::string AddressLocked(Ms now);
    std::string LinkLocalLocked() const;
    void LoseSessionLocked();
    SimNetwork* FindLocked(const std::array<uint8_t, 6>& bssid);
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
    SimAdapterTuning tuning;
    CSimStationConfig station;
    CSimLink link;
    CSimAccessPoint accessPoint;
    bool staticAddress = false;
    std::string staticIp;
    CSimSharing sharing;
    CSimDhcpServer dhcpServer;
    CSimWps wps;
    CSimHostedNetwork hostedNetwork;
    CSimPhones phones;
    SimComputerSettings computer;
    std::vector<SimConnection> connections;
    uint32_t pinCounter = 0;
    uint32_t lastPid = 0;
    // Held while the listener runs; taken before `mutex`, never inside it.
    std::mutex listenerMutex;
    std::function<void(uint32_t, const void*)> listener;
};

// The world under its mutex, as the driver library's calls see it: the
// adapter's session, radio and addresses, and the parts of the machine they
// change. The time of the call is taken once, before the lock.
class CSimWorld::Locked {
public:
    explicit Locked(CSimWorld& world);
    Locked(const Locked&) = delete;
    Locked& operator=(const Locked&) = delete;

    Ms Now() const { return now; }
    const SimAdapterSettings& Settings() const { return world.settings; }
    // Plugged in and enabled.
    bool Present() const { return world.PresentLocked(); }
    // Present, with a session that RT_Initialize opened.
    bool Session() const { return world.SessionLocked(); }
    // RT_Initialize: fails as often as the settings say after each plug-in.
    bool OpenSession();
    // RT_Stop: the library lets go of the adapter, its association, its
    // access point and what the station was told for the next one.
    void CloseSession();

    bool RadioOn() const { return world.radioOn; }
    // The link and the scan results go with the radio.
    void SetRadio(bool on);
    bool ButtonPressed() const { return world.buttonPressed; }
    void ForgetButton() { world.buttonPressed = false; }
    SimAdapterTuning& Tuning() { return world.tuning; }
    // The next PIN RT_GEN_PIN makes: a fresh one every time.
    std::string NextPin();

    // RT_SiteSurveyEx: the networks in range, nothing before the first scan.
    int Survey(SurveyBuffer& buffer);
    void Rescan();
    // A station association with the strongest network of that name in range
    // (or the one the BSSID names).
    void Associate(std::string_view ssid, bool infrastructure);
    // The association and the access point end.
    void Disassociate();
    SimLinkState LinkState() { return world.LinkStateLocked(now); }
    const CSimLink& Link() const { return world.link; }
    // The network the link is with; null when it is gone.
    const SimNetwork* LinkedNetwork() { return world.FindLocked(world.link.Bssid()); }

    bool ApMode() const { return world.apMode; }
    void SwitchToApMode();
    void SwitchToStationMode();
    // The access point is announced: access-point mode, up, radio on.
    bool AccessPointUp() const;
    // The phones near it, as they stand now.
    std::vector<SimPhoneView> Phones() const { return world.phones.Views(); }
    CSimHostedNetwork& HostedNetwork() { return world.hostedNetwork; }

    const std::vector<SimConnection>& Connections() const { return world.connections; }
    // Ordinal 2: sharing switched on from a connection of the PC to the
    // adapter's, or off; on takes effect only for names the PC knows.
    void Share(bool enable, std::string_view privateConnection, std::string_view publicConnection);

    // The adapter's address as the system sees it, "0.0.0.0" without one.
    std::string Address() { return world.AddressLocked(now); }
    // An empty or automatic address returns the adapter to DHCP.
    void SetAddress(bool automatic, std::string_view address);

    CSimStationConfig& Station() { return world.station; }
    CSimAccessPoint& AccessPoint() { return world.accessPoint; }
    CSimSharing& Sharing() { return world.sharing; }
    CSimDhcpServer& DhcpServer() { return world.dhcpServer; }
    CSimWps& Wps() { return world.wps; }

private:
    CSimWorld& world;
    Ms now;
    std::lock_guard<std::mutex> lock;
};
