// The metadata of one track as encoding, naming and tagging receive it; it travels inside the
// encoder work record, so its layout is shared with the companion libraries.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// An owned ANSI string that is exactly one pointer wide, so that records holding it keep the layout
// the companion libraries expect. The pointer is null or a copy from the C runtime's malloc, so
// whichever module ends up with the record can free it.
class TagString {
public:
    TagString() = default;
    TagString(const char* text) { assign(text); }
    TagString(const std::string& text) { assign(text); }
    TagString(const TagString& other) { assign(other.m_text); }
    TagString(TagString&& other) noexcept;
    ~TagString();

    TagString& operator=(const TagString& other);
    TagString& operator=(TagString&& other) noexcept;
    TagString& operator=(const char* text);
    TagString& operator=(const std::string& text);

    // Text ends at the first zero, as everywhere else in the program; empty text holds nothing.
    void assign(const char* text);
    void assign(const std::string& text);
    void assign(const char* text, size_t length);

    const char* c_str() const { return m_text != nullptr ? m_text : ""; }
    bool empty() const { return m_text == nullptr; }
    size_t size() const;

    bool operator==(const char* text) const;
    bool operator==(const std::string& text) const { return text == c_str(); }
    bool operator==(const TagString& other) const { return *this == other.c_str(); }

private:
    char* m_text = nullptr;
};

static_assert(sizeof(TagString) == sizeof(void*));

struct TrackTags {
    int32_t trackNumber = 0;
    TagString partOfSet;
    TagString title;
    TagString artist;
    TagString album;
    TagString year;
    TagString comment;
    TagString genreText;
    TagString genre;
    int32_t genreId = 0;
    TagString composer;
    TagString originalArtist;
    TagString copyright;
    TagString url;
    TagString encodedBy;
    TagString artworkPath;
    TagString publisher;
    TagString albumArtist;
    TagString extraStrings[5];
};

#if defined(__i386__)
static_assert(sizeof(TrackTags) == 92);
#endif
