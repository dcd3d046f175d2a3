#include "sim/CSimSystemAdapters.h"

#include "sim/CSimWorld.h"

bool CSimSystemAdapters::GetAdaptersInfo(std::vector<CSystemAdapterInfo>& out)
{
    out.clear();
    CSystemAdapterInfo adapter;
    std::string address;
    // With no adapter at all the system answers that it has no data.
    if (!world.SystemAdapter(adapter.adapterName, address))
        return false;
    adapter.ipAddresses.push_back(address);
    out.push_back(adapter);
    return true;
}
