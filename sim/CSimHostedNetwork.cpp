#include "sim/CSimHostedNetwork.h"

bool CSimHostedNetwork::Start()
{
    if (state == HostedDisabled)
        return false;
    state = HostedRunning;
    return true;
}

void CSimHostedNetwork::Stop()
{
    if (state == HostedRunning)
        state = HostedEnabled;
}

void CSimHostedNetwork::SetEnabled(bool on)
{
    if (!on)
        state = HostedDisabled;
    else if (state == HostedDisabled)
        state = HostedEnabled;
}

int CSimHostedNetwork::Status(bool radioOn) const
{
    if (state == HostedRunning)
        return 2;
    return radioOn && state == HostedEnabled ? 1 : 0;
}
