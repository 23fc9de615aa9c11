// The metadata editor interface that the program and the WMA library share. An editor serves one
// music file; callers fill or read its buffer directly. The order of the virtual operations is part
// of the library's interface: the WMA library's editor is built on it.
#pragma once

#include "companions/AudioTagCore/TrackTags.h"
#include "companions/AudioTagCore/AudioTagCore.h"

#include <memory>

class AUDIOTAGCORE_API CMediaMetaDataEdit {
public:
    CMediaMetaDataEdit();
    explicit CMediaMetaDataEdit(const char* musicFileName);
    CMediaMetaDataEdit(const CMediaMetaDataEdit&) = delete;
    CMediaMetaDataEdit& operator=(const CMediaMetaDataEdit&) = delete;

    virtual ~CMediaMetaDataEdit();
    virtual void Set_strMusicFileName(const char* musicFileName);
    virtual const char* Get_strMusicFileName();
    // Fills the buffer from the file's tags; 1 on success.
    virtual int ReadMetaData();
    // Writes the whole buffer into the file's tags; 1 on success.
    virtual int WriteMetaData();
    // The forms the music file list uses around a rename. With titleOnly the read need only fill the
    // title and the write changes nothing but the title; without it they are the forms above.
    virtual int ReadMetaData(bool titleOnly);
    virtual int WriteMetaData(bool titleOnly);
    // Saves the file's picture as imagePath and returns the path of the saved picture, empty when
    // there is none.
    virtual TagString ReadArtImage(const char* imagePath);
    // Makes the picture in imagePath the file's picture; 1 on success.
    virtual int WriteArtImage(const char* imagePath);
    virtual void ClearMetaDataBuffer();
    virtual void Destroy();

    TrackTags m_metaData;

protected:
    TagString m_strMusicFileName;
};

// An editor goes through its own Destroy, never the caller's delete: the WMA library's editors
// live in the library's heap.
struct MetaDataEditorDestroyer {
    void operator()(CMediaMetaDataEdit* editor) const { editor->Destroy(); }
};
using ScopedMetaDataEditor = std::unique_ptr<CMediaMetaDataEdit, MetaDataEditorDestroyer>;
