#include "tools/recsim/SampleAudio.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace recsim {
namespace {

constexpr double kSampleRate = 44100.0;
constexpr size_t kTableSize = 4096;
constexpr size_t kBytesPerSampleFrame = 4;

// One period of a tone built from harmonics (amplitude of harmonic h = weight(h)), scaled to a
// peak of 1.
template <typename Weight> std::array<float, kTableSize + 1> MakeWave(int harmonics, Weight weight) {
    std::array<float, kTableSize + 1> wave{};
    for (size_t index = 0; index <= kTableSize; ++index) {
        double x = 2 * std::numbers::pi * static_cast<double>(index) / kTableSize;
        double value = 0;
        for (int h = 1; h <= harmonics; ++h) {
            value += weight(h) * std::sin(h * x);
        }
        wave[index] = static_cast<float>(value);
    }
    float peak = 0;
    for (float value : wave) {
        peak = std::max(peak, std::fabs(value));
    }
    for (float& value : wave) {
        value /= peak;
    }
    return wave;
}

const std::array<float, kTableSize + 1>& SoftWave() {
    static const auto wave = MakeWave(6, [](int h) { return 1.0 / (h * h); });
    return wave;
}

const std::array<float, kTableSize + 1>& BrightWave() {
    static const auto wave = MakeWave(9, [](int h) { return (h % 2 == 1 ? 1.0 : 0.5) / h; });
    return wave;
}

// Equal temperament around A4 = 440 Hz, by MIDI note number.
double NoteFrequency(int note) {
    static const auto frequencies = [] {
        std::array<double, 128> table{};
        for (size_t index = 0; index < table.size(); ++index) {
            table[index] = 440.0 * std::pow(2.0, (static_cast<double>(index) - 69) / 12.0);
        }
        return table;
    }();
    return frequencies[static_cast<size_t>(note)];
}

double Tone(const std::array<float, kTableSize + 1>& wave, int note, double time) {
    double phase = NoteFrequency(note) * time;
    double position = (phase - std::floor(phase)) * kTableSize;
    size_t index = static_cast<size_t>(position);
    double fraction = position - static_cast<double>(index);
    return wave[index] + (wave[index + 1] - wave[index]) * fraction;
}

// A short linear attack, then an exponential decay.
double Envelope(double sinceStart, double attack, double decay) {
    return sinceStart < attack ? sinceStart / attack : std::exp(-(sinceStart - attack) / decay);
}

int16_t ToSample(double value) {
    return static_cast<int16_t>(std::lround(std::clamp(value, -1.0, 1.0) * 32767.0));
}

} // namespace

const SampleAudio::Style SampleAudio::kStyles[] = {
    {60, 96.0, {{{0, 4, 7}, {9, 12, 16}, {5, 9, 12}, {7, 11, 14}}}},
    {57, 120.0, {{{0, 3, 7}, {8, 12, 15}, {3, 7, 10}, {10, 14, 17}}}},
    {53, 84.0, {{{0, 4, 7}, {5, 9, 12}, {2, 5, 9}, {7, 11, 14}}}},
};

SampleAudio::SampleAudio(size_t piece) : m_style(kStyles[piece % std::size(kStyles)]) {}

void SampleAudio::Read(uint64_t offset, std::span<uint8_t> out) {
    const double beat = 60.0 / m_style.beatsPerMinute;
    const double bar = 4 * beat;
    uint64_t first = offset / kBytesPerSampleFrame;
    for (size_t frame = 0; frame < out.size() / kBytesPerSampleFrame; ++frame) {
        double time = static_cast<double>(first + frame) / kSampleRate;
        double barStart = std::floor(time / bar) * bar;
        const auto& chord = m_style.chords[static_cast<size_t>(time / bar) % m_style.chords.size()];
        double inBar = time - barStart;

        double pad = 0;
        for (int interval : chord) {
            pad += Tone(SoftWave(), m_style.rootNote + interval, time);
        }
        pad *= Envelope(inBar, 0.04, 1.6) / 3;

        double inBeat = std::fmod(inBar, beat);
        double bass =
            Tone(BrightWave(), m_style.rootNote - 12 + chord[0], time) * Envelope(inBeat, 0.005, 0.3);

        size_t step = static_cast<size_t>(inBar / (beat / 2));
        double inStep = inBar - static_cast<double>(step) * (beat / 2);
        double arpeggio =
            Tone(BrightWave(), m_style.rootNote + 12 + chord[step % 3], time) * Envelope(inStep, 0.003, 0.12);
        double arpeggioLeft = step % 2 == 0 ? 0.8 : 0.3;

        double left = 0.45 * pad + 0.35 * bass + 0.25 * arpeggio * arpeggioLeft;
        double right = 0.45 * pad + 0.35 * bass + 0.25 * arpeggio * (1.1 - arpeggioLeft);
        int16_t samples[2] = {ToSample(left), ToSample(right)};
        uint8_t* bytes = &out[frame * kBytesPerSampleFrame];
        for (int16_t sample : samples) {
            *bytes++ = static_cast<uint8_t>(sample & 0xFF);
            *bytes++ = static_cast<uint8_t>((sample >> 8) & 0xFF);
        }
    }
}

} // namespace recsim
