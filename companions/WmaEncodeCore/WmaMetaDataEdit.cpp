#include "companions/WmaEncodeCore/WmaMetaDataEdit.h"

#include "companions/WmaEncodeCore/WmaTags.h"

int CWmaMetaDataEdit::ReadMetaData() {
    ClearMetaDataBuffer();
    return WmaTags::Read(m_strMusicFileName.c_str(), m_metaData) ? 1 : 0;
}

int CWmaMetaDataEdit::WriteMetaData() {
    return WriteMetaData(false);
}

int CWmaMetaDataEdit::WriteMetaData(bool titleOnly) {
    return WmaTags::Write(m_strMusicFileName.c_str(), m_metaData, titleOnly) ? 1 : 0;
}

TagString CWmaMetaDataEdit::ReadArtImage(const char* imagePath) {
    if (!WmaTags::SavePicture(m_strMusicFileName.c_str(), imagePath)) {
        return {};
    }
    return imagePath;
}

int CWmaMetaDataEdit::WriteArtImage(const char* imagePath) {
    return WmaTags::SetPicture(m_strMusicFileName.c_str(), imagePath) ? 1 : 0;
}
