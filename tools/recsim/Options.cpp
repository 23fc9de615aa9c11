#include "tools/recsim/Options.h"

#include "tools/recsim/Errors.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace recsim {

const char kUsage[] =
    "usage: recsim [--cue FILE.cue] [--capture DIR] [--speed N|max] [--sample-seconds S]\n"
    "              [--pause-track N --pause-seconds S] [--no-cdtext]\n"
    "Burns a disc the way the virtual recorder's driver does: a new burn folder below the capture\n"
    "folder with cuesheet.dat, leadin.dat and TrackNN.wav (NN from 00), each WAV growing at the\n"
    "writing speed. Prints the burn folder's path.\n"
    "  --cue FILE.cue      burn this CDRWIN cue sheet and its WAV files (default: a built-in\n"
    "                      sample disc of three tracks with CD-TEXT)\n"
    "  --capture DIR       capture folder (default: HKLM\\Software\\Quaverlane, value TempFolder)\n"
    "  --speed N|max       write at N x 176,400 bytes a second, or as fast as possible (default 52)\n"
    "  --sample-seconds S  length of the sample disc's tracks (default 20)\n"
    "  --pause-track N     stop in the middle of track N (from 1) ...\n"
    "  --pause-seconds S   ... for S seconds\n"
    "  --no-cdtext         write a lead-in without CD-TEXT\n";

namespace {

std::string Text(double value) {
    char buffer[32];
    snprintf(buffer, sizeof buffer, "%g", value);
    return buffer;
}

double Number(const char* option, const char* text, double low, double high) {
    char* end = nullptr;
    double value = strtod(text, &end);
    if (end == text || *end != '\0' || !(value >= low && value <= high)) {
        throw UsageError(std::string(option) + " needs a number from " + Text(low) + " to " + Text(high) +
                         ", not \"" + text + "\"");
    }
    return value;
}

unsigned Whole(const char* option, const char* text, unsigned low, unsigned high) {
    char* end = nullptr;
    unsigned long value = strtoul(text, &end, 10);
    if (end == text || *end != '\0' || text[0] == '-' || value < low || value > high) {
        throw UsageError(std::string(option) + " needs a whole number from " + std::to_string(low) + " to " +
                         std::to_string(high) + ", not \"" + text + "\"");
    }
    return static_cast<unsigned>(value);
}

} // namespace

Options ParseOptions(int argc, char** argv) {
    Options options;
    for (int index = 1; index < argc; ++index) {
        const char* option = argv[index];
        auto value = [&]() -> const char* {
            if (index + 1 >= argc) {
                throw UsageError(std::string(option) + " needs a value");
            }
            return argv[++index];
        };
        if (strcmp(option, "--help") == 0 || strcmp(option, "-h") == 0) {
            options.help = true;
        } else if (strcmp(option, "--cue") == 0) {
            options.cuePath = value();
        } else if (strcmp(option, "--capture") == 0) {
            options.captureFolder = value();
        } else if (strcmp(option, "--speed") == 0) {
            const char* speed = value();
            options.speed = strcmp(speed, "max") == 0 ? 0 : Whole(option, speed, 1, 999);
        } else if (strcmp(option, "--sample-seconds") == 0) {
            options.sampleSeconds = Number(option, value(), 0.1, 1200);
        } else if (strcmp(option, "--pause-track") == 0) {
            options.pauseTrack = Whole(option, value(), 1, 99);
        } else if (strcmp(option, "--pause-seconds") == 0) {
            options.pauseSeconds = Number(option, value(), 0, 3600);
        } else if (strcmp(option, "--no-cdtext") == 0) {
            options.cdText = false;
        } else {
            throw UsageError(std::string("unknown option ") + option);
        }
    }
    if (options.pauseTrack.has_value() != options.pauseSeconds.has_value()) {
        throw UsageError("--pause-track and --pause-seconds go together");
    }
    if (options.sampleSeconds && !options.cuePath.empty()) {
        throw UsageError("--sample-seconds is for the sample disc, not for a cue sheet");
    }
    return options;
}

} // namespace recsim
