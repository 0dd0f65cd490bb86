#include "embedded/BlockPacker.h"
#include "embedded/Compression.h"
#include "embedded/Guard.h"
#include "tests/embedded/GuardTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <functional>
#include <memory>
#include <string>

namespace {

constexpr int32_t kN = CGuard::kMaterialLength;

// What a byte move does, written as plainly as possible: copy through a temporary, clipped to the
// end of the buffer; nothing when an index lies outside.
void ReferenceMove(Bytes& bytes, int32_t destination, int32_t source, int32_t count)
{
    const int32_t n = static_cast<int32_t>(bytes.size());
    if (destination < 0 || destination >= n || source < 0 || source >= n || count <= 0)
        return;
    count = std::min(count, n - std::max(destination, source));
    const Bytes piece(bytes.begin() + source, bytes.begin() + source + count);
    std::copy(piece.begin(), piece.end(), bytes.begin() + destination);
}

void ReferenceXor(Bytes& bytes, int32_t start, int32_t count, int32_t pivot)
{
    const int32_t n = static_cast<int32_t>(bytes.size());
    if (start < 0 || start >= n || pivot < 0 || pivot >= n)
        return;
    const unsigned char value = bytes[pivot];
    for (int32_t i = start; i < n && i < start + count; ++i)
        bytes[i] ^= value;
}

TEST(GuardLoad, UnscramblesWithBothMovesThenTheXorStep)
{
    const Bytes material = TestMaterial();
    Bytes expected = material;
    const GuardParameters& p = kTestGuardParameters;
    ReferenceMove(expected, p.firstMove.destination, p.firstMove.source, p.firstMove.count);
    ReferenceMove(expected, p.secondMove.destination, p.secondMove.source, p.secondMove.count);
    ReferenceXor(expected, p.xorStep.start, p.xorStep.count, p.xorStep.pivot);

    CGuard guard(p);
    EXPECT_FALSE(guard.IsLoaded());
    ASSERT_EQ(guard.Load(material.data(), kN), 1);
    EXPECT_EQ(Slice(guard.Material(), kN), expected);
    EXPECT_EQ(guard.Key(), guard.Material() + p.keyOffset);
    EXPECT_EQ(material, TestMaterial());
}

TEST(GuardLoad, RefusesBadMaterialAndForgetsTheEarlierOne)
{
    const Bytes material = TestMaterial();
    const Bytes longer(kN + 1, 7);
    const struct {
        const char* name;
        const unsigned char* data;
        int32_t length;
    } cases[] = {
        {"null", nullptr, kN},
        {"length 0", material.data(), 0},
        {"length 967", material.data(), kN - 1},
        {"length 969", longer.data(), kN + 1},
        {"negative length", material.data(), -kN},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        CGuard guard(kTestGuardParameters);
        ASSERT_EQ(guard.Load(material.data(), kN), 1);
        EXPECT_EQ(guard.Load(c.data, c.length), 0);
        EXPECT_FALSE(guard.IsLoaded());
        EXPECT_EQ(guard.Key(), nullptr);
    }
}

TEST(GuardLoad, RefusesAKeyOffsetOutsideTheMaterial)
{
    const Bytes material = TestMaterial();
    for (int32_t offset : {-1, kN - CGuard::kKeyLength + 1}) {
        GuardParameters p = kTestGuardParameters;
        p.keyOffset = offset;
        CGuard guard(p);
        EXPECT_EQ(guard.Load(material.data(), kN), 0) << "offset " << offset;
    }
}

class GuardSteps : public ::testing::Test {
protected:
    GuardSteps()
    {
        // No-op steps, so that the loaded material is the material itself.
        const GuardParameters still = {0, {0, 0, 0}, {0, 0, 0}, {0, 0, 0}};
        m_guard = std::make_unique<CGuard>(still);
        for (int32_t i = 0; i < kN; ++i)
            m_bytes.push_back(static_cast<unsigned char>(i * 7 + 1));
        m_guard->Load(m_bytes.data(), kN);
    }

    Bytes Current() const { return Slice(m_guard->Material(), kN); }

    std::unique_ptr<CGuard> m_guard;
    Bytes m_bytes;
};

TEST_F(GuardSteps, MoveBytesIsOverlapSafeAndStaysInside)
{
    ASSERT_EQ(Current(), m_bytes);
    const struct {
        const char* name;
        int32_t destination;
        int32_t source;
        int32_t count;
    } cases[] = {
        {"forward, overlapping", 10, 14, 20},
        {"backward, overlapping", 14, 10, 20},
        {"disjoint", 500, 100, 50},
        {"source runs past the end", 100, kN - 5, 50},
        {"destination runs past the end", kN - 5, 100, 50},
        {"last byte onto the first", 0, kN - 1, 9},
        {"same place", 40, 40, 10},
        {"destination past the end", kN, 0, 4},
        {"source past the end", 0, kN, 4},
        {"negative destination", -1, 0, 4},
        {"negative source", 0, -1, 4},
        {"count 0", 1, 2, 0},
        {"negative count", 1, 2, -3},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Bytes expected = Current();
        ReferenceMove(expected, c.destination, c.source, c.count);
        m_guard->MoveBytes(c.destination, c.source, c.count);
        EXPECT_EQ(Current(), expected);
    }
}

TEST_F(GuardSteps, XorBytesUsesThePivotAsReadBeforeTheChange)
{
    const unsigned char value = m_bytes[20];
    m_guard->XorBytes(10, 30, 20);
    const Bytes after = Current();
    for (int32_t i = 0; i < kN; ++i) {
        const bool inside = i >= 10 && i < 40;
        ASSERT_EQ(after[i], inside ? m_bytes[i] ^ value : m_bytes[i]) << "byte " << i;
    }
    EXPECT_EQ(after[20], 0);
}

TEST_F(GuardSteps, XorBytesStaysInside)
{
    const struct {
        const char* name;
        int32_t start;
        int32_t count;
        int32_t pivot;
    } cases[] = {
        {"count past the end", kN - 3, 100, 0},
        {"start past the end", kN, 4, 0},
        {"negative start", -1, 4, 0},
        {"pivot past the end", 0, 4, kN},
        {"negative pivot", 0, 4, -1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Bytes expected = Current();
        ReferenceXor(expected, c.start, c.count, c.pivot);
        m_guard->XorBytes(c.start, c.count, c.pivot);
        EXPECT_EQ(Current(), expected);
    }
}

TEST(Crc32, PublishedCheckValues)
{
    EXPECT_EQ(Crc32(0, "123456789", 9), 0xCBF43926u);
    EXPECT_EQ(Crc32(0, "abc", 3), 0x352441C2u);
    EXPECT_EQ(Crc32(0, "abc", 0), 0u);
    EXPECT_EQ(Crc32(0x12345678u, nullptr, 5), 0u);
    // A running CRC continues over further data.
    EXPECT_EQ(Crc32(Crc32(0, "1234", 4), "56789", 5), 0xCBF43926u);
}

TEST(InflateRaw, NeedsTheWholeStreamAndExactlyEnoughRoom)
{
    const std::string text = "inflate me, inflate me, inflate me once more";
    const unsigned char* data = reinterpret_cast<const unsigned char*>(text.data());
    const uint32_t size = static_cast<uint32_t>(text.size());
    Bytes stream = DeflateRaw(data, size);
    const uint32_t packed = static_cast<uint32_t>(stream.size());
    Bytes out(size + 8);

    EXPECT_EQ(InflateRaw(out.data(), size, stream.data(), packed), size);
    EXPECT_EQ(std::string(out.begin(), out.begin() + size), text);
    EXPECT_EQ(InflateRaw(out.data(), size + 8, stream.data(), packed), size);
    EXPECT_EQ(InflateRaw(out.data(), size - 1, stream.data(), packed), kInflateFailed);
    EXPECT_EQ(InflateRaw(out.data(), size, stream.data(), packed - 1), kInflateFailed);
    stream.push_back(0x55);
    EXPECT_EQ(InflateRaw(out.data(), size, stream.data(), packed + 1), size) << "input after the end is ignored";
    const Bytes garbage(16, 0xFF);
    EXPECT_EQ(InflateRaw(out.data(), size, garbage.data(), 16), kInflateFailed);
}

class GuardUnpack : public ::testing::Test {
protected:
    GuardUnpack() : m_guard(kTestGuardParameters)
    {
        const Bytes material = TestMaterial();
        m_guard.Load(material.data(), kN);
        for (int i = 0; i < 3000; ++i)
            m_data.push_back(static_cast<unsigned char>("abcdefgh"[i % 8] + i / 500));
    }

    Bytes Pack(const Bytes& data, uint32_t itemCount) const
    {
        return PackBlock(data.data(), static_cast<uint32_t>(data.size()), itemCount, m_guard.Key(),
                         CGuard::kKeyLength);
    }

    // The plain block of m_data before enciphering, for the cases that break one part of it.
    Bytes Plain() const
    {
        return BuildPackedResource(DeflateRaw(m_data.data(), static_cast<uint32_t>(m_data.size())),
                                   static_cast<uint32_t>(m_data.size()),
                                   Crc32(0, m_data.data(), static_cast<uint32_t>(m_data.size())), 3);
    }

    Bytes Encipher(Bytes plain) const
    {
        EncipherBlock(plain, m_guard.Key(), CGuard::kKeyLength);
        return plain;
    }

    CGuard m_guard;
    Bytes m_data;
};

TEST_F(GuardUnpack, RoundTripsAndReportsTheItemCount)
{
    const Bytes inputs[] = {Bytes{}, Bytes{42}, Bytes(7, 1), Bytes(8, 2), m_data};
    for (const Bytes& input : inputs) {
        SCOPED_TRACE("size " + std::to_string(input.size()));
        const Bytes block = Pack(input, 77);
        ASSERT_EQ(block.size() % 8, 0u);
        const Bytes image = block;
        uint32_t length = static_cast<uint32_t>(block.size());
        uint32_t items = 0;
        std::unique_ptr<unsigned char[]> out(m_guard.Unpack(block.data(), length, &items));
        ASSERT_NE(out, nullptr);
        EXPECT_EQ(length, input.size());
        EXPECT_EQ(items, 77u);
        EXPECT_EQ(Bytes(out.get(), out.get() + length), input);
        EXPECT_EQ(block, image) << "the stored block is never changed";
    }
}

TEST_F(GuardUnpack, ANullItemCountIsAllowed)
{
    const Bytes block = Pack(m_data, 5);
    uint32_t length = static_cast<uint32_t>(block.size());
    std::unique_ptr<unsigned char[]> out(m_guard.Unpack(block.data(), length, nullptr));
    ASSERT_NE(out, nullptr);
    EXPECT_EQ(length, m_data.size());
}

TEST_F(GuardUnpack, RefusesEveryDamagedBlockAndKeepsItsArguments)
{
    const Bytes good = Plain();
    const uint32_t storedSize = static_cast<uint32_t>(good.size());
    const uint32_t packedSize = PackedResource::Read(good.data()).packedSize;
    constexpr uint32_t kWholeBlock = 0xFFFFFFFFu;
    // Rewrites the header of a copy of the good block and fixes its payload CRC again.
    auto withHeader = [&](const std::function<void(PackedResource&)>& change, const Bytes& base) {
        Bytes plain = base;
        PackedResource header = PackedResource::Read(plain.data());
        change(header);
        header.Write(plain.data());
        return plain;
    };
    const Bytes stream = DeflateRaw(m_data.data(), static_cast<uint32_t>(m_data.size()));
    const Bytes truncated(stream.begin(), stream.end() - 3);

    Bytes changedPayload = good;
    changedPayload[PackedResource::kHeaderSize + packedSize / 2] ^= 0x10;
    Bytes otherKey = good;
    {
        const Bytes key(CGuard::kKeyLength, 0x5A);
        EncipherBlock(otherKey, key.data(), CGuard::kKeyLength);
    }
    Bytes shortBlock(8, 0);
    shortBlock[0] = 8;

    const struct {
        const char* name;
        Bytes block;  // enciphered
        uint32_t length;
    } cases[] = {
        {"stored size above the length, CRCs right",
         Encipher(withHeader([&](PackedResource& h) { h.storedSize += 8; }, good)), storedSize},
        {"length below the stored size", Encipher(good), storedSize - 8},
        {"one payload byte changed", Encipher(changedPayload), storedSize},
        {"inflates to one byte more than unpackedSize",
         Encipher(withHeader([](PackedResource& h) { h.unpackedSize -= 1; }, good)), storedSize},
        {"inflates to one byte less than unpackedSize",
         Encipher(withHeader([](PackedResource& h) { h.unpackedSize += 1; }, good)), storedSize},
        {"stream truncated before its final block",
         Encipher(BuildPackedResource(truncated, static_cast<uint32_t>(m_data.size()),
                                      Crc32(0, m_data.data(), static_cast<uint32_t>(m_data.size())), 3)),
         kWholeBlock},
        {"data CRC wrong", Encipher(withHeader([](PackedResource& h) { h.unpackedCrc ^= 1; }, good)), storedSize},
        {"enciphered with another key", otherKey, storedSize},
        {"packedSize runs past the stored block",
         Encipher(withHeader([&](PackedResource& h) { h.packedSize = storedSize - PackedResource::kHeaderSize + 1; },
                             good)),
         storedSize},
        {"packedSize wraps round",
         Encipher(withHeader([](PackedResource& h) { h.packedSize = 0xFFFFFFF0u; }, good)), storedSize},
        {"block shorter than its header", Encipher(shortBlock), 8},
        {"unpackedSize no payload of this length can reach",
         Encipher(withHeader([](PackedResource& h) { h.unpackedSize = 0x7FFFFFF0u; }, good)), storedSize},
        {"length 0", Encipher(good), 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        uint32_t length = c.length == kWholeBlock ? static_cast<uint32_t>(c.block.size()) : c.length;
        const uint32_t lengthBefore = length;
        uint32_t items = 0xDEADBEEF;
        EXPECT_EQ(m_guard.Unpack(c.block.data(), length, &items), nullptr);
        EXPECT_EQ(length, lengthBefore);
        EXPECT_EQ(items, 0xDEADBEEFu);
    }
}

TEST_F(GuardUnpack, NeedsLoadedMaterial)
{
    const Bytes block = Pack(m_data, 0);
    CGuard fresh(kTestGuardParameters);
    uint32_t length = static_cast<uint32_t>(block.size());
    EXPECT_EQ(fresh.Unpack(block.data(), length, nullptr), nullptr);

    m_guard.Clear();
    EXPECT_FALSE(m_guard.IsLoaded());
    EXPECT_EQ(m_guard.Unpack(block.data(), length, nullptr), nullptr);
    EXPECT_EQ(length, block.size());
    m_guard.Clear();
}

}  // namespace
