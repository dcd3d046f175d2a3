#include "sim/SimWorldFile.h"

#include <cstdlib>

#include "platform/AsciiCase.h"
#include "platform/CodePage.h"
#include "platform/ProfileFile.h"
#include "sim/CSimWorld.h"

std::string SimWorldPath(const std::string& exeDir)
{
    const char* path = std::getenv("ZARNWELL_WORLD");
    if (path && *path)
        return path;
    return exeDir + "/Sim/World.ini";
}

bool LoadSimWorld(const std::string& path, CSimWorld& world, std::vector<std::string>& problems)
{
    CProfileFile file;
    if (!file.Open(path))
        return false;
    SimAdapterSettings adapter;
    std::vector<SimNetwork> networks;
    for (const std::u16string& section : file.Sections()) {
        std::string name = Utf16ToUtf8(section);
        bool isAdapter = FoldAscii(name) == "adapter";
        bool isNetwork = FoldAscii(name).starts_with("network");
        if (!isAdapter && !isNetwork) {
            problems.push_back("[" + name + "]: unknown section");
            continue;
        }
        SimNetwork network;
        bool good = true;
        for (const std::u16string& key : file.Keys(section)) {
            // SSIDs and passphrases are taken as UTF-8 bytes whatever the file's encoding.
            std::string value = Utf16ToUtf8(file.GetString(section, key, u"", CProfileFile::maxLineChars));
            std::string error;
            bool set = isAdapter ? adapter.Set(Utf16ToUtf8(key), value, error)
                                 : network.Set(Utf16ToUtf8(key), value, error);
            if (!set) {
                problems.push_back("[" + name + "] " + error);
                good = isAdapter;
            }
        }
        std::string error;
        if (isNetwork && good && !network.Finish(error)) {
            problems.push_back("[" + name + "] " + error);
            good = false;
        }
        if (isNetwork && good)
            networks.push_back(network);
    }
    world.Configure(adapter);
    world.RemoveAllNetworks();
    for (SimNetwork& network : networks) {
        std::string error;
        if (!world.AddNetwork(network, error))
            problems.push_back(error);
    }
    return true;
}
