#include "player/outputs/WaveOutOutput.h"

#include "player/outputs/OutputFeed.h"

#include <mmsystem.h>

#include <algorithm>
#include <iterator>
#include <cstring>

namespace {

constexpr int kBufferCount = 16;
constexpr DWORD kBufferBytes = 262144;
// Device buffers in the first half, their shadows in the second.
constexpr SIZE_T kBlockBytes = 8u * 1024 * 1024;
static_assert(kBufferCount * kBufferBytes * 2 == kBlockBytes);

struct WaveOutState {
    HWAVEOUT device = nullptr;
    BYTE* block = nullptr;
    WAVEHDR headers[kBufferCount] = {};
    bool queued[kBufferCount] = {};
    // Buffers go to the device in ring order so that they also complete in it.
    int next = 0;
    // Bytes written since the device was opened or reset, as the device counts its position.
    DWORD written = 0;
    FileInfo info = {};
};

WaveOutState* State(OutputModule* module) {
    return static_cast<WaveOutState*>(module->state);
}

BYTE* Shadow(WaveOutState* state, int index) {
    return state->block + kBlockBytes / 2 + static_cast<SIZE_T>(index) * kBufferBytes;
}

bool IsFree(const WaveOutState* state, int index) {
    return !state->queued[index] || (state->headers[index].dwFlags & WHDR_DONE) != 0;
}

void Uninitialise(OutputModule* module);

void Initialise(OutputModule* module, const FileInfo* info, EqualiserModule* equaliser) {
    Uninitialise(module);
    module->equaliser = equaliser;
    module->bufferEvent = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    auto* state = new WaveOutState;
    module->state = state;
    state->info = *info;

    WAVEFORMATEX format{};
    format.wFormatTag = WAVE_FORMAT_PCM;
    format.nChannels = info->stereo ? 2 : 1;
    format.nSamplesPerSec = static_cast<DWORD>(info->sampleRate);
    format.wBitsPerSample = info->bits16 ? 16 : 8;
    format.nBlockAlign = static_cast<WORD>(format.nChannels * format.wBitsPerSample / 8);
    format.nAvgBytesPerSec = format.nSamplesPerSec * format.nBlockAlign;
    if (waveOutOpen(&state->device, WAVE_MAPPER, &format, reinterpret_cast<DWORD_PTR>(module->bufferEvent), 0,
                    CALLBACK_EVENT) != MMSYSERR_NOERROR) {
        state->device = nullptr;
        return;
    }
    state->block =
        static_cast<BYTE*>(VirtualAlloc(nullptr, kBlockBytes, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE));
    if (state->block == nullptr) {
        waveOutClose(state->device);
        state->device = nullptr;
        return;
    }
    for (int i = 0; i < kBufferCount; ++i) {
        WAVEHDR& header = state->headers[i];
        header.lpData = reinterpret_cast<LPSTR>(state->block + static_cast<SIZE_T>(i) * kBufferBytes);
        header.dwBufferLength = kBufferBytes;
        waveOutPrepareHeader(state->device, &header, sizeof(header));
    }
    // The device must never starve while the decoder works: the buffers are long, but the thread
    // that fills them must win against the rest of the program when one comes back.
    SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_TIME_CRITICAL);
}

void Uninitialise(OutputModule* module) {
    WaveOutState* state = State(module);
    if (state != nullptr) {
        SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_NORMAL);
        if (state->device != nullptr) {
            // A paused device keeps its buffers; restarting first lets the reset hand them all back.
            waveOutRestart(state->device);
            waveOutReset(state->device);
            for (WAVEHDR& header : state->headers) {
                header.dwBufferLength = kBufferBytes;
                waveOutUnprepareHeader(state->device, &header, sizeof(header));
            }
            VirtualFree(state->block, 0, MEM_RELEASE);
            waveOutClose(state->device);
        }
        delete state;
        module->state = nullptr;
    }
    if (module->bufferEvent != nullptr) {
        CloseHandle(module->bufferEvent);
        module->bufferEvent = nullptr;
    }
}

void RefillBuffers(OutputModule* module) {
    WaveOutState* state = State(module);
    if (state == nullptr || state->device == nullptr) {
        return;
    }
    while (module->codec != nullptr && IsFree(state, state->next)) {
        int index = state->next;
        WAVEHDR& header = state->headers[index];
        bool ended = false;
        DWORD bytes = FeedBlock(module, Shadow(state, index), reinterpret_cast<BYTE*>(header.lpData),
                                kBufferBytes, state->info, &ended);
        if (bytes > 0) {
            header.dwBufferLength = bytes;
            header.dwFlags &= ~WHDR_DONE;
            state->queued[index] = waveOutWrite(state->device, &header, sizeof(header)) == MMSYSERR_NOERROR;
            state->written += state->queued[index] ? bytes : 0;
            state->next = (index + 1) % kBufferCount;
        }
        if (!ended && bytes == 0) {
            // A network stream with nothing yet: try again when the next buffer comes back.
            break;
        }
    }
}

void SetPause(OutputModule* module, int pause) {
    WaveOutState* state = State(module);
    if (state == nullptr || state->device == nullptr) {
        return;
    }
    if (pause == 1) {
        waveOutPause(state->device);
    } else {
        waveOutRestart(state->device);
    }
}

int IsOutputComplete(OutputModule* module) {
    WaveOutState* state = State(module);
    if (state == nullptr || state->device == nullptr) {
        return 1;
    }
    for (int i = 0; i < kBufferCount; ++i) {
        if (!IsFree(state, i)) {
            return 0;
        }
    }
    return 1;
}

void Flush(OutputModule* module) {
    WaveOutState* state = State(module);
    if (state == nullptr || state->device == nullptr) {
        return;
    }
    waveOutReset(state->device);
    std::fill(std::begin(state->queued), std::end(state->queued), false);
    state->next = 0;
    state->written = 0;
}

void OnEQChanged(OutputModule* module) {
    WaveOutState* state = State(module);
    if (state == nullptr || state->device == nullptr || module->equaliser == nullptr) {
        return;
    }
    // Walk in play order so that the filter runs through the queued audio as it will sound.
    for (int step = 0; step < kBufferCount; ++step) {
        int index = (state->next + step) % kBufferCount;
        if (IsFree(state, index)) {
            continue;
        }
        WAVEHDR& header = state->headers[index];
        std::memcpy(header.lpData, Shadow(state, index), header.dwBufferLength);
        module->equaliser->Apply(module->equaliser, header.lpData, header.dwBufferLength, &state->info);
    }
}

void SetInternalVolume(OutputModule* module, int volume) {
    WaveOutState* state = State(module);
    if (state == nullptr || state->device == nullptr) {
        return;
    }
    waveOutSetVolume(state->device, WaveOutVolumeFor(volume));
}

DWORD GetQueuedBytes(OutputModule* module) {
    WaveOutState* state = State(module);
    if (state == nullptr || state->device == nullptr) {
        return 0;
    }
    MMTIME played{};
    played.wType = TIME_BYTES;
    if (waveOutGetPosition(state->device, &played, sizeof(played)) == MMSYSERR_NOERROR &&
        played.wType == TIME_BYTES) {
        // Both counts run modulo 4 GB alike, so the difference survives their wrap.
        const DWORD queued = state->written - played.u.cb;
        return queued <= kBufferCount * kBufferBytes ? queued : 0;
    }
    // A device that cannot tell its position: whole buffers still queued.
    DWORD queued = 0;
    for (int i = 0; i < kBufferCount; ++i) {
        queued += IsFree(state, i) ? 0 : state->headers[i].dwBufferLength;
    }
    return queued;
}

} // namespace

DWORD WaveOutVolumeFor(int volume) {
    DWORD level = std::min<DWORD>(static_cast<DWORD>(std::max(volume, 0)) * 656, 65535);
    return MAKELONG(level, level);
}

void InitWaveOutOutput(OutputModule* module) {
    *module = OutputModule{};
    module->Initialise = Initialise;
    module->Uninitialise = Uninitialise;
    module->RefillBuffers = RefillBuffers;
    module->SetPause = SetPause;
    module->IsOutputComplete = IsOutputComplete;
    module->Flush = Flush;
    module->OnEQChanged = OnEQChanged;
    module->SetInternalVolume = SetInternalVolume;
    module->GetQueuedBytes = GetQueuedBytes;
    module->name = "Wave mapper output";
}
