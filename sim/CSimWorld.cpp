#include "sim/CSimWorld.h"

#include <algorithm>
#include <cstring>

#include "sim/SimDeviceBroadcast.h"

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
    if (link.active) {
        SimNetwork* linked = FindLocked(link.bssid);
        if (linked && doomed(*linked))
            DropLinkLocked();
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
    if (link.active && link.bssid == bssid) {
        // The access point restarts with its new settings: a station whose
        // credentials no longer fit, or that it can no longer hear, is gone.
        int encryption = 0;
        int authentication = 0;
        bool keeps = changed.inRange && changed.bssid == bssid && changed.ssid == link.ssid &&
                     (!link.accepted ||
                      JudgeLocked(changed, link.config, link.infrastructure, encryption, authentication));
        if (!keeps)
            DropLinkLocked();
    }
    *network = std::move(changed);
    return true;
}

void CSimWorld::RemoveAllNetworks()
{
    std::lock_guard lock(mutex);
    DropLinkLocked();
    networks.clear();
}

std::vector<SimNetworkState> CSimWorld::Networks()
{
    Ms now = clock.Now();
    std::lock_guard lock(mutex);
    bool up = LinkStateLocked(now) == LinkUp;
    std::vector<SimNetworkState> states;
    for (const SimNetwork& n : networks)
        states.push_back({n, n.QualityAt(now.count()), up && n.bssid == link.bssid});
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
    status.softApRunning = apMode && softAp.running && radioOn;
    status.softApSsid = softAp.ssid;
    status.softApChannel = softAp.channel;
    status.softApAuthMode = softAp.authMode;
    status.softApEncryption = softAp.encryptionStatus;
    status.softApPassphrase = softAp.passphrase;
    status.sharing = sharing.enabled != 0;
    status.sharedConnection = sharing.publicConnection;
    status.softApIcsConnection = sharing.softApIcs ? sharing.softApIcsConnection : "";
    if (!sharing.dhcpServer.empty())
        status.sharingDhcp = sharing.dhcpServer + " " + sharing.dhcpFirst + "-" + sharing.dhcpLast;
    status.dhcpServerRunning = dhcpServer.running;
    status.wpsRunning = wps.active;
    status.wpsMethod = wps.method;
    status.wpsPin = wps.pin;
    status.link = LinkStateLocked(now);
    if (status.link != LinkDown) {
        status.ssid = link.ssid;
        status.bssid = link.bssid;
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
    link.released = true;
    return true;
}

bool CSimWorld::RenewAddress(std::string_view connection)
{
    Ms now = clock.Now();
    std::lock_guard lock(mutex);
    if (connection != settings.connectionName)
        return false;
    link.released = false;
    link.addressAt = std::max(now, link.startedAt + settings.linkDelay) + settings.dhcpDelay;
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
    dhcpServer = {true, std::string(server), std::string(first), std::string(last)};
}

void CSimWorld::StopDhcpServer()
{
    std::lock_guard lock(mutex);
    dhcpServer = {};
}

bool CSimWorld::DhcpServerRunning()
{
    std::lock_guard lock(mutex);
    return dhcpServer.running;
}

void CSimWorld::SettleLocked(Ms now)
{
    // A refused association gives up once its handshake would have completed.
    if (link.active && !link.accepted && now >= link.startedAt + settings.linkDelay)
        link = Link{};
}

SimLinkState CSimWorld::LinkStateLocked(Ms now)
{
    SettleLocked(now);
    if (!link.active)
        return LinkDown;
    return link.accepted && now >= link.startedAt + settings.linkDelay ? LinkUp : LinkAssociating;
}

std::string CSimWorld::AddressLocked(Ms now)
{
    bool stationUp = LinkStateLocked(now) == LinkUp;
    bool apUp = apMode && softAp.running && radioOn;
    if (!stationUp && !apUp)
        return "0.0.0.0";
    if (staticAddress)
        return staticIp;
    if (apUp)
        return LinkLocalLocked();
    if (link.released || now < link.addressAt)
        return "0.0.0.0";
    const SimNetwork* network = FindLocked(link.bssid);
    if (!network)
        return "0.0.0.0";
    return network->dhcp ? network->address : LinkLocalLocked();
}

std::string CSimWorld::LinkLocalLocked() const
{
    // The automatic private address the system picks when no lease comes.
    return "169.254." + std::to_string(settings.mac[4] % 254 + 1) + "." + std::to_string(settings.mac[5]);
}

void CSimWorld::DropLinkLocked()
{
    link = Link{};
}

void CSimWorld::LoseSessionLocked()
{
    session = false;
    link = Link{};
    station = StationConfig{};
    softAp = SoftAp{};
    wps = Wps{};
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

bool CSimWorld::JudgeLocked(const SimNetwork& network, const StationConfig& config, bool infrastructure,
                            int& encryption, int& authentication) const
{
    if (network.infrastructure != infrastructure)
        return false;
    // No authentication server anywhere in this world.
    if (config.ieee8021x != 0)
        return false;
    // By what the access point runs, never by what it announces.
    bool privacy = network.OffersPrivacy();
    bool wpaNetwork = network.OffersWpa();
    uint32_t keyManagement = network.OfferedKeyManagement();
    uint32_t pairwise = network.OfferedPairwiseCiphers();

    auto keyFits = [&](const std::array<uint8_t, 32>& key) { return network.hasPmk && key == network.pmk; };
    auto stationKey = [&](std::array<uint8_t, 32>& key) {
        if (config.hasPmk) {
            key = config.pmk;
            return true;
        }
        return config.hasPassphrase && SimDerivePmk(config.passphrase, network.ssid, key);
    };
    // Open system or WEP; on an ad hoc network there is no authentication exchange.
    auto openOrWep = [&](bool shared) {
        if (!config.privacy) {
            if (shared || privacy)
                return false;
            encryption = 1;
            authentication = 0;
            return true;
        }
        if (!privacy || wpaNetwork)
            return false;
        if (infrastructure && shared != network.wepShared)
            return false;
        size_t length = config.keySize == 0x80 ? 13 : 5;
        const std::string& key = config.wepKeys[config.defaultKeyId & 3];
        if (config.defaultKeyId != network.wepIndex || key.size() != length || key != network.wepKeys[network.wepIndex])
            return false;
        encryption = 0;
        authentication = shared ? 1 : 0;
        return true;
    };

    if (!infrastructure) {
        if (config.authMode == 0)
            return openOrWep(false);
        if (config.authMode != 5 || !wpaNetwork || !config.hasAdhocKey || !keyFits(config.adhocKey))
            return false;
        // WPA-None: one group key for all; the cipher is the one the triple names.
        uint32_t cipher = config.securityCipher == 2 ? CipherTkip
                          : config.securityCipher == 3 ? CipherAes
                          : (pairwise & CipherAes ? CipherAes : CipherTkip);
        if (!(pairwise & cipher))
            return false;
        encryption = cipher == CipherTkip ? 4 : 6;
        authentication = 5;
        return true;
    }

    // The library's own numbering of the WPA pairs.
    uint32_t mode = 0;
    uint32_t cipher = 0;
    switch (config.authMode) {
    case 0: return openOrWep(false);
    case 1: return openOrWep(true);
    case 3:
        mode = KeyManagementWpaPsk;
        cipher = config.encryptionStatus == 4 ? CipherTkip : 0;
        break;
    case 6:
        mode = KeyManagementWpaPsk;
        cipher = config.encryptionStatus == 6 ? CipherAes : 0;
        break;
    case 4:
        mode = KeyManagementWpa2Psk;
        cipher = config.encryptionStatus == 6 ? CipherAes : 0;
        break;
    case 7:
        mode = KeyManagementWpa2Psk;
        cipher = config.encryptionStatus == 4 ? CipherTkip : 0;
        break;
    default: return false;
    }
    std::array<uint8_t, 32> key{};
    if (cipher == 0 || !wpaNetwork || !(keyManagement & mode) || !(pairwise & cipher) || !stationKey(key) ||
        !keyFits(key))
        return false;
    // A key handed over for this network is the one the driver installs: it has to fit as well.
    bool handedOver = config.hasHandoverPmk && config.handoverSsid == network.ssid &&
                      (config.handoverBssid == std::array<uint8_t, 6>{} || config.handoverBssid == network.bssid);
    if (handedOver && !keyFits(config.handoverPmk))
        return false;
    encryption = cipher == CipherTkip ? 4 : 6;
    authentication = mode == KeyManagementWpaPsk ? 4 : 7;
    return true;
}

void CSimWorld::AssociateLocked(Ms now, std::string_view ssid, bool infrastructure)
{
    DropLinkLocked();
    StationConfig config = station;
    // A BSSID applies to one association only.
    station.hasBssid = false;
    if (!radioOn || apMode || ssid.empty())
        return;
    const SimNetwork* best = nullptr;
    int bestQuality = -1;
    for (const SimNetwork& n : networks) {
        if (!n.inRange || n.ssid != ssid || n.infrastructure != infrastructure)
            continue;
        if (config.hasBssid && n.bssid != config.bssid)
            continue;
        int quality = n.QualityAt(now.count());
        if (quality > bestQuality) {
            best = &n;
            bestQuality = quality;
        }
    }
    if (!best)
        return;
    link.active = true;
    link.accepted = JudgeLocked(*best, config, infrastructure, link.encryption, link.authentication);
    link.infrastructure = infrastructure;
    link.bssid = best->bssid;
    link.ssid = best->ssid;
    link.startedAt = now;
    link.addressAt = now + settings.linkDelay + settings.dhcpDelay;
    link.config = config;
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
