// zarnwell-sim: changes the simulated adapter and radio world of a running
// Zarnwell, e.g. "zarnwell-sim unplug" or
// "zarnwell-sim add-network 'ssid=Guest Net' security=open".
// Prints the answer; exits 0 when it is "ok ...", 1 otherwise.

#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>

#include "sim/CSimControlServer.h"
#include "sim/SimCommand.h"
#include "sim/SimVerbs.h"

namespace {

constexpr int answerTimeoutMs = 5000;

int Fail(const std::string& message)
{
    std::fprintf(stderr, "zarnwell-sim: %s\n", message.c_str());
    return 1;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 2 || std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0) {
        std::fprintf(stderr, "usage: zarnwell-sim COMMAND [ARGUMENTS]\n");
        for (const SimVerb& verb : SimVerbs())
            std::fprintf(stderr, "  %s%s%s\n", verb.name, *verb.arguments ? " " : "", verb.arguments);
        std::fprintf(stderr, "The keys of add-network and set-network are those of a [Network] section of World.ini.\n"
                             "The socket is $ZARNWELL_SIM_SOCKET, else $XDG_RUNTIME_DIR/zarnwell-sim.sock.\n");
        return 1;
    }
    std::string line;
    for (int i = 1; i < argc; ++i)
        line += (i > 1 ? " " : "") + SimQuoteWord(argv[i]);
    if (line.size() >= CSimControlServer::maxLine)
        return Fail("the command is too long");
    line += '\n';

    std::string path = SimSocketPath();
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (path.empty() || path.size() >= sizeof address.sun_path)
        return Fail("no usable socket path (set ZARNWELL_SIM_SOCKET)");
    std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
    int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return Fail(std::string("cannot make a socket: ") + std::strerror(errno));
    if (connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
        int error = errno;
        close(fd);
        if (error == ENOENT || error == ECONNREFUSED)
            return Fail("no Zarnwell is running (nothing answers at " + path + ")");
        return Fail("cannot reach Zarnwell at " + path + ": " + std::strerror(error));
    }
    size_t sent = 0;
    while (sent < line.size()) {
        ssize_t n = send(fd, line.data() + sent, line.size() - sent, MSG_NOSIGNAL);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            close(fd);
            return Fail("Zarnwell closed the connection");
        }
        sent += size_t(n);
    }
    std::string answer;
    for (;;) {
        pollfd p{fd, POLLIN, 0};
        int ready = poll(&p, 1, answerTimeoutMs);
        if (ready < 0 && errno == EINTR)
            continue;
        if (ready <= 0)
            break;
        char buffer[4096];
        ssize_t n = read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        answer.append(buffer, size_t(n));
        if (answer.find('\n') != std::string::npos)
            break;
    }
    close(fd);
    size_t end = answer.find('\n');
    if (end == std::string::npos)
        return Fail("no answer from Zarnwell");
    answer.resize(end);
    std::printf("%s\n", answer.c_str());
    return answer.rfind("ok", 0) == 0 ? 0 : 1;
}
