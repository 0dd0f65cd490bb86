#pragma once
// The commands of the packing tool. Each returns the process exit code and writes its report to
// out and its messages to err.

#include <iosfwd>
#include <string>
#include <vector>

int RunPack(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err);
