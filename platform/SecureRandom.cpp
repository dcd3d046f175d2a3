#include "platform/SecureRandom.h"

#include <sys/random.h>

#include <cerrno>
#include <random>

uint32_t SecureRandom()
{
    uint32_t value = 0;
    for (;;) {
        ssize_t got = getrandom(&value, sizeof value, 0);
        if (got == ssize_t(sizeof value))
            return value;
        if (got < 0 && errno != EINTR)
            break;
    }
    // Without getrandom (an old kernel): the library's device, /dev/urandom.
    return std::random_device{}();
}
