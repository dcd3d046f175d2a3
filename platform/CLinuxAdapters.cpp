#include "platform/CLinuxAdapters.h"

#include <algorithm>
#include <arpa/inet.h>
#include <ifaddrs.h>
#include <net/if.h>
#include <netinet/in.h>

bool CLinuxAdapters::GetAdaptersInfo(std::vector<CSystemAdapterInfo>& out)
{
    out.clear();
    ifaddrs* list = nullptr;
    if (getifaddrs(&list) != 0)
        return false;
    // An interface appears once per address family; gather them by name.
    for (const ifaddrs* entry = list; entry; entry = entry->ifa_next) {
        if (!entry->ifa_name || (entry->ifa_flags & IFF_LOOPBACK))
            continue;
        auto adapter = std::find_if(out.begin(), out.end(), [&](const CSystemAdapterInfo& known) {
            return known.adapterName == entry->ifa_name;
        });
        if (adapter == out.end()) {
            out.push_back({entry->ifa_name, {}});
            adapter = out.end() - 1;
        }
        if (entry->ifa_addr && entry->ifa_addr->sa_family == AF_INET) {
            char text[INET_ADDRSTRLEN];
            const auto* address = reinterpret_cast<const sockaddr_in*>(entry->ifa_addr);
            if (inet_ntop(AF_INET, &address->sin_addr, text, sizeof text))
                adapter->ipAddresses.push_back(text);
        }
    }
    freeifaddrs(list);
    for (CSystemAdapterInfo& adapter : out) {
        if (adapter.ipAddresses.empty())
            adapter.ipAddresses.push_back("0.0.0.0");
    }
    return !out.empty();
}
