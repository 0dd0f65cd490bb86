#include "embedded/Guard.h"

#include "embedded/Blowfish.h"
#include "embedded/Compression.h"
#include "embedded/PackedResource.h"

#include <cstddef>
#include <cstdint>
#include <cstring>

CGuard::CGuard(const GuardParameters& parameters)
    : m_material(nullptr),
      m_materialLength(kMaterialLength),
      m_keyOffset(parameters.keyOffset),
      m_keyLength(kKeyLength),
      m_firstMove(parameters.firstMove),
      m_secondMove(parameters.secondMove),
      m_xorStep(parameters.xorStep)
{
}

CGuard::~CGuard() { Clear(); }

int CGuard::Load(const unsigned char* material, int32_t length)
{
    Clear();
    if (material == nullptr || length == 0 || length != m_materialLength)
        return 0;
    // A key that does not lie inside the material would be read past its end.
    if (m_keyOffset < 0 || m_keyOffset > m_materialLength - m_keyLength)
        return 0;
    m_material = new unsigned char[m_materialLength];
    std::memcpy(m_material, material, m_materialLength);
    MoveBytes(m_firstMove.destination, m_firstMove.source, m_firstMove.count);
    MoveBytes(m_secondMove.destination, m_secondMove.source, m_secondMove.count);
    XorBytes(m_xorStep.start, m_xorStep.count, m_xorStep.pivot);
    return 1;
}

void CGuard::Clear()
{
    if (m_material == nullptr)
        return;
    // volatile keeps the compiler from dropping the wipe of memory that is freed right after.
    volatile unsigned char* bytes = m_material;
    for (int32_t i = 0; i < m_materialLength; ++i)
        bytes[i] = 0;
    delete[] m_material;
    m_material = nullptr;
}

void CGuard::MoveBytes(int32_t destination, int32_t source, int32_t count)
{
    const int32_t n = m_material ? m_materialLength : 0;
    if (destination < 0 || destination >= n || source < 0 || source >= n)
        return;
    if (destination < source) {
        if (count > n - source)
            count = n - source;
        for (int32_t i = 0; i < count; ++i)
            m_material[destination + i] = m_material[source + i];
    } else {
        if (count > n - destination)
            count = n - destination;
        for (int32_t i = count - 1; i >= 0; --i)
            m_material[destination + i] = m_material[source + i];
    }
}

void CGuard::XorBytes(int32_t start, int32_t count, int32_t pivot)
{
    const int32_t n = m_material ? m_materialLength : 0;
    if (start < 0 || start >= n || pivot < 0 || pivot >= n)
        return;
    const unsigned char value = m_material[pivot];
    if (count > n - start)
        count = n - start;
    for (int32_t i = 0; i < count; ++i)
        m_material[start + i] ^= value;
}

namespace {

// One DEFLATE code of 2 bits can stand for 258 bytes; no stream expands further than this.
constexpr uint64_t kMaxInflateRatio = 1032;

uint32_t FirstWord(const unsigned char* p)
{
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

// Checks the deciphered block and inflates its payload; null when any check fails.
unsigned char* InflateBlock(const unsigned char* plain, uint32_t length, PackedResource& header)
{
    if (FirstWord(plain) != length)
        return nullptr;
    // The header must lie inside the block and the payload inside what was deciphered.
    if (length < PackedResource::kHeaderSize)
        return nullptr;
    header = PackedResource::Read(plain);
    if (uint64_t(PackedResource::kHeaderSize) + header.packedSize > header.storedSize)
        return nullptr;
    const unsigned char* payload = plain + PackedResource::kHeaderSize;
    if (Crc32(0, payload, header.packedSize) != header.packedCrc)
        return nullptr;
    // A size no payload of this length can inflate to is damage; refusing it here keeps a flipped
    // bit from turning into a huge allocation.
    if (header.unpackedSize > kMaxInflateRatio * header.packedSize)
        return nullptr;
    // Room for unpackedSize bytes and one or two spare ones, counted in 16-bit units.
    const uint64_t bytes = (uint64_t(header.unpackedSize) / 2 + 1) * 2;
    if (bytes != static_cast<std::size_t>(bytes))
        return nullptr;
    unsigned char* output = new unsigned char[static_cast<std::size_t>(bytes)];
    const uint32_t produced = InflateRaw(output, header.unpackedSize, payload, header.packedSize);
    if (produced == kInflateFailed || produced != header.unpackedSize ||
        Crc32(0, output, header.unpackedSize) != header.unpackedCrc) {
        delete[] output;
        return nullptr;
    }
    return output;
}

}  // namespace

unsigned char* CGuard::Unpack(const unsigned char* block, uint32_t& length, uint32_t* itemCount) const
{
    if (m_material == nullptr || block == nullptr)
        return nullptr;
    const uint32_t padded = CBlowfish::PaddedSize(length);
    if (padded == 0)
        return nullptr;

    CBlowfish cipher;
    cipher.Init().SetKey(m_material + m_keyOffset, m_keyLength);
    unsigned char* plain = new unsigned char[padded];
    cipher.Decrypt(block, plain, length);
    PackedResource header{};
    unsigned char* output = InflateBlock(plain, length, header);
    delete[] plain;
    if (output == nullptr)
        return nullptr;
    if (itemCount != nullptr)
        *itemCount = header.itemCount;
    length = header.unpackedSize;
    return output;
}
