#include "sim/CSimSharing.h"

void CSimSharing::Set(bool enable, std::string_view privateConnection, std::string_view publicConnection)
{
    enabled = enable;
    privateName = enable ? std::string(privateConnection) : std::string();
    publicName = enable ? std::string(publicConnection) : std::string();
}

void CSimSharing::SetSoftApIcs(bool on, std::string_view connection)
{
    softApIcs = on;
    if (on)
        softApIcsConnection = std::string(connection);
}

void CSimSharing::TellDhcp(std::string_view server, std::string_view first, std::string_view last)
{
    dhcpServer = std::string(server);
    dhcpFirst = std::string(first);
    dhcpLast = std::string(last);
}

std::string CSimSharing::DhcpText() const
{
    return dhcpServer.empty() ? std::string() : dhcpServer + " " + dhcpFirst + "-" + dhcpLast;
}
