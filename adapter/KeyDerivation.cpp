#include "adapter/KeyDerivation.h"

#include <cstring>

#include <openssl/evp.h>

namespace {

constexpr size_t MaxPassphrase = 63;
constexpr size_t MaxSsid = 32;
constexpr int Iterations = 4096;

int HexValue(char c)
{
    int code = static_cast<unsigned char>(c);
    if (code >= 'a' && code <= 'z')
        return code - 87;
    if (code <= 64)
        return code - 48;
    return code - 55;
}

} // namespace

void DerivePmk(const char* passphrase, size_t length, const uint8_t* ssid, size_t ssidLength,
               uint8_t (&out)[32])
{
    memset(out, 0, sizeof out);
    if (length > MaxPassphrase || ssidLength > MaxSsid)
        return;
    // A failed derivation may leave part of a key behind; the key is then
    // all zero, as for a passphrase that cannot be derived at all.
    if (PKCS5_PBKDF2_HMAC_SHA1(passphrase, static_cast<int>(length), ssid, static_cast<int>(ssidLength),
                               Iterations, sizeof out, out) != 1)
        memset(out, 0, sizeof out);
}

void HexToBytes(const char* text, size_t length, uint8_t* out, size_t size)
{
    memset(out, 0, size);
    size_t remaining = length;
    for (size_t slot = size; slot > 0 && remaining > 0; --slot) {
        int value = HexValue(text[--remaining]);
        if (remaining > 0)
            value += HexValue(text[--remaining]) * 16;
        out[slot - 1] = static_cast<uint8_t>(value);
    }
}
