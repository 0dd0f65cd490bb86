#include "embedded/Blowfish.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<unsigned char>;

Bytes FromHex(const std::string& hex)
{
    Bytes bytes;
    for (std::size_t i = 0; i + 1 < hex.size(); i += 2)
        bytes.push_back(static_cast<unsigned char>(std::stoul(hex.substr(i, 2), nullptr, 16)));
    return bytes;
}

uint32_t BigEndianWord(const Bytes& bytes, int offset)
{
    return uint32_t(bytes[offset]) << 24 | uint32_t(bytes[offset + 1]) << 16 | uint32_t(bytes[offset + 2]) << 8 |
           bytes[offset + 3];
}

// The block as the cipher stores it: each published 32-bit half as a little-endian word.
Bytes ToMemoryOrder(const Bytes& published)
{
    return {published[3], published[2], published[1], published[0],
            published[7], published[6], published[5], published[4]};
}

CBlowfish& Keyed(CBlowfish& cipher, const Bytes& key)
{
    cipher.Init().SetKey(key.data(), static_cast<int32_t>(key.size()));
    return cipher;
}

struct Vector {
    const char* key;
    const char* plain;
    const char* cipher;
};

// Published Blowfish ECB test vectors (key, plaintext, ciphertext; big-endian halves).
const Vector kVectors[] = {
    {"0000000000000000", "0000000000000000", "4EF997456198DD78"},
    {"FFFFFFFFFFFFFFFF", "FFFFFFFFFFFFFFFF", "51866FD5B85ECB8A"},
    {"3000000000000000", "1000000000000001", "7D856F9A613063F2"},
    {"1111111111111111", "1111111111111111", "2466DD878B963C9D"},
    {"0123456789ABCDEF", "1111111111111111", "61F9C3802281B096"},
    {"1111111111111111", "0123456789ABCDEF", "7D0CC630AFDA1EC7"},
    {"FEDCBA9876543210", "0123456789ABCDEF", "0ACEAB0FC6A0A28D"},
    {"7CA110454A1A6E57", "01A1D6D039776742", "59C68245EB05282B"},
    {"0131D9619DC1376E", "5CD54CA83DEF57DA", "B1B8CC0B250F09A0"},
    {"07A1133E4A0B2686", "0248D43806F67172", "1730E5778BEA1DA4"},
};

TEST(Blowfish, PublishedVectorsHoldWordForWord)
{
    for (const Vector& v : kVectors) {
        SCOPED_TRACE(std::string("key ") + v.key + ", plain " + v.plain);
        const Bytes plain = FromHex(v.plain);
        const Bytes expected = FromHex(v.cipher);
        CBlowfish cipher;
        Keyed(cipher, FromHex(v.key));

        uint32_t left = BigEndianWord(plain, 0);
        uint32_t right = BigEndianWord(plain, 4);
        cipher.EncryptBlock(left, right);
        EXPECT_EQ(left, BigEndianWord(expected, 0));
        EXPECT_EQ(right, BigEndianWord(expected, 4));
        cipher.DecryptBlock(left, right);
        EXPECT_EQ(left, BigEndianWord(plain, 0));
        EXPECT_EQ(right, BigEndianWord(plain, 4));

        // In memory each half's bytes are in the reverse of the published order.
        Bytes block = ToMemoryOrder(plain);
        cipher.Encrypt(block.data(), block.data(), 8);
        EXPECT_EQ(block, ToMemoryOrder(expected));
        cipher.Decrypt(block.data(), block.data(), 8);
        EXPECT_EQ(block, ToMemoryOrder(plain));
    }
}

TEST(Blowfish, PaddedSizeRoundsUpToWholeBlocks)
{
    const struct {
        uint32_t n;
        uint32_t padded;
    } cases[] = {{0, 0}, {1, 8}, {7, 8}, {8, 8}, {9, 16}, {16, 16}, {0xFFFFFFF8u, 0xFFFFFFF8u}, {0xFFFFFFF9u, 0}};
    for (const auto& c : cases)
        EXPECT_EQ(CBlowfish::PaddedSize(c.n), c.padded) << "n = " << c.n;
}

class BlowfishBuffer : public ::testing::Test {
protected:
    BlowfishBuffer()
    {
        const Bytes key = {'b', 'u', 'f', 'f', 'e', 'r', ' ', 'k', 'e', 'y'};
        Keyed(m_cipher, key);
        for (int i = 0; i < 32; ++i)
            m_data.push_back(static_cast<unsigned char>(i * 37 + 5));
    }

    CBlowfish m_cipher;
    Bytes m_data;
};

TEST_F(BlowfishBuffer, ZeroLengthTouchesNothing)
{
    Bytes source = m_data;
    Bytes destination(32, 0xAA);
    m_cipher.Decrypt(source.data(), destination.data(), 0);
    m_cipher.Encrypt(source.data(), destination.data(), 0);
    EXPECT_EQ(source, m_data);
    EXPECT_EQ(destination, Bytes(32, 0xAA));
}

TEST_F(BlowfishBuffer, PartialLengthProcessesTheWholeLastBlock)
{
    Bytes destination(32, 0xAA);
    m_cipher.Decrypt(m_data.data(), destination.data(), 13);
    Bytes expected(m_data.begin(), m_data.begin() + 16);
    m_cipher.Decrypt(expected.data(), expected.data(), 16);
    EXPECT_EQ(Bytes(destination.begin(), destination.begin() + 16), expected);
    EXPECT_EQ(Bytes(destination.begin() + 16, destination.end()), Bytes(16, 0xAA));
}

TEST_F(BlowfishBuffer, CopyAndInPlaceAgreeAndCopyKeepsTheSource)
{
    for (bool encrypt : {false, true}) {
        SCOPED_TRACE(encrypt ? "encrypt" : "decrypt");
        Bytes source = m_data;
        Bytes copied(32);
        Bytes inPlace = m_data;
        if (encrypt) {
            m_cipher.Encrypt(source.data(), copied.data(), 32);
            m_cipher.Encrypt(inPlace.data(), inPlace.data(), 32);
        } else {
            m_cipher.Decrypt(source.data(), copied.data(), 32);
            m_cipher.Decrypt(inPlace.data(), inPlace.data(), 32);
        }
        EXPECT_EQ(copied, inPlace);
        EXPECT_EQ(source, m_data);
        EXPECT_NE(copied, m_data);
    }
}

TEST_F(BlowfishBuffer, BuffersRoundTripBlockByBlock)
{
    Bytes enciphered(32);
    m_cipher.Encrypt(m_data.data(), enciphered.data(), 32);
    // ECB: each block is enciphered on its own.
    Bytes secondAlone(m_data.begin() + 8, m_data.begin() + 16);
    m_cipher.Encrypt(secondAlone.data(), secondAlone.data(), 8);
    EXPECT_EQ(Bytes(enciphered.begin() + 8, enciphered.begin() + 16), secondAlone);
    m_cipher.Decrypt(enciphered.data(), enciphered.data(), 32);
    EXPECT_EQ(enciphered, m_data);
}

TEST(Blowfish, KeyIsReadCyclicallyAndOnlyItsFirst72BytesCount)
{
    Bytes key72;
    for (int i = 0; i < 72; ++i)
        key72.push_back(static_cast<unsigned char>(i * 11 + 3));
    Bytes longer = key72;
    for (int i = 0; i < 423; ++i)
        longer.push_back(static_cast<unsigned char>(i));
    const Bytes abc = {'a', 'b', 'c'};
    Bytes abcRepeated;
    while (abcRepeated.size() < 72)
        abcRepeated.insert(abcRepeated.end(), abc.begin(), abc.end());

    auto encipher = [](const Bytes& key) {
        CBlowfish cipher;
        Keyed(cipher, key);
        Bytes block = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16};
        cipher.Encrypt(block.data(), block.data(), 16);
        return block;
    };
    EXPECT_EQ(encipher(key72), encipher(longer));
    EXPECT_EQ(encipher(abc), encipher(abcRepeated));
    Bytes changedAt71 = key72;
    changedAt71[71] ^= 1;
    EXPECT_NE(encipher(key72), encipher(changedAt71));
}

}  // namespace
