#include "player/Equaliser.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <new>

namespace {

constexpr double kPi = 3.14159265358979323846;
// One octave between the -3 dB points of a peaking band.
constexpr double kBandQ = 1.41;

struct Biquad {
    float b0, b1, b2, a1, a2;
};

// Everything lives inside the module's fixed private block: the engine copies module records by
// value and never allocates for the equaliser.
struct EqualiserState {
    EqualiserSettings settings;
    int32_t sampleRate;
    int32_t activeBands;
    float preamp;
    int32_t bandOfSlot[kEqualiserBands];
    Biquad filters[kEqualiserBands];
    // Transposed direct form II memory: [channel][slot][2].
    float memory[2][kEqualiserBands][2];
    bool dirty;
};
static_assert(sizeof(EqualiserState) <= sizeof(EqualiserModule::privateBlock));

EqualiserState& State(EqualiserModule* module) {
    return *std::launder(reinterpret_cast<EqualiserState*>(module->privateBlock));
}

double Decibels(int32_t tenths) {
    return std::clamp(tenths, kEqualiserMinTenthsDb, kEqualiserMaxTenthsDb) / 10.0;
}

void Design(EqualiserState& state, int sampleRate) {
    state.sampleRate = sampleRate;
    state.preamp = static_cast<float>(std::pow(10.0, Decibels(state.settings.preampTenthsDb) / 20.0));
    state.activeBands = 0;
    for (int band = 0; band < kEqualiserBands; ++band) {
        int32_t tenths = state.settings.bandTenthsDb[band];
        if (tenths == 0 || kEqualiserBandHz[band] >= sampleRate * 0.45) {
            continue;
        }
        double a = std::pow(10.0, Decibels(tenths) / 40.0);
        double w0 = 2 * kPi * kEqualiserBandHz[band] / sampleRate;
        double alpha = std::sin(w0) / (2 * kBandQ);
        double a0 = 1 + alpha / a;
        Biquad& f = state.filters[state.activeBands];
        f.b0 = static_cast<float>((1 + alpha * a) / a0);
        f.b1 = static_cast<float>(-2 * std::cos(w0) / a0);
        f.b2 = static_cast<float>((1 - alpha * a) / a0);
        f.a1 = f.b1;
        f.a2 = static_cast<float>((1 - alpha / a) / a0);
        // A band that moved to another slot must not inherit its neighbour's memory.
        if (state.bandOfSlot[state.activeBands] != band) {
            std::memset(state.memory[0][state.activeBands], 0, sizeof(state.memory[0][0]));
            std::memset(state.memory[1][state.activeBands], 0, sizeof(state.memory[1][0]));
            state.bandOfSlot[state.activeBands] = band;
        }
        ++state.activeBands;
    }
    for (int slot = state.activeBands; slot < kEqualiserBands; ++slot) {
        state.bandOfSlot[slot] = -1;
    }
    state.dirty = false;
}

float Filter(EqualiserState& state, int channel, float x) {
    x *= state.preamp;
    for (int slot = 0; slot < state.activeBands; ++slot) {
        const Biquad& f = state.filters[slot];
        float* z = state.memory[channel][slot];
        float y = f.b0 * x + z[0];
        z[0] = f.b1 * x - f.a1 * y + z[1];
        z[1] = f.b2 * x - f.a2 * y;
        x = y;
    }
    return x;
}

void Initialise(EqualiserModule* module) {
    std::memset(module->privateBlock, 0, sizeof(module->privateBlock));
    EqualiserState& state = *new (module->privateBlock) EqualiserState{};
    for (int& band : state.bandOfSlot) {
        band = -1;
    }
    state.dirty = true;
}

void Free(EqualiserModule* module) {
    std::memset(module->privateBlock, 0, sizeof(module->privateBlock));
}

void SetSettings(EqualiserModule* module, const void* settings) {
    EqualiserState& state = State(module);
    std::memcpy(&state.settings, settings, sizeof(EqualiserSettings));
    state.dirty = true;
}

void Apply(EqualiserModule* module, void* pcm, DWORD bytes, const FileInfo* info) {
    EqualiserState& state = State(module);
    if (!state.settings.enabled || info == nullptr || info->sampleRate <= 0) {
        return;
    }
    if (state.dirty || state.sampleRate != info->sampleRate) {
        Design(state, info->sampleRate);
    }
    int channels = info->stereo ? 2 : 1;
    if (info->bits16) {
        auto* samples = static_cast<int16_t*>(pcm);
        DWORD count = bytes / 2;
        for (DWORD i = 0; i < count; ++i) {
            float y = Filter(state, static_cast<int>(i % channels), samples[i]);
            samples[i] = static_cast<int16_t>(std::lrint(std::clamp(y, -32768.0f, 32767.0f)));
        }
    } else {
        auto* samples = static_cast<uint8_t*>(pcm);
        for (DWORD i = 0; i < bytes; ++i) {
            float y = Filter(state, static_cast<int>(i % channels), (samples[i] - 128) * 256.0f);
            samples[i] = static_cast<uint8_t>(std::clamp(std::lrint(y / 256.0f), -128L, 127L) + 128);
        }
    }
}

} // namespace

void InitEqualiser(EqualiserModule* module) {
    module->Initialise = Initialise;
    module->Free = Free;
    module->SetSettings = SetSettings;
    module->Apply = Apply;
    Initialise(module);
}
