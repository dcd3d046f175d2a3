#include "sim/CSimRegistryOwner.h"

#include "sim/CSimWorld.h"

namespace {

const char networkClass[] = "SYSTEM\\CurrentControlSet\\Control\\Network\\{4D36E972-E325-11CE-BFC1-08002BE10318}\\";

bool SameFolded(const std::string& a, const std::string& b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i) {
        char x = a[i] >= 'A' && a[i] <= 'Z' ? char(a[i] - 'A' + 'a') : a[i];
        char y = b[i] >= 'A' && b[i] <= 'Z' ? char(b[i] - 'A' + 'a') : b[i];
        if (x != y)
            return false;
    }
    return true;
}

} // namespace

bool CSimRegistryOwner::Owns(RegistryHive hive, const std::string& key)
{
    return hive == HiveLocalMachine && SameFolded(key, networkClass + world.DeviceName() + "\\Connection");
}

bool CSimRegistryOwner::QueryString(RegistryHive hive, const std::string& key, const std::string& name,
                                    std::string& out)
{
    if (!Owns(hive, key) || !SameFolded(name, "Name"))
        return false;
    out = world.ConnectionName();
    return true;
}
