#include "sim/CSimRegistryOwner.h"

#include "platform/AsciiCase.h"
#include "sim/CSimWorld.h"

namespace {

const char networkClass[] = "SYSTEM\\CurrentControlSet\\Control\\Network\\{4D36E972-E325-11CE-BFC1-08002BE10318}\\";

} // namespace

bool CSimRegistryOwner::Owns(RegistryHive hive, const std::string& key)
{
    return hive == HiveLocalMachine &&
           FoldAscii(key) == FoldAscii(networkClass + world.DeviceName() + "\\Connection");
}

bool CSimRegistryOwner::QueryString(RegistryHive hive, const std::string& key, const std::string& name,
                                    std::string& out)
{
    if (!Owns(hive, key) || FoldAscii(name) != "name")
        return false;
    out = world.ConnectionName();
    return true;
}
