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

#include "sim/CSimWorld.h"
#include "sim/SimVerbs.h"

namespace {

using Deadline = std::chrono::steady_clock::time_point;

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
    return SimAnswer(world, line);
}
