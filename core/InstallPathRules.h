#pragma once
// How the computed install paths are formed from the three folder bases and the names of the
// string tables. A \ B joins with exactly one backslash (GString::AppendPath); the extensions are
// appended as they are, so they carry their own dot. Every result is UTF-16.

#include "text/GString.h"

// The texts the paths are made of, each loaded by the installer (a folder that cannot be read
// stays empty, and the paths formed on it then start with a backslash).
struct InstallPathTexts
{
    GString m_programFiles;      // P
    GString m_commonPrograms;    // M, start-menu programs of all users
    GString m_commonDesktop;     // D, desktop of all users
    GString m_makerName;         // string 9
    GString m_productName;       // string 10
    GString m_sharedDocTitle;    // string 22
    GString m_sharedDocSubtitle; // string 23
    GString m_productDocName;    // string 30
    GString m_documentExtension; // string 42
    GString m_shortcutExtension; // string 43
    GString m_textFileExtension; // string 44
    GString m_linkFileExtension; // string 46
    GString m_linkFileName;      // string 70
    GString m_textFileName;      // string 71
    GString m_pageFileName;      // string 80
};

// The installer's computed path fields that the forming fills.
struct InstallPathFields
{
    GString* m_makerFolder;
    GString* m_productFolder;
    GString* m_menuMakerFolder;
    GString* m_menuFolder;
    GString* m_sharedDoc;
    GString* m_sharedDocMenuLink;
    GString* m_sharedDocDeskLink;
    GString* m_productDoc;
    GString* m_productDocMenuLink;
    GString* m_productDocDeskLink;
    GString* m_textFile;
    GString* m_textMenuLink;
    GString* m_textDeskLink;
    GString* m_menuLinkFile;
    GString* m_deskLinkFile;
    GString* m_pageFile;
    GString* m_installerCopy;
    GString* m_maintenanceLink;
};

// out = base \ name + suffix (no suffix when null).
int FormPath(GString& out, const GString& base, const GString& name, const GString* suffix);

// Forms every field from m_makerFolder to m_pageFile, in that order (later ones build on the
// folders). 1 when every text could be formed.
int FormInstallPaths(const InstallPathTexts& texts, const InstallPathFields& fields);

// The file name of a program path: the text after its last backslash or slash, or the whole path
// when it has neither.
int ProgramFileName(const GString& path, GString& out);

// m_installerCopy = m_productFolder \ the file name of selfPath; m_maintenanceLink = m_menuFolder
// \ maintenanceName + the shortcut extension. The folders must have been formed.
int FormProgramCopyPaths(const InstallPathTexts& texts, const GString& selfPath, const GString& maintenanceName,
                         const InstallPathFields& fields);
