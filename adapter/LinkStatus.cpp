#include <cstdio>
#include <cstring>
#include <vector>

#include "adapter/CAdapterWirelessZadidar.h"
#include "platform/CSystemAdapters.h"

namespace {

// Copies a text from a library buffer of `size` bytes that may lack its terminator.
template <size_t N>
void CopyBounded(char (&out)[N], const char* text, size_t size)
{
    size_t length = strnlen(text, std::min(size, N - 1));
    memcpy(out, text, length);
    out[length] = '\0';
}

bool AllZero(const uint8_t (&bytes)[6])
{
    for (uint8_t b : bytes)
        if (b)
            return false;
    return true;
}

} // namespace

LinkState CAdapterWirelessZadidar::QueryLink(char (&ssid)[33], uint8_t (&bssid)[6])
{
    char linkSsid[64] = {};
    uint8_t linkBssid[6] = {};
    int state = DriverLinkStation;
    int ignored = 0;
    lib.RT_GetStatusLinkInfo(state, ignored, linkSsid, sizeof linkSsid, linkBssid);
    linkSsid[sizeof linkSsid - 1] = '\0';
    if (linkSsid[0] == '\0' || AllZero(linkBssid))
        return LinkDisconnected;

    CopyBounded(ssid, linkSsid, 32);
    memcpy(bssid, linkBssid, sizeof bssid);

    char address[16] = {};
    GetIpAddress(address);
    if (state != DriverLinkStation)
        return LinkDisconnected;
    if (address[0] == '\0' || IsUnusableAddress(address))
        return LinkNoAddress;
    return LinkConnected;
}

bool CAdapterWirelessZadidar::IsUnusableAddress(const char* address)
{
    return strcmp(address, "0.0.0.0") == 0 || strncmp(address, "169.254", 7) == 0;
}

void CAdapterWirelessZadidar::GetIpAddress(char (&out)[16])
{
    MacAddressBuffer mac = {};
    lib.RT_GetMacAddress(mac);
    IpInformation info = {};
    if (!lib.GetIpInformation(mac, info))
        return;

    auto qualifies = [](const char (&text)[452]) {
        size_t length = strnlen(text, sizeof text);
        return length > 6 && length < sizeof text && strcmp(text, "0.0.0.0") != 0;
    };
    const char (*chosen)[452] = &info.address3;
    if (qualifies(info.address1))
        chosen = &info.address1;
    else if (qualifies(info.address2))
        chosen = &info.address2;
    CopyBounded(out, *chosen, sizeof *chosen);

    if (out[0] == '\0' || strcmp(out, "0.0.0.0") == 0)
        GetAdapterAddressFromSystem(out);
}

bool CAdapterWirelessZadidar::GetAdapterAddressFromSystem(char (&out)[16])
{
    std::vector<CSystemAdapterInfo> adapters;
    if (!systemAdapters.GetAdaptersInfo(adapters))
        return false;
    std::string name = AdapterName();
    for (const CSystemAdapterInfo& adapter : adapters) {
        if (adapter.adapterName != name)
            continue;
        for (const std::string& address : adapter.ipAddresses) {
            if (!address.empty() && address != "0.0.0.0") {
                CopyBounded(out, address.c_str(), address.size());
                return true;
            }
        }
        return false;
    }
    return false;
}

LinkState CAdapterWirelessZadidar::GetConnectionDetails(ConnectionDetails& details)
{
    details = {};
    char ssid[33] = {};
    uint8_t bssid[6] = {};
    LinkState state = QueryLink(ssid, bssid);
    memcpy(details.ssid, ssid, sizeof ssid);
    if (state == LinkDisconnected)
        return LinkDisconnected;
    details.linkState = state;
    snprintf(details.bssidText, sizeof details.bssidText, "%02x:%02x:%02x:%02x:%02x:%02x", bssid[0], bssid[1],
             bssid[2], bssid[3], bssid[4], bssid[5]);
    char address[16] = {};
    GetIpAddress(address);
    memcpy(details.ipAddress, address, sizeof address);
    GetSignalQuality(details.quality);
    details.rateMbps = GetLinkRate();
    details.securityKind = GetLinkSecurityKind();
    details.restricted = state == LinkNoAddress ? 1 : 0;
    return state;
}

void CAdapterWirelessZadidar::GetSignalQuality(int& quality)
{
    int ignored = 0;
    lib.RT_GetStatusSignalInfo(quality, ignored);
}

double CAdapterWirelessZadidar::GetLinkRate()
{
    uint32_t halfMbps = lib.RT_GetStatusDynamicRate() / 5000;
    return halfMbps / 2 + (halfMbps % 2 ? 0.5 : 0.0);
}

int CAdapterWirelessZadidar::GetLinkSecurityKind()
{
    int encryption = 0;
    int authentication = 0;
    lib.RT_GetStatusSecurityInfo(encryption, authentication);
    if (encryption == 0)
        return 2;
    if (authentication == 3 || authentication == 4)
        return 3;
    if (authentication == 6 || authentication == 7)
        return 4;
    return 0;
}

int CAdapterWirelessZadidar::GetLinkState()
{
    char ssid[33] = {};
    uint8_t bssid[6] = {};
    // Preset to "nothing": a library that answers nothing must not read as linked.
    int state = DriverLinkNone;
    int ignored = 0;
    lib.RT_GetStatusLinkInfo(state, ignored, ssid, sizeof ssid, bssid);
    return state == DriverLinkStation || state == DriverLinkAssociating ? state : LinkDisconnected;
}
