#include "embedded/Blowfish.h"

#include <cstring>

namespace {

uint32_t LoadLittleEndian(const unsigned char* p)
{
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

void StoreLittleEndian(unsigned char* p, uint32_t value)
{
    p[0] = static_cast<unsigned char>(value);
    p[1] = static_cast<unsigned char>(value >> 8);
    p[2] = static_cast<unsigned char>(value >> 16);
    p[3] = static_cast<unsigned char>(value >> 24);
}

}  // namespace

CBlowfish::CBlowfish() : m_p(nullptr), m_s(nullptr) {}

CBlowfish::~CBlowfish() { Free(); }

CBlowfish& CBlowfish::Init()
{
    Free();
    m_p = new uint32_t[kPWords];
    m_s = new uint32_t[kSWords];
    return *this;
}

void CBlowfish::Free()
{
    delete[] m_p;
    delete[] m_s;
    m_p = nullptr;
    m_s = nullptr;
}

void CBlowfish::SetKey(const unsigned char* key, int32_t length)
{
    std::memcpy(m_p, s_initialP, sizeof s_initialP);
    std::memcpy(m_s, s_initialS, sizeof s_initialS);

    int32_t j = 0;
    for (int i = 0; i < kPWords; ++i) {
        uint32_t word = 0;
        for (int k = 0; k < 4; ++k) {
            word = word << 8 | key[j];
            j = (j + 1) % length;
        }
        m_p[i] ^= word;
    }

    uint32_t left = 0;
    uint32_t right = 0;
    for (int i = 0; i < kPWords; i += 2) {
        EncryptBlock(left, right);
        m_p[i] = left;
        m_p[i + 1] = right;
    }
    for (int k = 0; k < kSWords; k += 2) {
        EncryptBlock(left, right);
        m_s[k] = left;
        m_s[k + 1] = right;
    }
}

inline uint32_t CBlowfish::Round(uint32_t x) const
{
    const uint32_t* s = m_s;
    return ((s[x >> 24] + s[256 + (x >> 16 & 0xFF)]) ^ s[512 + (x >> 8 & 0xFF)]) + s[768 + (x & 0xFF)];
}

// Each step XORs one P word into L, mixes F(L) into R and swaps the halves; the swaps are folded
// into alternating the roles of the two variables.
#define BLOWFISH_PAIR(a, b)    \
    l ^= p[a];                 \
    r ^= Round(l);             \
    r ^= p[b];                 \
    l ^= Round(r)

void CBlowfish::EncryptBlock(uint32_t& left, uint32_t& right) const
{
    const uint32_t* p = m_p;
    uint32_t l = left;
    uint32_t r = right;
    BLOWFISH_PAIR(0, 1);
    BLOWFISH_PAIR(2, 3);
    BLOWFISH_PAIR(4, 5);
    BLOWFISH_PAIR(6, 7);
    BLOWFISH_PAIR(8, 9);
    BLOWFISH_PAIR(10, 11);
    BLOWFISH_PAIR(12, 13);
    BLOWFISH_PAIR(14, 15);
    left = r ^ p[17];
    right = l ^ p[16];
}

void CBlowfish::DecryptBlock(uint32_t& left, uint32_t& right) const
{
    const uint32_t* p = m_p;
    uint32_t l = left;
    uint32_t r = right;
    BLOWFISH_PAIR(17, 16);
    BLOWFISH_PAIR(15, 14);
    BLOWFISH_PAIR(13, 12);
    BLOWFISH_PAIR(11, 10);
    BLOWFISH_PAIR(9, 8);
    BLOWFISH_PAIR(7, 6);
    BLOWFISH_PAIR(5, 4);
    BLOWFISH_PAIR(3, 2);
    left = r ^ p[0];
    right = l ^ p[1];
}

#undef BLOWFISH_PAIR

uint32_t CBlowfish::PaddedSize(uint32_t n)
{
    const uint32_t rest = n % kBlockSize;
    return rest == 0 ? n : n - rest + kBlockSize;
}

void CBlowfish::Decrypt(const unsigned char* source, unsigned char* destination, uint32_t n) const
{
    if (n == 0)
        return;
    const uint32_t blocks = (n - 1) / kBlockSize + 1;
    for (uint32_t i = 0; i < blocks; ++i) {
        unsigned char* block = destination + i * kBlockSize;
        if (source != destination)
            std::memcpy(block, source + i * kBlockSize, kBlockSize);
        uint32_t left = LoadLittleEndian(block);
        uint32_t right = LoadLittleEndian(block + 4);
        DecryptBlock(left, right);
        StoreLittleEndian(block, left);
        StoreLittleEndian(block + 4, right);
    }
}

void CBlowfish::Encrypt(const unsigned char* source, unsigned char* destination, uint32_t n) const
{
    if (n == 0)
        return;
    const uint32_t blocks = (n - 1) / kBlockSize + 1;
    for (uint32_t i = 0; i < blocks; ++i) {
        unsigned char* block = destination + i * kBlockSize;
        if (source != destination)
            std::memcpy(block, source + i * kBlockSize, kBlockSize);
        uint32_t left = LoadLittleEndian(block);
        uint32_t right = LoadLittleEndian(block + 4);
        EncryptBlock(left, right);
        StoreLittleEndian(block, left);
        StoreLittleEndian(block + 4, right);
    }
}
