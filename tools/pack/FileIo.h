#pragma once
// File access of the packing tool. Outputs are written to a temporary file beside the target and
// renamed over it, so that a failed run never leaves a half-written file.

#include <string>
#include <vector>

using ByteVector = std::vector<unsigned char>;

// Reads a whole file; on failure returns false with the system's reason in error.
bool ReadFileBytes(const std::string& path, ByteVector& out, std::string& error);
bool WriteFileAtomic(const std::string& path, const std::string& content, std::string& error);
bool WriteFileAtomic(const std::string& path, const ByteVector& content, std::string& error);

// path taken relative to the folder of base (unless absolute).
std::string ResolvePath(const std::string& base, const std::string& path);
std::string FileName(const std::string& path);
