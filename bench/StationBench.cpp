#include <benchmark/benchmark.h>

#include <openssl/evp.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>

#include "adapter/CAdapterWirelessZadidar.h"
#include "adapter/KeyDerivation.h"
#include "platform/CLauncher.h"
#include "platform/CLinuxSystem.h"
#include "platform/CRegistry.h"
#include "platform/RealClock.h"
#include "tests/support/CNoSharingService.h"
#include "tests/support/CNoSystemAdapters.h"

namespace {

const char Passphrase[] = "ThisIsAPassword";
const char Ssid[] = "ThisIsASSID";

void DerivePmkOfTheSystem(benchmark::State& state)
{
    uint8_t pmk[32];
    for (auto _ : state) {
        DerivePmk(Passphrase, strlen(Passphrase), reinterpret_cast<const uint8_t*>(Ssid), strlen(Ssid), pmk);
        benchmark::DoNotOptimize(pmk);
    }
}
BENCHMARK(DerivePmkOfTheSystem)->Unit(benchmark::kMillisecond);

// The same derivation straight from libcrypto: what the wrapper costs.
void Pbkdf2OfLibcrypto(benchmark::State& state)
{
    uint8_t pmk[32];
    for (auto _ : state) {
        PKCS5_PBKDF2_HMAC_SHA1(Passphrase, static_cast<int>(strlen(Passphrase)),
                               reinterpret_cast<const unsigned char*>(Ssid), static_cast<int>(strlen(Ssid)), 4096,
                               sizeof pmk, pmk);
        benchmark::DoNotOptimize(pmk);
    }
}
BENCHMARK(Pbkdf2OfLibcrypto)->Unit(benchmark::kMillisecond);

// Answers a survey with a full list of 128 networks in scrambled quality
// order, and nothing else.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wunused-parameter"
class CSilentLibrary : public CDriverLibrary {
public:
#define ZARNWELL_SILENT(result, name, params, args) \
    result name params override { return result(); }
    ZARNWELL_DRIVER_FUNCTIONS(ZARNWELL_SILENT)
#undef ZARNWELL_SILENT
};
#pragma GCC diagnostic pop

class CSurveyLibrary final : public CSilentLibrary {
public:
    int RT_SiteSurveyEx(SurveyBuffer& buffer, uint8_t&, int) override
    {
        for (int i = 0; i < MaxNetworks; ++i) {
            NetworkRecord& record = buffer.records[i];
            record = {};
            record.networkType = 1;
            snprintf(record.ssid, sizeof record.ssid, "Network %d", i);
            record.quality = static_cast<uint8_t>((i * 37) % 101);
        }
        return MaxNetworks;
    }
};

// A survey of 128 records: copy, sort and publish. The automatic connect
// afterwards is switched off, so only the list work is timed.
void SurveyOf128Networks(benchmark::State& state)
{
    char folderTemplate[] = "/tmp/zarnwell-bench-XXXXXX";
    const char* folder = mkdtemp(folderTemplate);
    if (!folder) {
        state.SkipWithError("no temporary folder");
        return;
    }
    {
        CSurveyLibrary library;
        CRealClock clock;
        CRegistry registry{folder};
        CNoSystemAdapters systemAdapters;
        CLinuxSystem system;
        CLauncher launcher;
        CNoSharingService sharing;
        CAdapterWirelessZadidar adapter(library, {clock, system, registry, systemAdapters, launcher, sharing});
        adapter.adapterState = AdapterReady;
        adapter.autoConnectEnabled = false;
        for (auto _ : state) {
            adapter.SiteSurvey();
            benchmark::ClobberMemory();
        }
        SurveyBuffer shown;
        if (adapter.CopyNetworks(shown) != MaxNetworks || shown.records[0].quality != 100)
            state.SkipWithError("survey did not publish the sorted list");
    }
    std::filesystem::remove_all(folder);
}
BENCHMARK(SurveyOf128Networks)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
