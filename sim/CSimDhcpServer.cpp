#include "sim/CSimDhcpServer.h"

void CSimDhcpServer::Start(std::string_view address, std::string_view rangeFirst, std::string_view rangeLast)
{
    running = true;
    server = std::string(address);
    first = std::string(rangeFirst);
    last = std::string(rangeLast);
}
