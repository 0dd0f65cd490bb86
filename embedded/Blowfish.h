#pragma once
// Blowfish block cipher (64-bit block, 16 rounds) in ECB mode, as the embedded blocks use it.
// A block in memory is two little-endian 32-bit words, L at offset 0 and R at offset 4; key
// bytes are packed big-endian, four to a word, and read cyclically. Only the first 72 key bytes
// take part in the key schedule.

#include <cstdint>

class CBlowfish {
public:
    static constexpr int kPWords = 18;
    static constexpr int kSWords = 4 * 256;
    static constexpr uint32_t kBlockSize = 8;

    CBlowfish();
    ~CBlowfish();
    CBlowfish(const CBlowfish&) = delete;
    CBlowfish& operator=(const CBlowfish&) = delete;

    // Allocates the tables; their contents are undefined until SetKey.
    CBlowfish& Init();
    void Free();
    // length must be at least 1.
    void SetKey(const unsigned char* key, int32_t length);

    void EncryptBlock(uint32_t& left, uint32_t& right) const;
    void DecryptBlock(uint32_t& left, uint32_t& right) const;

    // n rounded up to a multiple of the block size.
    static uint32_t PaddedSize(uint32_t n);
    // Both process PaddedSize(n) bytes, so both buffers must hold that many. source may equal
    // destination (in place); otherwise the source is left unchanged.
    void Decrypt(const unsigned char* source, unsigned char* destination, uint32_t n) const;
    void Encrypt(const unsigned char* source, unsigned char* destination, uint32_t n) const;

private:
    uint32_t Round(uint32_t x) const;

    static const uint32_t s_initialP[kPWords];
    static const uint32_t s_initialS[kSWords];

    uint32_t* m_p;
    uint32_t* m_s;
};
