// The command line of recsim.
#pragma once

#include <optional>
#include <string>

namespace recsim {

struct Options {
    // Empty: the built-in sample disc.
    std::string cuePath;
    // Empty: the folder the registry names.
    std::string captureFolder;
    // Times 176,400 bytes a second; 0 writes as fast as the disk allows.
    unsigned speed = 52;
    std::optional<double> sampleSeconds;
    // CD track number (from 1) in whose middle the writing stops for pauseSeconds.
    std::optional<unsigned> pauseTrack;
    std::optional<double> pauseSeconds;
    bool cdText = true;
    bool help = false;
};

extern const char kUsage[];

// Throws UsageError for anything it does not understand.
Options ParseOptions(int argc, char** argv);

} // namespace recsim
