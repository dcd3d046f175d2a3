#pragma once

#include <string>

// A named mutex between processes: an exclusive flock on "<name>.lock" in
// $XDG_RUNTIME_DIR (else the state folder). The lock is the kernel's, so it
// goes with its holder's end and a crashed instance never blocks the next.
class CNamedMutex {
public:
    CNamedMutex() = default;
    ~CNamedMutex();
    CNamedMutex(const CNamedMutex&) = delete;
    CNamedMutex& operator=(const CNamedMutex&) = delete;

    // True when the lock file could be opened. `alreadyExisted` tells that
    // another holder (this process included) has the mutex; then this object
    // holds nothing. Otherwise it holds the mutex until Close() or the end of
    // the process. A name must not contain "/".
    bool Create(const std::string& name, bool& alreadyExisted);
    void Close();

private:
    int fd = -1;
};
