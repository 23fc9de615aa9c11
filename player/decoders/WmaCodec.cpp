// The WMA decoder: a thin adapter over WmaDecodeCore.dll, which does the decoding in a state block
// of ours. The library has no seek of its own, so a seek decodes up to the place and drops the PCM.
#include "player/decoders/WmaCodec.h"

#include "app/framework/AppFolders.h"
#include "companions/WmaDecodeCore/WmaDecodeCore.h"

#include <shellapi.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

constexpr char kLibraryName[] = "WmaDecodeCore.dll";
constexpr char kMissingLibraryText[] =
    "WMA is not supported yet!\n\nYou need to download the latest version of Windows Media Player to add WMA "
    "support.\n\nWould you like to read more information about how to download now? ";
constexpr char kDownloadPage[] = "http://www.microsoft.com/windows/windowsmedia/download/";

struct WmaState {
    std::string folder;
    HMODULE library = nullptr;
    FnWMAInitalize initialise = nullptr;
    FnWMAOpenFile openFile = nullptr;
    FnGetPCMBlock getPCMBlock = nullptr;
    FnWMADeInitalize deinitialise = nullptr;
    WmaDecodeState decode{};
    bool open = false;
    std::string path;
    uint64_t delivered = 0; // PCM bytes handed out (or skipped) since the file was opened
};

WmaState& StateOf(CodecModule* module) {
    return *static_cast<WmaState*>(module->state);
}

// What the player shows before any file is open.
void SetDefaultInfo(WmaDecodeState& decode) {
    decode.lengthSeconds = 276;
    decode.reserved = 0;
    decode.sampleRate = 44100;
    decode.stereo = 1;
    decode.sixteenBit = 1;
}

bool LoadLibraryOnce(WmaState& state) {
    if (state.library != nullptr) {
        return true;
    }
    const std::string path = JoinPath(state.folder, kLibraryName);
    // Only the program's own copy: a library of that name elsewhere on the search path is not ours.
    HMODULE library = LoadLibraryExA(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
    if (library == nullptr) {
        return false;
    }
    state.initialise = reinterpret_cast<FnWMAInitalize>(GetProcAddress(library, "fnWMAInitalize"));
    state.openFile = reinterpret_cast<FnWMAOpenFile>(GetProcAddress(library, "fnWMAOpenFile"));
    state.getPCMBlock = reinterpret_cast<FnGetPCMBlock>(GetProcAddress(library, "fnGetPCMBlock"));
    state.deinitialise = reinterpret_cast<FnWMADeInitalize>(GetProcAddress(library, "fnWMADeInitalize"));
    if (state.initialise == nullptr || state.openFile == nullptr || state.getPCMBlock == nullptr ||
        state.deinitialise == nullptr) {
        FreeLibrary(library);
        state.initialise = nullptr;
        state.openFile = nullptr;
        state.getPCMBlock = nullptr;
        state.deinitialise = nullptr;
        return false;
    }
    state.library = library;
    return true;
}

void OfferDownload() {
    if (MessageBoxA(nullptr, kMissingLibraryText, "Error", MB_YESNO | MB_ICONERROR) == IDYES) {
        ShellExecuteA(nullptr, "open", kDownloadPage, nullptr, nullptr, SW_SHOWNORMAL);
    }
}

void WmaCloseFile(CodecModule* module) {
    WmaState& state = StateOf(module);
    if (state.open) {
        state.deinitialise(&state.decode);
        state.open = false;
    }
    state.delivered = 0;
}

// Opens the file into the state block, keeping the path for a seek that must start again.
bool OpenIntoState(WmaState& state, const std::string& path) {
    WmaDecodeState decode = state.decode;
    decode.decoder = nullptr;
    if (state.initialise() < 0 || state.openFile(path.c_str(), &decode) < 0) {
        return false;
    }
    state.decode = decode;
    state.open = true;
    state.delivered = 0;
    return true;
}

int WmaOpenFile(CodecModule* module, const char* path, DWORD, HWND) {
    WmaCloseFile(module);
    WmaState& state = StateOf(module);
    if (!LoadLibraryOnce(state)) {
        OfferDownload();
        return 0;
    }
    state.path = path != nullptr ? path : "";
    return OpenIntoState(state, state.path) ? 1 : 0;
}

uint32_t FrameBytes(const WmaDecodeState& decode) {
    return (decode.stereo != 0 ? 2u : 1u) * 2u;
}

void WmaSeek(CodecModule* module, int numerator, int denominator) {
    WmaState& state = StateOf(module);
    if (!state.open || denominator <= 0 || numerator < 0) {
        return;
    }
    const uint64_t frames = uint64_t{state.decode.durationMs} * state.decode.sampleRate / 1000;
    uint64_t target = frames * static_cast<uint64_t>(numerator) / static_cast<uint64_t>(denominator);
    target = std::min(target, frames) * FrameBytes(state.decode);
    if (target < state.delivered) {
        state.deinitialise(&state.decode);
        state.open = false;
        if (!OpenIntoState(state, state.path)) {
            return;
        }
    }
    std::vector<BYTE> scratch(64 * 1024);
    while (state.delivered < target) {
        DWORD bytes = static_cast<DWORD>(std::min<uint64_t>(scratch.size(), target - state.delivered));
        if (state.getPCMBlock(&state.decode, scratch.data(), &bytes) <= 0 || bytes == 0) {
            break;
        }
        state.delivered += bytes;
    }
}

void WmaGetFileInfo(CodecModule* module, FileInfo* info) {
    const WmaDecodeState& decode = StateOf(module).decode;
    info->lengthSeconds = static_cast<int32_t>(decode.lengthSeconds);
    info->reserved = static_cast<int32_t>(decode.reserved);
    info->sampleRate = static_cast<int32_t>(decode.sampleRate);
    info->stereo = static_cast<int32_t>(decode.stereo);
    info->bits16 = static_cast<int32_t>(decode.sixteenBit);
}

int WmaGetPCMBlock(CodecModule* module, void* buffer, DWORD* inOutBytes) {
    WmaState& state = StateOf(module);
    if (!state.open) {
        *inOutBytes = 0;
        return 0;
    }
    if (state.getPCMBlock(&state.decode, static_cast<BYTE*>(buffer), inOutBytes) <= 0 || *inOutBytes == 0) {
        *inOutBytes = 0;
        return 0;
    }
    state.delivered += *inOutBytes;
    return 1;
}

int WmaGetCurrentPos(CodecModule* module) {
    WmaState& state = StateOf(module);
    const uint64_t bytesPerSecond = uint64_t{state.decode.sampleRate} * FrameBytes(state.decode);
    return state.open && bytesPerSecond != 0 ? static_cast<int>(state.delivered / bytesPerSecond) : 0;
}

void WmaUninitialise(CodecModule* module) {
    if (module->state != nullptr) {
        WmaCloseFile(module);
        WmaState& state = StateOf(module);
        if (state.library != nullptr) {
            FreeLibrary(state.library);
        }
        delete &state;
        module->state = nullptr;
    }
    FreeCodecExtensions(*module);
}

} // namespace

void InitWmaCodecFromFolder(CodecModule* module, const char* folder) {
    *module = CodecModule{};
    module->Uninitialise = WmaUninitialise;
    module->OpenFile = WmaOpenFile;
    module->CloseFile = WmaCloseFile;
    module->Seek = WmaSeek;
    module->GetFileInfo = WmaGetFileInfo;
    module->GetPCMBlock = WmaGetPCMBlock;
    module->GetCurrentPos = WmaGetCurrentPos;
    auto* state = new WmaState;
    state->folder = folder != nullptr ? folder : ".";
    SetDefaultInfo(state->decode);
    module->state = state;
    AddCodecExtension(*module, "WMA", 0);
}

void InitWmaCodec(CodecModule* module) {
    InitWmaCodecFromFolder(module, ProgramFolder().c_str());
}
