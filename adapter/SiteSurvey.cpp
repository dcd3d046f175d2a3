#include <algorithm>
#include <cstring>

#include "adapter/CAdapterWirelessZadidar.h"
#include "platform/Clock.h"

using namespace std::chrono_literals;

void CAdapterWirelessZadidar::SiteSurvey()
{
    if (adapterState != AdapterReady || networkMode != 0)
        return;
    char ssid[33] = {};
    uint8_t bssid[6] = {};
    if (QueryLink(ssid, bssid) != LinkDisconnected && !forceSurvey)
        return;

    int found = 0;
    for (int round = 0; round < 2; ++round) {
        {
            std::lock_guard lock(networksLock);
            surveyBuffer = networks;
        }
        uint8_t flag = 0;
        found = lib.RT_SiteSurveyEx(surveyBuffer, flag, 0);
        if (found < 1) {
            lib.RT_Rescan();
            found = lib.RT_SiteSurveyEx(surveyBuffer, flag, 0);
        }
        // The buffer holds 128 records whatever the library claims, and a
        // count below none lists none.
        found = std::clamp(found, 0, MaxNetworks);
        if (found > 0) {
            SortNetworks(0, found - 1);
            break;
        }
        clock.Sleep(500ms);
    }

    {
        std::lock_guard lock(networksLock);
        networks = surveyBuffer;
        networkCount = found;
    }
    if (found > 0)
        TryAutoConnect();
}

// Strongest first. Records of equal quality end where this partition leaves
// them; the list shows them in that order.
void CAdapterWirelessZadidar::SortNetworks(int low, int high)
{
    while (low < high) {
        int pivot = PartitionNetworks(low, high);
        SortNetworks(low, pivot - 1);
        low = pivot + 1;
    }
}

int CAdapterWirelessZadidar::PartitionNetworks(int low, int high)
{
    NetworkRecord* records = surveyBuffer.records;
    NetworkRecord pivot = records[low];
    while (low < high) {
        while (low < high && records[high].quality <= pivot.quality)
            --high;
        records[low] = records[high];
        while (low < high && records[low].quality >= pivot.quality)
            ++low;
        records[high] = records[low];
    }
    records[low] = pivot;
    return low;
}

int CAdapterWirelessZadidar::CopyNetworks(SurveyBuffer& out)
{
    std::lock_guard lock(networksLock);
    out = networks;
    return networkCount;
}

void CAdapterWirelessZadidar::RequestScan()
{
    scanAllowed = true;
    if (!surveyBusy) {
        forceSurvey = true;
        tickCount = 0;
        surveyEvent.Set();
    }
}

int CAdapterWirelessZadidar::GetSecurityKind(const NetworkRecord& record)
{
    if (record.privacy == 0)
        return 0;
    if (!(record.capability & 0x02))
        return 2;
    uint32_t keys = record.keyManagement;
    if (keys & 0x04)
        return keys & 0x40 ? 5 : 3;
    if (keys & 0x40)
        return 4;
    if (keys & 0x02)
        return 6;
    if (keys & 0x20)
        return 7;
    return 1;
}

namespace {
// The record's SSID is at most 32 bytes, terminated or not.
bool SameSsid(const NetworkRecord& record, const VuvProfile& profile)
{
    size_t recordLength = strnlen(record.ssid, 32);
    size_t profileLength = strnlen(profile.ssid, sizeof profile.ssid);
    return recordLength == profileLength && memcmp(record.ssid, profile.ssid, recordLength) == 0;
}

bool EqualOrShared(uint32_t a, uint32_t b)
{
    return a == b || (a & b) != 0;
}
} // namespace

bool CAdapterWirelessZadidar::MatchesNetwork(const NetworkRecord& record, const VuvProfile& profile)
{
    return SameSsid(record, profile) && (profile.flags & ProfilePrivacy) == record.privacy &&
           profile.capability == record.capability &&
           EqualOrShared(profile.keyManagement, record.keyManagement) &&
           EqualOrShared(profile.pairwiseCiphers, record.pairwiseCiphers);
}

bool CAdapterWirelessZadidar::IsProfileInRange(const VuvProfile& profile)
{
    std::lock_guard lock(networksLock);
    for (int i = 0; i < networkCount && i < MaxNetworks; ++i)
        if (MatchesNetwork(networks.records[i], profile))
            return true;
    return false;
}

int CAdapterWirelessZadidar::IsSavedNetwork(const NetworkRecord& record, VuvProfile& profile)
{
    char ssid[33] = {};
    memcpy(ssid, record.ssid, 32);
    bool found = false;
    bool full = false;
    std::string oldestName;
    std::string matchedName;
    FindAutoSavedProfile(ssid, profile, found, full, oldestName, matchedName);
    return found && MatchesNetwork(record, profile) ? 1 : 0;
}

void CAdapterWirelessZadidar::TryAutoConnect()
{
    char ssid[33] = {};
    uint8_t bssid[6] = {};
    LinkState link = QueryLink(ssid, bssid);
    if (!autoConnectEnabled || connectBusy || link != LinkDisconnected || wpsStatus == 1)
        return;
    VuvProfile stored = {};
    if (!LoadProfile("Profile", stored))
        return;
    if (!IsProfileInRange(stored)) {
        autoConnectRetries = 3;
        return;
    }
    if (memcmp(&stored, &autoConnectProfile, sizeof stored) == 0) {
        if (autoConnectRetries > 0)
            --autoConnectRetries;
    } else {
        autoConnectRetries = 3;
    }
    if (autoConnectRetries > 0) {
        autoConnectProfile = stored;
        BeginAutoConnect();
    }
}
