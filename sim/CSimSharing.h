#pragma once

#include <string>
#include <string_view>

// The machine's connection sharing towards the adapter: what the sharing
// library switched and was told. Part of the world's state: used only under
// the world's mutex.
class CSimSharing {
public:
    // Ordinal 2: sharing from `publicConnection` to `privateConnection`, or off.
    void Set(bool enable, std::string_view privateConnection, std::string_view publicConnection);
    bool Enabled() const { return enabled; }
    const std::string& PrivateConnection() const { return privateName; }
    const std::string& PublicConnection() const { return publicName; }

    // RT_EnableSoftAP_ICS and RT_DisableSoftAP_ICS.
    void SetSoftApIcs(bool on, std::string_view connection);
    // Empty while off.
    std::string SoftApIcsConnection() const { return softApIcs ? softApIcsConnection : std::string(); }

    // ICS_DHCP_Enable: the server and its range, the range empty when it did not answer.
    void TellDhcp(std::string_view server, std::string_view first, std::string_view last);
    // "server first-last", empty when never told.
    std::string DhcpText() const;

private:
    bool enabled = false;
    std::string privateName;
    std::string publicName;
    bool softApIcs = false;
    std::string softApIcsConnection;
    std::string dhcpServer;
    std::string dhcpFirst;
    std::string dhcpLast;
};
