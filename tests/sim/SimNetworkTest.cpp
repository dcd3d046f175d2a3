#include <gtest/gtest.h>

#include <string>

#include "sim/SimNetwork.h"

namespace {

TEST(SimNetworkTest, MalformedAddressesAndRatesAreRefused)
{
    const std::pair<const char*, const char*> refused[] = {
        {"rate", "nan"},           {"rate", "NaN"},      {"rate", "inf"},          {"rate", "-1"},
        {"rate", "0"},             {"rate", "10001"},    {"address", "not an ip"}, {"address", "1.2.3"},
        {"address", "256.1.1.1"},  {"address", "1.2.3.4 "}, {"address", ""},        {"address", "1.2.3.4.5"},
    };
    for (const auto& [key, value] : refused) {
        SCOPED_TRACE(std::string(key) + "=" + value);
        SimNetwork network;
        std::string error;
        EXPECT_FALSE(network.Set(key, value, error));
        EXPECT_FALSE(error.empty());
        EXPECT_EQ(network.rateKbps, 0);
        EXPECT_EQ(network.address, "192.168.1.100");
    }

    SimNetwork network;
    std::string error;
    EXPECT_TRUE(network.Set("rate", "72.2", error)) << error;
    EXPECT_EQ(network.rateKbps, 72200);
    EXPECT_TRUE(network.Set("address", "10.0.0.7", error)) << error;
    EXPECT_EQ(network.address, "10.0.0.7");
}

TEST(SimNetworkTest, AWepIndexOutsideTheFourKeysDoesNotFinish)
{
    for (int index : {-1, 4, 1000}) {
        SCOPED_TRACE(index);
        SimNetwork network;
        network.ssid = "Wep";
        network.security = SecurityWep;
        network.wepKeys[0] = "12345";
        network.wepIndex = index;
        std::string error;
        EXPECT_FALSE(network.Finish(error));
        EXPECT_EQ(error, "wep_index must be a number from 0 to 3");
    }
}

} // namespace
