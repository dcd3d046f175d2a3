#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// The WPS checksum digit of the first seven digits of an eight-digit PIN.
int SimWpsChecksum(uint32_t firstSeven);
// Four digits, or eight digits whose last one is the checksum of the others.
bool SimWpsPinValid(std::string_view pin);
// An eight-digit PIN with its checksum, from any number.
std::string SimWpsPin(uint64_t seed);
