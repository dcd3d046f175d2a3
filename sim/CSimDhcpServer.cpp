#include "sim/CSimDhcpServer.h"

#include <arpa/inet.h>

#include <algorithm>

namespace {

bool Parse(const std::string& text, uint32_t& address)
{
    in_addr parsed{};
    if (inet_pton(AF_INET, text.c_str(), &parsed) != 1)
        return false;
    address = ntohl(parsed.s_addr);
    return true;
}

std::string Text(uint32_t address)
{
    in_addr out{htonl(address)};
    char text[INET_ADDRSTRLEN] = {};
    inet_ntop(AF_INET, &out, text, sizeof text);
    return text;
}

} // namespace

bool CSimDhcpServer::Start(uint32_t newPid, std::string_view address, std::string_view rangeFirst,
                           std::string_view rangeLast)
{
    if (Running())
        return false;
    pid = newPid;
    server = std::string(address);
    first = std::string(rangeFirst);
    last = std::string(rangeLast);
    return true;
}

std::string CSimDhcpServer::FreeAddress(const std::vector<std::string>& taken) const
{
    uint32_t low = 0;
    uint32_t high = 0;
    uint32_t own = 0;
    if (!Parse(first, low) || !Parse(last, high) || low > high || high - low > 65535)
        return {};
    Parse(server, own);
    for (uint32_t address = low; address <= high && address != 0; ++address) {
        std::string text = Text(address);
        if (address != own && std::find(taken.begin(), taken.end(), text) == taken.end())
            return text;
    }
    return {};
}
