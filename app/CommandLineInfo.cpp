#include "app/CommandLineInfo.h"

#include <windows.h>

void CommandLineInfo::ParseParam(const char* param, bool isFlag, bool) {
    // Anything else on the line (a file name, an unknown switch) is no instruction to this
    // program: it is taken and left alone.
    if (isFlag && lstrcmpiA(param, "silence") == 0) {
        silence = 1;
    }
}

void ParseCommandLine(CommandLineInfo& info, int argc, const char* const* argv) {
    for (int i = 1; i < argc; ++i) {
        const char* argument = argv[i];
        const bool isFlag = argument[0] == '/' || argument[0] == '-';
        info.ParseParam(isFlag ? argument + 1 : argument, isFlag, i == argc - 1);
    }
}
