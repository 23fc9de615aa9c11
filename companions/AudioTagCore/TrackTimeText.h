// A track's time as the program's screens show it: "%d:%02d" below one hour and "%d:%02d:%02d" from
// one hour on, so exactly 3600 seconds reads "1:00:00". Header only: the encoder library, the
// catalogue and the player lookup all write it, and they must agree.
#pragma once

#include <cstdio>
#include <string>

inline std::string TrackTimeText(int seconds) {
    constexpr int kSecondsPerHour = 3600;
    char text[32];
    if (seconds >= kSecondsPerHour) {
        snprintf(text, sizeof text, "%d:%02d:%02d", seconds / kSecondsPerHour, seconds / 60 % 60,
                 seconds % 60);
    } else {
        snprintf(text, sizeof text, "%d:%02d", seconds / 60, seconds % 60);
    }
    return text;
}
