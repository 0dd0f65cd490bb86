#include "embedded/InstallBase.h"
#include "tests/embedded/GuardTestSupport.h"
#include "tests/embedded/StringTableTestSupport.h"
#include "text/GString.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// A CInstallBase whose tables the tests fill directly.
class CTestBase : public CInstallBase {
public:
    CTestBase() : CInstallBase(kTestGuardParameters) {}

    void Fill(StringTable& table, const std::vector<std::pair<uint32_t, Bytes>>& entries)
    {
        const Bytes bytes = MakeTable(entries);
        unsigned char* buffer = HeapCopy(bytes);
        ASSERT_EQ(table.Attach(buffer, static_cast<int32_t>(entries.size()), static_cast<uint32_t>(bytes.size())), 1);
    }
    void FillDefault(const std::vector<std::pair<uint32_t, Bytes>>& entries) { Fill(m_defaultStrings, entries); }
    void FillLanguage(int language, const std::vector<std::pair<uint32_t, Bytes>>& entries)
    {
        Fill(m_languageStrings[language], entries);
    }
    bool GuardLoaded() const { return m_guard.IsLoaded(); }
    void LoadGuard()
    {
        const Bytes material = TestMaterial();
        m_guard.Load(material.data(), CGuard::kMaterialLength);
    }
};

// Like the installer object: a fourth table that the lookup searches last.
class CTestInstall : public CTestBase {
public:
    const PackedString* FindString(uint32_t id) const override
    {
        const PackedString* text = CInstallBase::FindString(id);
        return text != nullptr ? text : m_installerStrings.Find(id);
    }

    StringTable m_installerStrings;
};

std::u16string Wide(const GString& text) { return std::u16string(text.GetW(), text.Length()); }

TEST(InstallBase, StartsEmpty)
{
    CTestBase base;
    EXPECT_EQ(base.GetStage(), 0);
    EXPECT_EQ(base.GetOsVersion(), 0);
    EXPECT_EQ(base.GetLanguage(), 0);
    EXPECT_EQ(base.Is64Bit(), 0);
    EXPECT_EQ(base.GetProcessorArchitecture(), 0xFFFF);
    EXPECT_EQ(base.GetOwnerWindow(), nullptr);
    EXPECT_FALSE(base.GuardLoaded());
    EXPECT_EQ(base.FindString(0), nullptr);
    EXPECT_EQ(base.Init(nullptr), 1);
}

TEST(InstallBase, SetLanguageTakesOnlyZeroAndOne)
{
    CTestBase base;
    EXPECT_EQ(base.SetLanguage(1), 1);
    EXPECT_EQ(base.GetLanguage(), 1);
    for (uint32_t index : {2u, 0x80000000u, 0xFFFFFFFFu}) {
        EXPECT_EQ(base.SetLanguage(index), 0) << index;
        EXPECT_EQ(base.GetLanguage(), 1);
    }
    EXPECT_EQ(base.SetLanguage(0), 1);
    EXPECT_EQ(base.GetLanguage(), 0);
}

class InstallBaseLookup : public ::testing::Test {
protected:
    InstallBaseLookup()
    {
        for (CTestBase* base : {static_cast<CTestBase*>(&m_base), static_cast<CTestBase*>(&m_install)}) {
            base->FillDefault({{1, Utf8Record("default one")}, {2, Utf8Record("default two")}});
            base->FillLanguage(0, {{2, Utf8Record("english two")}});
            base->FillLanguage(1, {{2, Utf8Record("polish two")}, {3, Utf8Record("polish three")}});
        }
        m_install.Fill(m_install.m_installerStrings, {{1, Utf8Record("installer one")}, {4, Utf8Record("installer four")}});
    }

    std::u16string Get(CInstallBase& base, uint32_t id)
    {
        GString out;
        out.AssignUtf8("left over");
        const int found = base.GetString(id, out);
        EXPECT_TRUE(out.IsWide() || !found);
        return found ? Wide(out) : out.Length() == 0 ? u"(not found)" : u"(not found, not emptied)";
    }

    CTestBase m_base;
    CTestInstall m_install;
};

TEST_F(InstallBaseLookup, SelectedLanguageThenDefault)
{
    EXPECT_EQ(Get(m_base, 2), u"english two");
    EXPECT_EQ(Get(m_base, 1), u"default one");
    EXPECT_EQ(Get(m_base, 3), u"(not found)");
    ASSERT_EQ(m_base.SetLanguage(1), 1);
    EXPECT_EQ(Get(m_base, 2), u"polish two");
    EXPECT_EQ(Get(m_base, 1), u"default one");
    EXPECT_EQ(Get(m_base, 3), u"polish three");
}

TEST_F(InstallBaseLookup, InstallerTableOnlyThroughTheDerivedLookup)
{
    EXPECT_EQ(Get(m_install, 4), u"installer four");
    EXPECT_EQ(Get(m_install, 1), u"default one") << "the installer table comes last";
    EXPECT_EQ(Get(m_base, 4), u"(not found)");
}

TEST_F(InstallBaseLookup, CleanupReleasesTablesAndKeyMaterial)
{
    m_base.LoadGuard();
    ASSERT_TRUE(m_base.GuardLoaded());
    m_base.Cleanup();
    EXPECT_FALSE(m_base.GuardLoaded());
    EXPECT_EQ(m_base.FindString(1), nullptr);
    EXPECT_EQ(m_base.FindString(2), nullptr);
    m_base.Cleanup();
}

TEST(InstallBase, LoadsEightBitAndUtf16Records)
{
    CTestBase base;
    base.FillDefault({
        {1, Utf8Record("abc")},
        {2, Utf8Record("abc", 0x20000000u)},
        {3, Utf8Record("abc", 0x40000000u)},
        {4, Utf8Record("\xC5\x82\xC3\xB3" "d" "\xC5\xBA")},
        {5, Utf16Record(u"\u0142\u00F3d\u017A")},
        {6, Utf16Record(u"\u4E2D\u6587")},
        {7, Utf8Record("")},
        {8, Utf16Record(u"")},
    });
    const struct {
        uint32_t id;
        std::u16string text;
    } cases[] = {
        {1, u"abc"}, {2, u"abc"}, {3, u"abc"}, {4, u"\u0142\u00F3d\u017A"},
        {5, u"\u0142\u00F3d\u017A"}, {6, u"\u4E2D\u6587"}, {7, u""}, {8, u""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE("id " + std::to_string(c.id));
        GString out;
        ASSERT_EQ(base.GetString(c.id, out), 1);
        EXPECT_TRUE(out.IsWide());
        EXPECT_EQ(Wide(out), c.text);
    }
}

}  // namespace
