#pragma once

#include <cstddef>
#include <cstdint>

// The 802.11i passphrase-to-key mapping: PBKDF2-HMAC-SHA1 of the passphrase
// with the SSID as salt, 4096 iterations, 32 bytes. The key stays all zero
// when the passphrase is longer than 63 bytes or the SSID longer than 32.
void DerivePmk(const char* passphrase, size_t length, const uint8_t* ssid, size_t ssidLength,
               uint8_t (&out)[32]);

// Hexadecimal text to bytes, right-aligned: zeroes out[0..size), then takes
// two characters per byte from the end of the text, filling `out` from its
// last byte backwards until either runs out; a leading odd character makes a
// byte of its own. Characters are not checked (the windows accept only
// hexadecimal digits): 'a'-'z' count as code - 87, codes up to 64 as
// code - 48, everything else as code - 55.
void HexToBytes(const char* text, size_t length, uint8_t* out, size_t size);
