#include "core/Install.h"

#include "core/InstallPathRules.h"
#include "embedded/StringIds.h"
#include "text/WideView.h"

#include <shellapi.h>
#include <shlobj.h>

int CInstall::ComputePaths()
{
    InstallPathTexts texts;
    SpecialFolderGet(CSIDL_PROGRAM_FILES, texts.m_programFiles);
    SpecialFolderGet(CSIDL_COMMON_PROGRAMS, texts.m_commonPrograms);
    SpecialFolderGet(CSIDL_COMMON_DESKTOPDIRECTORY, texts.m_commonDesktop);
    GetString(kStrMakerFolder, texts.m_makerName);
    GetString(kStrProductFolder, texts.m_productName);
    GetString(kStrSharedDocTitle, texts.m_sharedDocTitle);
    GetString(kStrSharedDocEdition, texts.m_sharedDocSubtitle);
    GetString(kStrProductDocName, texts.m_productDocName);
    GetString(kStrDocumentExtension, texts.m_documentExtension);
    GetString(kStrShortcutExtension, texts.m_shortcutExtension);
    GetString(kStrTextFileExtension, texts.m_textFileExtension);
    GetString(kStrLinkFileExtension, texts.m_linkFileExtension);
    GetString(kStrLinkFileName, texts.m_linkFileName);
    GetString(kStrTextFileName, texts.m_textFileName);
    GetString(kStrPageFileName, texts.m_pageFileName);

    const InstallPathFields fields = {
        &m_makerFolder,   &m_productFolder,      &m_menuMakerFolder,    &m_menuFolder,
        &m_sharedDoc,     &m_sharedDocMenuLink,  &m_sharedDocDeskLink,  &m_productDoc,
        &m_productDocMenuLink, &m_productDocDeskLink, &m_textFile,      &m_textMenuLink,
        &m_textDeskLink,  &m_menuLinkFile,       &m_deskLinkFile,       &m_pageFile,
        &m_installerCopy, &m_maintenanceLink,
    };
    FormInstallPaths(texts, fields);

    int count = 0;
    LPWSTR* arguments = CommandLineToArgvW(GetCommandLineW(), &count);
    if (arguments == nullptr)
        return 0;
    int result = 0;
    if (count > 0 && m_selfPath.AssignW(AsChar16(arguments[0]))) {
        GString format;
        GString layoutName;
        GetString(kStrMaintenanceNameFormat, format);
        GetString(kStrLayoutName, layoutName);
        m_maintenanceName.Format(format.GetW(), layoutName.GetW());
        FormProgramCopyPaths(texts, m_selfPath, m_maintenanceName, fields);
        result = 1;
    }
    LocalFree(arguments);
    return result;
}
