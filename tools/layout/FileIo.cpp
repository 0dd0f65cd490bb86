#include "tools/layout/FileIo.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace {

std::string Reason(const std::string& what, const std::string& path)
{
    return what + " " + path + ": " + std::strerror(errno);
}

} // namespace

int ReadWholeFile(const std::string& path, std::vector<uint8_t>& bytes, std::string& error)
{
    bytes.clear();
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr) {
        error = Reason("cannot open", path);
        return 0;
    }
    uint8_t buffer[65536];
    size_t count = 0;
    while ((count = std::fread(buffer, 1, sizeof buffer, file)) > 0)
        bytes.insert(bytes.end(), buffer, buffer + count);
    const bool failed = std::ferror(file) != 0;
    std::fclose(file);
    if (failed) {
        error = Reason("cannot read", path);
        return 0;
    }
    return 1;
}

int WriteFiles(const std::vector<std::pair<std::string, std::string>>& files, std::string& error)
{
    std::vector<std::string> written;
    auto removeWritten = [&written]() {
        for (const std::string& temporary : written)
            std::remove(temporary.c_str());
    };
    for (const auto& [path, content] : files) {
        const std::string temporary = path + ".tmp";
        std::FILE* file = std::fopen(temporary.c_str(), "wb");
        if (file == nullptr) {
            error = Reason("cannot create", temporary);
            removeWritten();
            return 0;
        }
        written.push_back(temporary);
        const bool wrote = std::fwrite(content.data(), 1, content.size(), file) == content.size();
        if (std::fclose(file) != 0 || !wrote) {
            error = Reason("cannot write", temporary);
            removeWritten();
            return 0;
        }
    }
    for (size_t i = 0; i < files.size(); ++i) {
        if (std::rename(written[i].c_str(), files[i].first.c_str()) != 0) {
            error = Reason("cannot rename to", files[i].first);
            removeWritten();
            return 0;
        }
    }
    return 1;
}
