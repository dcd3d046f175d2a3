#include "adapter/ProfileSecurity.h"

#include <cstring>

namespace {

constexpr size_t AddKeyRecord = 8;
constexpr uint32_t AddKeyLengthField = 71;

void Put32(uint8_t* bytes, size_t offset, uint32_t value)
{
    memcpy(bytes + offset, &value, sizeof value);
}

} // namespace

WpaSetting WpaSettingFor(int mode, int cipher)
{
    if (mode == SecurityWpaPsk)
        return cipher == CipherKindTkip ? WpaSetting{3, 4, 3, 2} : WpaSetting{6, 6, 5, 4};
    return cipher == CipherKindAes ? WpaSetting{4, 6, 4, 3} : WpaSetting{7, 4, 5, 5};
}

void WriteAddKey(OidBuffer& oid, const VuvProfile& profile)
{
    uint8_t* record = oid.bytes + AddKeyRecord;
    Put32(record, 0, AddKeyLengthField);
    Put32(record, 4, 0);
    Put32(record, 8, sizeof profile.pmk);
    memset(record + 12, 0xff, 6);
    memcpy(record + 32, profile.pmk, sizeof profile.pmk);
}
