#include "core/InstallPathRules.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::u16string Text(const GString& text)
{
    GString wide;
    wide.AssignAsWide(&text);
    return std::u16string(wide.GetW(), size_t(wide.Length()));
}

// The computed fields of the installer.
struct Paths
{
    GString makerFolder, productFolder, menuMakerFolder, menuFolder, sharedDoc, sharedDocMenuLink,
        sharedDocDeskLink, productDoc, productDocMenuLink, productDocDeskLink, textFile, textMenuLink, textDeskLink,
        menuLinkFile, deskLinkFile, pageFile, installerCopy, maintenanceLink;
    InstallPathFields Fields()
    {
        return {&makerFolder,   &productFolder,      &menuMakerFolder,    &menuFolder,   &sharedDoc,
                &sharedDocMenuLink, &sharedDocDeskLink, &productDoc,     &productDocMenuLink,
                &productDocDeskLink, &textFile,      &textMenuLink,       &textDeskLink, &menuLinkFile,
                &deskLinkFile,  &pageFile,           &installerCopy,      &maintenanceLink};
    }
};

class InstallPathRulesTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_texts.m_programFiles.AssignW(u"C:\\Program Files");
        m_texts.m_commonPrograms.AssignW(u"C:\\Menu\\Programs\\");
        m_texts.m_commonDesktop.AssignW(u"C:\\Desktop");
        m_texts.m_makerName.AssignW(u"Maker");
        m_texts.m_productName.AssignW(u"Product");
        // Texts may come in either form.
        m_texts.m_sharedDocTitle.AssignUtf8("Guide");
        m_texts.m_sharedDocSubtitle.AssignW(u"Edition \u00E9");
        m_texts.m_productDocName.AssignW(u"Manual");
        m_texts.m_documentExtension.AssignW(u".pdf");
        m_texts.m_shortcutExtension.AssignUtf8(".lnk");
        m_texts.m_textFileExtension.AssignW(u".txt");
        m_texts.m_linkFileExtension.AssignW(u".url");
        m_texts.m_linkFileName.AssignW(u"Home page");
        m_texts.m_textFileName.AssignW(u"Read me");
        m_texts.m_pageFileName.AssignW(u"page.htm");
    }

    InstallPathTexts m_texts;
    Paths m_paths;
};

TEST_F(InstallPathRulesTest, FormsEveryPathFromItsBaseAndNames)
{
    ASSERT_EQ(FormInstallPaths(m_texts, m_paths.Fields()), 1);
    const struct
    {
        const GString& m_path;
        std::u16string m_expected;
    } cases[] = {
        {m_paths.makerFolder, u"C:\\Program Files\\Maker"},
        {m_paths.productFolder, u"C:\\Program Files\\Maker\\Product"},
        {m_paths.menuMakerFolder, u"C:\\Menu\\Programs\\Maker"},
        {m_paths.menuFolder, u"C:\\Menu\\Programs\\Maker\\Product"},
        {m_paths.sharedDoc, u"C:\\Program Files\\Maker\\Product\\Guide (Edition \u00E9).pdf"},
        {m_paths.sharedDocMenuLink, u"C:\\Menu\\Programs\\Maker\\Product\\Guide (Edition \u00E9).lnk"},
        {m_paths.sharedDocDeskLink, u"C:\\Desktop\\Guide (Edition \u00E9).lnk"},
        {m_paths.productDoc, u"C:\\Program Files\\Maker\\Product\\Manual.pdf"},
        {m_paths.productDocMenuLink, u"C:\\Menu\\Programs\\Maker\\Product\\Manual.lnk"},
        {m_paths.productDocDeskLink, u"C:\\Desktop\\Manual.lnk"},
        {m_paths.textFile, u"C:\\Program Files\\Maker\\Product\\Read me.txt"},
        {m_paths.textMenuLink, u"C:\\Menu\\Programs\\Maker\\Product\\Read me.lnk"},
        {m_paths.textDeskLink, u"C:\\Desktop\\Read me.lnk"},
        {m_paths.menuLinkFile, u"C:\\Menu\\Programs\\Maker\\Product\\Home page.url"},
        {m_paths.deskLinkFile, u"C:\\Desktop\\Home page.url"},
        {m_paths.pageFile, u"C:\\Program Files\\Maker\\Product\\page.htm"},
    };
    for (const auto& c : cases) {
        EXPECT_TRUE(Text(c.m_path) == c.m_expected) << std::string(c.m_expected.begin(), c.m_expected.end());
        EXPECT_TRUE(c.m_path.IsWide());
    }
    EXPECT_EQ(m_paths.installerCopy.Length(), 0);
}

TEST_F(InstallPathRulesTest, JoinsWithExactlyOneBackslash)
{
    m_texts.m_makerName.AssignW(u"\\Maker");
    m_texts.m_productName.AssignW(u"/Product");
    m_texts.m_programFiles.Clear(); // a folder that could not be read
    ASSERT_EQ(FormInstallPaths(m_texts, m_paths.Fields()), 1);
    EXPECT_TRUE(Text(m_paths.productFolder) == u"\\Maker\\Product");
    EXPECT_TRUE(Text(m_paths.menuFolder) == u"C:\\Menu\\Programs\\Maker\\Product");
}

TEST_F(InstallPathRulesTest, InstallerCopyTakesTheProgramsFileName)
{
    const struct
    {
        const char16_t* m_selfPath;
        const char16_t* m_fileName;
    } cases[] = {
        {u"D:\\Downloads\\setup.exe", u"setup.exe"},
        {u"setup.exe", u"setup.exe"},
        {u"\\\\server\\share\\Set up.EXE", u"Set up.EXE"},
        {u"D:/tools\\sub/setup.exe", u"setup.exe"},
        {u"D:\\tools/sub\\setup.exe", u"setup.exe"},
    };
    ASSERT_EQ(FormInstallPaths(m_texts, m_paths.Fields()), 1);
    GString maintenanceName;
    maintenanceName.AssignW(u"Change Layout");
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.m_selfPath, c.m_selfPath + std::char_traits<char16_t>::length(c.m_selfPath)));
        GString selfPath;
        selfPath.AssignW(c.m_selfPath);
        GString fileName;
        ASSERT_EQ(ProgramFileName(selfPath, fileName), 1);
        EXPECT_TRUE(Text(fileName) == c.m_fileName);
        ASSERT_EQ(FormProgramCopyPaths(m_texts, selfPath, maintenanceName, m_paths.Fields()), 1);
        EXPECT_TRUE(Text(m_paths.installerCopy) == u"C:\\Program Files\\Maker\\Product\\" + std::u16string(c.m_fileName));
        EXPECT_TRUE(Text(m_paths.maintenanceLink) == u"C:\\Menu\\Programs\\Maker\\Product\\Change Layout.lnk");
    }
}

} // namespace
