#include "platform/CLinuxSystem.h"

#include <cstdlib>
#include <string_view>

#include "platform/ProcessInfo.h"
#include "platform/Spawn.h"

namespace {

constexpr uint32_t LocaleEnglishUs = 1033;

struct LocaleId {
    std::string_view name; // "ll_CC", or "ll" for the language's main locale
    uint32_t id;
};

constexpr LocaleId LocaleIds[] = {
    {"zh_CN", 2052}, {"zh_TW", 1028}, {"zh_HK", 3076}, {"zh_SG", 4100}, {"zh_MO", 5124}, {"zh", 2052},
    {"en_US", 1033}, {"en_GB", 2057}, {"en_AU", 3081}, {"en_CA", 4105}, {"en_NZ", 5129}, {"en_IE", 6153},
    {"en", 1033},    {"de_DE", 1031}, {"de_CH", 2055}, {"de_AT", 3079}, {"de", 1031},    {"fr_FR", 1036},
    {"fr_BE", 2060}, {"fr_CA", 3084}, {"fr_CH", 4108}, {"fr", 1036},    {"ja_JP", 1041}, {"ja", 1041},
    {"ko_KR", 1042}, {"ko", 1042},    {"es_ES", 3082}, {"es_MX", 2058}, {"es", 3082},    {"it_IT", 1040},
    {"it_CH", 2064}, {"it", 1040},    {"pt_BR", 1046}, {"pt_PT", 2070}, {"pt", 1046},    {"ru_RU", 1049},
    {"ru", 1049},    {"nl_NL", 1043}, {"nl", 1043},    {"pl_PL", 1045}, {"pl", 1045},    {"tr_TR", 1055},
    {"tr", 1055},    {"sv_SE", 1053}, {"sv", 1053},    {"th_TH", 1054}, {"th", 1054},    {"vi_VN", 1066},
    {"vi", 1066},
};

uint32_t Lookup(std::string_view name)
{
    for (const LocaleId& entry : LocaleIds) {
        if (entry.name == name)
            return entry.id;
    }
    return 0;
}

} // namespace

std::string CLinuxSystem::ModulePath()
{
    return ::ModulePath();
}

COsVersionInfo CLinuxSystem::OsVersion()
{
    return {2, 10, 0};
}

bool CLinuxSystem::IsWow64()
{
    return false;
}

// The adapter is the simulated one, reached without any privilege, so there
// is nothing to gain from a restart as root; reporting "elevated" keeps
// start-up from asking for a password for nothing.
bool CLinuxSystem::IsElevated()
{
    return true;
}

void CLinuxSystem::RelaunchElevated(const std::string& exePath, const std::vector<std::string>& args,
                                    const std::string& workDir)
{
    std::vector<std::string> argv = {"pkexec", exePath};
    argv.insert(argv.end(), args.begin(), args.end());
    pid_t pid;
    SpawnDetached(argv, workDir, false, pid);
}

uint32_t CLinuxSystem::DefaultLocaleId()
{
    std::string locale;
    for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const char* value = std::getenv(name);
        if (value && *value) {
            locale = value;
            break;
        }
    }
    // "ll_CC.codeset@modifier"
    std::string_view name = locale;
    name = name.substr(0, name.find_first_of(".@"));
    if (uint32_t id = Lookup(name))
        return id;
    if (uint32_t id = Lookup(name.substr(0, name.find('_'))))
        return id;
    return LocaleEnglishUs;
}
