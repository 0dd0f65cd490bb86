#include "tools/pack/KeyMaterial.h"

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstdlib>
#include <random>

namespace {

constexpr int32_t kLength = CGuard::kMaterialLength;
constexpr int32_t kKeyLength = CGuard::kKeyLength;
constexpr int kAttempts = 1000;

// mt19937_64 and seed_seq are specified exactly by the standard, so every compiler gives the same
// sequence; the reduction to a range is done here for the same reason.
class CRandom {
public:
    explicit CRandom(const std::vector<uint32_t>& seed)
    {
        std::seed_seq sequence(seed.begin(), seed.end());
        m_engine.seed(sequence);
    }
    // A number in [0, n), n > 0.
    int32_t Below(int32_t n) { return static_cast<int32_t>(m_engine() % static_cast<uint64_t>(n)); }
    unsigned char Byte() { return static_cast<unsigned char>(m_engine() >> 32); }

private:
    std::mt19937_64 m_engine;
};

// A byte of the material whose value a later step depends on, or a free one.
struct Cell {
    bool known = false;
    unsigned char value = 0;
};

using Cells = std::vector<Cell>;

// The state before XorBytes(start, count, pivot) given the state after it; the pivot lies outside
// the range, so its value is the same before and after.
Cells UndoXor(const Cells& after, const GuardXor& step)
{
    Cells before = after;
    const int32_t count = std::min(step.count, kLength - step.start);
    const unsigned char value = after[step.pivot].value;
    for (int32_t i = step.start; i < step.start + count; ++i)
        before[i].value ^= value;
    return before;
}

// The state before MoveBytes(move) given the state after it; false when the state after cannot be
// reached (a byte would need two different values before the move).
bool UndoMove(const Cells& after, const GuardMove& move, Cells& before)
{
    const int32_t count = std::min(move.count, kLength - std::max(move.source, move.destination));
    before = after;
    for (int32_t k = 0; k < count; ++k)
        before[move.destination + k] = Cell{};
    for (int32_t k = 0; k < count; ++k) {
        const Cell& wanted = after[move.destination + k];
        Cell& source = before[move.source + k];
        if (!wanted.known)
            continue;
        if (source.known && source.value != wanted.value)
            return false;
        source = wanted;
    }
    return true;
}

bool Overlap(int32_t a, int32_t aCount, int32_t b, int32_t bCount) { return a < b + bCount && b < a + aCount; }

// Draws the guard's constants: the XOR step covers the key with the pivot outside it, the second
// move brings a piece of the key into place from elsewhere and the first move brings that piece
// from a third place.
GuardParameters DrawParameters(CRandom& random)
{
    GuardParameters p{};
    p.keyOffset = random.Below(kLength - kKeyLength + 1);

    const int32_t xorStart = p.keyOffset - random.Below(std::min(p.keyOffset, 40) + 1);
    const int32_t keyEnd = p.keyOffset + kKeyLength;
    const int32_t xorEnd = keyEnd + random.Below(std::min(kLength - keyEnd, 40) + 1);
    p.xorStep.start = xorStart;
    p.xorStep.count = xorEnd - xorStart;
    const int32_t outside = kLength - p.xorStep.count;
    if (outside > 0) {
        const int32_t k = random.Below(outside);
        p.xorStep.pivot = k < xorStart ? k : xorEnd + (k - xorStart);
    } else {
        p.xorStep.pivot = -1;
    }

    GuardMove& second = p.secondMove;
    second.count = 24 + random.Below(48);
    second.destination = p.keyOffset + random.Below(kKeyLength - second.count + 1);
    second.source = random.Below(kLength - second.count + 1);

    GuardMove& first = p.firstMove;
    first.count = second.count;
    first.destination = second.source;
    first.source = random.Below(kLength - first.count + 1);
    return p;
}

bool Acceptable(const GuardParameters& p)
{
    return p.xorStep.pivot >= 0 &&
           !Overlap(p.secondMove.source, p.secondMove.count, p.keyOffset, kKeyLength) &&
           !Overlap(p.firstMove.source, p.firstMove.count, p.firstMove.destination, p.firstMove.count) &&
           !Overlap(p.firstMove.source, p.firstMove.count, p.keyOffset, kKeyLength);
}

bool ParseSeed(const std::string& hex, std::vector<uint32_t>& words, std::string& error)
{
    if (hex.size() < 16 || hex.size() > 128 || hex.size() % 8 != 0 ||
        !std::all_of(hex.begin(), hex.end(), [](char c) { return std::isxdigit(static_cast<unsigned char>(c)); })) {
        error = "the key seed must be 16 to 128 hexadecimal digits, a multiple of 8";
        return false;
    }
    for (std::size_t i = 0; i < hex.size(); i += 8)
        words.push_back(static_cast<uint32_t>(std::strtoul(hex.substr(i, 8).c_str(), nullptr, 16)));
    return true;
}

}  // namespace

bool MakeKeyMaterial(const std::string& seedHex, KeyMaterial& out, std::string& error)
{
    std::vector<uint32_t> seed;
    if (!ParseSeed(seedHex, seed, error))
        return false;
    CRandom random(seed);
    out.key.resize(kKeyLength);
    for (unsigned char& b : out.key)
        b = random.Byte();

    for (int attempt = 0; attempt < kAttempts; ++attempt) {
        const GuardParameters p = DrawParameters(random);
        const unsigned char pivotValue = static_cast<unsigned char>(1 + random.Below(255));
        if (!Acceptable(p))
            continue;

        Cells after(kLength);
        for (int32_t i = 0; i < kKeyLength; ++i)
            after[p.keyOffset + i] = Cell{true, out.key[i]};
        after[p.xorStep.pivot] = Cell{true, pivotValue};
        Cells beforeSecond;
        Cells beforeFirst;
        if (!UndoMove(UndoXor(after, p.xorStep), p.secondMove, beforeSecond) ||
            !UndoMove(beforeSecond, p.firstMove, beforeFirst))
            continue;

        ByteVector material(kLength);
        for (int32_t i = 0; i < kLength; ++i)
            material[i] = beforeFirst[i].known ? beforeFirst[i].value : random.Byte();

        // The program's own guard must find the key where it is expected.
        CGuard guard(p);
        if (!guard.Load(material.data(), kLength) || !std::equal(out.key.begin(), out.key.end(), guard.Key()))
            continue;
        out.parameters = p;
        out.material = material;
        return true;
    }
    error = "no key material could be built from this seed";
    return false;
}
