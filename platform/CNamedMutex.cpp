#include "platform/CNamedMutex.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include "platform/StateDirectory.h"

namespace {

int OpenLockFile(const std::string& folder, const std::string& name)
{
    if (folder.empty())
        return -1;
    std::string path = folder + "/" + name + ".lock";
    return open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
}

} // namespace

CNamedMutex::~CNamedMutex()
{
    Close();
}

bool CNamedMutex::Create(const std::string& name, bool& alreadyExisted)
{
    Close();
    alreadyExisted = false;
    if (name.empty() || name.find('/') != std::string::npos)
        return false;
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    int opened = OpenLockFile(runtime ? runtime : "", name);
    if (opened < 0)
        opened = OpenLockFile(StateDirectory(), name);
    if (opened < 0)
        return false;
    int locked;
    while ((locked = flock(opened, LOCK_EX | LOCK_NB)) != 0 && errno == EINTR) {
    }
    if (locked != 0) {
        // Contention is the usual reason; any other refusal to lock an open
        // file is taken the same way, so two copies never both run.
        close(opened);
        alreadyExisted = true;
        return true;
    }
    fd = opened;
    return true;
}

void CNamedMutex::Close()
{
    if (fd >= 0)
        close(fd);
    fd = -1;
}
