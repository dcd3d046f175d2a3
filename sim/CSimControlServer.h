#pragma once

#include <chrono>
#include <string>
#include <string_view>
#include <thread>

class CSimWorld;

// Changes the world while Zarnwell runs: a Unix socket (mode 0600) that takes
// one command line per connection, applies it and answers one line, "ok ..."
// or "error: ...". A client has 2 s from its connection to the end of its
// answer; then it is cut off. It serves on its own thread, one client at a
// time, and stops, removing its socket, when destroyed. The verbs are
// SimVerbs().
class CSimControlServer {
public:
    static constexpr size_t maxLine = 4096;
    // How long a client may take from its connection to the end of its
    // answer, so that a slow one cannot hold the server for more than that.
    static constexpr std::chrono::milliseconds clientTime{2000};

    CSimControlServer(CSimWorld& world, std::string path);
    ~CSimControlServer();
    CSimControlServer(const CSimControlServer&) = delete;
    CSimControlServer& operator=(const CSimControlServer&) = delete;

    // False when the socket cannot be made, or another server answers on it.
    // A socket file left by a run that ended without removing it is replaced.
    bool Start();
    const std::string& Path() const { return path; }

    // The answer to one command line, without its newline.
    std::string Answer(std::string_view line);

private:
    void Serve();
    void ServeConnection(int connection);

    CSimWorld& world;
    std::string path;
    int listener = -1;
    int wake[2] = {-1, -1};
    std::thread thread;
};
