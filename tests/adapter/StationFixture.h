#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <cstring>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "adapter/CAdapterWirelessZadidar.h"
#include "adapter/driver_library/CRecordingDriverLibrary.h"
#include "platform/CLauncher.h"
#include "platform/CPlatformServices.h"
#include "platform/CRegistry.h"
#include "platform/MockClock.h"
#include "tests/support/CNoSharingService.h"
#include "tests/support/CNoSystemAdapters.h"
#include "tests/support/CQuietSystem.h"
#include "tests/support/CSilentDriverLibrary.h"
#include "tests/support/Hex.h"
#include "tests/support/TempDir.h"

using Lines = std::vector<std::string>;

inline Lines operator+(Lines a, const Lines& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

// The adapter's answers that the connect sequence reads back: power saving
// 2, rates 54/1/2/3/4, preamble 1, default algorithm 5 (so that the WEP
// security info 6 can only come from it). The first custom
// request fills the handover buffer with 0xA5, so that what the sequence
// writes over it shows. A test may hold a worker inside RT_SetChannel for a
// while of clock time.
class CStationLibrary : public CSilentDriverLibrary {
public:
    explicit CStationLibrary(CClock& clock) : clock(clock) {}

    int RT_GetPowerSaveMode() override { return 2; }
    int RT_GetPreambleMode() override { return 1; }
    int RT_GetDefaultEncryptionAlgorithm() override { return 5; }
    void RT_GetRates(int& rate1, int& rate2, int& rate3, int& rate4, int& rate5) override
    {
        rate1 = 54, rate2 = 1, rate3 = 2, rate4 = 3, rate5 = 4;
    }
    void RT_CustomRequest(uint32_t request, KeyHandoverBuffer& buffer, int) override
    {
        if (request == 0x813BFE20)
            memset(buffer.bytes, 0xa5, sizeof buffer.bytes);
    }
    void RT_SetChannel(int) override
    {
        Ms hold = holdInChannel;
        if (hold.count() > 0)
            clock.Sleep(hold);
    }

    std::atomic<Ms> holdInChannel{Ms(0)};

private:
    CClock& clock;
};

// Keeps the buffers the sequence hands over: the handover buffer of the
// second custom request, the add-key OID buffer and the linked profile.
class CCapturingRecorder : public CRecordingDriverLibrary {
public:
    using CRecordingDriverLibrary::CRecordingDriverLibrary;

    void RT_CustomRequest(uint32_t request, KeyHandoverBuffer& buffer, int length) override
    {
        if (request == 0x813BFE1C) {
            std::lock_guard lock(mutex);
            handover = buffer;
        }
        CRecordingDriverLibrary::RT_CustomRequest(request, buffer, length);
    }
    void RT_SetOID(uint32_t oid, OidBuffer& buffer, int length) override
    {
        {
            std::lock_guard lock(mutex);
            addKey = buffer;
        }
        CRecordingDriverLibrary::RT_SetOID(oid, buffer, length);
    }
    void RT_ACM_LinkVuvProfileNew(const VuvProfile& profile, const char (&profileName)[33], const char (&ssid)[33],
                                  int infrastructure, int flag1, int flag2) override
    {
        {
            std::lock_guard lock(mutex);
            linked = profile;
        }
        CRecordingDriverLibrary::RT_ACM_LinkVuvProfileNew(profile, profileName, ssid, infrastructure, flag1, flag2);
    }

    std::optional<KeyHandoverBuffer> Handover()
    {
        std::lock_guard lock(mutex);
        return handover;
    }
    std::optional<OidBuffer> AddKey()
    {
        std::lock_guard lock(mutex);
        return addKey;
    }
    std::optional<VuvProfile> Linked()
    {
        std::lock_guard lock(mutex);
        return linked;
    }

private:
    std::mutex mutex;
    std::optional<KeyHandoverBuffer> handover;
    std::optional<OidBuffer> addKey;
    std::optional<VuvProfile> linked;
};

// A listed network; the BSSID and channel are the same for every record. The
// group cipher differs from every pairwise value the tests use, so that a
// copy of the wrong field shows.
struct RecordSpec {
    const char* ssid = "Home";
    uint8_t networkType = 1;
    uint8_t privacy = 1;
    uint32_t capability = 0x02;
    uint32_t groupCiphers = 0x01;
    uint32_t pairwiseCiphers = 0;
    uint32_t keyManagement = 0;
    uint32_t mixedPreference = 0;
};

inline NetworkRecord MakeRecord(const RecordSpec& spec)
{
    NetworkRecord record = {};
    record.networkType = spec.networkType;
    // Up to the whole field: an SSID of 33 characters or more has no terminator.
    memcpy(record.ssid, spec.ssid, std::min(strlen(spec.ssid), sizeof record.ssid));
    const uint8_t bssid[6] = {0x00, 0x1a, 0x2b, 0x3c, 0x4d, 0x5e};
    memcpy(record.bssid, bssid, sizeof bssid);
    record.quality = 80;
    record.channel = 6;
    record.privacy = spec.privacy;
    record.capability = spec.capability;
    record.groupCiphers = spec.groupCiphers;
    record.pairwiseCiphers = spec.pairwiseCiphers;
    record.keyManagement = spec.keyManagement;
    record.mixedPreference = spec.mixedPreference;
    return record;
}

// What the password or manual-add window hands over.
struct DescriptionSpec {
    const char* ssid = "Home";
    uint32_t securityKind = 0;
    uint32_t cipher = 0;
    std::string passphrase;
    uint32_t wepAuthentication = 0;
    uint16_t wepKeyIndex = 0;
    std::array<std::string, 4> wepKeys;
};

inline NetworkDescription MakeDescription(const DescriptionSpec& spec)
{
    NetworkDescription description = {};
    memcpy(description.ssid, spec.ssid, std::min(strlen(spec.ssid), sizeof description.ssid));
    description.securityKind = spec.securityKind;
    description.cipher = spec.cipher;
    memcpy(description.passphrase, spec.passphrase.data(), spec.passphrase.size());
    description.passphraseLength = static_cast<uint32_t>(spec.passphrase.size());
    description.wepAuthentication = spec.wepAuthentication;
    description.wepKeyIndex = spec.wepKeyIndex;
    for (int i = 0; i < 4; ++i) {
        memcpy(description.wepKeyText[i], spec.wepKeys[i].data(), spec.wepKeys[i].size());
        description.wepKeyLength[i] = static_cast<uint16_t>(spec.wepKeys[i].size());
    }
    return description;
}

// The 64 hexadecimal digits of the key 00 01 .. 1f.
inline std::string CountingKeyHex()
{
    uint8_t key[32];
    for (int i = 0; i < 32; ++i)
        key[i] = static_cast<uint8_t>(i);
    return Hex(key, sizeof key);
}

// The adapter object over the recorder, in mock time, with its registry in a
// temporary folder. No worker runs unless a test starts one.
class StationFixture : public ::testing::Test {
protected:
    StationFixture()
    {
        clock.Participate();
        adapter = std::make_unique<CAdapterWirelessZadidar>(recorder, services);
    }
    ~StationFixture() override
    {
        adapter.reset();
        clock.Leave();
    }

    CMockClock clock;
    CTempDir state;
    CRegistry registry{state.Path()};
    CStationLibrary library{clock};
    CCapturingRecorder recorder{library};
    CNoSystemAdapters systemAdapters;
    CLauncher launcher;
    CQuietSystem system;
    CNoSharingService sharing;
    CPlatformServices services{clock, system, registry, systemAdapters, launcher, sharing};
    std::unique_ptr<CAdapterWirelessZadidar> adapter;
};
