#include "companions/AudioTagCore/GenreInfo.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cstdlib>
#include <cstring>

namespace {

constexpr std::array<const char*, 148> kGenres = {
    "Blues", "Classic Rock", "Country", "Dance", "Disco", "Funk", "Grunge", "Hip-Hop", "Jazz", "Metal",
    "New Age", "Oldies", "Other", "Pop", "R&B", "Rap", "Reggae", "Rock", "Techno", "Industrial",
    "Alternative", "Ska", "Death Metal", "Pranks", "Soundtrack", "Euro-Techno", "Ambient", "Trip-Hop",
    "Vocal", "Jazz+Funk", "Fusion", "Trance", "Classical", "Instrumental", "Acid", "House", "Game",
    "Sound Clip", "Gospel", "Noise", "AlternRock", "Bass", "Soul", "Punk", "Space", "Meditative",
    "Instrumental Pop", "Instrumental Rock", "Ethnic", "Gothic", "Darkwave", "Techno-Industrial",
    "Electronic", "Pop-Folk", "Eurodance", "Dream", "Southern Rock", "Comedy", "Cult", "Gangsta", "Top 40",
    "Christian Rap", "Pop/Funk", "Jungle", "Native American", "Cabaret", "New Wave", "Psychedelic", "Rave",
    "Showtunes", "Trailer", "Lo-Fi", "Tribal", "Acid Punk", "Acid Jazz", "Polka", "Retro", "Musical",
    "Rock & Roll", "Hard Rock",
    // Winamp's extensions
    "Folk", "Folk-Rock", "National Folk", "Swing", "Fast Fusion", "Bebob", "Latin", "Revival", "Celtic",
    "Bluegrass", "Avantgarde", "Gothic Rock", "Progressive Rock", "Psychedelic Rock", "Symphonic Rock",
    "Slow Rock", "Big Band", "Chorus", "Easy Listening", "Acoustic", "Humour", "Speech", "Chanson", "Opera",
    "Chamber Music", "Sonata", "Symphony", "Booty Bass", "Primus", "Porn Groove", "Satire", "Slow Jam",
    "Club", "Tango", "Samba", "Folklore", "Ballad", "Power Ballad", "Rhythmic Soul", "Freestyle", "Duet",
    "Punk Rock", "Drum Solo", "A capella", "Euro-House", "Dance Hall", "Goa", "Drum & Bass", "Club-House",
    "Hardcore", "Terror", "Indie", "Britpop", "Afro-Punk", "Polsk Punk", "Beat", "Christian Gangsta Rap",
    "Heavy Metal", "Black Metal", "Crossover", "Contemporary Christian", "Christian Rock", "Merengue",
    "Salsa", "Thrash Metal", "Anime", "JPop", "Synthpop"};

constexpr int kOtherGenre = 12;

bool IsGenre(long id) {
    return id >= 0 && id < static_cast<long>(kGenres.size());
}

// The n of a text that begins "(n)", or -1.
long GenreReference(const char* text) {
    if (text[0] != '(' || !std::isdigit(static_cast<unsigned char>(text[1]))) {
        return -1;
    }
    char* end = nullptr;
    long id = std::strtol(text + 1, &end, 10);
    return *end == ')' && IsGenre(id) ? id : -1;
}

} // namespace

int CGenreInfo::GetGenreCount() {
    return static_cast<int>(kGenres.size());
}

const char* CGenreInfo::GetGenreIDStr(int id) {
    return IsGenre(id) ? kGenres[id] : "";
}

int CGenreInfo::GetGenreID(const char* text) {
    if (text == nullptr) {
        return kOtherGenre;
    }
    if (long reference = GenreReference(text); reference >= 0) {
        return static_cast<int>(reference);
    }
    for (size_t id = 0; id < kGenres.size(); ++id) {
        if (_stricmp(kGenres[id], text) == 0) {
            return static_cast<int>(id);
        }
    }
    return kOtherGenre;
}

int CGenreInfo::LookupGenre(int id, char* buffer, size_t size) {
    if (buffer == nullptr || size == 0) {
        return 0;
    }
    const char* name = GetGenreIDStr(id);
    size_t length = std::min(std::strlen(name), size - 1);
    std::memcpy(buffer, name, length);
    buffer[length] = '\0';
    return IsGenre(id) ? 1 : 0;
}

int CGenreInfo::GetOtherGenreID() {
    return kOtherGenre;
}
