// The payload that the build generates from embedded/content/manifest.txt, unpacked with the
// program's own code.
#include "embedded/InstallBase.h"
#include "embedded/Payload.h"
#include "embedded/StringIds.h"
#include "text/GString.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace {

// Loads the key material and the three tables of the base class as the installer's start-up does.
class CPayloadInstall : public CInstallBase {
public:
    CPayloadInstall() : CInstallBase(g_guardParameters) {}

    bool Start()
    {
        return m_guard.Load(g_keyMaterial.bytes, static_cast<int32_t>(g_keyMaterial.storedLength)) &&
               AttachBlock(m_defaultStrings, g_defaultStrings) && AttachBlock(m_languageStrings[0], g_languageStrings[0]) &&
               AttachBlock(m_languageStrings[1], g_languageStrings[1]);
    }

    const CGuard& Guard() const { return m_guard; }

private:
    bool AttachBlock(StringTable& table, const EmbeddedBlock& block)
    {
        uint32_t length = block.storedLength;
        uint32_t count = 0;
        unsigned char* buffer = m_guard.Unpack(block.bytes, length, &count);
        if (buffer != nullptr && table.Attach(buffer, static_cast<int32_t>(count), length))
            return true;
        delete[] buffer;
        return false;
    }
};

std::u16string Text(CInstallBase& install, StringId id)
{
    GString out;
    if (!install.GetString(id, out))
        return u"(missing)";
    return std::u16string(out.GetW(), out.Length());
}

bool Unpacks(const CGuard& guard, const unsigned char* bytes, uint32_t storedLength)
{
    uint32_t length = storedLength;
    std::unique_ptr<unsigned char[]> data(guard.Unpack(bytes, length, nullptr));
    return data != nullptr;
}

TEST(Payload, EveryBlockUnpacks)
{
    CPayloadInstall install;
    ASSERT_TRUE(install.Start());
    const CGuard& guard = install.Guard();
    EXPECT_TRUE(Unpacks(guard, g_installerStrings.bytes, g_installerStrings.storedLength));
    for (int language = 0; language < kUiLanguages; ++language)
        EXPECT_TRUE(Unpacks(guard, g_licenceTexts[language], g_licenceTextLengths[language])) << language;
    for (const EmbeddedBlock* file : {&g_sharedDocument, &g_productDocument, &g_pageFile})
        EXPECT_TRUE(Unpacks(guard, file->bytes, file->storedLength));
    for (int set = 0; set < kLayoutSets; ++set)
        for (int variant = 0; variant < kLayoutVariants; ++variant)
            for (int slot = 0; slot < kLayoutSlots; ++slot)
                if (g_layoutLibraries[set][variant][slot] != nullptr) {  // the Itanium slots are empty
                    EXPECT_TRUE(Unpacks(guard, g_layoutLibraries[set][variant][slot],
                                        g_layoutLibraryLengths[set][variant][slot]))
                        << "library " << set << " " << variant << " " << slot;
                }
}

TEST(Payload, TextsFollowTheSelectedLanguage)
{
    CPayloadInstall install;
    ASSERT_TRUE(install.Start());
    const std::u16string english = Text(install, kStrButtonCancel);
    const std::u16string keyName = Text(install, kStrKeyF1);
    ASSERT_EQ(install.SetLanguage(1), 1);
    EXPECT_NE(Text(install, kStrButtonCancel), english);
    EXPECT_NE(Text(install, kStrButtonCancel), u"(missing)");
    EXPECT_EQ(Text(install, kStrKeyF1), keyName) << "taken from the default table in both languages";
    EXPECT_NE(keyName, u"(missing)");
}

}  // namespace
