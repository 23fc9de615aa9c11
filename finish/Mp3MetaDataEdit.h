// The metadata editor for MP3 files: the music file list reads a file's tags through it and writes
// the title back after a rename.
#pragma once

#include "companions/AudioTagCore/MediaMetaDataEdit.h"

#include <cstdint>

class CMp3MetaDataEdit : public CMediaMetaDataEdit {
public:
    explicit CMp3MetaDataEdit(const char* musicFileName);

    using CMediaMetaDataEdit::ReadMetaData;
    // Empties the buffer and fills it from the ID3v2 tag.
    int ReadMetaData() override;
    int WriteMetaData() override;
    // Writes the buffer into the ID3v1 and the ID3v2 tag, each when its flag is set; with titleOnly
    // the tags keep everything but their title.
    int WriteMetaData(bool titleOnly) override;

    int32_t m_bID3v1 = 1;
    int32_t m_bID3v2 = 1;

private:
    void WriteId3v1(bool titleOnly);
    void WriteId3v2(bool titleOnly);
};
