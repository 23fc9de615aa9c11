#include "capture/TrackTags.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>
#include <utility>

TagString::TagString(TagString&& other) noexcept : m_text(std::exchange(other.m_text, nullptr)) {}

TagString::~TagString() {
    std::free(m_text);
}

TagString& TagString::operator=(const TagString& other) {
    assign(other.m_text);
    return *this;
}

TagString& TagString::operator=(TagString&& other) noexcept {
    if (this != &other) {
        std::free(std::exchange(m_text, std::exchange(other.m_text, nullptr)));
    }
    return *this;
}

TagString& TagString::operator=(const char* text) {
    assign(text);
    return *this;
}

TagString& TagString::operator=(const std::string& text) {
    assign(text);
    return *this;
}

void TagString::assign(const char* text) {
    assign(text, text != nullptr ? std::strlen(text) : 0);
}

void TagString::assign(const std::string& text) {
    assign(text.c_str());
}

void TagString::assign(const char* text, size_t length) {
    length = text != nullptr ? strnlen(text, length) : 0;
    char* copy = nullptr;
    if (length > 0) {
        // The copy is made before the old text goes: text may point into it.
        copy = static_cast<char*>(std::malloc(length + 1));
        if (copy == nullptr) {
            throw std::bad_alloc();
        }
        std::memcpy(copy, text, length);
        copy[length] = '\0';
    }
    std::free(std::exchange(m_text, copy));
}

size_t TagString::size() const {
    return m_text != nullptr ? std::strlen(m_text) : 0;
}

bool TagString::operator==(const char* text) const {
    return std::strcmp(c_str(), text != nullptr ? text : "") == 0;
}

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
