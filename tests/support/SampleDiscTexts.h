// The texts of the recorder simulator's built-in sample disc, as its CD-TEXT carries them.
#pragma once

namespace qvltest {

inline constexpr char kSampleAlbum[] = "Harbour Lights Suite";
inline constexpr const char* kSampleTitles[] = {"Morning Tide Over Pier Seven", "Lanterns on the Breakwater",
                                                "Last Ferry to Saltmarsh"};
inline constexpr const char* kSampleArtists[] = {"Ada Lovelock Trio", "Ben Okafor Quartet",
                                                 "Clara Wendt and the Gulls"};

} // namespace qvltest
