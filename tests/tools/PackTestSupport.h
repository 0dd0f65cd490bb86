#pragma once
// A scratch folder with a small but complete payload manifest, for the packing tool's tests.

#include "tools/pack/Commands.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include <stdlib.h>

class PackFolder : public ::testing::Test {
protected:
    PackFolder()
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "pack-test-XXXXXX").string();
        m_folder = mkdtemp(pattern.data());
        WriteDefaults();
    }

    ~PackFolder() override { std::filesystem::remove_all(m_folder); }

    // The small complete set of inputs; also removes a payload written before.
    void WriteDefaults() const
    {
        std::filesystem::remove(Path("Payload.cpp"));
        Write("ids.h",
              "constexpr StringId kStrTitle = 1;\n"
              "constexpr StringId kStrYes = 2;\n"
              "constexpr StringId kStrPath = 3;\n");
        Write("default.txt", "3 = \"C:\\\\Program Files\"\n1 = \"Title\"\n");
        Write("installer.txt", "3 = \"overridden by default\"\n");
        Write("english.txt", "2 = \"Yes\"\n");
        Write("polish.txt", "2 = \"Tak\"\n");
        Write("licence-en.txt", "Licence\n");
        Write("licence-pl.txt", "\xEF\xBB\xBFLicencja\n");
        Write("doc.txt", "document");
        Write("lib-a.bin", std::string(300, 'a'));
        Write("lib-b.bin", std::string(200, 'b'));
        Write("manifest.txt", ManifestText());
    }

    static std::string ManifestText(const std::string& libraries = "library * * 0-11 lib-a.bin\n"
                                                                  "library * * 12 lib-b.bin\n")
    {
        return "key-seed 00112233445566778899aabbccddeeff\n"
               "string-ids ids.h\n"
               "strings default default.txt\n"
               "strings installer installer.txt\n"
               "strings language0 english.txt\n"
               "strings language1 polish.txt\n"
               "licence 0 licence-en.txt\n"
               "licence 1 licence-pl.txt\n"
               "file shared-document doc.txt\n"
               "file product-document doc.txt\n"
               "file page-file doc.txt\n" +
               libraries;
    }

    std::string Path(const std::string& name) const { return (std::filesystem::path(m_folder) / name).string(); }

    void Write(const std::string& name, const std::string& content) const
    {
        std::ofstream(Path(name), std::ios::binary) << content;
    }

    std::string Read(const std::string& name) const
    {
        std::ifstream in(Path(name), std::ios::binary);
        std::ostringstream text;
        text << in.rdbuf();
        return text.str();
    }

    bool Exists(const std::string& name) const { return std::filesystem::exists(Path(name)); }

    // Runs the tool; its report goes to m_out, its messages to m_err.
    int Pack(const std::vector<std::string>& arguments)
    {
        std::ostringstream out;
        std::ostringstream err;
        const int code = RunPack(arguments, out, err);
        m_out = out.str();
        m_err = err.str();
        return code;
    }

    int Build(const std::string& output = "Payload.cpp")
    {
        return Pack({"build", Path("manifest.txt"), Path(output)});
    }

    std::string m_folder;
    std::string m_out;
    std::string m_err;
};
