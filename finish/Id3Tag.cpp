#include "finish/Id3Tag.h"

#include "app/framework/AppFolders.h"
#include "companions/AudioTagCore/GenreInfo.h"

#include <id3/misc_support.h>

#include <windows.h>

#include <cstdio>
#include <memory>
#include <span>
#include <vector>

namespace {

// Both versions carry these, written in this order.
constexpr Id3TextField kCommonFields[] = {
    {ID3FID_TITLE, ID3FN_TEXT, &TrackTags::title},       {ID3FID_ALBUM, ID3FN_TEXT, &TrackTags::album},
    {ID3FID_LEADARTIST, ID3FN_TEXT, &TrackTags::artist}, {ID3FID_COMMENT, ID3FN_TEXT, &TrackTags::comment},
    {ID3FID_YEAR, ID3FN_TEXT, &TrackTags::year},
};

// Only ID3v2 has frames for these.
constexpr Id3TextField kVersion2Fields[] = {
    {ID3FID_ORIGARTIST, ID3FN_TEXT, &TrackTags::originalArtist},
    {ID3FID_PUBLISHER, ID3FN_TEXT, &TrackTags::publisher},
    {ID3FID_WWWUSER, ID3FN_URL, &TrackTags::url},
    {ID3FID_BAND, ID3FN_TEXT, &TrackTags::albumArtist},
    {ID3FID_COPYRIGHT, ID3FN_TEXT, &TrackTags::copyright},
    {ID3FID_COMPOSER, ID3FN_TEXT, &TrackTags::composer},
    {ID3FID_ENCODEDBY, ID3FN_TEXT, &TrackTags::encodedBy},
    {ID3FID_PARTINSET, ID3FN_TEXT, &TrackTags::partOfSet},
};

std::span<const Id3TextField> VersionOnlyFields(int version) {
    if (version == ID3TT_ID3V2) {
        return kVersion2Fields;
    }
    return {};
}

constexpr uint32 kPictureType = 1;

// id3lib holds UTF-16 text as big-endian code units, whatever the byte order in the file.
unicode_t SwapBytes(unicode_t unit) {
    return static_cast<unicode_t>((unit << 8) | (unit >> 8));
}

std::vector<unicode_t> AnsiToId3Unicode(const char* text) {
    int length = MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0);
    std::vector<wchar_t> wide(length > 0 ? length : 1, L'\0');
    MultiByteToWideChar(CP_ACP, 0, text, -1, wide.data(), static_cast<int>(wide.size()));
    std::vector<unicode_t> units;
    units.reserve(wide.size());
    for (wchar_t c : wide) {
        units.push_back(SwapBytes(static_cast<unicode_t>(c)));
    }
    return units;
}

std::string Id3UnicodeToAnsi(const ID3_Field& field) {
    const unicode_t* units = field.GetRawUnicodeText();
    if (units == nullptr) {
        return {};
    }
    // For Unicode text id3lib reports the size in bytes.
    std::wstring wide;
    for (size_t i = 0; i < field.Size() / 2 && units[i] != 0; ++i) {
        wide.push_back(static_cast<wchar_t>(SwapBytes(units[i])));
    }
    int length = WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0,
                                     nullptr, nullptr);
    std::string ansi(length > 0 ? length : 0, '\0');
    WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(wide.size()), ansi.data(), length, nullptr,
                        nullptr);
    return ansi;
}

// Sets the text in the encoding the field already has.
void SetFieldText(ID3_Field* field, const char* text) {
    if (field == nullptr) {
        return;
    }
    if (field->GetEncoding() == ID3TE_UTF16) {
        field->Set(AnsiToId3Unicode(text).data());
    } else {
        field->Set(text);
    }
}

std::string FrameText(const ID3_Tag& tag, ID3_FrameID id, ID3_FieldID fieldId) {
    const ID3_Frame* frame = tag.Find(id);
    const ID3_Field* field = frame != nullptr ? frame->GetField(fieldId) : nullptr;
    if (field == nullptr) {
        return {};
    }
    if (field->GetEncoding() == ID3TE_UTF16) {
        return Id3UnicodeToAnsi(*field);
    }
    const char* text = field->GetRawText();
    return text != nullptr ? text : "";
}

// Tag version 2.3, which id3lib writes, knows Latin-1 and UTF-16 only, and id3lib reads and writes
// any other encoding as UTF-16 too.
ID3_TextEnc EncodingOf(const ID3_Frame& frame) {
    const ID3_Field* field = frame.GetField(ID3FN_TEXTENC);
    return field != nullptr && field->Get() != ID3TE_ISO8859_1 ? ID3TE_UTF16 : ID3TE_ISO8859_1;
}

void SetPictureFrame(ID3_Tag& tag, const char* imagePath) {
    std::unique_ptr<ID3_Frame> created;
    ID3_Frame* frame = tag.Find(ID3FID_PICTURE);
    if (frame == nullptr) {
        created = std::make_unique<ID3_Frame>(ID3FID_PICTURE);
        frame = created.get();
    }
    SetFieldText(frame->GetField(ID3FN_MIMETYPE), "image/jpeg");
    frame->GetField(ID3FN_PICTURETYPE)->Set(kPictureType);
    SetFieldText(frame->GetField(ID3FN_DESCRIPTION), "cover picture");
    // A picture file that cannot be read leaves the data empty rather than the old picture.
    ID3_Field* data = frame->GetField(ID3FN_DATA);
    data->Clear();
    data->FromFile(imagePath);
    if (created != nullptr && tag.AttachFrame(created.get())) {
        created.release();
    }
}

// The picture's bytes as id3tag_artwork.jpg in the default capture folder, and that path; empty when
// the tag has no picture.
std::string SavePicture(const ID3_Tag& tag) {
    const ID3_Frame* picture = tag.Find(ID3FID_PICTURE);
    if (picture == nullptr) {
        return {};
    }
    std::string artwork = JoinPath(DefaultCaptureFolder(), "id3tag_artwork.jpg");
    picture->GetField(ID3FN_DATA)->ToFile(artwork.c_str());
    return artwork;
}

} // namespace

bool LinkId3Tag(ID3_Tag& tag, const char* path, flags_t versions) {
    DWORD attributes = GetFileAttributesA(path);
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        return false;
    }
    tag.Link(path, versions);
    return true;
}

std::string Id3GenreReference(const char* genre) {
    char reference[16];
    std::snprintf(reference, sizeof(reference), "(%d)", CGenreInfo::GetGenreID(genre));
    return reference;
}

void SetId3TextFrame(ID3_Tag& tag, ID3_FrameID id, ID3_FieldID field, const char* text,
                     ID3_TextEnc encoding) {
    ID3_Frame* found = tag.Find(id);
    if (found != nullptr) {
        encoding = EncodingOf(*found);
        delete tag.RemoveFrame(found);
    }
    if (text == nullptr || *text == '\0') {
        return;
    }
    auto frame = std::make_unique<ID3_Frame>(id);
    if (ID3_Field* textEncoding = frame->GetField(ID3FN_TEXTENC)) {
        textEncoding->Set(encoding);
    }
    if (ID3_Field* target = frame->GetField(field)) {
        target->SetEncoding(encoding);
        SetFieldText(target, text);
    }
    if (tag.AttachFrame(frame.get())) {
        frame.release();
    }
}

int WriteId3Tag(const char* path, int version, TrackTags tags) {
    ID3_Tag tag;
    if (!LinkId3Tag(tag, path, version)) {
        return 1;
    }
    for (const Id3TextField& text : kCommonFields) {
        SetId3TextFrame(tag, text.frame, text.field, (tags.*text.member).c_str(), ID3TE_ISO8859_1);
    }
    std::string genre = version == ID3TT_ID3V1 ? Id3GenreReference(tags.genre.c_str()) : tags.genre.c_str();
    SetId3TextFrame(tag, ID3FID_CONTENTTYPE, ID3FN_TEXT, genre.c_str(), ID3TE_ISO8859_1);
    SetId3TextFrame(tag, ID3FID_TRACKNUM, ID3FN_TEXT, std::to_string(tags.trackNumber).c_str(),
                    ID3TE_ISO8859_1);
    for (const Id3TextField& text : VersionOnlyFields(version)) {
        SetId3TextFrame(tag, text.frame, text.field, (tags.*text.member).c_str(), ID3TE_ISO8859_1);
    }
    if (version == ID3TT_ID3V2 && !tags.artworkPath.empty()) {
        SetPictureFrame(tag, tags.artworkPath.c_str());
    }
    tag.SetPadding(false);
    tag.SetUnsync(true);
    tag.Update(version);
    return 1;
}

int ReadId3Tag(const char* path, int version, TrackTags& tags, Mp3_Headerinfo* header) {
    ID3_Tag tag;
    if (!LinkId3Tag(tag, path, version)) {
        return 1;
    }
    const Mp3_Headerinfo* info = tag.GetMp3HeaderInfo();
    if (info != nullptr && header != nullptr) {
        *header = *info;
    }
    for (const Id3TextField& text : kCommonFields) {
        tags.*text.member = FrameText(tag, text.frame, text.field);
    }
    for (const Id3TextField& text : VersionOnlyFields(version)) {
        tags.*text.member = FrameText(tag, text.frame, text.field);
    }
    tags.genre = FrameText(tag, ID3FID_CONTENTTYPE, ID3FN_TEXT);
    tags.trackNumber = static_cast<int32_t>(ID3_GetTrackNum(&tag));
    if (version == ID3TT_ID3V2) {
        tags.artworkPath = SavePicture(tag);
    }
    return 1;
}

int RemoveId3Tag(const char* path, int version) {
    ID3_Tag tag;
    if (!LinkId3Tag(tag, path, version)) {
        return 1;
    }
    // id3lib keeps the frames of a stripped tag, and an update would write them straight back.
    tag.Strip(version);
    return 1;
}

void ClearTrackTags(TrackTags& tags) {
    tags = TrackTags{};
}
