#include "embedded/StringTable.h"
#include "tests/embedded/StringTableTestSupport.h"
#include "text/PackedString.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::string TextOf(const PackedString* record)
{
    if (record == nullptr)
        return "(none)";
    const unsigned char* characters = record->Characters();
    return std::string(characters, characters + record->Length());
}

// Attaches a heap copy of bytes; the table owns it afterwards.
int Attach(StringTable& table, const Bytes& bytes, int32_t count)
{
    unsigned char* buffer = HeapCopy(bytes);
    const int result = table.Attach(buffer, count, static_cast<uint32_t>(bytes.size()));
    if (!result)
        delete[] buffer;
    return result;
}

TEST(StringTable, OneEntryFindsItsIdOnly)
{
    StringTable table;
    ASSERT_EQ(Attach(table, MakeTable({{42, Utf8Record("answer")}}), 1), 1);
    EXPECT_EQ(table.Count(), 1);
    EXPECT_EQ(TextOf(table.Find(42)), "answer");
    for (uint32_t id : {0u, 41u, 43u, 0xFFFFFFFFu})
        EXPECT_EQ(table.Find(id), nullptr) << "id " << id;
}

TEST(StringTable, EmptyTableFindsNothing)
{
    StringTable table;
    EXPECT_EQ(table.Count(), 0);
    EXPECT_EQ(table.Find(0), nullptr);
    ASSERT_EQ(Attach(table, MakeTable({{1, Utf8Record("x")}}), 1), 1);
    table.Reset();
    EXPECT_EQ(table.Find(1), nullptr);
}

TEST(StringTable, IdsCompareUnsigned)
{
    StringTable table;
    ASSERT_EQ(Attach(table,
                     MakeTable({{5, Utf8Record("five")},
                                {0x7FFFFFFFu, Utf8Record("max signed")},
                                {0x80000000u, Utf8Record("high bit")},
                                {0xFFFFFFFFu, Utf8Record("all ones")}}),
                     4),
              1);
    EXPECT_EQ(TextOf(table.Find(5)), "five");
    EXPECT_EQ(TextOf(table.Find(0x7FFFFFFFu)), "max signed");
    EXPECT_EQ(TextOf(table.Find(0x80000000u)), "high bit");
    EXPECT_EQ(TextOf(table.Find(0xFFFFFFFFu)), "all ones");
    EXPECT_EQ(table.Find(6), nullptr);
}

TEST(StringTable, FindsEveryIdOfALargerTableAndNoGap)
{
    std::vector<std::pair<uint32_t, Bytes>> entries;
    for (uint32_t id = 0; id < 301; id += 3)
        entries.push_back({id, Utf8Record(std::to_string(id))});
    StringTable table;
    ASSERT_EQ(Attach(table, MakeTable(entries), static_cast<int32_t>(entries.size())), 1);
    for (uint32_t id = 0; id < 305; ++id) {
        if (id % 3 == 0 && id < 301)
            ASSERT_EQ(TextOf(table.Find(id)), std::to_string(id));
        else
            ASSERT_EQ(table.Find(id), nullptr) << "id " << id;
    }
}

TEST(StringTable, EntriesMayShareARecord)
{
    Bytes bytes;
    PutWord(bytes, 1);
    PutWord(bytes, 0);
    PutWord(bytes, 2);
    PutWord(bytes, 0);
    const Bytes record = Utf8Record("shared");
    bytes.insert(bytes.end(), record.begin(), record.end());
    StringTable table;
    ASSERT_EQ(Attach(table, bytes, 2), 1);
    EXPECT_EQ(table.Find(1), table.Find(2));
}

TEST(StringTable, RefusesMalformedTablesAndKeepsWhatItHad)
{
    const Bytes good = MakeTable({{1, Utf8Record("one")}, {2, Utf16Record(u"two")}});
    Bytes offsetPastEnd = good;
    offsetPastEnd[12] = 200;  // second entry's text offset
    Bytes headerCutOff = MakeTable({{1, Utf8Record("one")}});
    headerCutOff.resize(8 + 2);
    Bytes utf8PastEnd = MakeTable({{1, Utf8Record("one")}});
    utf8PastEnd.pop_back();
    Bytes utf16PastEnd = MakeTable({{1, Utf16Record(u"two")}});
    utf16PastEnd.pop_back();

    const struct {
        const char* name;
        Bytes bytes;
        int32_t count;
    } cases[] = {
        {"count 0", good, 0},
        {"negative count", good, -1},
        {"entries beyond the buffer", good, 100},
        {"equal ids", MakeTable({{3, Utf8Record("a")}, {3, Utf8Record("b")}}), 2},
        {"descending ids", MakeTable({{0x80000000u, Utf8Record("a")}, {5, Utf8Record("b")}}), 2},
        {"text offset past the end", offsetPastEnd, 2},
        {"record header cut off", headerCutOff, 1},
        {"8-bit text runs past the end", utf8PastEnd, 1},
        {"UTF-16 text runs past the end", utf16PastEnd, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        StringTable table;
        ASSERT_EQ(Attach(table, MakeTable({{9, Utf8Record("before")}}), 1), 1);
        EXPECT_EQ(Attach(table, c.bytes, c.count), 0);
        EXPECT_EQ(table.Count(), 1);
        EXPECT_EQ(TextOf(table.Find(9)), "before");
    }

    StringTable table;
    EXPECT_EQ(table.Attach(nullptr, 1, 100), 0);
    EXPECT_EQ(table.Count(), 0);
}

TEST(StringTable, AttachReplacesTheEarlierBuffer)
{
    StringTable table;
    ASSERT_EQ(Attach(table, MakeTable({{1, Utf8Record("old")}}), 1), 1);
    ASSERT_EQ(Attach(table, MakeTable({{2, Utf8Record("new")}}), 1), 1);
    EXPECT_EQ(table.Find(1), nullptr);
    EXPECT_EQ(TextOf(table.Find(2)), "new");
}

TEST(StringTable, ClearForgetsWithoutReleasing)
{
    const Bytes bytes = MakeTable({{1, Utf8Record("kept")}});
    unsigned char* buffer = HeapCopy(bytes);
    StringTable table;
    ASSERT_EQ(table.Attach(buffer, 1, static_cast<uint32_t>(bytes.size())), 1);
    table.Clear();
    EXPECT_EQ(table.Find(1), nullptr);
    EXPECT_EQ(buffer[8 + 4], 'k') << "the buffer is still there";
    delete[] buffer;
}

}  // namespace
