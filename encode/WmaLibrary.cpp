#include "encode/WmaLibrary.h"

#include "companions/AudioTagCore/MediaMetaDataEdit.h"

#include <windows.h>

namespace {

// Every factory takes a reserved 0 and the address that receives the new object.
using WmaFactory = int(__cdecl*)(int reserved, void** object);

HMODULE g_library = nullptr;

void* CallFactory(const char* name) {
    HMODULE library = static_cast<HMODULE>(WmaLibrary::Handle());
    if (library == nullptr) {
        return nullptr;
    }
    auto factory = reinterpret_cast<WmaFactory>(GetProcAddress(library, name));
    if (factory == nullptr) {
        return nullptr;
    }
    void* object = nullptr;
    factory(0, &object);
    return object;
}

} // namespace

void* WmaLibrary::Handle() {
    // Kept for the life of the process: the objects it makes are used up to the last moment.
    if (g_library == nullptr) {
        g_library = LoadLibraryA("WmaEncodeCore.DLL");
    }
    return g_library;
}

IWMACodecInfoManager* WmaLibrary::CreateCodecInfoManager() {
    return static_cast<IWMACodecInfoManager*>(CallFactory("CreateWMACodeInfoManagerObject"));
}

CAudioEncoder* WmaLibrary::CreateEncoder() {
    return static_cast<CAudioEncoder*>(CallFactory("CreateWMAEncoderObject"));
}

CMediaMetaDataEdit* WmaLibrary::CreateWmaMetaDataEditor() {
    return static_cast<CMediaMetaDataEdit*>(CallFactory("CreateWMAMetaDataEditObject"));
}

ScopedMetaDataEditor WmaLibrary::WmaEditorFor(const char* path) {
    ScopedMetaDataEditor editor(CreateWmaMetaDataEditor());
    if (editor != nullptr) {
        editor->Set_strMusicFileName(path);
    }
    return editor;
}
