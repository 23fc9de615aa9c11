#include "capture/TrackTable.h"

#include "capture/CdText.h"

#include <cstdio>
#include <cstring>

namespace {

// A field of the table that lost its terminator must not run on into the next field.
template <size_t N> void CopyField(TagString& target, const char (&field)[N]) {
    target.assign(field, N);
}

} // namespace

int BuildTrackTags(const DiscTrackInfo* table, int n, const std::string& discLabel, TrackTags& tags) {
    if (table == nullptr || n < 0 || n >= kTrackInfoCount) {
        return 0;
    }
    const DiscTrackInfo& record = table[n];
    CopyField(tags.album, record.album);
    CopyField(tags.artist, record.artist);
    CopyField(tags.comment, record.comment);
    CopyField(tags.composer, record.composer);
    CopyField(tags.copyright, record.copyright);
    CopyField(tags.encodedBy, record.encodedBy);
    tags.genreId = record.genreId;
    CopyField(tags.genre, record.genre);
    tags.genreText = tags.genre;
    CopyField(tags.originalArtist, record.originalArtist);
    CopyField(tags.title, record.title);
    CopyField(tags.url, record.url);
    CopyField(tags.year, record.year);
    CopyField(tags.artworkPath, record.artworkPath);
    // Without a number from the music player, the track's place on the CD is its number.
    tags.trackNumber = record.trackNumber != 0 ? record.trackNumber : n;
    if (tags.title.empty()) {
        char suffix[16];
        std::snprintf(suffix, sizeof(suffix), "-Track%02d", n);
        tags.title = discLabel + suffix;
    }
    return 1;
}

TrackTags NamingTexts(const DiscTrackInfo* table, int n) {
    TrackTags texts;
    if (table != nullptr && n >= 0 && n < kTrackInfoCount) {
        CopyField(texts.title, table[n].title);
        CopyField(texts.artist, table[n].artist);
        CopyField(texts.album, table[n].album);
        CopyField(texts.genre, table[n].genre);
    }
    return texts;
}

void BurnTrackTable::Clear() {
    std::memset(records.get(), 0, sizeof(DiscTrackInfo) * kTrackInfoCount);
    cdTextTrackCount = 0;
}

bool BurnTrackTable::LoadLeadIn(const std::string& leadInPath) {
    return ParseLeadIn(leadInPath.c_str(), records.get(), &cdTextTrackCount) != 0;
}
