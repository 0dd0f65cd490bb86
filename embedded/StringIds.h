#pragma once
// Names of every string id the program uses. Each text lives in one or more of the string tables
// (embedded/content/strings/); the packing tool refuses to build a payload in which a name below
// has no text in any table. Several names may share an id when one text serves several roles.

#include <cstdint>

using StringId = uint32_t;

// Product, layout and banner.
constexpr StringId kStrProductName = 0;          // first piece of the banner; argument of the removal question
constexpr StringId kStrBannerSuffix = 82;        // third piece of the banner
constexpr StringId kStrLayoutName = 81;          // the layout as the user sees it; also layout entry value 17
constexpr StringId kStrLayoutFileName = 83;      // file name of the layout library; also layout entry value 18
constexpr StringId kStrLayoutDisplayName = 84;   // layout entry value 19
constexpr StringId kStrLayoutKeyName = 85;       // key under the Windows layouts key; the layout identifier
constexpr StringId kStrLayoutId = 87;            // layout entry value 20
constexpr StringId kStrLayoutRecordKey = 89;     // layout key of the install records; second piece of the banner
constexpr StringId kStrVariantName0 = 113;       // the three layout variants, as listed and searched
constexpr StringId kStrVariantName1 = 114;
constexpr StringId kStrVariantName2 = 115;
constexpr StringId kStrDefaultVariantMarker = 88;  // searched in the variant names to choose the default

// Start-up.
constexpr StringId kStrFallbackInputLanguage = 86;  // hexadecimal input-language id for old systems
constexpr StringId kStrWindowClass = 94;            // class of the main window; finds a running copy
constexpr StringId kStrMsgNotAdmin = 123;
constexpr StringId kStrMsgUnsupportedSystem = 124;
constexpr StringId kStrMsgInstallFailed = 143;

// System libraries and entry points resolved at run time.
constexpr StringId kStrSystemLibrary = 144;            // holds the entry points 56, 57, 58 and 60
constexpr StringId kStrRegistryLibrary = 145;          // holds the entry point 59
constexpr StringId kStrEntryDisableRedirection = 56;
constexpr StringId kStrEntryRevertRedirection = 57;
constexpr StringId kStrEntryNativeSystemInfo = 58;
constexpr StringId kStrEntryDeleteKey64 = 59;
constexpr StringId kStrEntrySystemFolder32 = 60;

// Folders, files and shortcuts.
constexpr StringId kStrMakerFolder = 9;
constexpr StringId kStrProductFolder = 10;
constexpr StringId kStrSharedDocTitle = 22;        // shared document title: 22 + " (" + 23 + ")"
constexpr StringId kStrSharedDocEdition = 23;
constexpr StringId kStrProductDocName = 30;
constexpr StringId kStrProductDocLinkDescription = 35;
constexpr StringId kStrDocumentExtension = 42;     // also the file type whose program is examined
constexpr StringId kStrShortcutExtension = 43;
constexpr StringId kStrTextFileExtension = 44;
constexpr StringId kStrAssocProgramMarker = 45;    // looked for in the path of the program of file type 42
constexpr StringId kStrLinkFileExtension = 46;
constexpr StringId kStrMaintenanceNameFormat = 48;  // one text argument: the layout name
constexpr StringId kStrTextFileIcon = 52;
constexpr StringId kStrTextFileContent = 67;
constexpr StringId kStrTextFileContentOldSystem = 68;  // version code 50
constexpr StringId kStrLinkFileFormat = 69;        // product folder, page file name
constexpr StringId kStrLinkFileName = 70;
constexpr StringId kStrTextFileName = 71;
constexpr StringId kStrOldReleaseDocName = 77;
constexpr StringId kStrOldReleaseTextName = 78;
constexpr StringId kStrPageFileName = 80;
constexpr StringId kStrSharedDocLinkDescription = 121;
constexpr StringId kStrTextFileLinkDescription = 122;

// Install records: keys under HKEY_LOCAL_MACHINE and value names.
constexpr StringId kStrRegBaseKey = 7;
constexpr StringId kStrRegMakerKey = 8;
constexpr StringId kStrRegProductKey = 10;
constexpr StringId kStrRegSharedDocParentKey = 24;
constexpr StringId kStrRegSharedDocKey = 23;
constexpr StringId kStrRegLayoutParentKey = 36;
constexpr StringId kStrRegLayoutKey = 89;
constexpr StringId kStrPrevInputLocaleFormat = 12;  // a number (language id) and a text (layout name)
constexpr StringId kStrValuePrevInputLocale = 11;
constexpr StringId kStrValueProductUsers = 21;
constexpr StringId kStrValueSharedDoc = 25;
constexpr StringId kStrValueSharedDocMenuLink = 26;
constexpr StringId kStrValueSharedDocDeskLink = 27;
constexpr StringId kStrValueSharedDocVersion = 28;
constexpr StringId kStrValueSharedDocUsers = 29;
constexpr StringId kStrValueProductDoc = 31;
constexpr StringId kStrValueProductDocMenuLink = 32;
constexpr StringId kStrValueProductDocDeskLink = 33;
constexpr StringId kStrValueProductDocVersion = 34;
constexpr StringId kStrValueInstallerCopy = 37;
constexpr StringId kStrValueMaintenanceLink = 38;
constexpr StringId kStrValueInstalledVersion = 39;
constexpr StringId kStrValueTextFile = 72;
constexpr StringId kStrValueTextMenuLink = 73;
constexpr StringId kStrValueTextDeskLink = 74;
constexpr StringId kStrValueMenuLinkFile = 75;
constexpr StringId kStrValueDeskLinkFile = 76;
constexpr StringId kStrValuePageFile = 79;
constexpr StringId kStrValueAltLibraries = 155;
constexpr StringId kStrValueAltLibrariesStored = 156;
constexpr StringId kStrValueKeyOverrides = 157;
constexpr StringId kStrValueLayoutVariant = 158;
constexpr StringId kStrValueDecimalOption = 159;

// Windows settings: layout entry, scan-code map, hotkeys, run-once value.
constexpr StringId kStrRegWindowsLayoutsKey = 3;
constexpr StringId kStrRegRunOnceKey = 4;
constexpr StringId kStrRegScancodeMapKey = 5;
constexpr StringId kStrValueScancodeMap = 6;
constexpr StringId kStrRegHotkeyKey = 13;
constexpr StringId kStrValueHotkey = 14;
constexpr StringId kStrValueLanguageHotkey = 15;
constexpr StringId kStrValueLayoutHotkey = 16;
constexpr StringId kStrValueLayoutText = 17;
constexpr StringId kStrValueLayoutFile = 18;
constexpr StringId kStrValueLayoutDisplayName = 19;
constexpr StringId kStrValueLayoutId = 20;
constexpr StringId kStrValueRunOnce = 71;
constexpr StringId kStrRunOnceCommand = 50;
constexpr StringId kStrRunOnceCommandOldSystem = 51;  // version code 50

// The system command that adds the layout to the user's input languages or removes it.
constexpr StringId kStrTempFilePrefix = 47;
constexpr StringId kStrInputLanguageCommand = 49;       // one argument: the command file's path
constexpr StringId kStrAddLanguageText = 62;            // language id, layout identifier, default marker
constexpr StringId kStrAddLanguageTextNew = 63;         // 90, language id, layout identifier, marker, id, id
constexpr StringId kStrDefaultLanguageMarker = 64;
constexpr StringId kStrRemoveLanguageText = 65;         // two empty texts; before version code 60
constexpr StringId kStrRemoveLanguageTextVista = 66;    // one empty text; version code 60 and later
constexpr StringId kStrAddLanguageExtra = 90;           // when empty, 62 is used on every system

// Patterns of the layout library patches, in upper-case hexadecimal.
constexpr StringId kStrPatternDecimalKey = 146;
constexpr StringId kStrPatternMainTable0 = 147;         // main scan-code table of variant 0, 1, 2
constexpr StringId kStrPatternMainTable1 = 148;
constexpr StringId kStrPatternMainTable2 = 149;
constexpr StringId kStrPatternExtendedTable = 150;      // 0xE0-prefixed scan codes
constexpr StringId kStrPatternE1Table = 151;            // 0xE1-prefixed scan codes

// Associated program launched from the welcome page.
constexpr StringId kStrLaunchCommandFormat = 2;         // the program's path, then the text of 95
constexpr StringId kStrLaunchFileType = 41;
constexpr StringId kStrLaunchArgument = 95;

// Main window and message boxes.
constexpr StringId kStrMainTitle = 93;                  // also the caption of every message box
constexpr StringId kStrBannerFontFace = 40;
constexpr StringId kStrCloseQuestion = 96;

// Buttons shared by the pages.
constexpr StringId kStrButtonCancel = 98;
constexpr StringId kStrButtonNext = 99;
constexpr StringId kStrButtonBack = 100;

// Welcome page.
constexpr StringId kStrWelcomeLanguageLabel = 1;
constexpr StringId kStrUiLanguage1Name = 91;            // list entry for user-interface language 1
constexpr StringId kStrUiLanguage0Name = 92;            // list entry for user-interface language 0
constexpr StringId kStrWelcomeHeadingNew = 97;          // one argument: the layout name
constexpr StringId kStrWelcomeHeadingInstalled = 141;   // one argument: the layout name
constexpr StringId kStrWelcomeBodyNew = 131;
constexpr StringId kStrInstalledText = 136;             // welcome body when installed; done heading
constexpr StringId kStrButtonRemove = 127;
constexpr StringId kStrButtonChangeSettings = 128;
constexpr StringId kStrRemoveQuestionFormat = 129;      // one argument: the product name
constexpr StringId kStrButtonLaunch = 140;

// Licence page.
constexpr StringId kStrLicenceHeading = 132;
constexpr StringId kStrLicenceAccept = 105;

// Setup page.
constexpr StringId kStrSetupLanguageLabelFormat = 101;  // one argument: the layout name
constexpr StringId kStrMakeDefaultFormat = 102;         // one argument: language name, " - ", layout name
constexpr StringId kStrButtonInstall = 104;
constexpr StringId kStrDesktopShortcuts = 106;
constexpr StringId kStrAltLibraries = 108;
constexpr StringId kStrVariantLabel = 110;
constexpr StringId kStrDecimalLabel = 111;
constexpr StringId kStrSetupNote = 112;
constexpr StringId kStrDecimalComma = 119;
constexpr StringId kStrDecimalUnchanged = 120;
constexpr StringId kStrDisableHotkeys = 139;
constexpr StringId kStrButtonExpert1 = 152;             // also the name shown on the first expert page
constexpr StringId kStrButtonExpert2 = 153;             // also the name shown on the second expert page

// Done page.
constexpr StringId kStrDoneRemoved = 130;
constexpr StringId kStrDoneAssocHint = 133;
constexpr StringId kStrDoneInstalledOldSystemFormat = 134;  // one argument: the layout name; before 60
constexpr StringId kStrDoneInstalled = 135;                 // version code 60 and later
constexpr StringId kStrButtonFinish = 137;

// Key names of the key catalogue and of the expert pages' lists.
constexpr StringId kStrKeyNoChange = 154;
constexpr StringId kStrKeyNone = 326;
constexpr StringId kStrKeyBreak = 162;
constexpr StringId kStrKeyBackspace = 166;
constexpr StringId kStrKeyTab = 167;
constexpr StringId kStrKeyClear = 168;
constexpr StringId kStrKeyEnter = 169;
constexpr StringId kStrKeyPause = 173;
constexpr StringId kStrKeyCapsLock = 174;
constexpr StringId kStrKeyEscape = 175;
constexpr StringId kStrKeySpace = 176;
constexpr StringId kStrKeyPageUp = 177;
constexpr StringId kStrKeyPageDown = 178;
constexpr StringId kStrKeyEnd = 179;
constexpr StringId kStrKeyHome = 180;
constexpr StringId kStrKeyLeft = 181;
constexpr StringId kStrKeyUp = 182;
constexpr StringId kStrKeyRight = 183;
constexpr StringId kStrKeyDown = 184;
constexpr StringId kStrKeyPrintScreen = 188;
constexpr StringId kStrKeyInsert = 189;
constexpr StringId kStrKeyDelete = 190;
constexpr StringId kStrKeyHelp = 191;
constexpr StringId kStrKeyDigit0 = 192;
constexpr StringId kStrKeyDigit1 = 193;
constexpr StringId kStrKeyDigit2 = 194;
constexpr StringId kStrKeyDigit3 = 195;
constexpr StringId kStrKeyDigit4 = 196;
constexpr StringId kStrKeyDigit5 = 197;
constexpr StringId kStrKeyDigit6 = 198;
constexpr StringId kStrKeyDigit7 = 199;
constexpr StringId kStrKeyDigit8 = 200;
constexpr StringId kStrKeyDigit9 = 201;
constexpr StringId kStrKeyLetterA = 202;
constexpr StringId kStrKeyLetterB = 203;
constexpr StringId kStrKeyLetterC = 204;
constexpr StringId kStrKeyLetterD = 205;
constexpr StringId kStrKeyLetterE = 206;
constexpr StringId kStrKeyLetterF = 207;
constexpr StringId kStrKeyLetterG = 208;
constexpr StringId kStrKeyLetterH = 209;
constexpr StringId kStrKeyLetterI = 210;
constexpr StringId kStrKeyLetterJ = 211;
constexpr StringId kStrKeyLetterK = 212;
constexpr StringId kStrKeyLetterL = 213;
constexpr StringId kStrKeyLetterM = 214;
constexpr StringId kStrKeyLetterN = 215;
constexpr StringId kStrKeyLetterO = 216;
constexpr StringId kStrKeyLetterP = 217;
constexpr StringId kStrKeyLetterQ = 218;
constexpr StringId kStrKeyLetterR = 219;
constexpr StringId kStrKeyLetterS = 220;
constexpr StringId kStrKeyLetterT = 221;
constexpr StringId kStrKeyLetterU = 222;
constexpr StringId kStrKeyLetterV = 223;
constexpr StringId kStrKeyLetterW = 224;
constexpr StringId kStrKeyLetterX = 225;
constexpr StringId kStrKeyLetterY = 226;
constexpr StringId kStrKeyLetterZ = 227;
constexpr StringId kStrKeyLeftWindows = 228;
constexpr StringId kStrKeyRightWindows = 229;
constexpr StringId kStrKeyApplication = 230;
constexpr StringId kStrKeyPower = 231;
constexpr StringId kStrKeySleep = 232;
constexpr StringId kStrKeyNumMultiply = 243;
constexpr StringId kStrKeyNumAdd = 244;
constexpr StringId kStrKeyNumSubtract = 246;
constexpr StringId kStrKeyNumDivide = 248;
constexpr StringId kStrKeyF1 = 249;
constexpr StringId kStrKeyF2 = 250;
constexpr StringId kStrKeyF3 = 251;
constexpr StringId kStrKeyF4 = 252;
constexpr StringId kStrKeyF5 = 253;
constexpr StringId kStrKeyF6 = 254;
constexpr StringId kStrKeyF7 = 255;
constexpr StringId kStrKeyF8 = 256;
constexpr StringId kStrKeyF9 = 257;
constexpr StringId kStrKeyF10 = 258;
constexpr StringId kStrKeyF11 = 259;
constexpr StringId kStrKeyF12 = 260;
constexpr StringId kStrKeyF13 = 261;
constexpr StringId kStrKeyF14 = 262;
constexpr StringId kStrKeyF15 = 263;
constexpr StringId kStrKeyF16 = 264;
constexpr StringId kStrKeyF17 = 265;
constexpr StringId kStrKeyF18 = 266;
constexpr StringId kStrKeyF19 = 267;
constexpr StringId kStrKeyF20 = 268;
constexpr StringId kStrKeyF21 = 269;
constexpr StringId kStrKeyF22 = 270;
constexpr StringId kStrKeyF23 = 271;
constexpr StringId kStrKeyF24 = 272;
constexpr StringId kStrKeyAbntC1 = 273;
constexpr StringId kStrKeyAbntC2 = 274;
constexpr StringId kStrKeyOemPa1 = 275;
constexpr StringId kStrKeyNumLock = 278;
constexpr StringId kStrKeyScrollLock = 279;
constexpr StringId kStrKeyLeftShift = 280;
constexpr StringId kStrKeyRightShift = 281;
constexpr StringId kStrKeyLeftCtrl = 282;
constexpr StringId kStrKeyRightCtrl = 283;
constexpr StringId kStrKeyLeftAlt = 284;
constexpr StringId kStrKeyRightAlt = 285;
constexpr StringId kStrKeyNumEnter = 286;
constexpr StringId kStrKeyBrowserBack = 287;
constexpr StringId kStrKeyBrowserForward = 288;
constexpr StringId kStrKeyBrowserRefresh = 289;
constexpr StringId kStrKeyBrowserStop = 290;
constexpr StringId kStrKeyBrowserSearch = 291;
constexpr StringId kStrKeyBrowserFavorites = 292;
constexpr StringId kStrKeyBrowserHome = 293;
constexpr StringId kStrKeyVolumeMute = 294;
constexpr StringId kStrKeyVolumeDown = 295;
constexpr StringId kStrKeyVolumeUp = 296;
constexpr StringId kStrKeyMediaNextTrack = 297;
constexpr StringId kStrKeyMediaPreviousTrack = 298;
constexpr StringId kStrKeyMediaStop = 299;
constexpr StringId kStrKeyMediaPlayPause = 300;
constexpr StringId kStrKeyLaunchMail = 301;
constexpr StringId kStrKeyLaunchMediaSelect = 302;
constexpr StringId kStrKeyLaunchApp1 = 303;
constexpr StringId kStrKeyLaunchApp2 = 304;
constexpr StringId kStrKeyOem1 = 305;
constexpr StringId kStrKeyOemPlus = 306;
constexpr StringId kStrKeyOemComma = 307;
constexpr StringId kStrKeyOemMinus = 308;
constexpr StringId kStrKeyOemPeriod = 309;
constexpr StringId kStrKeyOem2 = 310;
constexpr StringId kStrKeyOem3 = 311;
constexpr StringId kStrKeyOem4 = 312;
constexpr StringId kStrKeyOem5 = 313;
constexpr StringId kStrKeyOem6 = 314;
constexpr StringId kStrKeyOem7 = 315;
constexpr StringId kStrKeyOem102 = 317;
