#pragma once
// The key guard: holds the un-scrambled key material and unpacks embedded blocks with it.
//
// The image carries 968 bytes of scrambled material. Load copies them and applies two byte moves
// and one XOR step; the cipher key is then the 495 bytes at the key offset. The parameters of the
// moves and of the XOR step are constants of the build, written by the packing tool together with
// the material.

#include <cstdint>

struct GuardMove {
    int32_t destination;
    int32_t source;
    int32_t count;
};

struct GuardXor {
    int32_t pivot;
    int32_t start;
    int32_t count;
};

struct GuardParameters {
    int32_t keyOffset;
    GuardMove firstMove;
    GuardMove secondMove;
    GuardXor xorStep;
};

class CGuard {
public:
    static constexpr int32_t kMaterialLength = 968;
    static constexpr int32_t kKeyLength = 495;

    // Allocates nothing; the guard starts empty.
    explicit CGuard(const GuardParameters& parameters);
    virtual ~CGuard();
    CGuard(const CGuard&) = delete;
    CGuard& operator=(const CGuard&) = delete;

    // Any earlier material is dropped first, so a failed load leaves the guard empty.
    int Load(const unsigned char* material, int32_t length);
    // Zeroes the material before releasing it.
    void Clear();

    // Deciphers, checks and inflates one embedded block. length is the stored length on entry and
    // the unpacked length on success. Returns a new buffer (release with delete[]) or null; on
    // failure length and *itemCount keep their values.
    unsigned char* Unpack(const unsigned char* block, uint32_t& length, uint32_t* itemCount) const;

    // Overlap-safe copy inside the material, clipped to its end; nothing when an index is outside.
    void MoveBytes(int32_t destination, int32_t source, int32_t count);
    // XORs [start, start + count) with the byte at pivot as read before the change, clipped to the
    // end of the material; nothing when start or pivot is outside.
    void XorBytes(int32_t start, int32_t count, int32_t pivot);

    bool IsLoaded() const { return m_material != nullptr; }
    // The un-scrambled material (kMaterialLength bytes) and the cipher key in it; null when empty.
    const unsigned char* Material() const { return m_material; }
    const unsigned char* Key() const { return m_material ? m_material + m_keyOffset : nullptr; }

private:
    unsigned char* m_material;
    int32_t m_materialLength;
    int32_t m_keyOffset;
    int32_t m_keyLength;
    GuardMove m_firstMove;
    GuardMove m_secondMove;
    GuardXor m_xorStep;
};
