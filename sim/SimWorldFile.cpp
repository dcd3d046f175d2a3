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
    SimComputerSettings computer;
    std::vector<SimNetwork> networks;
    std::vector<SimConnection> connections;
    std::vector<SimPhone> phones;
    for (const std::u16string& section : file.Sections()) {
        std::string name = Utf16ToUtf8(section);
        std::string folded = FoldAscii(name);
        bool isAdapter = folded == "adapter";
        bool isComputer = folded == "computer";
        bool isNetwork = folded.starts_with("network");
        bool isConnection = folded.starts_with("connection");
        bool isPhone = folded.starts_with("phone");
        if (!isAdapter && !isComputer && !isNetwork && !isConnection && !isPhone) {
            problems.push_back("[" + name + "]: unknown section");
            continue;
        }
        SimNetwork network;
        SimConnection connection;
        SimPhone phone;
        // A bad key of [Adapter] or [Computer] is left out; a bad key of any
        // other section leaves the whole section out.
        bool good = true;
        for (const std::u16string& key : file.Keys(section)) {
            // SSIDs and passphrases are taken as UTF-8 bytes whatever the file's encoding.
            std::string value = Utf16ToUtf8(file.GetString(section, key, u"", CProfileFile::maxLineChars));
            std::string keyText = Utf16ToUtf8(key);
            std::string error;
            bool set = isAdapter    ? adapter.Set(keyText, value, error)
                       : isComputer ? computer.Set(keyText, value, error)
                       : isNetwork  ? network.Set(keyText, value, error)
                       : isConnection ? connection.Set(keyText, value, error)
                                      : phone.Set(keyText, value, error);
            if (!set) {
                problems.push_back("[" + name + "] " + error);
                good = isAdapter || isComputer;
            }
        }
        std::string error;
        if (good && isNetwork && network.Finish(error))
            networks.push_back(network);
        else if (good && isConnection && connection.Finish(error))
            connections.push_back(connection);
        else if (good && isPhone && phone.Finish(error))
            phones.push_back(phone);
        if (!error.empty())
            problems.push_back("[" + name + "] " + error);
    }
    world.Configure(adapter);
    world.ConfigureComputer(computer);
    world.RemoveAllNetworks();
    world.RemoveAllConnections();
    world.RemoveAllPhones();
    std::string error;
    for (SimNetwork& network : networks)
        if (!world.AddNetwork(network, error))
            problems.push_back(error);
    for (SimConnection& connection : connections)
        if (!world.AddConnection(connection, error))
            problems.push_back(error);
    for (SimPhone& phone : phones)
        if (!world.AddPhone(phone, error))
            problems.push_back(error);
    return true;
}
