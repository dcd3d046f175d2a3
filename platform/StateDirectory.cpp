#include "platform/StateDirectory.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

std::string Environment(const char* name)
{
    const char* value = std::getenv(name);
    return value ? value : "";
}

std::string HomeDirectory()
{
    std::string home = Environment("HOME");
    if (!home.empty())
        return home;
    const passwd* entry = getpwuid(geteuid());
    return entry && entry->pw_dir ? entry->pw_dir : "";
}

bool MakeDirectories(const std::string& path)
{
    for (size_t slash = path.find('/', 1); ; slash = path.find('/', slash + 1)) {
        std::string part = path.substr(0, slash);
        if (mkdir(part.c_str(), 0700) != 0 && errno != EEXIST)
            return false;
        if (slash == std::string::npos)
            break;
    }
    struct stat info;
    return stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

} // namespace

std::string StateDirectoryPath(bool asRoot)
{
    std::string explicitPath = Environment("ZARNWELL_STATE_DIR");
    if (!explicitPath.empty())
        return explicitPath;
    if (asRoot)
        return "/var/lib/zarnwell";
    std::string stateHome = Environment("XDG_STATE_HOME");
    if (!stateHome.empty() && stateHome[0] == '/') // relative ones are ignored, as XDG says
        return stateHome + "/zarnwell";
    std::string home = HomeDirectory();
    if (home.empty())
        return "";
    return home + "/.local/state/zarnwell";
}

std::string StateDirectory()
{
    std::string path = StateDirectoryPath(geteuid() == 0);
    if (path.empty() || !MakeDirectories(path) || !KeepPrivate(path))
        return "";
    return path;
}

bool KeepPrivate(const std::string& path)
{
    // A restored backup or a copied home may bring looser modes or another owner.
    struct stat info;
    if (stat(path.c_str(), &info) != 0)
        return errno == ENOENT;
    if (info.st_uid != geteuid()) {
        fprintf(stderr, "%s: %s belongs to another user (uid %u), so it is not used\n", program_invocation_short_name,
                path.c_str(), unsigned(info.st_uid));
        return false;
    }
    if (info.st_mode & 077)
        chmod(path.c_str(), info.st_mode & 0700);
    return true;
}
