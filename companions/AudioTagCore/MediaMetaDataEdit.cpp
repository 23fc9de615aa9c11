#include "companions/AudioTagCore/MediaMetaDataEdit.h"

// The base editor knows no file format: it keeps the buffer and the path, and its reads and writes
// report failure until an editor for a format overrides them.

CMediaMetaDataEdit::CMediaMetaDataEdit() = default;

CMediaMetaDataEdit::CMediaMetaDataEdit(const char* musicFileName) : m_strMusicFileName(musicFileName) {}

CMediaMetaDataEdit::~CMediaMetaDataEdit() = default;

void CMediaMetaDataEdit::Set_strMusicFileName(const char* musicFileName) {
    m_strMusicFileName = musicFileName;
}

const char* CMediaMetaDataEdit::Get_strMusicFileName() {
    return m_strMusicFileName.c_str();
}

int CMediaMetaDataEdit::ReadMetaData() {
    return 0;
}

int CMediaMetaDataEdit::WriteMetaData() {
    return 0;
}

// A full read fills the title as well.
int CMediaMetaDataEdit::ReadMetaData(bool) {
    return ReadMetaData();
}

// Only an editor that knows its format can leave the other fields alone.
int CMediaMetaDataEdit::WriteMetaData(bool titleOnly) {
    return titleOnly ? 0 : WriteMetaData();
}

TagString CMediaMetaDataEdit::ReadArtImage(const char*) {
    return {};
}

int CMediaMetaDataEdit::WriteArtImage(const char*) {
    return 0;
}

void CMediaMetaDataEdit::ClearMetaDataBuffer() {
    m_metaData = TrackTags{};
}

void CMediaMetaDataEdit::Destroy() {
    delete this;
}
