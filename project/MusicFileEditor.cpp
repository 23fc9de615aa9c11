#include "project/MusicFileEditor.h"

#include "app/Settings.h"
#include "encode/WmaLibrary.h"
#include "finish/Mp3MetaDataEdit.h"

#include <windows.h>

bool HasExtension(const std::string& path, const char* extension) {
    return path.size() >= 4 && _stricmp(path.c_str() + path.size() - 4, extension) == 0;
}

ScopedMetaDataEditor EditorFor(const std::string& path) {
    if (HasExtension(path, ".MP3")) {
        auto editor = std::make_unique<CMp3MetaDataEdit>(path.c_str());
        editor->m_bID3v1 = GetSettings().mp3.id3v1;
        editor->m_bID3v2 = GetSettings().mp3.id3v2;
        return ScopedMetaDataEditor(editor.release());
    }
    // Without the WMA library there is no way to reach a WMA file's tags.
    return HasExtension(path, ".WMA") ? WmaLibrary::WmaEditorFor(path.c_str()) : nullptr;
}
