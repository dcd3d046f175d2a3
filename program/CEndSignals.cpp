#include "program/CEndSignals.h"

#include <pthread.h>
#include <signal.h>

namespace {

sigset_t EndSignals()
{
    sigset_t set;
    sigemptyset(&set);
    sigaddset(&set, SIGINT);
    sigaddset(&set, SIGTERM);
    sigaddset(&set, SIGHUP);
    return set;
}

} // namespace

void CEndSignals::Block()
{
    sigset_t set = EndSignals();
    pthread_sigmask(SIG_BLOCK, &set, nullptr);
}

CEndSignals::CEndSignals(std::function<void(int)> onSignal) : onSignal(std::move(onSignal))
{
    thread = std::thread([this] {
        const sigset_t set = EndSignals();
        for (;;) {
            int signal = 0;
            if (sigwait(&set, &signal) != 0)
                continue;
            if (stopping)
                return;
            this->onSignal(signal);
        }
    });
}

CEndSignals::~CEndSignals()
{
    stopping = true;
    pthread_kill(thread.native_handle(), SIGTERM); // wakes its wait
    thread.join();
}
