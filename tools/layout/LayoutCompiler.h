#pragma once
// The commands of layout-compiler:
//
//   layout-compiler compile SOURCE.klc [--c FILE] [--rc FILE] [--expect FILE]
//       Reads a layout source and writes the C source of its tables, its resource script and its
//       expectation file (each only when asked for).
//   layout-compiler locate SOURCE.klc LIBRARY SIDECAR
//       Writes where in the built LIBRARY the installer's patches go (see ImageLocator.h).
//
// Errors in a source are reported as "SOURCE:LINE: error: MESSAGE"; on any error no output is
// written.

#include <string>
#include <vector>

// arguments excludes the program name. Messages for standard error are appended to messages.
// Returns the exit code: 0 success, 1 an error in a source or a file, 2 wrong usage.
int RunLayoutCompiler(const std::vector<std::string>& arguments, std::string& messages);
