// The program's command line. Its only switch of its own is "silence" (after "/" or "-", in any
// case): start hidden in the tray, as the log-on entry does.
#pragma once

#include <cstdint>

class CommandLineInfo {
public:
    // One argument: isFlag when it began with "/" or "-" (param is what follows), isLast for the
    // last one.
    void ParseParam(const char* param, bool isFlag, bool isLast);

    int32_t silence = 0;
};

// Hands every argument after the program's name to info.ParseParam.
void ParseCommandLine(CommandLineInfo& info, int argc, const char* const* argv);
