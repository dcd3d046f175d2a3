#include "sim/CSimWorld.h"

#include <algorithm>
#include <cstring>

#include "sim/SimDeviceBroadcast.h"
#include "sim/SimWpsPin.h"

CSimWorld::CSimWorld(CClock& clock) : clock(clock)
{
    Configure(SimAdapterSettings{});
}

void CSimWorld::Configure(const SimAdapterSettings& newSettings)
{
    std::lock_guard lock(mutex);
    settings = newSettings;
    LoseSessionLocked();
    initFailuresLeft = settings.initFailures;
}

SimAdapterSettings CSimWorld::Settings()
{
    std::lock_guard lock(mutex);
    return settings;
}

bool CSimWorld::AddNetwork(SimNetwork& network, std::string& error)
{
    SimNetwork stored = network;
    if (!stored.Finish(error))
        return false;
    std::lock_guard lock(mutex);
    if (stored.bssid == std::array<uint8_t, 6>{}) {
        // A locally administered address nobody else has.
        for (int n = 1; n < 256 && (stored.bssid == std::array<uint8_t, 6>{} || FindLocked(stored.bssid)); ++n)
            stored.bssid = {0x02, 0x5a, 0x00, 0x00, 0x00, uint8_t(n)};
    }
    if (FindLocked(stored.bssid)) {
        error = "a network with bssid " + SimMacText(stored.bssid) + " exists";
        return false;
    }
    networks.push_back(stored);
    network = std::move(stored);
    return true;
}

int CSimWorld::RemoveNetworks(std::string_view ssidOrBssid)
{
    std::lock_guard lock(mutex);
    std::array<uint8_t, 6> bssid{};
    bool byBssid = SimParseMac(ssidOrBssid, bssid);
    auto doomed = [&](const SimNetwork& n) { return byBssid ? n.bssid == bssid : n.ssid == ssidOrBssid; };
    if (link.Active()) {
        SimNetwork* linked = FindLocked(link.Bssid());
        if (linked && doomed(*linked))
            link.Drop();
    }
    auto end = std::remove_if(networks.begin(), networks.end(), doomed);
    int removed = int(networks.end() - end);
    networks.erase(end, networks.end());
    return removed;
}

bool CSimWorld::SetNetwork(const std::array<uint8_t, 6>& bssid,
                           const std::vector<std::pair<std::string, std::string>>& changes, std::string& error)
{
    std::lock_guard lock(mutex);
    SimNetwork* network = FindLocked(bssid);
    if (!network) {
        error = "no network with bssid " + SimMacText(bssid);
        return false;
    }
    SimNetwork changed = *network;
    for (const auto& [key, value] : changes)
        if (!changed.Set(key, value, error))
            return false;
    if (!changed.Finish(error))
        return false;
    if (changed.bssid != bssid && FindLocked(changed.bssid)) {
        error = "a network with bssid " + SimMacText(changed.bssid) + " exists";
        return false;
    }
    if (link.Active() && link.Bssid() == bssid && !link.SurvivesChange(changed))
        link.Drop();
    *network = std::move(changed);
    return true;
}

void CSimWorld::RemoveAllNetworks()
{
    std::lock_guard lock(mutex);
    link.Drop();
    networks.clear();
}

std::vector<SimNetworkState> CSimWorld::Networks()
{
    Ms now = clock.Now();
    std::lock_guard lock(mutex);
    bool up = LinkStateLocked(now) == LinkUp;
    std::vector<SimNetworkState> states;
    for (const SimNetwork& n : networks)
        states.push_back({n, n.QualityAt(now.count()), up && n.bssid == link.Bssid()});
    return states;
}

bool CSimWorld::Plug()
{
    {
        std::lock_guard lock(mutex);
        if (settings.plugged)
            return false;
        settings.plugged = true;
        LoseSessionLocked();
        initFailuresLeft = settings.initFailures;
    }
    NotifyDevice(DeviceArrival);
    return true;
}

bool CSimWorld::Unplug()
{
    {
        std::lock_guard lock(mutex);
        if (!settings.plugged)
            return false;
        LoseSessionLocked();
        settings.plugged = false;
    }
    NotifyDevice(DeviceRemoveComplete);
    return true;
}

bool CSimWorld::Disable()
{
    std::lock_guard lock(mutex);
    if (!settings.plugged || settings.disabled)
        return false;
    LoseSessionLocked();
    settings.disabled = true;
    return true;
}

bool CSimWorld::Enable()
{
    std::lock_guard lock(mutex);
    if (!settings.plugged || !settings.disabled)
        return false;
    settings.disabled = false;
    initFailuresLeft = settings.initFailures;
    return true;
}

void CSimWorld::PressWpsButton()
{
    std::lock_guard lock(mutex);
    if (PresentLocked())
        buttonPressed = true;
}

SimStatus CSimWorld::Status()
{
    Ms now = clock.Now();
    std::lock_guard lock(mutex);
    SimStatus status{};
    status.plugged = settings.plugged;
    status.disabled = settings.disabled;
    status.radioOn = radioOn;
    status.apMode = apMode;
    status.softApRunning = AccessPointUpLocked(now);
    status.softApSsid = accessPoint.Ssid();
    status.softApChannel = accessPoint.Channel();
    status.softApSecurity = accessPoint.Security();
    status.softApCipher = accessPoint.Cipher();
    status.softApPassphrase = accessPoint.Passphrase();
    SettlePhonesLocked(now);
    status.phones = phones.Views();
    status.sharing = sharing.Enabled();
    status.sharedConnection = sharing.PublicConnection();
    const SimConnection* shared = FindConnectionLocked(sharing.PublicConnection());
    status.sharedConnectionUp = shared && shared->connected;
    status.softApIcsConnection = sharing.SoftApIcsConnection();
    status.sharingDhcp = sharing.DhcpText();
    status.dhcpServerPid = dhcpServer.Pid();
    status.dhcpServerRange = dhcpServer.Running() ? dhcpServer.Range() : "";
    status.hostedNetwork = hostedNetwork.Running() ? HostedRunning
                           : hostedNetwork.Enabled() ? HostedEnabled
                                                     : HostedDisabled;
    status.wpsRunning = wps.Active();
    status.wpsMethod = wps.Method();
    status.wpsPin = wps.Pin();
    status.link = LinkStateLocked(now);
    if (status.link != LinkDown) {
        status.ssid = link.Ssid();
        status.bssid = link.Bssid();
    }
    status.address = PresentLocked() ? AddressLocked(now) : "0.0.0.0";
    return status;
}

void CSimWorld::SetDeviceChangeListener(std::function<void(uint32_t, const void*)> newListener)
{
    std::lock_guard lock(listenerMutex);
    listener = std::move(newListener);
}

std::string CSimWorld::DeviceName()
{
    std::lock_guard lock(mutex);
    return settings.name;
}

std::string CSimWorld::ConnectionName()
{
    std::lock_guard lock(mutex);
    return settings.connectionName;
}

bool CSimWorld::ReleaseAddress(std::string_view connection)
{
    std::lock_guard lock(mutex);
    if (connection != settings.connectionName)
        return false;
    link.Release();
    return true;
}

bool CSimWorld::RenewAddress(std::string_view connection)
{
    Ms now = clock.Now();
    std::lock_guard lock(mutex);
    if (connection != settings.connectionName)
        return false;
    link.Renew(now, settings.dhcpDelay);
    return true;
}

bool CSimWorld::SystemAdapter(std::string& deviceName, std::string& address)
{
    Ms now = clock.Now();
    std::lock_guard lock(mutex);
    if (!PresentLocked())
        return false;
    deviceName = settings.name;
    address = AddressLocked(now);
    return true;
}

uint32_t CSimWorld::StartDhcpServer(std::string_view server, std::string_view first, std::string_view last)
{
    Ms now = clock.Now();
    std::lock_guard lock(mutex);
    // Above any pid_max Linux allows (2^22), so no real process is shadowed.
    uint32_t pid = 5000000 + ++lastPid;
    SettlePhonesLocked(now);
    return dhcpServer.Start(pid, server, first, last) ? pid : 0;
}

bool CSimWorld::QuitDhcpServer()
{
    Ms now = clock.Now();
    std::lock_guard lock(mutex);
    if (!dhcpServer.Running() || !computer.dhcpQuits)
        return false;
    SettlePhonesLocked(now);
    dhcpServer.Stop();
    return true;
}

bool CSimWorld::TerminateDhcpServer(uint32_t pid)
{
    Ms now = clock.Now();
    std::lock_guard lock(mutex);
    if (!pid || pid != dhcpServer.Pid() || !computer.dhcpTerminable)
        return false;
    SettlePhonesLocked(now);
    dhcpServer.Stop();
    return true;
}

uint32_t CSimWorld::DhcpServerPid()
{
    std::lock_guard lock(mutex);
    return dhcpServer.Pid();
}

void CSimWorld::ConfigureComputer(const SimComputerSettings& newComputer)
{
    std::lock_guard lock(mutex);
    computer = newComputer;
    hostedNetwork.Configure(computer.hostedNetwork);
}

bool CSimWorld::SetHostedNetwork(std::string_view action, std::string& error)
{
    std::lock_guard lock(mutex);
    if (action == "start") {
        // It runs on the adapter, which must be there with its radio on and free.
        if (!PresentLocked() || !radioOn || apMode) {
            error = "the hosted network needs the adapter present, its radio on and in station mode";
            return false;
        }
        if (!hostedNetwork.Start()) {
            error = "the hosted network is disabled";
            return false;
        }
        return true;
    }
    if (action == "stop")
        hostedNetwork.Stop();
    else if (action == "enable" || action == "disable")
        hostedNetwork.SetEnabled(action == "enable");
    else {
        error = "expected start, stop, enable or disable";
        return false;
    }
    return true;
}

bool CSimWorld::AddConnection(SimConnection& connection, std::string& error)
{
    SimConnection stored = connection;
    if (!stored.Finish(error))
        return false;
    std::lock_guard lock(mutex);
    if (FindConnectionLocked(stored.name)) {
        error = "a connection named " + SimQuoted(stored.name) + " exists";
        return false;
    }
    connections.push_back(stored);
    connection = stored;
    return true;
}

void CSimWorld::RemoveAllConnections()
{
    std::lock_guard lock(mutex);
    connections.clear();
}

bool CSimWorld::SetConnectionUp(std::string_view name, bool up)
{
    std::lock_guard lock(mutex);
    SimConnection* connection = FindConnectionLocked(name);
    if (!connection)
        return false;
    connection->connected = up;
    return true;
}

std::vector<SimConnection> CSimWorld::Connections()
{
    std::lock_guard lock(mutex);
    return connections;
}

bool CSimWorld::AddPhone(SimPhone& phone, std::string& error)
{
    SimPhone stored = phone;
    if (!stored.Finish(error))
        return false;
    Ms now = clock.Now();
    std::lock_guard lock(mutex);
    SettlePhonesLocked(now);
    if (!phones.Add(now, stored)) {
        error = "a phone named " + SimQuoted(stored.name) + " is there already";
        return false;
    }
    phone = stored;
    return true;
}

bool CSimWorld::RemovePhone(std::string_view name)
{
    std::lock_guard lock(mutex);
    return phones.Remove(name);
}

void CSimWorld::RemoveAllPhones()
{
    std::lock_guard lock(mutex);
    phones = CSimPhones{};
}

std::vector<SimPhoneView> CSimWorld::Phones()
{
    Ms now = clock.Now();
    std::lock_guard lock(mutex);
    SettlePhonesLocked(now);
    return phones.Views();
}

bool CSimWorld::AccessPointUpLocked(Ms now) const
{
    return apMode && accessPoint.Up(now) && radioOn;
}

bool CSimWorld::DhcpAnswersLocked(Ms now)
{
    return dhcpServer.Running() && PresentLocked() && AddressLocked(now) == dhcpServer.Server();
}

void CSimWorld::SettlePhonesLocked(Ms now)
{
    bool answers = DhcpAnswersLocked(now);
    phones.Settle(now, accessPoint, AccessPointUpLocked(now), settings.linkDelay,
                  [&](const std::vector<std::string>& taken) {
                      return answers ? dhcpServer.FreeAddress(taken) : std::string();
                  });
}

SimConnection* CSimWorld::FindConnectionLocked(std::string_view name)
{
    for (SimConnection& connection : connections)
        if (connection.name == name)
            return &connection;
    return nullptr;
}

std::string CSimWorld::AddressLocked(Ms now)
{
    bool stationUp = LinkStateLocked(now) == LinkUp;
    bool apUp = AccessPointUpLocked(now);
    if (!stationUp && !apUp)
        return "0.0.0.0";
    if (staticAddress)
        return staticIp;
    if (apUp)
        return LinkLocalLocked();
    if (!link.Leased(now))
        return "0.0.0.0";
    const SimNetwork* network = FindLocked(link.Bssid());
    if (!network)
        return "0.0.0.0";
    return network->dhcp ? network->address : LinkLocalLocked();
}

std::string CSimWorld::LinkLocalLocked() const
{
    // The automatic private address the system picks when no lease comes.
    return "169.254." + std::to_string(settings.mac[4] % 254 + 1) + "." + std::to_string(settings.mac[5]);
}

void CSimWorld::LoseSessionLocked()
{
    session = false;
    link.Drop();
    station = CSimStationConfig{};
    accessPoint.Reset(clock.Now());
    hostedNetwork.Stop();
    wps.Stop();
    apMode = false;
    scanReady = false;
    buttonPressed = false;
    radioOn = settings.radioOn;
}

SimNetwork* CSimWorld::FindLocked(const std::array<uint8_t, 6>& bssid)
{
    for (SimNetwork& n : networks)
        if (n.bssid == bssid)
            return &n;
    return nullptr;
}

void CSimWorld::NotifyDevice(uint32_t eventType)
{
    SimDeviceBroadcast record{};
    {
        std::lock_guard lock(mutex);
        record.size = sizeof record;
        record.deviceType = DeviceTypeInterface;
        std::strncpy(record.name, settings.name.c_str(), sizeof record.name - 1);
    }
    // The call runs under the listener's own lock, so that replacing the
    // listener waits for it. No deadlock: listeners only post the
    // notification or ask the library, which takes `mutex` alone, and
    // nothing takes the listener's lock while holding `mutex`.
    std::lock_guard lock(listenerMutex);
    if (listener)
        listener(eventType, &record);
}

CSimWorld::Locked CSimWorld::Lock()
{
    return Locked(*this);
}

CSimWorld::Locked::Locked(CSimWorld& world) : world(world), now(world.clock.Now()), lock(world.mutex)
{
    // The phones act on what they saw up to now, before this call changes anything.
    world.SettlePhonesLocked(now);
}

bool CSimWorld::Locked::OpenSession()
{
    if (!Present())
        return false;
    if (world.session)
        return true;
    if (world.initFailuresLeft > 0) {
        --world.initFailuresLeft;
        return false;
    }
    world.session = true;
    world.scanReady = !world.settings.surveyEmptyFirst;
    return true;
}

void CSimWorld::Locked::CloseSession()
{
    world.session = false;
    world.link.Drop();
    world.accessPoint.Stop(now);
    world.station = CSimStationConfig{};
}

void CSimWorld::Locked::SetRadio(bool on)
{
    if (world.radioOn == on)
        return;
    world.radioOn = on;
    world.link.Drop();
    world.hostedNetwork.Stop();
    // The scan results went with the radio.
    world.scanReady = on && !world.settings.surveyEmptyFirst;
}

std::string CSimWorld::Locked::NextPin()
{
    uint64_t seed = 0;
    for (uint8_t byte : world.settings.mac)
        seed = seed << 8 | byte;
    return SimWpsPin(seed ^ (uint64_t(++world.pinCounter) << 48));
}

int CSimWorld::Locked::Survey(SurveyBuffer& buffer)
{
    if (!world.radioOn || world.apMode || !world.scanReady)
        return 0;
    int count = 0;
    for (const SimNetwork& n : world.networks) {
        if (!n.inRange || count == MaxNetworks)
            continue;
        n.FillRecord(buffer.records[count++], n.QualityAt(now.count()));
    }
    return count;
}

void CSimWorld::Locked::Rescan()
{
    if (world.radioOn && !world.apMode)
        world.scanReady = true;
}

void CSimWorld::Locked::Associate(std::string_view ssid, bool infrastructure)
{
    world.link.Drop();
    CSimStationConfig config = world.station.TakeForAssociation();
    if (!world.radioOn || world.apMode || ssid.empty())
        return;
    const SimNetwork* best = nullptr;
    int bestQuality = -1;
    for (const SimNetwork& n : world.networks) {
        if (!n.inRange || n.ssid != ssid || n.infrastructure != infrastructure)
            continue;
        if (config.HasBssid() && n.bssid != config.Bssid())
            continue;
        int quality = n.QualityAt(now.count());
        if (quality > bestQuality) {
            best = &n;
            bestQuality = quality;
        }
    }
    if (best)
        world.link.Start(now, *best, infrastructure, config, world.settings.linkDelay, world.settings.dhcpDelay);
}

void CSimWorld::Locked::Disassociate()
{
    world.link.Drop();
    world.accessPoint.Stop(now);
}

void CSimWorld::Locked::SwitchToApMode()
{
    // The system's hosted network holds the radio while it runs.
    if (world.apMode || world.hostedNetwork.Running())
        return;
    world.link.Drop();
    world.apMode = true;
}

void CSimWorld::Locked::SwitchToStationMode()
{
    world.apMode = false;
    world.accessPoint.Reset(now);
}

bool CSimWorld::Locked::AccessPointUp() const
{
    return world.AccessPointUpLocked(now);
}

void CSimWorld::Locked::Share(bool enable, std::string_view privateConnection, std::string_view publicConnection)
{
    if (!enable) {
        world.sharing.Set(false, "", "");
        return;
    }
    // The private side is the adapter's connection, by its device or its connection name.
    bool adapter = Present() && (privateConnection == world.settings.name ||
                                 privateConnection == world.settings.connectionName);
    if (adapter && world.FindConnectionLocked(publicConnection))
        world.sharing.Set(true, privateConnection, publicConnection);
}

void CSimWorld::Locked::SetAddress(bool automatic, std::string_view address)
{
    world.staticAddress = !automatic && !address.empty();
    world.staticIp = world.staticAddress ? std::string(address) : std::string();
}
