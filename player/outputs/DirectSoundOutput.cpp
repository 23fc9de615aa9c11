#include "player/outputs/DirectSoundOutput.h"

#include "player/outputs/OutputFeed.h"

#include <mmsystem.h>
#include <dsound.h>

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {

constexpr DWORD kBufferBytes = 65536;
// About 4 refills per quarter of the buffer at 44.1 kHz stereo: the engine thread never has to be
// quick, only regular.
constexpr UINT kTimerPeriodMs = 20;
constexpr unsigned kTailMs = 150;

struct DirectSoundState {
    IDirectSound* sound = nullptr;
    IDirectSoundBuffer* buffer = nullptr;
    UINT timer = 0;
    FileInfo info = {};
    DWORD blockAlign = 4;
    BYTE silence = 0;
    // Positions as byte counts since the buffer started, so that the wrap of the ring is no
    // ambiguity: written is what we gave it, played what its play cursor has passed.
    unsigned long long written = 0;
    unsigned long long played = 0;
    DWORD lastCursor = 0;
    bool paused = false;
    // The buffer plays only once the first audio is in it: a buffer started on silence has its
    // mixer ahead of the first block written, and the start of the file would be lost.
    bool started = false;
    bool ended = false;
    unsigned long long dataEnd = 0;
    BYTE shadow[kBufferBytes] = {};
    BYTE work[kBufferBytes] = {};
};

DirectSoundState* State(OutputModule* module) {
    auto* state = static_cast<DirectSoundState*>(module->state);
    return state != nullptr && state->buffer != nullptr ? state : nullptr;
}

void CopyIn(DirectSoundState* state, DWORD offset, const BYTE* data, DWORD bytes) {
    void* first = nullptr;
    void* second = nullptr;
    DWORD firstBytes = 0;
    DWORD secondBytes = 0;
    if (SUCCEEDED(state->buffer->Lock(offset, bytes, &first, &firstBytes, &second, &secondBytes, 0))) {
        std::memcpy(first, data, firstBytes);
        if (second != nullptr) {
            std::memcpy(second, data + firstBytes, secondBytes);
        }
        state->buffer->Unlock(first, firstBytes, second, secondBytes);
    }
}

void Track(DirectSoundState* state) {
    DWORD cursor = 0;
    DWORD mixed = 0;
    if (FAILED(state->buffer->GetCurrentPosition(&cursor, &mixed))) {
        return;
    }
    state->played += (cursor + kBufferBytes - state->lastCursor) % kBufferBytes;
    state->lastCursor = cursor;
    // The mixer has already taken everything up to its write cursor: audio written behind it is
    // never heard. When we fall behind (at the start, or after a stall) we continue from there.
    unsigned long long committed = state->played + (mixed + kBufferBytes - cursor) % kBufferBytes;
    committed += (state->blockAlign - committed % state->blockAlign) % state->blockAlign;
    if (committed > state->written) {
        state->written = committed;
    }
}

DWORD FreeBytes(const DirectSoundState* state) {
    DWORD queued = static_cast<DWORD>(state->written - state->played);
    DWORD free = kBufferBytes - queued;
    return free - free % state->blockAlign;
}

void WriteSilence(DirectSoundState* state) {
    DWORD free = FreeBytes(state);
    if (free == 0) {
        return;
    }
    DWORD offset = static_cast<DWORD>(state->written % kBufferBytes);
    std::memset(state->work, state->silence, free);
    CopyIn(state, offset, state->work, free);
    state->written += free;
}

void Uninitialise(OutputModule* module);

void Initialise(OutputModule* module, const FileInfo* info, EqualiserModule* equaliser) {
    Uninitialise(module);
    module->equaliser = equaliser;
    module->bufferEvent = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    auto* state = new DirectSoundState;
    module->state = state;
    state->info = *info;
    state->silence = info->bits16 ? 0 : 0x80;

    WAVEFORMATEX format{};
    format.wFormatTag = WAVE_FORMAT_PCM;
    format.nChannels = info->stereo ? 2 : 1;
    format.nSamplesPerSec = static_cast<DWORD>(info->sampleRate);
    format.wBitsPerSample = info->bits16 ? 16 : 8;
    format.nBlockAlign = static_cast<WORD>(format.nChannels * format.wBitsPerSample / 8);
    format.nAvgBytesPerSec = format.nSamplesPerSec * format.nBlockAlign;
    state->blockAlign = format.nBlockAlign;

    if (FAILED(DirectSoundCreate(nullptr, &state->sound, nullptr))) {
        state->sound = nullptr;
        return;
    }
    state->sound->SetCooperativeLevel(GetDesktopWindow(), DSSCL_NORMAL);
    DSBUFFERDESC description{};
    description.dwSize = sizeof(description);
    description.dwFlags = DSBCAPS_GLOBALFOCUS | DSBCAPS_CTRLVOLUME | DSBCAPS_GETCURRENTPOSITION2;
    description.dwBufferBytes = kBufferBytes;
    description.lpwfxFormat = &format;
    if (FAILED(state->sound->CreateSoundBuffer(&description, &state->buffer, nullptr))) {
        state->buffer = nullptr;
        return;
    }
    std::memset(state->work, state->silence, kBufferBytes);
    CopyIn(state, 0, state->work, kBufferBytes);
    state->buffer->SetCurrentPosition(0);
    state->timer = timeSetEvent(kTimerPeriodMs, kTimerPeriodMs / 4,
                                reinterpret_cast<LPTIMECALLBACK>(module->bufferEvent), 0,
                                TIME_PERIODIC | TIME_CALLBACK_EVENT_SET);
    SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_TIME_CRITICAL);
}

// Plays the buffer when it is not paused and holds audio.
void StartWhenReady(DirectSoundState* state) {
    if (!state->started && !state->paused && state->written > 0) {
        state->started = true;
        state->buffer->Play(0, 0, DSBPLAY_LOOPING);
    }
}

void Uninitialise(OutputModule* module) {
    auto* state = static_cast<DirectSoundState*>(module->state);
    if (state != nullptr) {
        SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_NORMAL);
        if (state->timer != 0) {
            timeKillEvent(state->timer);
        }
        if (state->buffer != nullptr) {
            state->buffer->Stop();
            state->buffer->Release();
        }
        if (state->sound != nullptr) {
            state->sound->Release();
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
    DirectSoundState* state = State(module);
    if (state == nullptr) {
        return;
    }
    Track(state);
    while (module->codec != nullptr) {
        DWORD offset = static_cast<DWORD>(state->written % kBufferBytes);
        DWORD bytes = std::min(FreeBytes(state), kBufferBytes - offset);
        bytes -= bytes % state->blockAlign;
        if (bytes == 0) {
            break;
        }
        bool ended = false;
        bytes = FeedBlock(module, state->shadow + offset, state->work, bytes, state->info, &ended);
        if (bytes > 0) {
            CopyIn(state, offset, state->work, bytes);
            state->written += bytes;
        }
        if (ended) {
            state->ended = true;
            state->dataEnd = state->written;
            WriteSilence(state);
        } else if (bytes == 0) {
            break;
        }
    }
    StartWhenReady(state);
}

void SetPause(OutputModule* module, int pause) {
    DirectSoundState* state = State(module);
    if (state == nullptr) {
        return;
    }
    state->paused = pause == 1;
    if (state->paused) {
        state->buffer->Stop();
    } else if (state->started) {
        state->buffer->Play(0, 0, DSBPLAY_LOOPING);
    } else {
        StartWhenReady(state);
    }
}

int IsOutputComplete(OutputModule* module) {
    DirectSoundState* state = State(module);
    if (state == nullptr) {
        return 1;
    }
    Track(state);
    if (state->ended) {
        // Behind the end only silence may follow, or the loop would repeat the last 64 KiB.
        WriteSilence(state);
        // The play cursor passes audio as it goes to the device, not as the device plays it:
        // closing at once would cut off the device's own latency's worth of the end.
        unsigned long long tail = state->info.sampleRate * state->blockAlign * kTailMs / 1000ull;
        return state->played >= state->dataEnd + tail ? 1 : 0;
    }
    return state->played >= state->written ? 1 : 0;
}

void Flush(OutputModule* module) {
    DirectSoundState* state = State(module);
    if (state == nullptr) {
        return;
    }
    state->buffer->Stop();
    std::memset(state->work, state->silence, kBufferBytes);
    CopyIn(state, 0, state->work, kBufferBytes);
    state->buffer->SetCurrentPosition(0);
    state->written = state->played = 0;
    state->lastCursor = 0;
    state->ended = false;
    // Started again by the next refill, once the audio from the new place is in.
    state->started = false;
}

void OnEQChanged(OutputModule* module) {
    DirectSoundState* state = State(module);
    if (state == nullptr || module->equaliser == nullptr) {
        return;
    }
    DWORD play = 0;
    DWORD write = 0;
    if (FAILED(state->buffer->GetCurrentPosition(&play, &write))) {
        return;
    }
    // What lies behind the write cursor is the device's already; the rest can still change.
    unsigned long long from = state->played + (write + kBufferBytes - play) % kBufferBytes;
    unsigned long long to = state->ended ? std::min(state->dataEnd, state->written) : state->written;
    from += (state->blockAlign - from % state->blockAlign) % state->blockAlign;
    while (from < to) {
        DWORD offset = static_cast<DWORD>(from % kBufferBytes);
        DWORD bytes = static_cast<DWORD>(std::min<unsigned long long>(to - from, kBufferBytes - offset));
        std::memcpy(state->work, state->shadow + offset, bytes);
        module->equaliser->Apply(module->equaliser, state->work, bytes, &state->info);
        CopyIn(state, offset, state->work, bytes);
        from += bytes;
    }
}

void SetInternalVolume(OutputModule* module, int volume) {
    DirectSoundState* state = State(module);
    if (state != nullptr) {
        state->buffer->SetVolume(DirectSoundVolumeFor(volume));
    }
}

DWORD GetQueuedBytes(OutputModule* module) {
    DirectSoundState* state = State(module);
    if (state == nullptr) {
        return 0;
    }
    Track(state);
    // The silence written behind the end is not the file's.
    const unsigned long long audio = state->ended ? std::min(state->dataEnd, state->written) : state->written;
    return audio > state->played ? static_cast<DWORD>(audio - state->played) : 0;
}

} // namespace

LONG DirectSoundVolumeFor(int volume) {
    if (volume <= 0) {
        return DSBVOLUME_MIN;
    }
    if (volume >= 100) {
        return DSBVOLUME_MAX;
    }
    return std::max<LONG>(DSBVOLUME_MIN, std::lround(2000.0 * std::log10(volume / 100.0)));
}

void InitDirectSoundOutput(OutputModule* module) {
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
    module->name = "DirectSound output";
}
