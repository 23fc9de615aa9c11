// What the engine tests share: a decoder of generated signals (so that every sample the device
// receives is known), a window that collects the engine's notifications, and the PCM that Wine's
// ALSA driver wrote to the capture file that QVL_AUDIO_CAPTURE names.
#pragma once

#include "player/Modules.h"

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

namespace qvltest {

// "signal:noise:<seed>:<frames>:<rate>:<channels>" or "signal:tone:<hertz>:<frames>:<rate>:<channels>";
// 16-bit PCM. Noise differs in every position, so a stretch of it is found in a capture exactly.
std::string SignalPath(const char* kind, int parameter, int frames, int rate = 44100, int channels = 2);
std::vector<int16_t> SignalSamples(const std::string& path);
// A WAV file of the signal, for the network tests.
std::string SignalWavBytes(const std::string& path);

// The test's decoder: claims "sig" and plays signal paths; every OpenFile is logged.
void InitSignalCodec(CodecModule* module);
std::vector<std::string> SignalOpenLog();
void ClearSignalOpenLog();

// Collects what the engine posts, in order; heap payloads are freed as they arrive.
class EngineWindow {
public:
    struct Note {
        UINT message;
        WPARAM wParam;
        LPARAM lParam;
        std::string text; // the output name that 0x8106 carried
    };
    EngineWindow();
    ~EngineWindow();
    EngineWindow(const EngineWindow&) = delete;
    EngineWindow& operator=(const EngineWindow&) = delete;

    HWND Get() const { return m_window; }
    // Pumps until a notification with this message (and wParam, unless -1) has arrived.
    bool WaitFor(UINT message, long long wParam, DWORD timeoutMs);
    void Pump(DWORD ms);
    std::vector<Note> Notes() const;
    int Count(UINT message, long long wParam = -1) const;

private:
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    HWND m_window = nullptr;
};

// The capture file's path (Z:...), empty when the tests run without the audio capture.
std::string CapturePath();
// Empties the capture file, so that a test sees only its own sound.
void ClearCapture();
// The captured samples, once the file has stopped growing for quietMs; float32 captures (what
// Wine's DirectSound mixer writes) are taken back to 16 bits.
std::vector<int16_t> CaptureSamples(DWORD quietMs = 400, DWORD timeoutMs = 30000, bool float32 = false);
long long CaptureBytes();

// Where source[from .. from + probe) first appears in capture, searching from captureFrom; -1 if
// nowhere. Then how many samples from there on agree with the source.
long long FindInCapture(const std::vector<int16_t>& capture, const std::vector<int16_t>& source, size_t from,
                        size_t probe = 256, size_t captureFrom = 0);
size_t AgreeingRun(const std::vector<int16_t>& capture, size_t at, const std::vector<int16_t>& source,
                   size_t from);
double Rms(const std::vector<int16_t>& samples, size_t from, size_t count);

} // namespace qvltest
