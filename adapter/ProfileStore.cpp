#include <cstring>
#include <ctime>
#include <limits>

#include "adapter/CAdapterWirelessZadidar.h"
#include "platform/CRegistry.h"
#include "platform/CodePage.h"

namespace {

const std::string RootKey = "Software\\Kavlo\\Zarnwell";
const std::string ProfileKey = RootKey + "\\Profile";
const std::string IndexKey = RootKey + "\\Profile\\AutoSave\\ProfileInfo";
const std::string DataKey = RootKey + "\\Profile\\AutoSave\\ProfileData";

constexpr size_t StoredProfileSize = 6 + sizeof(VuvProfile); // 1094
constexpr size_t IndexRecordSize = 46;
// The read buffers: a longer value does not fit and reads as nothing.
constexpr size_t MaxIndexRead = 256;
constexpr size_t MaxProfileRead = 3000;
constexpr int AutoStoreLimit = 5;

std::vector<uint8_t> StoredProfileRecord(const VuvProfile& profile)
{
    std::vector<uint8_t> record(StoredProfileSize);
    memcpy(record.data(), "Merq", 4);
    record[4] = 0x04;
    record[5] = 0x01;
    memcpy(record.data() + 6, &profile, sizeof profile);
    return record;
}

// Accepted on the marker and byte 4; byte 5 is not checked.
bool ReadStoredProfile(const std::vector<uint8_t>& data, VuvProfile& out)
{
    if (data.size() < StoredProfileSize || data.size() > MaxProfileRead || memcmp(data.data(), "Merq", 4) != 0 || data[4] != 0x04)
        return false;
    memcpy(&out, data.data() + 6, sizeof out);
    return true;
}

// The value name of a network: its SSID in UTF-16 through the ANSI code page,
// kept as UTF-8 by the registry, at most 260 characters.
std::string ValueNameOf(const char* ssid)
{
    std::u16string wide;
    LocalToUtf16(std::string_view(ssid, strnlen(ssid, 32)), wide);
    if (wide.size() > 260)
        wide.resize(260);
    return Utf16ToUtf8(wide);
}

} // namespace

bool CAdapterWirelessZadidar::LoadProfile(const std::string& name, VuvProfile& out)
{
    std::vector<uint8_t> data;
    if (!registry.QueryBinary(HiveLocalMachine, ProfileKey, name, data))
        return false;
    return ReadStoredProfile(data, out);
}

void CAdapterWirelessZadidar::SaveProfile(const std::string& name, const VuvProfile& profile)
{
    if (!registry.KeyExists(HiveLocalMachine, ProfileKey) && !registry.CreateKey(HiveLocalMachine, ProfileKey))
        return;
    registry.SetBinary(HiveLocalMachine, ProfileKey, name, StoredProfileRecord(profile));
}

void CAdapterWirelessZadidar::FindAutoSavedProfile(const char* ssid, VuvProfile& profile, bool& found, bool& full,
                                                   std::string& oldestName, std::string& matchedName)
{
    profile = {};
    found = false;
    full = false;
    oldestName.clear();
    matchedName.clear();
    if (!registry.KeyExists(HiveLocalMachine, IndexKey))
        return;

    char wanted[32] = {};
    memcpy(wanted, ssid, strnlen(ssid, sizeof wanted));
    int count = 0;
    uint32_t oldestTime = std::numeric_limits<uint32_t>::max();
    std::string candidateOldest;
    std::string name;
    for (uint32_t index = 0; registry.EnumValue(HiveLocalMachine, IndexKey, index, name); ++index) {
        std::vector<uint8_t> data;
        if (!registry.QueryBinary(HiveLocalMachine, IndexKey, name, data) || data.size() > MaxIndexRead)
            continue;
        if (data.size() < 5 || memcmp(data.data(), "Kavlo", 5) != 0)
            continue;
        ++count;
        if (data.size() >= 38 && memcmp(data.data() + 6, wanted, sizeof wanted) == 0)
            matchedName = name;
        uint32_t time = 0;
        if (data.size() >= IndexRecordSize)
            memcpy(&time, data.data() + 42, sizeof time);
        if (time <= oldestTime) {
            oldestTime = time;
            candidateOldest = name;
        }
    }
    if (count >= AutoStoreLimit) {
        full = true;
        oldestName = candidateOldest;
    }
    if (!matchedName.empty()) {
        std::vector<uint8_t> data;
        if (registry.QueryBinary(HiveLocalMachine, DataKey, ValueNameOf(wanted), data) &&
            ReadStoredProfile(data, profile))
            found = true;
    }
}

void CAdapterWirelessZadidar::StoreAutoSavedProfile(const VuvProfile& profile, const std::string& valueName)
{
    for (const std::string& key : {IndexKey, DataKey})
        if (!registry.KeyExists(HiveLocalMachine, key) && !registry.CreateKey(HiveLocalMachine, key))
            return;

    VuvProfile existing = {};
    bool found = false;
    bool full = false;
    std::string oldestName;
    std::string matchedName;
    FindAutoSavedProfile(profile.ssid, existing, found, full, oldestName, matchedName);
    if (!found && full)
        DeleteAutoSavedProfile(oldestName);

    std::vector<uint8_t> index(IndexRecordSize);
    memcpy(index.data(), "Kavlo", 5);
    index[5] = 0x01;
    memcpy(index.data() + 6, profile.ssid, strnlen(profile.ssid, 32));
    uint32_t now = static_cast<uint32_t>(time(nullptr));
    memcpy(index.data() + 42, &now, sizeof now);
    registry.SetBinary(HiveLocalMachine, IndexKey, valueName, index);
    registry.SetBinary(HiveLocalMachine, DataKey, valueName, StoredProfileRecord(profile));
}

void CAdapterWirelessZadidar::DeleteAutoSavedProfile(const std::string& valueName)
{
    registry.DeleteValue(HiveLocalMachine, IndexKey, valueName);
    registry.DeleteValue(HiveLocalMachine, DataKey, valueName);
}

int CAdapterWirelessZadidar::LoadNetworkMode()
{
    uint32_t mode = 0;
    return registry.QueryNumber(HiveLocalMachine, RootKey, "NetworkMode", mode) && mode != 0 ? 1 : 0;
}

void CAdapterWirelessZadidar::SaveNetworkMode(int mode)
{
    if (registry.KeyExists(HiveLocalMachine, RootKey))
        registry.SetNumber(HiveLocalMachine, RootKey, "NetworkMode", mode != 0 ? 1 : 0);
}
