#pragma once

#include <string>

// A named mutex between processes: an exclusive flock on "<name>.lock" in
// $XDG_RUNTIME_DIR, or in the state folder when there is no runtime folder or
// the file cannot be made there. The lock is the kernel's, so it goes with its
// holder's end and a crashed instance never blocks the next.
class CNamedMutex {
public:
    CNamedMutex() = default;
    ~CNamedMutex();
    CNamedMutex(const CNamedMutex&) = delete;
    CNamedMutex& operator=(const CNamedMutex&) = delete;

    // True when a lock file could be opened. `alreadyExisted` tells that
    // another holder (this process included) has the mutex; then this object
    // holds nothing. Otherwise it holds the mutex until Close() or the end of
    // the process. A name must not contain "/".
    bool Create(const std::string& name, bool& alreadyExisted);
    void Close();

private:
    int fd = -1;
};
