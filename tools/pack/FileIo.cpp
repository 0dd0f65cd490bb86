#include "tools/pack/FileIo.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>

#include <unistd.h>

bool ReadFileBytes(const std::string& path, ByteVector& out, std::string& error)
{
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        error = std::strerror(errno);
        return false;
    }
    out.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    if (in.bad()) {
        error = "read error";
        return false;
    }
    return true;
}

namespace {

bool WriteBytesAtomic(const std::string& path, const char* data, std::size_t size, std::string& error)
{
    const std::string temporary = path + ".tmp" + std::to_string(getpid());
    std::FILE* file = std::fopen(temporary.c_str(), "wb");
    if (file == nullptr) {
        error = std::strerror(errno);
        return false;
    }
    const bool written = std::fwrite(data, 1, size, file) == size;
    const int writeErrno = errno;
    const bool closed = std::fclose(file) == 0;
    if (!written || !closed) {
        error = std::strerror(written ? errno : writeErrno);
        std::remove(temporary.c_str());
        return false;
    }
    if (std::rename(temporary.c_str(), path.c_str()) != 0) {
        error = std::strerror(errno);
        std::remove(temporary.c_str());
        return false;
    }
    return true;
}

}  // namespace

bool WriteFileAtomic(const std::string& path, const std::string& content, std::string& error)
{
    return WriteBytesAtomic(path, content.data(), content.size(), error);
}

bool WriteFileAtomic(const std::string& path, const ByteVector& content, std::string& error)
{
    return WriteBytesAtomic(path, reinterpret_cast<const char*>(content.data()), content.size(), error);
}

std::string ResolvePath(const std::string& base, const std::string& path)
{
    const std::filesystem::path relative(path);
    if (relative.is_absolute())
        return path;
    return (std::filesystem::path(base).parent_path() / relative).lexically_normal().string();
}

std::string FileName(const std::string& path)
{
    return std::filesystem::path(path).filename().string();
}
