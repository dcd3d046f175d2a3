#include "sim/SimConnection.h"

#include <algorithm>
#include <cstdio>

#include "platform/AsciiCase.h"
#include "sim/SimNetwork.h"

namespace {

const struct {
    SimMedia media;
    const char* name;
} medias[] = {{MediaLan, "lan"}, {MediaPhone, "modem"}, {MediaPppoe, "pppoe"}, {MediaBridge, "bridge"}};

} // namespace

const char* SimMediaName(SimMedia media)
{
    for (const auto& each : medias)
        if (each.media == media)
            return each.name;
    return "lan";
}

uint32_t SimConnection::Status() const
{
    if (connected)
        return ConnectionConnected;
    // A cable or a modem that is not there; a dial-up that has not dialled.
    return media == MediaPppoe || media == MediaPhone ? ConnectionDisconnected : ConnectionMediaDisconnected;
}

bool SimConnection::Set(std::string_view rawKey, std::string_view value, std::string& error)
{
    std::string key = FoldAscii(rawKey);
    if (key == "name" || key == "device") {
        // The sharing library's connection entries hold 127 bytes of each.
        if (value.empty() || value.size() > 127) {
            error = key + " must be 1 to 127 characters";
            return false;
        }
        (key == "name" ? name : device) = std::string(value);
        return true;
    }
    if (key == "guid") {
        if (value.size() != 38 || value.front() != '{' || value.back() != '}') {
            error = "guid must look like {4D36E972-E325-11CE-BFC1-08002BE10318}";
            return false;
        }
        guid = std::string(value);
        return true;
    }
    if (key == "media") {
        std::string wanted = FoldAscii(value);
        auto found = std::find_if(std::begin(medias), std::end(medias),
                                  [&](const auto& each) { return wanted == each.name; });
        if (found == std::end(medias)) {
            error = "media must be lan, modem, pppoe or bridge";
            return false;
        }
        media = found->media;
        return true;
    }
    if (key == "connected") {
        if (!SimParseBool(value, connected)) {
            error = "connected must be yes or no";
            return false;
        }
        return true;
    }
    long long number = 0;
    if (key == "characteristics") {
        if (!SimParseNumber(value, number) || number < 0 || number > 0xFFFFFFFFLL) {
            error = "characteristics must be a 32-bit number";
            return false;
        }
        characteristics = uint32_t(number);
        return true;
    }
    if (key == "speed") {
        if (!SimParseNumber(value, number) || number < 0 || number > 100000) {
            error = "speed must be Mbit/s from 0 to 100000";
            return false;
        }
        speedMbps = int(number);
        return true;
    }
    error = "unknown key " + key;
    return false;
}

bool SimConnection::Finish(std::string& error)
{
    if (name.empty()) {
        error = "a connection needs a name";
        return false;
    }
    if (device.empty())
        device = name;
    if (guid.empty()) {
        // Stable for a name, so that a world file gives the same GUIDs every run.
        uint32_t hash = 2166136261u;
        for (unsigned char c : name)
            hash = (hash ^ c) * 16777619u;
        char text[39];
        std::snprintf(text, sizeof text, "{%08X-5A57-4E11-8000-%012X}", hash, unsigned(name.size()));
        guid = text;
    }
    return true;
}
