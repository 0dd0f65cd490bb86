#include "core/InstallPathRules.h"

namespace {

// GString::Append without a result; here the result is wanted.
int AppendText(GString& out, const GString& text)
{
    return text.IsWide() ? out.AppendW(text.GetW(), text.Length()) : out.AppendUtf8(text.GetUtf8(), text.Length());
}

} // namespace

int FormPath(GString& out, const GString& base, const GString& name, const GString* suffix)
{
    if (!out.AssignAsWide(&base))
        return 0;
    const int joined = name.IsWide() ? out.AppendPath(name.GetW(), name.Length())
                                     : out.AppendPath(name.GetUtf8(), name.Length());
    return joined && (suffix == nullptr || AppendText(out, *suffix)) ? 1 : 0;
}

int FormInstallPaths(const InstallPathTexts& texts, const InstallPathFields& fields)
{
    // The shared document's title: string 22 + " (" + string 23 + ")".
    GString title;
    int ok = title.AssignAsWide(&texts.m_sharedDocTitle);
    ok &= title.AppendW(u" (");
    ok &= AppendText(title, texts.m_sharedDocSubtitle);
    ok &= title.AppendW(u")");

    ok &= FormPath(*fields.m_makerFolder, texts.m_programFiles, texts.m_makerName, nullptr);
    ok &= FormPath(*fields.m_productFolder, *fields.m_makerFolder, texts.m_productName, nullptr);
    ok &= FormPath(*fields.m_menuMakerFolder, texts.m_commonPrograms, texts.m_makerName, nullptr);
    ok &= FormPath(*fields.m_menuFolder, *fields.m_menuMakerFolder, texts.m_productName, nullptr);
    ok &= FormPath(*fields.m_sharedDoc, *fields.m_productFolder, title, &texts.m_documentExtension);
    ok &= FormPath(*fields.m_sharedDocMenuLink, *fields.m_menuFolder, title, &texts.m_shortcutExtension);
    ok &= FormPath(*fields.m_sharedDocDeskLink, texts.m_commonDesktop, title, &texts.m_shortcutExtension);
    ok &= FormPath(*fields.m_productDoc, *fields.m_productFolder, texts.m_productDocName, &texts.m_documentExtension);
    ok &= FormPath(*fields.m_productDocMenuLink, *fields.m_menuFolder, texts.m_productDocName,
                   &texts.m_shortcutExtension);
    ok &= FormPath(*fields.m_productDocDeskLink, texts.m_commonDesktop, texts.m_productDocName,
                   &texts.m_shortcutExtension);
    ok &= FormPath(*fields.m_textFile, *fields.m_productFolder, texts.m_textFileName, &texts.m_textFileExtension);
    ok &= FormPath(*fields.m_textMenuLink, *fields.m_menuFolder, texts.m_textFileName, &texts.m_shortcutExtension);
    ok &= FormPath(*fields.m_textDeskLink, texts.m_commonDesktop, texts.m_textFileName, &texts.m_shortcutExtension);
    ok &= FormPath(*fields.m_menuLinkFile, *fields.m_menuFolder, texts.m_linkFileName, &texts.m_linkFileExtension);
    ok &= FormPath(*fields.m_deskLinkFile, texts.m_commonDesktop, texts.m_linkFileName, &texts.m_linkFileExtension);
    ok &= FormPath(*fields.m_pageFile, *fields.m_productFolder, texts.m_pageFileName, nullptr);
    return ok;
}

int ProgramFileName(const GString& path, GString& out)
{
    if (!out.AssignAsWide(&path))
        return 0;
    // Windows takes a slash as a separator too; a name cut at a backslash only would keep a folder.
    const int backslash = out.FindLastChar(u'\\', 0);
    const int slash = out.FindLastChar(u'/', 0);
    const int separator = backslash > slash ? backslash : slash;
    return separator < 0 || out.DropFront(separator + 1) ? 1 : 0;
}

int FormProgramCopyPaths(const InstallPathTexts& texts, const GString& selfPath, const GString& maintenanceName,
                         const InstallPathFields& fields)
{
    GString fileName;
    if (!ProgramFileName(selfPath, fileName))
        return 0;
    int ok = FormPath(*fields.m_installerCopy, *fields.m_productFolder, fileName, nullptr);
    ok &= FormPath(*fields.m_maintenanceLink, *fields.m_menuFolder, maintenanceName, &texts.m_shortcutExtension);
    return ok;
}
