// Captured-track stand-ins for the encoder and track-finish tests: canonical 44-byte-head WAV files
// of a given PCM, and a message-only window that collects what the encoders post.
#pragma once

#include "companions/AudioTagCore/EncodeFinishResult.h"

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

namespace qvltest {

// Deterministic, not silent, different in every sample position over a long stretch.
std::string TestPcm(size_t bytes);

// A RIFF WAVE file as the recorder writes it: "fmt " of 16 bytes, then "data".
std::string WavBytes(const std::string& pcm, WORD channels = 2, DWORD rate = 44100, WORD bits = 16);

class EncoderWindow {
public:
    EncoderWindow();
    ~EncoderWindow();
    EncoderWindow(const EncoderWindow&) = delete;
    EncoderWindow& operator=(const EncoderWindow&) = delete;

    HWND Get() const { return m_window; }
    void Pump();

    std::vector<std::pair<WPARAM, LPARAM>> progress;
    std::vector<std::unique_ptr<_AUDIO_ENCODE_FINISH_RESULT>> finished;

private:
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    HWND m_window;
};

} // namespace qvltest
