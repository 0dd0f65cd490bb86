// Cross-check of the cipher against OpenSSL's Blowfish on random keys and blocks.
#define OPENSSL_SUPPRESS_DEPRECATED
#include <openssl/blowfish.h>

#include "embedded/Blowfish.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

namespace {

TEST(BlowfishOpenSsl, RandomKeysAndBlocksMatch)
{
    std::mt19937 random(20240611);
    for (int round = 0; round < 40; ++round) {
        // Up to the container's 495 bytes; both sides use only the first 72.
        const int keyLength = 1 + static_cast<int>(random() % 495);
        std::vector<unsigned char> key(keyLength);
        for (unsigned char& b : key)
            b = static_cast<unsigned char>(random());
        SCOPED_TRACE("round " + std::to_string(round) + ", key length " + std::to_string(keyLength));

        CBlowfish ours;
        ours.Init().SetKey(key.data(), keyLength);
        BF_KEY theirs;
        BF_set_key(&theirs, keyLength, key.data());

        for (int block = 0; block < 16; ++block) {
            const uint32_t left = static_cast<uint32_t>(random());
            const uint32_t right = static_cast<uint32_t>(random());
            BF_LONG data[2] = {left, right};
            BF_encrypt(data, &theirs);
            uint32_t l = left;
            uint32_t r = right;
            ours.EncryptBlock(l, r);
            ASSERT_EQ(l, data[0]);
            ASSERT_EQ(r, data[1]);
            BF_decrypt(data, &theirs);
            ours.DecryptBlock(l, r);
            ASSERT_EQ(l, data[0]);
            ASSERT_EQ(r, data[1]);
            ASSERT_EQ(l, left);
            ASSERT_EQ(r, right);
        }

        // Buffers: OpenSSL reads each half big-endian, the program little-endian.
        std::vector<unsigned char> data(64);
        for (unsigned char& b : data)
            b = static_cast<unsigned char>(random());
        std::vector<unsigned char> ourBuffer(64);
        ours.Encrypt(data.data(), ourBuffer.data(), 64);
        for (int offset = 0; offset < 64; offset += 8) {
            unsigned char block[8];
            for (int k = 0; k < 8; ++k)
                block[k] = data[offset + (k & 4) + 3 - (k & 3)];
            BF_ecb_encrypt(block, block, &theirs, BF_ENCRYPT);
            for (int k = 0; k < 8; ++k)
                ASSERT_EQ(ourBuffer[offset + (k & 4) + 3 - (k & 3)], block[k]) << "offset " << offset + k;
        }
        ours.Decrypt(ourBuffer.data(), ourBuffer.data(), 64);
        ASSERT_EQ(ourBuffer, data);
    }
}

}  // namespace
