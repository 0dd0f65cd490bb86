#pragma once
// The manifest names every input of the payload. Format: one directive per line, '#' starts a
// comment, paths are relative to the manifest and may be quoted.
//
//   key-seed   <hex digits>                    seed of the key material and the cipher key
//   string-ids <path>                          header naming every string id the program uses
//   strings    default|installer|language0|language1  <path>   (again: a further part of the table)
//   licence    0|1  <path>                     licence text (UTF-8) of user-interface language 0/1
//   file       shared-document|product-document|page-file  <path>
//   library    <sets> <variants> <slots>  <path> | empty
//
// A library selector is '*', a number, a range a-b or a comma-separated list of those; sets are
// 0-1, variants 0-2, slots 0-12. Every one of the 78 slots must be given exactly once; "empty"
// leaves a slot without a block. A path may use ${NAME} for a value given on the command line
// (pack build --define NAME=VALUE), e.g. a folder of the build tree.

#include "embedded/Payload.h"
#include "tools/pack/Diagnostics.h"

#include <map>
#include <string>
#include <vector>

using ByteVector = std::vector<unsigned char>;

enum TableKind { kTableDefault, kTableInstaller, kTableLanguage0, kTableLanguage1, kTableCount };
enum FileKind { kFileSharedDocument, kFileProductDocument, kFilePageFile, kFileCount };

const char* TableName(int table);
const char* FileKindName(int kind);

struct ManifestInput {
    std::string path;  // resolved; empty for an empty library slot
    int line = 0;      // 0 while no directive gave it
    bool IsGiven() const { return line != 0; }
};

struct Manifest {
    std::string file;
    std::string keySeed;
    int keySeedLine = 0;
    ManifestInput stringIds;
    ManifestInput tables[kTableCount];
    std::vector<ManifestInput> tableParts[kTableCount];  // further sources of a table, e.g. generated ones
    ManifestInput licences[kUiLanguages];
    ManifestInput files[kFileCount];
    ManifestInput libraries[kLayoutSets][kLayoutVariants][kLayoutSlots];

    // Every input file, in a fixed order, without repetitions.
    std::vector<std::string> InputPaths() const;
};

using ManifestDefines = std::map<std::string, std::string>;

bool ParseManifest(const ByteVector& content, const std::string& file, const ManifestDefines& defines,
                   Manifest& out, CDiagnostics& diagnostics);
