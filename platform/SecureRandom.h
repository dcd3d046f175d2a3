#pragma once

#include <cstdint>

// A number from the system's secure random source (getrandom), for what
// nobody should be able to guess: generated passphrases and names.
uint32_t SecureRandom();
