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
    status.softApRunning = AccessPointUpLocked();
    status.softApSsid = accessPoint.Ssid();
    status.softApChannel = accessPoint.Channel();
    status.softApAuthMode = accessPoint.AuthMode();
    status.softApEncryption = accessPoint.EncryptionStatus();
    status.softApPassphrase = accessPoint.Passphrase();
    status.sharing = sharing.Enabled();
    status.sharedConnection = sharing.PublicConnection();
    status.softApIcsConnection = sharing.SoftApIcsConnection();
    status.sharingDhcp = sharing.DhcpText();
    status.dhcpServerRunning = dhcpServer.Running();
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

void CSimWorld::StartDhcpServer(std::string_view server, std::string_view first, std::string_view last)
{
    std::lock_guard lock(mutex);
    dhcpServer.Start(server, first, last);
}

void CSimWorld::StopDhcpServer()
{
    std::lock_guard lock(mutex);
    dhcpServer.Stop();
}

bool CSimWorld::DhcpServerRunning()
{
    std::lock_guard lock(mutex);
    return dhcpServer.Running();
}

bool CSimWorld::AccessPointUpLocked() const
{
    return apMode && accessPoint.Running() && radioOn;
}

std::string CSimWorld::AddressLocked(Ms now)
{
    bool stationUp = LinkStateLocked(now) == LinkUp;
    bool apUp = AccessPointUpLocked();
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
    accessPoint = CSimAccessPoint{};
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

CSimWorld::Locked::Locked(CSimWorld& world) : world(world), now(world.clock.Now()), lock(world.mutex) {}

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
    world.accessPoint.Stop();
    world.station = CSimStationConfig{};
}

void CSimWorld::Locked::SetRadio(bool on)
{
    if (world.radioOn == on)
        return;
    world.radioOn = on;
    world.link.Drop();
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
    world.accessPoint.Stop();
}

void CSimWorld::Locked::SwitchToApMode()
{
    if (world.apMode)
        return;
    world.link.Drop();
    world.apMode = true;
}

void CSimWorld::Locked::SwitchToStationMode()
{
    world.apMode = false;
    world.accessPoint = CSimAccessPoint{};
}

bool CSimWorld::Locked::AccessPointUp() const
{
    return world.AccessPointUpLocked();
}

void CSimWorld::Locked::SetAddress(bool automatic, std::string_view address)
{
    world.staticAddress = !automatic && !address.empty();
    world.staticIp = world.staticAddress ? std::string(address) : std::string();
}
