#include "capture/PlayerLookup.h"

#include "app/framework/AppFolders.h"
#include "capture/AutomationObject.h"
#include "capture/CueSheet.h"
#include "capture/TrackTable.h"
#include "companions/AudioTagCore/TrackTimeText.h"

#include <algorithm>
#include <cstring>
#include <functional>
#include <vector>

namespace {

// The player's automation identifiers.
const CLSID kITunesAppClass = {0xDC0C2640, 0x1415, 0x4644, {0x87, 0x5C, 0x6F, 0x4D, 0x76, 0x98, 0x39, 0xBA}};
const IID kITunesInterface = {0x9DD6680B, 0x3EDC, 0x40DB, {0xA7, 0x71, 0xE6, 0xFE, 0x48, 0x32, 0xE3, 0x4A}};
const IID kFileOrCdTrackInterface = {
    0x00D7FE99, 0x7868, 0x4CC7, {0xAD, 0x9E, 0xAC, 0xFD, 0x70, 0xD0, 0x95, 0x66}};
constexpr char kPlayerWindowClass[] = "iTunes";
constexpr char kPlayerWindowTitle[] = "iTunes";
constexpr long kUserPlaylist = 2;
enum ArtworkFormat : long { kJpeg = 1, kPng = 2, kBmp = 3 };

constexpr uint32_t kFramesPerSecond = 75;

// Cut to what the field holds besides its terminator; the rest of the field is zeroed.
template <size_t N> void StoreText(char (&field)[N], const std::string& text) {
    std::memset(field, 0, N);
    std::memcpy(field, text.data(), std::min(text.size(), N - 1));
}

// Letter case is folded by the ANSI code page, so that accented letters compare as the user reads
// them; nothing else is made equal.
bool SameText(std::string a, std::string b) {
    CharUpperBuffA(a.data(), static_cast<DWORD>(a.size()));
    CharUpperBuffA(b.data(), static_cast<DWORD>(b.size()));
    return a == b;
}

const char* ArtworkExtension(long format) {
    switch (format) {
    case kJpeg:
        return "jpg";
    case kPng:
        return "png";
    case kBmp:
        return "bmp";
    default:
        return nullptr;
    }
}

// Only a player that already runs is asked: creating its object would start it otherwise.
bool ReachPlayer(AutomationObject& player) {
    if (FindWindowA(kPlayerWindowClass, kPlayerWindowTitle) == nullptr) {
        return false;
    }
    // IiTunes is a dual interface, so its pointer is an IDispatch pointer too.
    IDispatch* raw = nullptr;
    HRESULT hr = CoCreateInstance(kITunesAppClass, nullptr, CLSCTX_LOCAL_SERVER, kITunesInterface,
                                  reinterpret_cast<void**>(&raw));
    player = AutomationObject(raw);
    return hr == S_OK && player.IsValid();
}

// Offers the user playlists of every source, in source order, until visit accepts one or the
// conversion is asked to stop: a large library takes a while, and the user may be exiting.
void ForEachUserPlaylist(const StopQuery& stopRequested, const AutomationObject& player,
                         const std::function<bool(const AutomationObject&)>& visit) {
    AutomationObject sources;
    long sourceCount = 0;
    if (!player.GetProperty(L"Sources", sources) || !sources.GetProperty(L"Count", sourceCount)) {
        return;
    }
    for (long s = 1; s <= sourceCount; ++s) {
        AutomationObject source;
        AutomationObject playlists;
        long playlistCount = 0;
        if (!sources.GetItem(s, source) || !source.GetProperty(L"Playlists", playlists) ||
            !playlists.GetProperty(L"Count", playlistCount)) {
            continue;
        }
        for (long p = 1; p <= playlistCount; ++p) {
            if (stopRequested()) {
                return;
            }
            AutomationObject playlist;
            long kind = 0;
            if (playlists.GetItem(p, playlist) && playlist.GetProperty(L"Kind", kind) &&
                kind == kUserPlaylist && visit(playlist)) {
                return;
            }
        }
    }
}

// The playlist's tracks, when there are exactly count of them.
bool TracksOf(const AutomationObject& playlist, long count, AutomationObject& tracks) {
    long actual = 0;
    return playlist.GetProperty(L"Tracks", tracks) && tracks.GetProperty(L"Count", actual) && actual == count;
}

// The cover of a track with a file behind it (not a stream) goes to the log folder as
// track<position>.jpg, .png or .bmp. Only a JPEG is recorded, since only JPEG reaches the tags.
void SavePlayerArtwork(DiscTrackInfo& record, const AutomationObject& track, int position) {
    if (!track.Supports(kFileOrCdTrackInterface)) {
        return;
    }
    std::string base = JoinPath(DefaultCaptureFolder(), "track" + std::to_string(position) + ".");
    AutomationObject artworks;
    AutomationObject artwork;
    long format = 0;
    if (!track.GetProperty(L"Artwork", artworks) || !artworks.GetItem(1, artwork) ||
        !artwork.GetProperty(L"Format", format)) {
        return;
    }
    const char* extension = ArtworkExtension(format);
    if (extension == nullptr) {
        return;
    }
    std::string path = base + extension;
    if (artwork.Call(L"SaveArtworkToFile", path) && format == kJpeg) {
        StoreText(record.artworkPath, path);
    }
}

// All or nothing: a track whose properties cannot all be read leaves the record as it was. The
// time takes part in that, though it is not kept.
int CopyPlayerTrack(DiscTrackInfo& record, const AutomationObject& track, int position) {
    std::string name, artist, album, genre, time, comment, composer;
    long year = 0;
    long number = 0;
    if (!track.GetProperty(L"Name", name) || !track.GetProperty(L"Artist", artist) ||
        !track.GetProperty(L"Album", album) || !track.GetProperty(L"Genre", genre) ||
        !track.GetProperty(L"Time", time) || !track.GetProperty(L"Year", year) ||
        !track.GetProperty(L"Comment", comment) || !track.GetProperty(L"Composer", composer) ||
        !track.GetProperty(L"TrackNumber", number)) {
        return 0;
    }
    // A player track without a name keeps the title the CD-TEXT gave.
    if (!name.empty()) {
        StoreText(record.title, name);
    }
    StoreText(record.artist, artist);
    StoreText(record.album, album);
    StoreText(record.comment, comment);
    StoreText(record.genre, genre);
    StoreText(record.composer, composer);
    StoreText(record.year, year != 0 ? std::to_string(year) : std::string());
    record.trackNumber = number;
    SavePlayerArtwork(record, track, position);
    return 1;
}

// The copy pass of a confirmed playlist. It stops at the first track that cannot be had or read;
// the records before it stay copied.
int CopyPlaylistTracks(const AutomationObject& tracks, long count, DiscTrackInfo* table) {
    for (long i = 1; i <= count; ++i) {
        AutomationObject track;
        if (!tracks.GetItem(i, track) || CopyPlayerTrack(table[i], track, static_cast<int>(i)) == 0) {
            return 0;
        }
    }
    return 1;
}

// Every track is compared before anything is written: title, and performer where the player
// knows one.
int MatchPlaylistByTitles(BurnTrackTable& burn, const AutomationObject& playlist) {
    long count = burn.CdTextTrackCount();
    AutomationObject tracks;
    if (!TracksOf(playlist, count, tracks)) {
        return 0;
    }
    DiscTrackInfo* table = burn.Records();
    for (long i = 1; i <= count; ++i) {
        AutomationObject track;
        std::string name;
        std::string artist;
        if (!tracks.GetItem(i, track) || !track.GetProperty(L"Name", name) ||
            !track.GetProperty(L"Artist", artist) || !SameText(name, table[i].title) ||
            (!artist.empty() && !SameText(artist, table[i].artist))) {
            return 0;
        }
    }
    return CopyPlaylistTracks(tracks, count, table);
}

// Without CD-TEXT the lengths are all there is to go by; the playlist's name then names the disc.
int MatchPlaylistByTimes(BurnTrackTable& burn, const AutomationObject& playlist,
                         const std::vector<std::string>& lengths) {
    long count = static_cast<long>(lengths.size());
    AutomationObject tracks;
    if (!TracksOf(playlist, count, tracks)) {
        return 0;
    }
    for (long i = 1; i <= count; ++i) {
        AutomationObject track;
        std::string time;
        if (!tracks.GetItem(i, track) || !track.GetProperty(L"Time", time) ||
            !SameText(time, lengths[i - 1])) {
            return 0;
        }
    }
    DiscTrackInfo* table = burn.Records();
    std::string name;
    if (playlist.GetProperty(L"Name", name) && !name.empty()) {
        StoreText(table[0].title, name);
    }
    return CopyPlaylistTracks(tracks, count, table);
}

class CPlayerLookup final : public IPlayerLookup {
public:
    int LookupByCdText(BurnTrackTable& table, const StopQuery& stopRequested) override {
        AutomationObject player;
        if (!ReachPlayer(player)) {
            return -1;
        }
        ForEachUserPlaylist(stopRequested, player, [&](const AutomationObject& playlist) {
            std::string name;
            return playlist.GetProperty(L"Name", name) && SameText(name, table.Records()[0].title) &&
                   MatchPlaylistByTitles(table, playlist) == 1;
        });
        return 0;
    }

    int LookupByCueSheet(BurnTrackTable& table, const std::string& cueSheetPath,
                         const StopQuery& stopRequested) override {
        AutomationObject player;
        if (!ReachPlayer(player)) {
            return -1;
        }
        CueTrackTime times[kMaxCueTracks];
        int count = 0;
        if (ParseCueSheet(cueSheetPath.c_str(), times, &count) == 0) {
            return -1;
        }
        std::vector<std::string> lengths;
        for (int k = 0; k < count; ++k) {
            lengths.push_back(PlayerTimeText(times[k].length));
        }
        ForEachUserPlaylist(stopRequested, player, [&](const AutomationObject& playlist) {
            return MatchPlaylistByTimes(table, playlist, lengths) == 1;
        });
        return 0;
    }
};

} // namespace

IPlayerLookup& ITunesLookup() {
    static CPlayerLookup lookup;
    return lookup;
}

std::string PlayerTimeText(uint32_t frames) {
    return TrackTimeText(static_cast<int>(frames / kFramesPerSecond));
}
