// layout-compiler: compiles keyboard-layout sources into the C tables of the layout libraries
// (see LayoutCompiler.h).

#include "tools/layout/LayoutCompiler.h"

#include <cstdio>

int main(int argc, char** argv)
{
    std::string messages;
    int result = RunLayoutCompiler(std::vector<std::string>(argv + 1, argv + argc), messages);
    std::fputs(messages.c_str(), stderr);
    return result;
}
