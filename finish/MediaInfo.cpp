#include "finish/MediaInfo.h"

#include "app/framework/Scoped.h"
#include "companions/WmaEncodeCore/AnsiText.h"

#include <taglib/asffile.h>
#include <taglib/attachedpictureframe.h>
#include <taglib/fileref.h>
#include <taglib/flacfile.h>
#include <taglib/id3v2tag.h>
#include <taglib/mp4file.h>
#include <taglib/mpegfile.h>
#include <taglib/tpropertymap.h>
#include <taglib/vorbisfile.h>

#include <windows.h>

#include <algorithm>
#include <cctype>

namespace {

std::string LowerExtension(const std::string& path) {
    size_t dot = path.find_last_of('.');
    size_t separator = path.find_last_of("\\/");
    if (dot == std::string::npos || (separator != std::string::npos && dot < separator)) {
        return {};
    }
    std::string extension = path.substr(dot + 1);
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return extension;
}

std::string Ansi(const TagLib::String& text) {
    return WideToAnsi(text.toWString());
}

// TagLib picks the reader by the name and, for a name it does not know (a QuickTime ".mov"),
// by the content.
class OpenedFile {
public:
    explicit OpenedFile(const char* path) {
        const std::wstring name = AnsiToWide(path);
        if (name.empty()) {
            return;
        }
        m_reference = TagLib::FileRef(name.c_str());
        TagLib::File* file = m_reference.file();
        if (file != nullptr && file->isOpen() && file->isValid() && file->tag() != nullptr) {
            m_file = file;
        }
    }

    // Null when the file could not be read.
    TagLib::File* get() const { return m_file; }

private:
    TagLib::FileRef m_reference;
    TagLib::File* m_file = nullptr;
};

std::string Bytes(const TagLib::ByteVector& data) {
    return std::string(data.data(), data.size());
}

std::string Mp4Cover(TagLib::MP4::File& file) {
    TagLib::MP4::Tag* tag = file.tag();
    if (tag == nullptr || !tag->contains("covr")) {
        return {};
    }
    TagLib::MP4::CoverArtList covers = tag->item("covr").toCoverArtList();
    return covers.isEmpty() ? std::string() : Bytes(covers.front().data());
}

std::string Id3v2Cover(TagLib::MPEG::File& file) {
    TagLib::ID3v2::Tag* tag = file.ID3v2Tag();
    if (tag == nullptr) {
        return {};
    }
    std::string first;
    for (TagLib::ID3v2::Frame* frame : tag->frameList("APIC")) {
        auto* picture = dynamic_cast<TagLib::ID3v2::AttachedPictureFrame*>(frame);
        if (picture == nullptr) {
            continue;
        }
        if (picture->type() == TagLib::ID3v2::AttachedPictureFrame::FrontCover) {
            return Bytes(picture->picture());
        }
        if (first.empty()) {
            first = Bytes(picture->picture());
        }
    }
    return first;
}

std::string AsfCover(TagLib::ASF::File& file) {
    std::string first;
    for (const TagLib::ASF::Attribute& attribute : file.tag()->attribute("WM/Picture")) {
        TagLib::ASF::Picture picture = attribute.toPicture();
        if (!picture.isValid()) {
            continue;
        }
        if (picture.type() == TagLib::ASF::Picture::FrontCover) {
            return Bytes(picture.picture());
        }
        if (first.empty()) {
            first = Bytes(picture.picture());
        }
    }
    return first;
}

std::string FlacCover(const TagLib::List<TagLib::FLAC::Picture*>& pictures) {
    std::string first;
    for (TagLib::FLAC::Picture* picture : pictures) {
        if (picture->type() == TagLib::FLAC::Picture::FrontCover) {
            return Bytes(picture->data());
        }
        if (first.empty()) {
            first = Bytes(picture->data());
        }
    }
    return first;
}

std::string CoverBytes(TagLib::File& file) {
    if (auto* mp4 = dynamic_cast<TagLib::MP4::File*>(&file)) {
        return Mp4Cover(*mp4);
    }
    if (auto* mpeg = dynamic_cast<TagLib::MPEG::File*>(&file)) {
        return Id3v2Cover(*mpeg);
    }
    if (auto* asf = dynamic_cast<TagLib::ASF::File*>(&file)) {
        return AsfCover(*asf);
    }
    if (auto* flac = dynamic_cast<TagLib::FLAC::File*>(&file)) {
        return FlacCover(flac->pictureList());
    }
    if (auto* vorbis = dynamic_cast<TagLib::Ogg::Vorbis::File*>(&file)) {
        return FlacCover(vorbis->tag()->pictureList());
    }
    return {};
}

} // namespace

bool ReadMediaInfoFromFile(const char* path, MediaInfoResult& result) {
    result = MediaInfoResult{};
    OpenedFile file(path);
    if (file.get() == nullptr) {
        return false;
    }
    TagLib::Tag& tag = *file.get()->tag();
    result.title = Ansi(tag.title());
    result.artist = Ansi(tag.artist());
    result.album = Ansi(tag.album());
    result.genre = Ansi(tag.genre());
    result.year = tag.year() != 0 ? std::to_string(tag.year()) : std::string();
    result.trackNumber = static_cast<int>(tag.track());
    TagLib::PropertyMap properties = file.get()->properties();
    if (properties.contains("COMPOSER") && !properties["COMPOSER"].isEmpty()) {
        result.composer = Ansi(properties["COMPOSER"].front());
    }
    if (auto* asf = dynamic_cast<TagLib::ASF::File*>(file.get())) {
        const TagLib::ASF::AttributeList ids = asf->tag()->attribute("WM/WMCollectionID");
        if (!ids.isEmpty() && ids.front().type() == TagLib::ASF::Attribute::UnicodeType) {
            result.collectionId = Ansi(ids.front().toString());
        }
    }
    // iTunes' protected purchases are the ".m4p" files; TagLib reads their tags but not their rights.
    result.isProtected = LowerExtension(path) == "m4p";
    return true;
}

bool SaveMediaCover(const char* path, const char* imagePath) {
    std::string picture;
    OpenedFile file(path);
    if (file.get() != nullptr) {
        picture = CoverBytes(*file.get());
    }
    if (picture.empty()) {
        return false;
    }
    bool whole = false;
    {
        ScopedFileHandle output(
            CreateFileA(imagePath, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!output) {
            return false;
        }
        DWORD written = 0;
        whole =
            WriteFile(output.Get(), picture.data(), static_cast<DWORD>(picture.size()), &written, nullptr) &&
            written == picture.size();
    }
    if (!whole) {
        DeleteFileA(imagePath);
    }
    return whole;
}

bool ReadAudioSummary(const char* path, AudioSummary& summary) {
    summary = AudioSummary{};
    OpenedFile file(path);
    const TagLib::AudioProperties* properties =
        file.get() != nullptr ? file.get()->audioProperties() : nullptr;
    if (properties == nullptr) {
        return false;
    }
    summary.bitrate = properties->bitrate() * 1000;
    summary.averageBitrate = summary.bitrate;
    summary.sampleRate = properties->sampleRate();
    summary.stereo = properties->channels() >= 2;
    return true;
}
