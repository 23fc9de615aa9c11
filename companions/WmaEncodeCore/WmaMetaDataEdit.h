// The metadata editor for WMA files that the music file list and the track information dialog make
// through CreateWMAMetaDataEditObject. Every failure, a damaged or foreign file included, is a 0
// result (or an empty path) and never more.
#pragma once

#include "companions/AudioTagCore/MediaMetaDataEdit.h"

class CWmaMetaDataEdit : public CMediaMetaDataEdit {
public:
    CWmaMetaDataEdit() = default;

    using CMediaMetaDataEdit::ReadMetaData;
    // Empties the buffer and fills it from the file's tags; the picture is read with ReadArtImage.
    int ReadMetaData() override;
    int WriteMetaData() override;
    // With titleOnly the tags keep everything but their title.
    int WriteMetaData(bool titleOnly) override;
    TagString ReadArtImage(const char* imagePath) override;
    int WriteArtImage(const char* imagePath) override;
};
