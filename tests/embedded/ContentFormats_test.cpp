// The product's texts as the payload carries them: every format text formats its arguments as the
// program passes them, and the patch patterns find their places in the carried libraries.
#include "embedded/InstallBase.h"
#include "embedded/Payload.h"
#include "embedded/StringIds.h"
#include "text/GString.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace {

// The four tables looked up as the installer does: selected language, default, installer.
class CContentInstall : public CInstallBase {
public:
    CContentInstall() : CInstallBase(g_guardParameters) {}

    bool Start()
    {
        return m_guard.Load(g_keyMaterial.bytes, static_cast<int32_t>(g_keyMaterial.storedLength)) &&
               Attach(m_defaultStrings, g_defaultStrings.bytes, g_defaultStrings.storedLength) &&
               Attach(m_installerStrings, g_installerStrings.bytes, g_installerStrings.storedLength) &&
               Attach(m_languageStrings[0], g_languageStrings[0].bytes, g_languageStrings[0].storedLength) &&
               Attach(m_languageStrings[1], g_languageStrings[1].bytes, g_languageStrings[1].storedLength);
    }

    const PackedString* FindString(uint32_t id) const override
    {
        const PackedString* found = CInstallBase::FindString(id);
        return found != nullptr ? found : m_installerStrings.Find(id);
    }

    std::u16string Text(StringId id)
    {
        GString out;
        return GetString(id, out) ? std::u16string(out.GetW(), out.Length()) : u"(missing)";
    }

    std::vector<unsigned char> Unpack(const unsigned char* bytes, uint32_t storedLength) const
    {
        uint32_t length = storedLength;
        std::unique_ptr<unsigned char[]> data(m_guard.Unpack(bytes, length, nullptr));
        return data ? std::vector<unsigned char>(data.get(), data.get() + length) : std::vector<unsigned char>{};
    }

private:
    bool Attach(StringTable& table, const unsigned char* bytes, uint32_t storedLength)
    {
        uint32_t length = storedLength;
        uint32_t count = 0;
        unsigned char* buffer = m_guard.Unpack(bytes, length, &count);
        if (buffer != nullptr && table.Attach(buffer, static_cast<int32_t>(count), length))
            return true;
        delete[] buffer;
        return false;
    }

    StringTable m_installerStrings;
};

class ContentTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(m_install.Start()); }

    template <typename... Args>
    std::u16string Format(StringId id, Args... args)
    {
        const std::u16string format = m_install.Text(id);
        GString out;
        if (!out.Format(format.c_str(), args...))
            return u"(format failed)";
        return std::u16string(out.GetW(), out.Length());
    }

    CContentInstall m_install;
};

bool Contains(const std::u16string& text, const std::u16string& piece) { return text.find(piece) != text.npos; }

TEST_F(ContentTest, LanguageIndependentFormats)
{
    const std::u16string layoutKey = m_install.Text(kStrLayoutKeyName);
    EXPECT_EQ(layoutKey, u"a1c50415");
    EXPECT_EQ(Format(kStrPrevInputLocaleFormat, 0x415u, u"00000415"), u"0415:00000415");
    EXPECT_EQ(Format(kStrLaunchCommandFormat, u"C:\\Program Files\\Internet Explorer\\iexplore.exe",
                     m_install.Text(kStrLaunchArgument).c_str()),
              u"\"C:\\Program Files\\Internet Explorer\\iexplore.exe\" \"" + m_install.Text(kStrLaunchArgument) + u"\"");
    EXPECT_EQ(Format(kStrInputLanguageCommand, u"C:\\Documents and Settings\\Ewa\\Temp\\kws1F.tmp"),
              u"control.exe intl.cpl,,/f:\"C:\\Documents and Settings\\Ewa\\Temp\\kws1F.tmp\"");
    EXPECT_EQ(Format(kStrLinkFileFormat, u"C:\\Program Files\\Tarnowski & Lind Keyworks\\Keyworks Central European",
                     m_install.Text(kStrPageFileName).c_str()),
              u"[InternetShortcut]\r\nURL=file:///C:\\Program Files\\Tarnowski & Lind Keyworks\\"
              u"Keyworks Central European\\Keyworks Central European.htm\r\n");
}

TEST_F(ContentTest, InputLanguageCommandFiles)
{
    const std::u16string key = m_install.Text(kStrLayoutKeyName);
    const std::u16string marker = m_install.Text(kStrDefaultLanguageMarker);
    const std::u16string add = Format(kStrAddLanguageText, 0x405u, key.c_str(), marker.c_str());
    EXPECT_TRUE(Contains(add, u"<gs:InputLanguageID Action=\"add\" ID=\"0405:a1c50415\" Default=\"true\"/>")) << std::string(add.begin(), add.end());
    EXPECT_TRUE(Contains(Format(kStrAddLanguageText, 0x415u, key.c_str(), u""),
                         u"ID=\"0415:a1c50415\"/>"));

    const std::u16string extra = u"<gs:GlobalizationServices xmlns:gs=\"urn:longhornGlobalizationUnattend\">";
    const std::u16string addNew =
        Format(kStrAddLanguageTextNew, extra.c_str(), 0x41Bu, key.c_str(), marker.c_str(), 0x41Bu, 0x41Bu);
    EXPECT_EQ(addNew.rfind(extra, 0), 0u);
    EXPECT_TRUE(Contains(addNew, u"ID=\"041B:a1c50415\" Default=\"true\"/>"));
    EXPECT_TRUE(Contains(addNew, u"ID=\"041B:0000041B\"/>"));

    const std::u16string removeOld = Format(kStrRemoveLanguageText, u"", u"");
    EXPECT_EQ(removeOld.rfind(u"[RegionalSettings]\r\n", 0), 0u);
    EXPECT_FALSE(Contains(removeOld, u"%"));
    const std::u16string removeNew = Format(kStrRemoveLanguageTextVista, u"");
    EXPECT_TRUE(Contains(removeNew, u"Action=\"remove\" ID=\"0415:a1c50415\""));
    EXPECT_TRUE(Contains(removeNew, u"</gs:GlobalizationServices>"));
}

// Every user-visible format, in both languages, takes its one text argument.
TEST_F(ContentTest, UserVisibleFormatsInBothLanguages)
{
    const std::u16string layout = m_install.Text(kStrLayoutName);
    const std::u16string product = m_install.Text(kStrProductName);
    struct Case {
        StringId id;
        std::u16string argument;
    };
    const Case cases[] = {
        {kStrMaintenanceNameFormat, layout},    {kStrWelcomeHeadingNew, layout},
        {kStrWelcomeHeadingInstalled, layout},  {kStrRemoveQuestionFormat, product},
        {kStrSetupLanguageLabelFormat, layout}, {kStrMakeDefaultFormat, u"Polski - " + layout},
        {kStrDoneInstalledOldSystemFormat, layout},
    };
    for (uint32_t language : {0u, 1u}) {
        ASSERT_EQ(m_install.SetLanguage(language), 1);
        for (const Case& c : cases) {
            SCOPED_TRACE("language " + std::to_string(language) + ", string " + std::to_string(c.id));
            const std::u16string text = Format(c.id, c.argument.c_str());
            EXPECT_TRUE(Contains(text, c.argument));
            EXPECT_FALSE(Contains(text, u"%"));
        }
    }
    ASSERT_EQ(m_install.SetLanguage(0), 1);
    EXPECT_EQ(Format(kStrMaintenanceNameFormat, layout.c_str()), u"Change or remove Keyworks Central European");
    ASSERT_EQ(m_install.SetLanguage(1), 1);
    EXPECT_EQ(Format(kStrMaintenanceNameFormat, layout.c_str()), u"Zmień lub usuń Keyworks Central European");
}

TEST_F(ContentTest, DefaultVariantMarkerNamesTheFirstVariant)
{
    for (uint32_t language : {0u, 1u}) {
        ASSERT_EQ(m_install.SetLanguage(language), 1);
        const std::u16string marker = m_install.Text(kStrDefaultVariantMarker);
        EXPECT_TRUE(Contains(m_install.Text(kStrVariantName0), marker)) << language;
        EXPECT_FALSE(Contains(m_install.Text(kStrVariantName1), marker)) << language;
        EXPECT_FALSE(Contains(m_install.Text(kStrVariantName2), marker)) << language;
    }
}

std::vector<unsigned char> HexBytes(const std::u16string& hex)
{
    std::vector<unsigned char> bytes;
    auto digit = [](char16_t c) { return c <= u'9' ? c - u'0' : c - u'A' + 10; };
    for (std::size_t i = 0; i + 1 < hex.size(); i += 2)
        bytes.push_back(static_cast<unsigned char>(digit(hex[i]) * 16 + digit(hex[i + 1])));
    return bytes;
}

int Occurrences(const std::vector<unsigned char>& image, const std::vector<unsigned char>& pattern)
{
    int count = 0;
    for (auto at = image.begin();
         (at = std::search(at, image.end(), pattern.begin(), pattern.end())) != image.end(); ++at)
        ++count;
    return count;
}

// The installer patches at the first match; each pattern must match exactly once in every library
// the installer searches with it, and the Itanium slots must be empty.
TEST_F(ContentTest, PatchPatternsOccurOnceInEveryCarriedLibrary)
{
    const StringId tables[kLayoutVariants] = {kStrPatternMainTable0, kStrPatternMainTable1, kStrPatternMainTable2};
    for (int set = 0; set < kLayoutSets; ++set)
        for (int variant = 0; variant < kLayoutVariants; ++variant)
            for (int slot = 0; slot < kLayoutSlots; ++slot) {
                SCOPED_TRACE("library " + std::to_string(set) + " " + std::to_string(variant) + " " +
                             std::to_string(slot));
                const unsigned char* block = g_layoutLibraries[set][variant][slot];
                if (slot == 3 || slot == 6 || slot == 9) {
                    EXPECT_EQ(block, nullptr);
                    continue;
                }
                const std::vector<unsigned char> image = m_install.Unpack(block, g_layoutLibraryLengths[set][variant][slot]);
                ASSERT_GT(image.size(), 2u);
                EXPECT_EQ(image[0], 'M');
                for (StringId id : {tables[variant], kStrPatternExtendedTable, kStrPatternE1Table, kStrPatternDecimalKey}) {
                    const std::vector<unsigned char> pattern = HexBytes(m_install.Text(id));
                    ASSERT_GE(pattern.size(), 8u) << id;
                    EXPECT_EQ(Occurrences(image, pattern), 1) << "pattern " << id;
                }
                const std::vector<unsigned char> decimal = HexBytes(m_install.Text(kStrPatternDecimalKey));
                EXPECT_EQ(decimal[0], '.');
                EXPECT_EQ(decimal[2], '.');
            }
}

}  // namespace
