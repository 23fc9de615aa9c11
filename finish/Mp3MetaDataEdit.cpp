#include "finish/Mp3MetaDataEdit.h"

#include "app/framework/Scoped.h"
#include "companions/AudioTagCore/GenreInfo.h"
#include "finish/Id3Tag.h"

#include <windows.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstring>
#include <string>

// The track number is the tag's own number both ways: reads store it as ReadId3Tag finds it and
// writes put it back unchanged, so a file whose tags are read and written again keeps its number.

namespace {

constexpr size_t kBlockSize = 128;
// "TAG" and the title: all that a title-only write changes in an existing block.
constexpr size_t kTitlePartSize = 33;

using Id3v1Block = std::array<char, kBlockSize>;

void PutText(Id3v1Block& block, size_t offset, size_t width, const TagString& text) {
    std::memcpy(block.data() + offset, text.c_str(), std::min(text.size(), width));
}

Id3v1Block MakeId3v1Block(const TrackTags& tags, bool titleOnly) {
    Id3v1Block block{};
    std::memcpy(block.data(), "TAG", 3);
    PutText(block, 3, 30, tags.title);
    if (!titleOnly) {
        PutText(block, 33, 30, tags.artist);
        PutText(block, 63, 30, tags.album);
        PutText(block, 93, 4, tags.year);
        if (tags.trackNumber >= 0) {
            PutText(block, 97, 28, tags.comment);
            block[126] = static_cast<char>(std::min(tags.trackNumber, 255));
        } else {
            PutText(block, 97, 30, tags.comment);
        }
    }
    block[127] = static_cast<char>(CGenreInfo::GetGenreID(tags.genre.c_str()));
    return block;
}

bool HasId3v1Block(HANDLE file, LONGLONG size) {
    char marker[3] = {};
    DWORD read = 0;
    return size >= static_cast<LONGLONG>(kBlockSize) &&
           SetFilePointerEx(file, LARGE_INTEGER{.QuadPart = size - static_cast<LONGLONG>(kBlockSize)},
                            nullptr, FILE_BEGIN) &&
           ReadFile(file, marker, sizeof(marker), &read, nullptr) && read == sizeof(marker) &&
           std::memcmp(marker, "TAG", sizeof(marker)) == 0;
}

// Genres read from a tag already begin with their "(n)"; it is not put in front a second time.
std::string Id3v2Genre(const char* genre) {
    std::string reference = Id3GenreReference(genre);
    return std::string(genre).starts_with(reference) ? genre : reference + genre;
}

} // namespace

CMp3MetaDataEdit::CMp3MetaDataEdit(const char* musicFileName) : CMediaMetaDataEdit(musicFileName) {}

int CMp3MetaDataEdit::ReadMetaData() {
    ClearMetaDataBuffer();
    return ReadId3Tag(m_strMusicFileName.c_str(), ID3TT_ID3V2, m_metaData);
}

int CMp3MetaDataEdit::WriteMetaData() {
    return WriteMetaData(false);
}

int CMp3MetaDataEdit::WriteMetaData(bool titleOnly) {
    if (m_bID3v1 != 0) {
        WriteId3v1(titleOnly);
    }
    if (m_bID3v2 != 0) {
        WriteId3v2(titleOnly);
    }
    return 1;
}

// A file with an ID3v1 tag gets its block overwritten (only the title part for a title-only write);
// a file without one gets the whole block appended, since overwriting would destroy audio.
void CMp3MetaDataEdit::WriteId3v1(bool titleOnly) {
    ScopedFileHandle file(CreateFileA(m_strMusicFileName.c_str(), GENERIC_READ | GENERIC_WRITE,
                                      FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                                      nullptr));
    LARGE_INTEGER size{};
    if (!file || !GetFileSizeEx(file.Get(), &size)) {
        return;
    }
    Id3v1Block block = MakeId3v1Block(m_metaData, titleOnly);
    DWORD length = static_cast<DWORD>(kBlockSize);
    if (HasId3v1Block(file.Get(), size.QuadPart)) {
        SetFilePointerEx(file.Get(),
                         LARGE_INTEGER{.QuadPart = size.QuadPart - static_cast<LONGLONG>(kBlockSize)},
                         nullptr, FILE_BEGIN);
        length = static_cast<DWORD>(titleOnly ? kTitlePartSize : kBlockSize);
    } else {
        SetFilePointerEx(file.Get(), LARGE_INTEGER{}, nullptr, FILE_END);
    }
    DWORD written = 0;
    WriteFile(file.Get(), block.data(), length, &written, nullptr);
}

void CMp3MetaDataEdit::WriteId3v2(bool titleOnly) {
    ID3_Tag tag;
    if (!LinkId3Tag(tag, m_strMusicFileName.c_str(), ID3TT_ID3V2)) {
        return;
    }
    auto write = [&tag](ID3_FrameID id, ID3_FieldID field, const std::string& text) {
        if (!text.empty()) {
            SetId3TextFrame(tag, id, field, text.c_str(), ID3TE_ISO8859_1);
        }
    };
    const TrackTags& tags = m_metaData;
    write(ID3FID_TITLE, ID3FN_TEXT, tags.title.c_str());
    if (!titleOnly) {
        static constexpr Id3TextField kFields[] = {
            {ID3FID_LEADARTIST, ID3FN_TEXT, &TrackTags::artist},
            {ID3FID_ALBUM, ID3FN_TEXT, &TrackTags::album},
            {ID3FID_YEAR, ID3FN_TEXT, &TrackTags::year},
            {ID3FID_COMMENT, ID3FN_TEXT, &TrackTags::comment},
            {ID3FID_COMPOSER, ID3FN_TEXT, &TrackTags::composer},
            {ID3FID_ORIGARTIST, ID3FN_TEXT, &TrackTags::originalArtist},
            {ID3FID_COPYRIGHT, ID3FN_TEXT, &TrackTags::copyright},
            {ID3FID_WWWUSER, ID3FN_URL, &TrackTags::url},
            {ID3FID_ENCODEDBY, ID3FN_TEXT, &TrackTags::encodedBy},
        };
        for (const Id3TextField& text : kFields) {
            write(text.frame, text.field, (tags.*text.member).c_str());
        }
        if (tags.trackNumber >= 0) {
            char track[16];
            std::snprintf(track, sizeof(track), "%02d", tags.trackNumber);
            write(ID3FID_TRACKNUM, ID3FN_TEXT, track);
        }
        if (!tags.genre.empty()) {
            write(ID3FID_CONTENTTYPE, ID3FN_TEXT, Id3v2Genre(tags.genre.c_str()));
        }
    }
    tag.SetPadding(true);
    tag.Update(ID3TT_ID3V2);
}
