#include "companions/WmaEncodeCore/WmaTags.h"

#include "companions/WmaEncodeCore/AnsiText.h"

#include <taglib/asfattribute.h>
#include <taglib/asffile.h>
#include <taglib/asfpicture.h>
#include <taglib/asftag.h>

#include <windows.h>

namespace {

// The extended attributes Windows Media Player itself reads and writes for these fields.
struct ExtendedField {
    const char* name;
    TagString TrackTags::*member;
};
constexpr ExtendedField kExtendedFields[] = {
    {"WM/AlbumTitle", &TrackTags::album},
    {"WM/Year", &TrackTags::year},
    {"WM/Genre", &TrackTags::genre},
    {"WM/Composer", &TrackTags::composer},
    {"WM/OriginalArtist", &TrackTags::originalArtist},
    {"WM/AuthorURL", &TrackTags::url},
    {"WM/EncodedBy", &TrackTags::encodedBy},
    {"WM/Publisher", &TrackTags::publisher},
    {"WM/AlbumArtist", &TrackTags::albumArtist},
    {"WM/PartOfSet", &TrackTags::partOfSet},
};
constexpr const char* kTrackNumber = "WM/TrackNumber";
// The older, zero-based track attribute; TagLib prefers WM/TrackNumber, other readers may not.
constexpr const char* kOldTrack = "WM/Track";
constexpr const char* kPicture = "WM/Picture";

TagLib::String ToTagText(const TagString& text) {
    return TagLib::String(AnsiToWide(text.c_str()));
}

std::string FromTagText(const TagLib::String& text) {
    return WideToAnsi(text.toWString());
}

// TagLib opens a file it cannot write for reading only; the name goes in as UTF-16, so the ANSI
// name reaches the file system unchanged.
bool IsUsable(TagLib::ASF::File& file) {
    return file.isOpen() && file.isValid() && file.tag() != nullptr;
}

// A picture file whole, or nothing; pictures beyond this size are not cover art.
std::string ReadBytes(const char* path) {
    constexpr LONGLONG kLargestPicture = 64LL << 20;
    HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return {};
    }
    std::string bytes;
    LARGE_INTEGER size{};
    if (GetFileSizeEx(file, &size) && size.QuadPart > 0 && size.QuadPart <= kLargestPicture) {
        bytes.resize(static_cast<size_t>(size.QuadPart));
        DWORD read = 0;
        if (!ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr) ||
            read != bytes.size()) {
            bytes.clear();
        }
    }
    CloseHandle(file);
    return bytes;
}

bool WriteBytes(const char* path, const char* bytes, size_t count) {
    HANDLE file = CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return false;
    }
    DWORD written = 0;
    bool whole = WriteFile(file, bytes, static_cast<DWORD>(count), &written, nullptr) && written == count;
    return CloseHandle(file) && whole;
}

bool StartsWith(const std::string& bytes, const char* signature, size_t length) {
    return bytes.size() >= length && bytes.compare(0, length, signature, length) == 0;
}

void PutPicture(TagLib::ASF::Tag& tag, const std::string& bytes) {
    TagLib::ASF::Picture picture;
    picture.setMimeType(WmaTags::PictureMimeType(bytes));
    picture.setType(TagLib::ASF::Picture::FrontCover);
    picture.setDescription("cover picture");
    picture.setPicture(TagLib::ByteVector(bytes.data(), static_cast<unsigned int>(bytes.size())));
    tag.setAttribute(kPicture, TagLib::ASF::Attribute(picture));
}

} // namespace

namespace WmaTags {

bool Read(const char* path, TrackTags& tags) {
    if (path == nullptr || path[0] == '\0') {
        return false;
    }
    TagLib::ASF::File file(AnsiToWide(path).c_str(), false);
    if (!IsUsable(file)) {
        return false;
    }
    const TagLib::ASF::Tag& tag = *file.tag();
    tags.title = FromTagText(tag.title());
    tags.artist = FromTagText(tag.artist());
    tags.comment = FromTagText(tag.comment());
    tags.copyright = FromTagText(tag.copyright());
    for (const ExtendedField& field : kExtendedFields) {
        TagLib::ASF::AttributeList values = tag.attribute(field.name);
        tags.*field.member = values.isEmpty() ? std::string() : FromTagText(values.front().toString());
    }
    tags.trackNumber = static_cast<int32_t>(tag.track());
    return true;
}

bool Write(const char* path, const TrackTags& tags, bool titleOnly) {
    if (path == nullptr || path[0] == '\0') {
        return false;
    }
    TagLib::ASF::File file(AnsiToWide(path).c_str(), false);
    if (!IsUsable(file) || file.readOnly()) {
        return false;
    }
    TagLib::ASF::Tag& tag = *file.tag();
    tag.setTitle(ToTagText(tags.title));
    if (!titleOnly) {
        tag.setArtist(ToTagText(tags.artist));
        tag.setComment(ToTagText(tags.comment));
        tag.setCopyright(ToTagText(tags.copyright));
        for (const ExtendedField& field : kExtendedFields) {
            const TagString& text = tags.*field.member;
            if (text.empty()) {
                tag.removeItem(field.name);
            } else {
                tag.setAttribute(field.name, TagLib::ASF::Attribute(ToTagText(text)));
            }
        }
        tag.removeItem(kOldTrack);
        if (tags.trackNumber > 0) {
            tag.setAttribute(kTrackNumber,
                             TagLib::ASF::Attribute(static_cast<unsigned int>(tags.trackNumber)));
        } else {
            tag.removeItem(kTrackNumber);
        }
        std::string picture = ReadBytes(tags.artworkPath.c_str());
        if (!PictureMimeType(picture).empty()) {
            PutPicture(tag, picture);
        }
    }
    return file.save();
}

bool SavePicture(const char* path, const char* imagePath) {
    if (path == nullptr || path[0] == '\0' || imagePath == nullptr || imagePath[0] == '\0') {
        return false;
    }
    TagLib::ASF::File file(AnsiToWide(path).c_str(), false);
    if (!IsUsable(file)) {
        return false;
    }
    TagLib::ASF::AttributeList pictures = file.tag()->attribute(kPicture);
    const TagLib::ASF::Picture* chosen = nullptr;
    TagLib::ASF::Picture first;
    TagLib::ASF::Picture front;
    for (const TagLib::ASF::Attribute& attribute : pictures) {
        TagLib::ASF::Picture picture = attribute.toPicture();
        if (!picture.isValid() || picture.picture().isEmpty()) {
            continue;
        }
        if (picture.type() == TagLib::ASF::Picture::FrontCover) {
            front = picture;
            chosen = &front;
            break;
        }
        if (chosen == nullptr) {
            first = picture;
            chosen = &first;
        }
    }
    if (chosen == nullptr) {
        return false;
    }
    const TagLib::ByteVector data = chosen->picture();
    return WriteBytes(imagePath, data.data(), data.size());
}

bool SetPicture(const char* path, const char* imagePath) {
    if (path == nullptr || path[0] == '\0' || imagePath == nullptr) {
        return false;
    }
    std::string bytes = ReadBytes(imagePath);
    if (PictureMimeType(bytes).empty()) {
        return false;
    }
    TagLib::ASF::File file(AnsiToWide(path).c_str(), false);
    if (!IsUsable(file) || file.readOnly()) {
        return false;
    }
    PutPicture(*file.tag(), bytes);
    return file.save();
}

std::string PictureMimeType(const std::string& bytes) {
    if (StartsWith(bytes, "\xFF\xD8\xFF", 3)) {
        return "image/jpeg";
    }
    if (StartsWith(bytes, "\x89PNG\r\n\x1A\n", 8)) {
        return "image/png";
    }
    if (StartsWith(bytes, "GIF87a", 6) || StartsWith(bytes, "GIF89a", 6)) {
        return "image/gif";
    }
    if (StartsWith(bytes, "BM", 2) && bytes.size() > 54) {
        return "image/bmp";
    }
    return {};
}

} // namespace WmaTags
