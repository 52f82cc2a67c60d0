#pragma once

// The traditional PKWARE stream cipher of the zip format and the zip CRC-32 it is built on.
// Shared by the archive reader (decryption) and writer (encryption).

#include <cstddef>
#include <cstdint>

// Reflected CRC-32 (polynomial 0xEDB88320) continued from a running value; a null buffer gives 0.
uint32_t crc32(uint32_t crc, const void *buffer, size_t n);

struct PkKeys {
    uint32_t key[3];
};

// Keys primed with a NUL-terminated password (an empty password is a valid key too).
PkKeys pkInitKeys(const char *password);
void updateKeys(PkKeys &keys, uint8_t c);
uint8_t decryptByte(const PkKeys &keys);
uint8_t encodeByte(PkKeys &keys, uint8_t c);

void pkEncrypt(PkKeys &keys, uint8_t *data, size_t n);
void pkDecrypt(PkKeys &keys, uint8_t *data, size_t n);
