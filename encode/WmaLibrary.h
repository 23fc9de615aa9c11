// Run-time access to WmaEncodeCore.dll. The library is optional: without it WMA is simply not
// offered.
#pragma once

#include "companions/AudioTagCore/MediaMetaDataEdit.h"

class IWMACodecInfoManager;
class CAudioEncoder;

namespace WmaLibrary {

// Loads "WmaEncodeCore.DLL" by bare name on first use and keeps it; a failed load is tried
// again at the next request. Null when it cannot be loaded.
void* Handle();

// The library's factories; null when the library or the factory is missing or refuses.
IWMACodecInfoManager* CreateCodecInfoManager();
CAudioEncoder* CreateEncoder();
// A tag editor for WMA files; the caller frees it with its Destroy.
CMediaMetaDataEdit* CreateWmaMetaDataEditor();

// An editor with the file selected; null without the library.
ScopedMetaDataEditor WmaEditorFor(const char* path);

} // namespace WmaLibrary
