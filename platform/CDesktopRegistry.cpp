#include "platform/CDesktopRegistry.h"

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <fstream>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

#include "platform/AsciiCase.h"

extern char** environ;

namespace {

constexpr const char* ProgId = "htmlfile";
constexpr int XdgMimeTimeoutMs = 5000;
constexpr size_t MaxOutput = 4096;

std::string Trim(const std::string& text)
{
    size_t first = text.find_first_not_of(" \t\r\n");
    if (first == std::string::npos)
        return "";
    return text.substr(first, text.find_last_not_of(" \t\r\n") - first + 1);
}

// Runs a program (no shell) and returns its standard output; false when it
// cannot start, fails, or runs too long.
bool RunForOutput(const std::vector<std::string>& args, std::string& out)
{
    int fds[2];
    if (pipe2(fds, O_CLOEXEC) != 0)
        return false;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_adddup2(&actions, fds[1], 1);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    std::vector<char*> argv;
    for (const std::string& arg : args)
        argv.push_back(const_cast<char*>(arg.c_str()));
    argv.push_back(nullptr);
    pid_t pid;
    int spawned = posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    close(fds[1]);
    if (spawned != 0) {
        close(fds[0]);
        return false;
    }
    out.clear();
    bool complete = false;
    char buffer[512];
    while (out.size() < MaxOutput) {
        pollfd ready = {fds[0], POLLIN, 0};
        if (poll(&ready, 1, XdgMimeTimeoutMs) != 1)
            break;
        ssize_t got = read(fds[0], buffer, sizeof buffer);
        if (got <= 0) {
            complete = got == 0;
            break;
        }
        out.append(buffer, got);
    }
    close(fds[0]);
    if (!complete)
        kill(pid, SIGKILL);
    int status = 0;
    while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    return complete && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

std::vector<std::string> ApplicationFolders()
{
    std::vector<std::string> folders;
    const char* dataHome = std::getenv("XDG_DATA_HOME");
    const char* home = std::getenv("HOME");
    if (dataHome && *dataHome)
        folders.push_back(std::string(dataHome) + "/applications");
    else if (home && *home)
        folders.push_back(std::string(home) + "/.local/share/applications");
    const char* dataDirs = std::getenv("XDG_DATA_DIRS");
    std::string dirs = dataDirs && *dataDirs ? dataDirs : "/usr/local/share:/usr/share";
    size_t start = 0;
    while (start <= dirs.size()) {
        size_t end = dirs.find(':', start);
        std::string dir = dirs.substr(start, end == std::string::npos ? std::string::npos : end - start);
        if (!dir.empty())
            folders.push_back(dir + "/applications");
        if (end == std::string::npos)
            break;
        start = end + 1;
    }
    return folders;
}

// The Exec= value of the [Desktop Entry] group, its string escapes undone.
bool ReadExec(const std::string& path, std::string& exec)
{
    std::ifstream file(path);
    if (!file)
        return false;
    bool inEntry = false;
    std::string line;
    while (std::getline(file, line)) {
        line = Trim(line);
        if (!line.empty() && line[0] == '[') {
            inEntry = line == "[Desktop Entry]";
            continue;
        }
        size_t equals = line.find('=');
        if (!inEntry || equals == std::string::npos || Trim(line.substr(0, equals)) != "Exec")
            continue;
        std::string value = Trim(line.substr(equals + 1));
        exec.clear();
        for (size_t i = 0; i < value.size(); ++i) {
            if (value[i] != '\\' || i + 1 == value.size()) {
                exec += value[i];
                continue;
            }
            char next = value[++i];
            exec += next == 's' ? ' ' : next == 'n' ? '\n' : next == 't' ? '\t' : next == 'r' ? '\r' : next;
        }
        return !exec.empty();
    }
    return false;
}

// Splits an Exec value into arguments by the desktop entry rules, with the
// address's field code (%u, %U, %f, %F) as "%1" and the other field codes
// dropped. An argument that was only a dropped field code disappears.
std::vector<std::string> ExecArguments(const std::string& exec)
{
    std::vector<std::string> args;
    std::string arg;
    bool inArg = false;
    bool quoted = false;
    bool keepEmpty = false;
    auto finish = [&] {
        if (inArg && (!arg.empty() || keepEmpty))
            args.push_back(arg);
        arg.clear();
        inArg = quoted = keepEmpty = false;
    };
    for (size_t i = 0; i < exec.size(); ++i) {
        char c = exec[i];
        if (!quoted && (c == ' ' || c == '\t' || c == '\n')) {
            finish();
            continue;
        }
        inArg = true;
        if (c == '"') {
            quoted = !quoted;
            keepEmpty = true;
        } else if (quoted && c == '\\' && i + 1 < exec.size()) {
            arg += exec[++i];
        } else if (c == '%' && i + 1 < exec.size()) {
            char code = exec[++i];
            if (code == '%')
                arg += '%';
            else if (code == 'u' || code == 'U' || code == 'f' || code == 'F')
                arg += "%1";
        } else {
            arg += c;
        }
    }
    finish();
    return args;
}

// An argument as the command-line splitter will read it back.
std::string QuoteArgument(const std::string& arg)
{
    if (arg == "%1")
        return "\"%1\"";
    if (!arg.empty() && arg.find_first_of(" \t\"") == std::string::npos)
        return arg;
    std::string quoted = "\"";
    size_t backslashes = 0;
    for (char c : arg) {
        if (c == '\\') {
            ++backslashes;
            continue;
        }
        quoted.append(c == '"' ? 2 * backslashes + 1 : backslashes, '\\');
        backslashes = 0;
        quoted += c;
    }
    quoted.append(2 * backslashes, '\\');
    return quoted + "\"";
}

// The program as the splitter reads a command line's first argument: quotes
// only group and backslashes stay. A quote in it cannot be written.
bool QuoteProgram(const std::string& program, std::string& quoted)
{
    if (program.empty() || program.find('"') != std::string::npos)
        return false;
    quoted = program.find_first_of(" \t") == std::string::npos ? program : "\"" + program + "\"";
    return true;
}

bool HandlerCommand(std::string& command)
{
    std::string desktopId;
    if (!RunForOutput({"xdg-mime", "query", "default", "text/html"}, desktopId))
        return false;
    desktopId = Trim(desktopId);
    if (desktopId.empty() || desktopId.find('/') != std::string::npos)
        return false;
    for (const std::string& folder : ApplicationFolders()) {
        std::string exec;
        if (!ReadExec(folder + "/" + desktopId, exec))
            continue;
        std::vector<std::string> args = ExecArguments(exec);
        if (args.empty() || !QuoteProgram(args[0], command))
            return false;
        for (size_t i = 1; i < args.size(); ++i)
            command += " " + QuoteArgument(args[i]);
        return true;
    }
    return false;
}

} // namespace

bool CDesktopRegistry::Owns(RegistryHive hive, const std::string& key)
{
    std::string folded = FoldAscii(key);
    return hive == HiveClassesRoot
        && (folded == ".htm" || folded == ProgId || folded.starts_with(std::string(ProgId) + "\\"));
}

bool CDesktopRegistry::QueryString(RegistryHive hive, const std::string& key, const std::string& name,
                                   std::string& out)
{
    std::string folded = FoldAscii(key);
    if (hive != HiveClassesRoot || !name.empty())
        return false;
    std::string command;
    if (folded == ".htm") {
        if (!HandlerCommand(command))
            return false;
        out = ProgId;
        return true;
    }
    if (folded == std::string(ProgId) + "\\shell\\open\\command" && HandlerCommand(command)) {
        out = command;
        return true;
    }
    return false;
}
