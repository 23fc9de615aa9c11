#include "ui/trackinfo/DropTagging.h"

#include "companions/AudioTagCore/MediaMetaDataEdit.h"
#include "encode/WmaLibrary.h"
#include "finish/Id3Tag.h"
#include "ui/trackinfo/FileInfoModel.h"
#include "ui/trackinfo/WmpMediaInfo.h"

namespace {

void Take(const std::string& text, TagString& field) {
    if (!text.empty()) {
        field = text;
    }
}

} // namespace

void OverlayMediaInfo(const MediaInfoResult& info, TrackTags& tags) {
    Take(info.title, tags.title);
    Take(info.artist, tags.artist);
    Take(info.album, tags.album);
    Take(info.genre, tags.genre);
    Take(info.year, tags.year);
    Take(info.composer, tags.composer);
    if (info.trackNumber > 0) {
        tags.trackNumber = info.trackNumber;
    }
}

int TagTrackFromSource(const std::string& source, const std::string& target, const std::string& coverPath) {
    MediaInfoResult info;
    if (!GetMediaInfo(source.c_str(), info)) {
        return 0;
    }
    DeleteFileA(coverPath.c_str());
    const bool hasCover = SaveMediaCover(source.c_str(), coverPath.c_str());
    const FileKind kind = FileKindOfPath(target);
    if (kind == kFileMp3) {
        if (HasId3Tag(target, ID3TT_ID3V1)) {
            TrackTags version1;
            ReadId3Tag(target.c_str(), ID3TT_ID3V1, version1);
            OverlayMediaInfo(info, version1);
            WriteId3Tag(target.c_str(), ID3TT_ID3V1, version1);
        }
        TrackTags version2;
        ReadId3Tag(target.c_str(), ID3TT_ID3V2, version2);
        OverlayMediaInfo(info, version2);
        version2.artworkPath = hasCover ? coverPath : std::string();
        WriteId3Tag(target.c_str(), ID3TT_ID3V2, version2);
        return 1;
    }
    if (kind == kFileWma) {
        ScopedMetaDataEditor editor = WmaLibrary::WmaEditorFor(target.c_str());
        if (editor == nullptr) {
            return 0;
        }
        editor->ReadMetaData();
        OverlayMediaInfo(info, editor->m_metaData);
        editor->m_metaData.artworkPath = hasCover ? coverPath : std::string();
        return editor->WriteMetaData() != 0 ? 1 : 0;
    }
    return 0;
}
