#include "sim/SimVerbs.h"

#include <limits>

#include "sim/CSimWorld.h"
#include "sim/SimCommand.h"

namespace {

using Words = std::vector<std::string>;
using Settings = std::vector<std::pair<std::string, std::string>>;

constexpr size_t many = std::numeric_limits<size_t>::max();

bool SplitSettings(const Words& words, size_t from, Settings& settings, std::string& error)
{
    for (size_t i = from; i < words.size(); ++i) {
        size_t equals = words[i].find('=');
        if (equals == std::string::npos || equals == 0) {
            error = "expected key=value, got " + SimQuoteWord(words[i]);
            return false;
        }
        settings.emplace_back(words[i].substr(0, equals), words[i].substr(equals + 1));
    }
    return true;
}

std::string Describe(const SimNetworkState& state)
{
    const SimNetwork& n = state.network;
    std::string text = "bssid=" + SimMacText(n.bssid) + " ssid=" + SimQuoted(n.ssid);
    if (n.hidden)
        text += " hidden=yes";
    text += std::string(" security=") + SimSecurityName(n.security) + " channel=" + std::to_string(n.channel) +
            " quality=" + std::to_string(state.quality) + " type=" + (n.infrastructure ? "infrastructure" : "adhoc") +
            " in_range=" + (n.inRange ? "yes" : "no") + " dhcp=" + (n.dhcp ? "yes" : "no");
    if (state.linked)
        text += " linked";
    return text;
}

// Settings on the network a BSSID names.
std::string SetNetwork(CSimWorld& world, const std::string& bssidText, const Settings& settings)
{
    std::array<uint8_t, 6> bssid{};
    if (!SimParseMac(bssidText, bssid))
        return "error: " + SimQuoted(bssidText) + " is not a bssid";
    std::string error;
    if (!world.SetNetwork(bssid, settings, error))
        return "error: " + error;
    return "ok " + SimMacText(bssid);
}

std::string Plug(CSimWorld& world, const Words&)
{
    return world.Plug() ? "ok plugged" : "error: the adapter is plugged in already";
}

std::string Unplug(CSimWorld& world, const Words&)
{
    return world.Unplug() ? "ok unplugged" : "error: the adapter is not plugged in";
}

std::string Disable(CSimWorld& world, const Words&)
{
    return world.Disable() ? "ok disabled" : "error: the adapter is not plugged in and enabled";
}

std::string Enable(CSimWorld& world, const Words&)
{
    return world.Enable() ? "ok enabled" : "error: the adapter is not plugged in and disabled";
}

std::string PressWps(CSimWorld& world, const Words&)
{
    SimStatus status = world.Status();
    if (!status.plugged || status.disabled)
        return "error: the adapter is not plugged in and enabled";
    world.PressWpsButton();
    return "ok wps button pressed";
}

const char* PhoneStateName(SimPhoneState state)
{
    return state == PhoneJoined ? "joined" : state == PhoneRefused ? "refused" : "away";
}

std::string Status(CSimWorld& world, const Words&)
{
    SimStatus s = world.Status();
    std::string text = std::string("ok adapter=") + (!s.plugged ? "unplugged" : s.disabled ? "disabled" : "plugged") +
                       " radio=" + (s.radioOn ? "on" : "off") + " mode=" + (s.apMode ? "access-point" : "station");
    if (s.apMode && s.softApRunning) {
        text += " access-point=running ssid=" + SimQuoted(s.softApSsid) + " channel=" +
                std::to_string(s.softApChannel) + " security=" + SimSecurityName(s.softApSecurity);
        if (s.softApCipher)
            text += std::string(" cipher=") + (s.softApCipher == CipherTkip ? "tkip" : "aes");
        if (s.softApSecurity != SecurityOpen)
            text += " passphrase=" + SimQuoted(s.softApPassphrase);
        int clients = 0;
        std::string phones;
        for (const SimPhoneView& view : s.phones) {
            if (view.state == PhoneAway)
                continue;
            clients += view.state == PhoneJoined;
            phones += " phone=" + SimQuoted(view.phone.name) + " " + PhoneStateName(view.state);
            if (view.state == PhoneJoined)
                phones += " address=" + (view.address.empty() ? std::string("none") : view.address);
        }
        text += " clients=" + std::to_string(clients) + phones;
    } else if (s.apMode) {
        text += " access-point=stopped";
    }
    if (s.sharing)
        text += " sharing=" + SimQuoted(s.sharedConnection) + " internet=" + (s.sharedConnectionUp ? "up" : "down");
    if (!s.softApIcsConnection.empty())
        text += " softap-ics=" + SimQuoted(s.softApIcsConnection);
    if (!s.sharingDhcp.empty())
        text += " sharing-dhcp=" + SimQuoted(s.sharingDhcp);
    if (s.dhcpServerPid)
        text += " dhcp-server=running pid=" + std::to_string(s.dhcpServerPid) + " range=" + s.dhcpServerRange;
    if (s.hostedNetwork != HostedDisabled)
        text += std::string(" hosted-network=") + (s.hostedNetwork == HostedRunning ? "running" : "enabled");
    if (s.wpsRunning)
        text += " wps=running method=" + std::to_string(s.wpsMethod) + " pin=" + SimQuoted(s.wpsPin);
    text += std::string(" link=") + (s.link == LinkUp ? "up" : s.link == LinkAssociating ? "associating" : "down");
    if (s.link != LinkDown)
        text += " ssid=" + SimQuoted(s.ssid) + " bssid=" + SimMacText(s.bssid);
    return text + " address=" + s.address;
}

std::string Networks(CSimWorld& world, const Words&)
{
    std::vector<SimNetworkState> networks = world.Networks();
    std::string text = "ok " + std::to_string(networks.size()) + " networks";
    for (size_t i = 0; i < networks.size(); ++i)
        text += (i ? "; " : ": ") + Describe(networks[i]);
    return text;
}

std::string AddNetwork(CSimWorld& world, const Words& arguments)
{
    Settings settings;
    std::string error;
    if (!SplitSettings(arguments, 0, settings, error))
        return "error: " + error;
    SimNetwork network;
    for (const auto& [key, value] : settings)
        if (!network.Set(key, value, error))
            return "error: " + error;
    if (!world.AddNetwork(network, error))
        return "error: " + error;
    // As stored: the world may have given it its BSSID.
    return "ok added " + Describe({network, network.quality, false});
}

std::string RemoveNetwork(CSimWorld& world, const Words& arguments)
{
    int removed = world.RemoveNetworks(arguments[0]);
    if (!removed)
        return "error: no network " + SimQuoted(arguments[0]);
    return "ok removed " + std::to_string(removed);
}

std::string SetNetworkVerb(CSimWorld& world, const Words& arguments)
{
    Settings settings;
    std::string error;
    if (!SplitSettings(arguments, 1, settings, error))
        return "error: " + error;
    return SetNetwork(world, arguments[0], settings);
}

std::string Signal(CSimWorld& world, const Words& arguments)
{
    return SetNetwork(world, arguments[0], {{"quality", arguments[1]}});
}

std::string Range(CSimWorld& world, const Words& arguments)
{
    if (arguments[1] != "in" && arguments[1] != "out")
        return SimUsageError("range");
    return SetNetwork(world, arguments[0], {{"in_range", arguments[1] == "in" ? "yes" : "no"}});
}

std::string Phones(CSimWorld& world, const Words&)
{
    std::vector<SimPhoneView> phones = world.Phones();
    std::string text = "ok " + std::to_string(phones.size()) + " phones";
    for (size_t i = 0; i < phones.size(); ++i) {
        const SimPhoneView& view = phones[i];
        text += (i ? "; " : ": ") + std::string("name=") + SimQuoted(view.phone.name) +
                " mac=" + SimMacText(view.phone.mac) + " state=" + PhoneStateName(view.state);
        if (!view.address.empty())
            text += " address=" + view.address;
    }
    return text;
}

std::string PhoneJoin(CSimWorld& world, const Words& arguments)
{
    Settings settings;
    std::string error;
    if (!SplitSettings(arguments, 0, settings, error))
        return "error: " + error;
    SimPhone phone;
    for (const auto& [key, value] : settings)
        if (!phone.Set(key, value, error))
            return "error: " + error;
    if (!world.AddPhone(phone, error))
        return "error: " + error;
    // It joins, or is refused, once it has tried.
    return "ok phone " + SimQuoted(phone.name) + " mac=" + SimMacText(phone.mac) + " tries to join";
}

std::string PhoneLeave(CSimWorld& world, const Words& arguments)
{
    if (!world.RemovePhone(arguments[0]))
        return "error: no phone " + SimQuoted(arguments[0]);
    return "ok phone " + SimQuoted(arguments[0]) + " left";
}

std::string Connections(CSimWorld& world, const Words&)
{
    std::vector<SimConnection> connections = world.Connections();
    std::string text = "ok " + std::to_string(connections.size()) + " connections";
    for (size_t i = 0; i < connections.size(); ++i) {
        const SimConnection& c = connections[i];
        text += (i ? "; " : ": ") + std::string("name=") + SimQuoted(c.name) + " device=" + SimQuoted(c.device) +
                " media=" + SimMediaName(c.media) + " connected=" + (c.connected ? "yes" : "no") +
                " speed=" + std::to_string(c.speedMbps) + " characteristics=" + std::to_string(c.characteristics) +
                " guid=" + c.guid;
    }
    return text;
}

std::string Connection(CSimWorld& world, const Words& arguments)
{
    if (arguments[1] != "up" && arguments[1] != "down")
        return SimUsageError("connection");
    if (!world.SetConnectionUp(arguments[0], arguments[1] == "up"))
        return "error: no connection " + SimQuoted(arguments[0]);
    return "ok " + SimQuoted(arguments[0]) + " " + arguments[1];
}

std::string HostedNetwork(CSimWorld& world, const Words& arguments)
{
    std::string error;
    if (!world.SetHostedNetwork(arguments[0], error))
        return "error: " + error;
    return "ok hosted network " + arguments[0];
}

} // namespace

const std::vector<SimVerb>& SimVerbs()
{
    static const std::vector<SimVerb> verbs = {
        {"plug", "", 0, 0, Plug},
        {"unplug", "", 0, 0, Unplug},
        {"disable", "", 0, 0, Disable},
        {"enable", "", 0, 0, Enable},
        {"press-wps", "", 0, 0, PressWps},
        {"status", "", 0, 0, Status},
        {"networks", "", 0, 0, Networks},
        {"add-network", "key=value ...", 1, many, AddNetwork},
        {"remove-network", "ssid|bssid", 1, 1, RemoveNetwork},
        {"set-network", "bssid key=value ...", 2, many, SetNetworkVerb},
        {"signal", "bssid quality", 2, 2, Signal},
        {"range", "bssid in|out", 2, 2, Range},
        {"phones", "", 0, 0, Phones},
        {"phone-join", "name=NAME passphrase=TEXT [ssid=TEXT] [security=open|wpa-psk|wpa2-psk] [mac=MAC]", 1, many,
         PhoneJoin},
        {"phone-leave", "name", 1, 1, PhoneLeave},
        {"connections", "", 0, 0, Connections},
        {"connection", "name up|down", 2, 2, Connection},
        {"hosted-network", "start|stop|enable|disable", 1, 1, HostedNetwork},
    };
    return verbs;
}

std::string SimUsageError(std::string_view verb)
{
    for (const SimVerb& v : SimVerbs())
        if (v.name == verb)
            return "error: usage: " + std::string(verb) + (*v.arguments ? " " : "") + v.arguments;
    return "error: usage: " + std::string(verb);
}

std::string SimAnswer(CSimWorld& world, std::string_view line)
{
    Words words;
    std::string error;
    if (!SimSplitCommand(line, words, error))
        return "error: " + error;
    if (words.empty())
        return "error: no command";
    std::string names;
    for (const SimVerb& verb : SimVerbs()) {
        names += (names.empty() ? "" : ", ") + std::string(verb.name);
        if (verb.name != words[0])
            continue;
        Words arguments(words.begin() + 1, words.end());
        if (arguments.size() < verb.minArguments || arguments.size() > verb.maxArguments)
            return SimUsageError(verb.name);
        return verb.run(world, arguments);
    }
    return "error: unknown command " + SimQuoted(words[0]) + " (" + names + ")";
}
