#include "sim/SimWpsPin.h"

#include <algorithm>

int SimWpsChecksum(uint32_t firstSeven)
{
    // Digits weigh 3, 1, 3, 1 ... from the right.
    uint32_t sum = 0;
    while (firstSeven) {
        sum += 3 * (firstSeven % 10);
        firstSeven /= 10;
        sum += firstSeven % 10;
        firstSeven /= 10;
    }
    return int((10 - sum % 10) % 10);
}

bool SimWpsPinValid(std::string_view pin)
{
    if ((pin.size() != 4 && pin.size() != 8) ||
        !std::all_of(pin.begin(), pin.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return false;
    if (pin.size() == 4)
        return true;
    uint32_t firstSeven = 0;
    for (size_t i = 0; i < 7; ++i)
        firstSeven = firstSeven * 10 + uint32_t(pin[i] - '0');
    return SimWpsChecksum(firstSeven) == pin[7] - '0';
}

std::string SimWpsPin(uint64_t seed)
{
    // A splitmix64 step spreads consecutive seeds over all PINs.
    seed += 0x9E3779B97F4A7C15ULL;
    seed = (seed ^ (seed >> 30)) * 0xBF58476D1CE4E5B9ULL;
    seed = (seed ^ (seed >> 27)) * 0x94D049BB133111EBULL;
    seed ^= seed >> 31;
    uint32_t firstSeven = uint32_t(seed % 10000000);
    std::string pin = std::to_string(firstSeven);
    pin.insert(0, 7 - pin.size(), '0');
    return pin + char('0' + SimWpsChecksum(firstSeven));
}
