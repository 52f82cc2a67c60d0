#include "zip/pkcrypt.h"

namespace {

struct CrcTable {
    uint32_t t[256];
    CrcTable()
    {
        for (uint32_t n = 0; n < 256; ++n) {
            uint32_t c = n;
            for (int k = 0; k < 8; ++k)
                c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            t[n] = c;
        }
    }
};

const CrcTable &table()
{
    static const CrcTable crcTable;
    return crcTable;
}

inline uint32_t crcStep(const uint32_t *t, uint32_t crc, uint8_t c)
{
    return t[(crc ^ c) & 0xFF] ^ (crc >> 8);
}

} // namespace

uint32_t crc32(uint32_t crc, const void *buffer, size_t n)
{
    if (!buffer)
        return 0;
    const uint32_t *t = table().t;
    const uint8_t *p = static_cast<const uint8_t *>(buffer);
    crc = ~crc;
    while (n >= 8) {
        for (int i = 0; i < 8; ++i)
            crc = crcStep(t, crc, p[i]);
        p += 8;
        n -= 8;
    }
    while (n--)
        crc = crcStep(t, crc, *p++);
    return ~crc;
}

void updateKeys(PkKeys &keys, uint8_t c)
{
    const uint32_t *t = table().t;
    keys.key[0] = crcStep(t, keys.key[0], c);
    keys.key[1] = (keys.key[1] + (keys.key[0] & 0xFF)) * 134775813u + 1;
    keys.key[2] = crcStep(t, keys.key[2], uint8_t(keys.key[1] >> 24));
}

uint8_t decryptByte(const PkKeys &keys)
{
    const uint32_t t = (keys.key[2] & 0xFFFF) | 2;
    return uint8_t(((t * (t ^ 1)) >> 8) & 0xFF);
}

uint8_t encodeByte(PkKeys &keys, uint8_t c)
{
    const uint8_t t = decryptByte(keys);
    updateKeys(keys, c);
    return t ^ c;
}

PkKeys pkInitKeys(const char *password)
{
    PkKeys keys{{305419896u, 591751049u, 878082192u}};
    for (const char *p = password; p && *p; ++p)
        updateKeys(keys, uint8_t(*p));
    return keys;
}

void pkEncrypt(PkKeys &keys, uint8_t *data, size_t n)
{
    for (size_t i = 0; i < n; ++i)
        data[i] = encodeByte(keys, data[i]);
}

void pkDecrypt(PkKeys &keys, uint8_t *data, size_t n)
{
    for (size_t i = 0; i < n; ++i) {
        data[i] ^= decryptByte(keys);
        updateKeys(keys, data[i]);
    }
}
