#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <net/if.h>
#include <set>

#include "platform/CLinuxAdapters.h"

namespace {

// The machine's own list: whatever it holds must be well formed.
TEST(CLinuxAdaptersTest, ListsInterfacesWithTheirIpv4Addresses)
{
    CLinuxAdapters adapters;
    std::vector<CSystemAdapterInfo> list = {{"stale", {}}};
    bool any = adapters.GetAdaptersInfo(list);
    EXPECT_EQ(any, !list.empty());
    std::set<std::string> names;
    for (const CSystemAdapterInfo& adapter : list) {
        EXPECT_TRUE(names.insert(adapter.adapterName).second) << "listed twice: " << adapter.adapterName;
        EXPECT_NE(if_nametoindex(adapter.adapterName.c_str()), 0u) << adapter.adapterName;
        ASSERT_FALSE(adapter.ipAddresses.empty()) << adapter.adapterName;
        for (const std::string& address : adapter.ipAddresses) {
            in_addr parsed;
            EXPECT_EQ(inet_pton(AF_INET, address.c_str(), &parsed), 1) << address;
            EXPECT_NE(address.rfind("127.", 0), 0u) << "loopback listed: " << adapter.adapterName;
        }
    }
    EXPECT_EQ(names.count("lo"), 0u);
    EXPECT_EQ(names.count("stale"), 0u);

    // Every interface the kernel names, loopback aside, is there.
    struct if_nameindex* all = if_nameindex();
    ASSERT_NE(all, nullptr);
    for (const struct if_nameindex* entry = all; entry->if_index != 0; ++entry) {
        if (std::string(entry->if_name) != "lo") {
            EXPECT_EQ(names.count(entry->if_name), 1u) << entry->if_name;
        }
    }
    if_freenameindex(all);
}

} // namespace
