#include "sim/CSimControlServer.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <utility>
#include <vector>

#include "sim/CSimWorld.h"
#include "sim/SimCommand.h"

namespace {

using Deadline = std::chrono::steady_clock::time_point;

// How long a client may take from its connection to the end of its answer, so
// that a slow one cannot hold the server for more than that.
constexpr std::chrono::milliseconds clientTime{2000};

// How long to wait before accepting again when accept fails for want of
// descriptors or memory.
constexpr int acceptBackoffMs = 100;

// Milliseconds left until `deadline`, 0 once it has passed.
int MsLeft(Deadline deadline)
{
    auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
    return left.count() > 0 ? int(left.count()) : 0;
}

bool MakeAddress(const std::string& path, sockaddr_un& address)
{
    std::memset(&address, 0, sizeof address);
    address.sun_family = AF_UNIX;
    if (path.empty() || path.size() >= sizeof address.sun_path)
        return false;
    std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
    return true;
}

// Waits until `connection` is ready for `events`; false once the deadline has
// passed or `wakeFd` says the server stops.
bool Await(int connection, short events, int wakeFd, Deadline deadline)
{
    for (;;) {
        int left = MsLeft(deadline);
        if (left == 0)
            return false;
        pollfd fds[2] = {{connection, events, 0}, {wakeFd, POLLIN, 0}};
        int ready = poll(fds, 2, left);
        if (ready < 0 && errno == EINTR)
            continue;
        return ready > 0 && !fds[1].revents;
    }
}

// Whether a server answers on the socket file at `path`.
bool SomeoneListens(const sockaddr_un& address)
{
    int probe = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (probe < 0)
        return false;
    bool answered = connect(probe, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
    close(probe);
    return answered;
}

bool SplitSettings(const std::vector<std::string>& words, size_t from,
                   std::vector<std::pair<std::string, std::string>>& settings, std::string& error)
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

} // namespace

CSimControlServer::CSimControlServer(CSimWorld& world, std::string path) : world(world), path(std::move(path)) {}

CSimControlServer::~CSimControlServer()
{
    if (thread.joinable()) {
        char byte = 1;
        (void)!write(wake[1], &byte, 1);
        thread.join();
    }
    if (listener >= 0) {
        close(listener);
        unlink(path.c_str());
    }
    for (int fd : wake)
        if (fd >= 0)
            close(fd);
}

bool CSimControlServer::Start()
{
    sockaddr_un address;
    if (listener >= 0 || !MakeAddress(path, address))
        return false;
    struct stat info;
    if (lstat(path.c_str(), &info) == 0) {
        // Only a dead socket is ours to replace; anything else stays as it is.
        if (!S_ISSOCK(info.st_mode) || SomeoneListens(address) || unlink(path.c_str()) != 0)
            return false;
    }
    int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return false;
    // The socket file is made with the socket's own mode, so nobody else can
    // connect even for a moment.
    fchmod(fd, 0600);
    if (bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
        close(fd);
        return false;
    }
    if (chmod(path.c_str(), 0600) != 0 || listen(fd, 8) != 0 || pipe2(wake, O_CLOEXEC) != 0) {
        close(fd);
        unlink(path.c_str());
        return false;
    }
    listener = fd;
    thread = std::thread([this] { Serve(); });
    return true;
}

void CSimControlServer::Serve()
{
    for (;;) {
        pollfd fds[2] = {{listener, POLLIN, 0}, {wake[0], POLLIN, 0}};
        if (poll(fds, 2, -1) < 0) {
            if (errno == EINTR)
                continue;
            return;
        }
        if (fds[1].revents)
            return;
        if (!(fds[0].revents & POLLIN))
            continue;
        int connection = accept4(listener, nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK);
        if (connection < 0) {
            // Out of descriptors (EMFILE) the client stays queued and the
            // listener readable: without a pause the loop would spin.
            if (errno != EINTR && errno != EAGAIN && errno != ECONNABORTED) {
                pollfd pause{wake[0], POLLIN, 0};
                poll(&pause, 1, acceptBackoffMs);
            }
            continue;
        }
        ServeConnection(connection);
        close(connection);
    }
}

void CSimControlServer::ServeConnection(int connection)
{
    // The connection does not block: every wait is a poll under the deadline,
    // so neither a slow sender nor a client that never reads holds the server.
    Deadline deadline = std::chrono::steady_clock::now() + clientTime;
    std::string line;
    bool complete = false;
    while (!complete && line.size() <= maxLine) {
        char buffer[512];
        ssize_t got = read(connection, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
            if (!Await(connection, POLLIN, wake[0], deadline))
                return;
            continue;
        }
        if (got < 0)
            return;
        if (got == 0) {
            complete = !line.empty();
            break;
        }
        line.append(buffer, size_t(got));
        size_t end = line.find('\n');
        if (end != std::string::npos) {
            line.resize(end);
            complete = true;
        }
    }
    std::string answer = line.size() > maxLine ? "error: line longer than " + std::to_string(maxLine) + " bytes"
                         : complete           ? Answer(line)
                                              : "error: no command";
    answer += '\n';
    size_t sent = 0;
    while (sent < answer.size()) {
        ssize_t n = send(connection, answer.data() + sent, answer.size() - sent, MSG_NOSIGNAL);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
            if (!Await(connection, POLLOUT, wake[0], deadline))
                return;
            continue;
        }
        if (n <= 0)
            return;
        sent += size_t(n);
    }
}

std::string CSimControlServer::Answer(std::string_view line)
{
    std::vector<std::string> words;
    std::string error;
    if (!SimSplitCommand(line, words, error))
        return "error: " + error;
    if (words.empty())
        return "error: no command";
    const std::string& verb = words[0];
    size_t arguments = words.size() - 1;
    auto usage = [&](const char* text) { return "error: usage: " + verb + text; };

    if (verb == "plug" || verb == "unplug" || verb == "disable" || verb == "enable") {
        if (arguments)
            return usage("");
        if (verb == "plug")
            return world.Plug() ? "ok plugged" : "error: the adapter is plugged in already";
        if (verb == "unplug")
            return world.Unplug() ? "ok unplugged" : "error: the adapter is not plugged in";
        if (verb == "disable")
            return world.Disable() ? "ok disabled" : "error: the adapter is not plugged in and enabled";
        return world.Enable() ? "ok enabled" : "error: the adapter is not plugged in and disabled";
    }
    if (verb == "press-wps") {
        if (arguments)
            return usage("");
        SimStatus status = world.Status();
        if (!status.plugged || status.disabled)
            return "error: the adapter is not plugged in and enabled";
        world.PressWpsButton();
        return "ok wps button pressed";
    }
    if (verb == "status") {
        if (arguments)
            return usage("");
        SimStatus s = world.Status();
        std::string text = std::string("ok adapter=") + (!s.plugged ? "unplugged" : s.disabled ? "disabled" : "plugged") +
                           " radio=" + (s.radioOn ? "on" : "off") + " mode=" + (s.apMode ? "access-point" : "station");
        if (s.apMode && s.softApRunning)
            text += " access-point=running ssid=" + SimQuoted(s.softApSsid) + " channel=" +
                    std::to_string(s.softApChannel) + " auth=" + std::to_string(s.softApAuthMode) +
                    " encryption=" + std::to_string(s.softApEncryption) + " passphrase=" +
                    SimQuoted(s.softApPassphrase);
        else if (s.apMode)
            text += " access-point=stopped";
        if (s.sharing)
            text += " sharing=" + SimQuoted(s.sharedConnection);
        if (!s.softApIcsConnection.empty())
            text += " softap-ics=" + SimQuoted(s.softApIcsConnection);
        if (!s.sharingDhcp.empty())
            text += " sharing-dhcp=" + SimQuoted(s.sharingDhcp);
        if (s.dhcpServerRunning)
            text += " dhcp-server=running";
        if (s.wpsRunning)
            text += " wps=running method=" + std::to_string(s.wpsMethod) + " pin=" + SimQuoted(s.wpsPin);
        text += std::string(" link=") + (s.link == LinkUp ? "up" : s.link == LinkAssociating ? "associating" : "down");
        if (s.link != LinkDown)
            text += " ssid=" + SimQuoted(s.ssid) + " bssid=" + SimMacText(s.bssid);
        return text + " address=" + s.address;
    }
    if (verb == "networks") {
        if (arguments)
            return usage("");
        std::vector<SimNetworkState> networks = world.Networks();
        std::string text = "ok " + std::to_string(networks.size()) + " networks";
        for (size_t i = 0; i < networks.size(); ++i)
            text += (i ? "; " : ": ") + Describe(networks[i]);
        return text;
    }
    if (verb == "add-network") {
        std::vector<std::pair<std::string, std::string>> settings;
        if (!arguments)
            return usage(" key=value ...");
        if (!SplitSettings(words, 1, settings, error))
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
    if (verb == "remove-network") {
        if (arguments != 1)
            return usage(" ssid|bssid");
        int removed = world.RemoveNetworks(words[1]);
        if (!removed)
            return "error: no network " + SimQuoted(words[1]);
        return "ok removed " + std::to_string(removed);
    }
    if (verb == "set-network" || verb == "signal" || verb == "range") {
        std::array<uint8_t, 6> bssid{};
        std::vector<std::pair<std::string, std::string>> settings;
        if (verb == "set-network") {
            if (arguments < 2)
                return usage(" bssid key=value ...");
            if (!SplitSettings(words, 2, settings, error))
                return "error: " + error;
        } else if (arguments != 2) {
            return usage(verb == "signal" ? " bssid quality" : " bssid in|out");
        } else if (verb == "signal") {
            settings.emplace_back("quality", words[2]);
        } else {
            if (words[2] != "in" && words[2] != "out")
                return usage(" bssid in|out");
            settings.emplace_back("in_range", words[2] == "in" ? "yes" : "no");
        }
        if (!SimParseMac(words[1], bssid))
            return "error: " + SimQuoted(words[1]) + " is not a bssid";
        if (!world.SetNetwork(bssid, settings, error))
            return "error: " + error;
        return "ok " + SimMacText(bssid);
    }
    return "error: unknown command " + SimQuoted(verb) +
           " (plug, unplug, disable, enable, press-wps, status, networks, add-network, remove-network, "
           "set-network, signal, range)";
}
