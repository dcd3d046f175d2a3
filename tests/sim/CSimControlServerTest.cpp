#include <fcntl.h>
#include <poll.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <thread>

#include "sim/CSimControlServer.h"
#include "sim/SimCommand.h"
#include "sim/SimVerbs.h"
#include "tests/sim/SimFixture.h"
#include "tests/support/TempDir.h"

namespace {

// How long a test waits for anything the server must do: far beyond the time
// it gives a client, so only a server that never does it fails the test.
constexpr std::chrono::milliseconds patience = CSimControlServer::clientTime * 10;
constexpr int patienceMs = int(patience.count());

// One command over a fresh connection, as zarnwell-sim sends it. A server
// that never answers fails the test after `patience` instead of hanging it.
std::string Send(const std::string& path, const std::string& line)
{
    int fd = socket(AF_UNIX, SOCK_STREAM, 0);
    timeval bound{patienceMs / 1000, 0};
    setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &bound, sizeof bound);
    setsockopt(fd, SOL_SOCKET, SO_SNDTIMEO, &bound, sizeof bound);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strcpy(address.sun_path, path.c_str());
    if (connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
        close(fd);
        return "no connection";
    }
    (void)!write(fd, line.data(), line.size());
    shutdown(fd, SHUT_WR);
    std::string answer;
    char buffer[4096];
    ssize_t n;
    while ((n = read(fd, buffer, sizeof buffer)) > 0)
        answer.append(buffer, size_t(n));
    bool timedOut = n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK);
    close(fd);
    return timedOut ? "no answer" : answer;
}

// A non-blocking connection to `path`, -1 when nobody listens.
int ConnectTo(const std::string& path)
{
    int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strcpy(address.sun_path, path.c_str());
    if (connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
        close(fd);
        return -1;
    }
    return fd;
}

// Whether `fd` becomes readable (data or the server hanging up) within `ms`.
bool Readable(int fd, int ms)
{
    pollfd wait{fd, POLLIN, 0};
    return poll(&wait, 1, ms) > 0;
}

// Like Send, over a connection that does not block: gives up when nothing
// comes for `ms`.
std::string SendWithin(const std::string& path, const std::string& line, int ms = patienceMs)
{
    int fd = ConnectTo(path);
    if (fd < 0)
        return "no connection";
    (void)!send(fd, line.data(), line.size(), MSG_NOSIGNAL);
    std::string answer;
    bool ended = false;
    char buffer[4096];
    while (!ended && Readable(fd, ms)) {
        ssize_t n = read(fd, buffer, sizeof buffer);
        if (n <= 0)
            break;
        answer.append(buffer, size_t(n));
        ended = answer.back() == '\n';
    }
    close(fd);
    return ended ? answer : "no answer";
}

// The process runs out of descriptors while this lives: a low limit, and every
// descriptor below it taken.
class CDescriptorsExhausted {
public:
    explicit CDescriptorsExhausted(int anyOpen)
    {
        getrlimit(RLIMIT_NOFILE, &saved);
        rlimit low = saved;
        low.rlim_cur = std::min<rlim_t>(saved.rlim_cur, 256);
        setrlimit(RLIMIT_NOFILE, &low);
        for (int fd; (fd = dup(anyOpen)) >= 0;)
            taken.push_back(fd);
    }
    ~CDescriptorsExhausted() { Release(); }
    void Release()
    {
        for (int fd : taken)
            close(fd);
        taken.clear();
        setrlimit(RLIMIT_NOFILE, &saved);
    }

private:
    rlimit saved{};
    std::vector<int> taken;
};

double ProcessCpuMs()
{
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return double(now.tv_sec) * 1000 + double(now.tv_nsec) / 1e6;
}

double WallMs()
{
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

class CSimControlServerTest : public SimFixture {
protected:
    CTempDir temp;
    std::string path = temp.File("sim.sock");
};

TEST_F(CSimControlServerTest, CommandsChangeTheWorldThroughARealSocket)
{
    CSimControlServer server(world, path);
    ASSERT_TRUE(server.Start());
    struct stat info;
    ASSERT_EQ(stat(path.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u);

    EXPECT_EQ(Send(path, "add-network \"ssid=Guest Net\" security=wpa2-psk passphrase=\"say \\\"hi\\\" now\" "
                         "bssid=00:aa:bb:cc:dd:01\n"),
              "ok added bssid=00:aa:bb:cc:dd:01 ssid=\"Guest Net\" security=wpa2-psk channel=6 quality=70 "
              "type=infrastructure in_range=yes dhcp=yes\n");
    std::vector<SimNetworkState> networks = world.Networks();
    ASSERT_EQ(networks.size(), 1u);
    EXPECT_EQ(networks[0].network.passphrase, "say \"hi\" now");

    // Without a BSSID the answer shows the one the world gave.
    EXPECT_EQ(Send(path, "add-network ssid=Second channel=11\n"),
              "ok added bssid=02:5a:00:00:00:01 ssid=\"Second\" security=open channel=11 quality=70 "
              "type=infrastructure in_range=yes dhcp=yes\n");
    EXPECT_EQ(Send(path, "remove-network 02:5a:00:00:00:01\n"), "ok removed 1\n");

    EXPECT_EQ(Send(path, "signal 00:aa:bb:cc:dd:01 12\n"), "ok 00:aa:bb:cc:dd:01\n");
    EXPECT_EQ(world.Networks()[0].quality, 12);
    EXPECT_EQ(Send(path, "range 00:aa:bb:cc:dd:01 out\n"), "ok 00:aa:bb:cc:dd:01\n");
    EXPECT_FALSE(world.Networks()[0].network.inRange);
    EXPECT_EQ(Send(path, "set-network 00:aa:bb:cc:dd:01 channel=11 in_range=yes\n"), "ok 00:aa:bb:cc:dd:01\n");
    EXPECT_EQ(world.Networks()[0].network.channel, 11);

    EXPECT_EQ(Send(path, "unplug\n"), "ok unplugged\n");
    EXPECT_FALSE(world.Status().plugged);
    EXPECT_EQ(Send(path, "unplug\n"), "error: the adapter is not plugged in\n");
    EXPECT_EQ(Send(path, "status\n"), "ok adapter=unplugged radio=on mode=station link=down address=0.0.0.0\n");
    EXPECT_EQ(Send(path, "plug\n"), "ok plugged\n");
    EXPECT_EQ(Send(path, "remove-network \"Guest Net\"\n"), "ok removed 1\n");
    EXPECT_TRUE(world.Networks().empty());
}

TEST_F(CSimControlServerTest, BadCommandsAreAnsweredWithAnError)
{
    CSimControlServer server(world, path);
    ASSERT_TRUE(server.Start());
    const std::pair<const char*, const char*> cases[] = {
        {"fly\n", "error: unknown command \"fly\""},
        {"signal 00:11\n", "error: usage: signal bssid quality"},
        {"signal nothere 50\n", "error: \"nothere\" is not a bssid"},
        {"signal 00:aa:bb:cc:dd:09 50\n", "error: no network with bssid 00:aa:bb:cc:dd:09"},
        {"add-network security=wpa2-psk ssid=x\n", "error: wpa needs a passphrase of 8 to 63 characters or psk_hex"},
        {"add-network ssid=x colour=blue\n", "error: unknown key colour"},
        {"add-network \"ssid=unclosed\n", "error: unterminated quote"},
        {"\n", "error: no command"},
    };
    for (const auto& [line, answer] : cases) {
        SCOPED_TRACE(line);
        EXPECT_EQ(Send(path, line).rfind(answer, 0), 0u) << Send(path, line);
    }
    // An endless line is cut off, and the server serves the next client.
    EXPECT_EQ(Send(path, std::string(20000, 'x')), "error: line longer than 4096 bytes\n");
    EXPECT_EQ(Send(path, "enable\n"), "error: the adapter is not plugged in and disabled\n");
}

TEST_F(CSimControlServerTest, EveryVerbRefusesTheWrongNumberOfArguments)
{
    CSimControlServer server(world, path);
    for (const SimVerb& verb : SimVerbs()) {
        SCOPED_TRACE(verb.name);
        bool bounded = verb.maxArguments < verb.minArguments + 10;
        size_t count = bounded ? verb.maxArguments + 1 : verb.minArguments - 1;
        std::string line = verb.name;
        for (size_t i = 0; i < count; ++i)
            line += " 00:aa:bb:cc:dd:01";
        std::string usage = std::string("error: usage: ") + verb.name;
        EXPECT_EQ(server.Answer(line).substr(0, usage.size()), usage);
    }
    EXPECT_EQ(server.Answer("range 00:aa:bb:cc:dd:01 sideways"), "error: usage: range bssid in|out");
}

TEST_F(CSimControlServerTest, AClientTricklingItsLineIsCutOffAndTheNextOneServed)
{
    CSimControlServer server(world, path);
    ASSERT_TRUE(server.Start());
    auto connected = std::chrono::steady_clock::now();
    int slow = ConnectTo(path);
    ASSERT_GE(slow, 0);
    // A byte at a time, each far within the time a client has for its whole line.
    bool hungUp = false;
    while (!hungUp && std::chrono::steady_clock::now() - connected < patience) {
        char byte = 'x';
        hungUp = send(slow, &byte, 1, MSG_NOSIGNAL) != 1 || Readable(slow, 50);
    }
    EXPECT_TRUE(hungUp) << "a slow client held the server";
    // Cut off at its deadline, not before.
    EXPECT_GE(std::chrono::steady_clock::now() - connected, CSimControlServer::clientTime);
    close(slow);
    EXPECT_EQ(SendWithin(path, "plug\n"), "error: the adapter is plugged in already\n");
}

TEST_F(CSimControlServerTest, AClientThatNeverReadsHoldsNeitherTheServerNorItsDestruction)
{
    // An answer of some 2 MB, far more than the socket buffers take.
    for (int i = 0; i < 14000; ++i) {
        SimNetwork n;
        n.ssid = std::string(32, char('a' + i % 26));
        n.bssid = {0x02, 0x10, 0, 0, uint8_t(i >> 8), uint8_t(i)};
        std::string error;
        ASSERT_TRUE(world.AddNetwork(n, error)) << error;
    }
    auto server = std::make_unique<CSimControlServer>(world, path);
    ASSERT_TRUE(server->Start());
    int stalled = ConnectTo(path);
    ASSERT_GE(stalled, 0);
    ASSERT_EQ(send(stalled, "networks\n", 9, MSG_NOSIGNAL), 9);
    EXPECT_TRUE(Readable(stalled, patienceMs)); // the answer begins; the client reads none of it
    EXPECT_EQ(SendWithin(path, "plug\n"), "error: the adapter is plugged in already\n");

    int another = ConnectTo(path);
    ASSERT_GE(another, 0);
    ASSERT_EQ(send(another, "networks\n", 9, MSG_NOSIGNAL), 9);
    EXPECT_TRUE(Readable(another, patienceMs));
    int done[2];
    ASSERT_EQ(pipe(done), 0);
    std::thread destroyer([&] {
        server.reset();
        (void)!write(done[1], "x", 1);
    });
    EXPECT_TRUE(Readable(done[0], patienceMs)) << "destruction waited for a client that never reads";
    // Closing the clients lets a stuck server go, so that the thread can be joined either way.
    close(another);
    close(stalled);
    destroyer.join();
    close(done[0]);
    close(done[1]);
}

TEST_F(CSimControlServerTest, OutOfDescriptorsTheServerWaitsInsteadOfSpinning)
{
    CSimControlServer server(world, path);
    ASSERT_TRUE(server.Start());
    int client = socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK, 0);
    ASSERT_GE(client, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strcpy(address.sun_path, path.c_str());
    CDescriptorsExhausted exhausted(client);
    ASSERT_EQ(connect(client, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    ASSERT_EQ(send(client, "plug\n", 5, MSG_NOSIGNAL), 5);
    // accept fails for half a second. A spinning server would burn a core for
    // that long, however fast the machine; a waiting one a small share of it.
    double cpuBefore = ProcessCpuMs();
    double wallBefore = WallMs();
    EXPECT_FALSE(Readable(client, 500));
    EXPECT_LT(ProcessCpuMs() - cpuBefore, (WallMs() - wallBefore) / 4);

    // With descriptors again the waiting client is served.
    exhausted.Release();
    ASSERT_TRUE(Readable(client, patienceMs));
    char answer[128] = {};
    EXPECT_GT(read(client, answer, sizeof answer - 1), 0);
    EXPECT_STREQ(answer, "error: the adapter is plugged in already\n");
    close(client);
}

TEST_F(CSimControlServerTest, AStaleSocketIsReplacedAndALiveOneKept)
{
    {
        // A socket file whose server is gone.
        int fd = socket(AF_UNIX, SOCK_STREAM, 0);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        std::strcpy(address.sun_path, path.c_str());
        ASSERT_EQ(bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
        close(fd);
    }
    CSimControlServer first(world, path);
    ASSERT_TRUE(first.Start());
    CSimControlServer second(world, path);
    EXPECT_FALSE(second.Start());
    EXPECT_EQ(Send(path, "plug\n"), "error: the adapter is plugged in already\n");

    std::string file = temp.File("plain");
    std::ofstream(file) << "not a socket";
    CSimControlServer third(world, file);
    EXPECT_FALSE(third.Start());
    EXPECT_EQ(access(file.c_str(), F_OK), 0);
}

TEST_F(CSimControlServerTest, DestructionRemovesTheSocket)
{
    {
        CSimControlServer server(world, path);
        ASSERT_TRUE(server.Start());
    }
    EXPECT_NE(access(path.c_str(), F_OK), 0);
    EXPECT_EQ(Send(path, "status\n"), "no connection");
}

TEST_F(CSimControlServerTest, TheToolSendsItsArgumentsAndExitsByTheAnswer)
{
    const std::string bin = ZARNWELL_TEST_BIN_DIR;
    CSimControlServer server(world, path);
    ASSERT_TRUE(server.Start());
    auto run = [&](const std::string& arguments, std::string& output) {
        std::string command = "ZARNWELL_SIM_SOCKET='" + path + "' '" + bin + "/zarnwell-sim' " + arguments + " 2>&1";
        FILE* pipe = popen(command.c_str(), "r");
        char buffer[4096];
        output.clear();
        size_t n;
        while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0)
            output.append(buffer, n);
        int status = pclose(pipe);
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    };
    std::string output;
    EXPECT_EQ(run("add-network 'ssid=Two Words' bssid=00:aa:bb:cc:dd:02", output), 0);
    EXPECT_EQ(output.rfind("ok added bssid=00:aa:bb:cc:dd:02 ssid=\"Two Words\"", 0), 0u) << output;
    EXPECT_EQ(run("plug", output), 1);
    EXPECT_EQ(output, "error: the adapter is plugged in already\n");

    path = temp.File("nobody.sock");
    EXPECT_EQ(run("status", output), 1);
    EXPECT_NE(output.find("no Zarnwell is running"), std::string::npos) << output;
}

TEST_F(CSimControlServerTest, StatusShowsWhatTheAdapterWasToldToDo)
{
    CSimControlServer server(world, path);
    const char* name = "Kavlo 802.11n USB Wireless LAN Card";
    Open();
    library.RT_Debug_Methodflag(1);
    library.RT_WPS("12345670");
    EXPECT_EQ(server.Answer("status"), "ok adapter=plugged radio=on mode=station wps=running method=1 "
                                       "pin=\"12345670\" link=down address=0.0.0.0");
    library.RT_WS2_stop();

    library.RT_AP_SwitchToAPMode();
    char ssid[33] = "Zarnwell_AP";
    library.RT_ACM_LinkVuvProfileNew(VuvProfile{}, ssid, ssid, 0, 1, 1);
    EXPECT_EQ(server.Answer("status"), "ok adapter=plugged radio=on mode=access-point access-point=stopped link=down "
                                       "address=0.0.0.0");
    clock.FastForwardBy(1000ms);
    library.RT_SetChannel(6);
    library.RT_SetAuthenticaionMode(6);
    library.RT_SetEncryptionStatus(6);
    char passphrase[256] = "40718293";
    library.RT_AP_SetPassphrase(passphrase, 8);
    library.RT_SetSSID("Zarnwell_AP");
    SimConnection ethernet;
    ethernet.name = "Ethernet";
    std::string error;
    ASSERT_TRUE(world.AddConnection(ethernet, error)) << error;
    library.ICS_Ordinal2(1, name, "Ethernet");
    library.RT_EnableSoftAP_ICS(name, "Ethernet");
    library.ICS_DHCP_Enable(name, "192.168.159.1", "192.168.159.2", "192.168.159.254");
    library.RT_SetNicTcpipAddr(name, 0, "192.168.159.1", "255.255.255.0", "", "");
    uint32_t pid = world.StartDhcpServer("192.168.159.1", "192.168.159.2", "192.168.159.254");
    std::string joined = server.Answer("phone-join name=\"Pixel 7\" passphrase=40718293");
    ASSERT_EQ(world.Phones().size(), 1u);
    const std::string pixelMac = SimMacText(world.Phones()[0].phone.mac);
    EXPECT_EQ(joined, "ok phone \"Pixel 7\" mac=" + pixelMac + " tries to join");
    EXPECT_EQ(server.Answer("phone-join name=Guest passphrase=40718294").rfind("ok", 0), 0u);
    clock.FastForwardBy(1000ms);
    EXPECT_EQ(server.Answer("status"),
              "ok adapter=plugged radio=on mode=access-point access-point=running ssid=\"Zarnwell_AP\" channel=6 "
              "security=wpa-psk cipher=aes passphrase=\"40718293\" clients=1 phone=\"Pixel 7\" joined "
              "address=192.168.159.2 phone=\"Guest\" refused sharing=\"Ethernet\" internet=up "
              "softap-ics=\"Ethernet\" sharing-dhcp=\"192.168.159.1 192.168.159.2-192.168.159.254\" "
              "dhcp-server=running pid=" + std::to_string(pid) + " range=192.168.159.2-192.168.159.254 link=down "
              "address=192.168.159.1");
    EXPECT_EQ(server.Answer("connection Ethernet down"), "ok \"Ethernet\" down");
    EXPECT_NE(server.Answer("status").find("sharing=\"Ethernet\" internet=down"), std::string::npos);
    EXPECT_EQ(server.Answer("phone-leave Guest"), "ok phone \"Guest\" left");
    EXPECT_EQ(server.Answer("phones"), "ok 1 phones: name=\"Pixel 7\" mac=" + pixelMac +
                                           " state=joined address=192.168.159.2");
}

TEST(SimCommandTest, QuotedWordsComeBackWhole)
{
    const std::string words[] = {"plain", "ssid=Two Words", "say \"hi\"", "back\\slash", "key=", ""};
    std::string line;
    for (const std::string& word : words)
        line += SimQuoteWord(word) + " ";
    std::vector<std::string> split;
    std::string error;
    ASSERT_TRUE(SimSplitCommand(line, split, error));
    EXPECT_EQ(split, std::vector<std::string>(std::begin(words), std::end(words)));
    EXPECT_EQ(SimQuoteWord("ssid=Two Words"), "ssid=\"Two Words\"");
}

} // namespace
