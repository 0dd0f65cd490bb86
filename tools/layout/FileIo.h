#pragma once
// Whole-file reading, and writing a set of files so that none is ever left half-written.

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

// Returns 1 with the file's bytes, or 0 with a message.
int ReadWholeFile(const std::string& path, std::vector<uint8_t>& bytes, std::string& error);

// Writes every file under a temporary name next to it and renames them into place only when all
// were written; on failure removes what it wrote and returns 0 with a message. Files that are
// not written keep their old contents.
int WriteFiles(const std::vector<std::pair<std::string, std::string>>& files, std::string& error);
