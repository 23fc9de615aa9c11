#include "tests/support/PcmFixtures.h"

#include "app/Messages.h"

#include <mmreg.h>

#include <cmath>
#include <cstring>

namespace qvltest {

std::string TestPcm(size_t bytes) {
    std::string pcm(bytes, '\0');
    for (size_t i = 0; i + 1 < bytes; i += 2) {
        auto sample = static_cast<int16_t>(9000 * std::sin(static_cast<double>(i) * 0.0123) +
                                           3000 * std::sin(static_cast<double>(i) * 0.00071));
        std::memcpy(&pcm[i], &sample, 2);
    }
    return pcm;
}

std::string WavBytes(const std::string& pcm, WORD channels, DWORD rate, WORD bits) {
    auto put32 = [](std::string& out, DWORD value) { out.append(reinterpret_cast<const char*>(&value), 4); };
    auto put16 = [](std::string& out, WORD value) { out.append(reinterpret_cast<const char*>(&value), 2); };
    std::string wav = "RIFF";
    put32(wav, static_cast<DWORD>(36 + pcm.size()));
    wav += "WAVEfmt ";
    put32(wav, 16);
    put16(wav, WAVE_FORMAT_PCM);
    put16(wav, channels);
    put32(wav, rate);
    put32(wav, rate * channels * bits / 8);
    put16(wav, static_cast<WORD>(channels * bits / 8));
    put16(wav, bits);
    wav += "data";
    put32(wav, static_cast<DWORD>(pcm.size()));
    return wav + pcm;
}

EncoderWindow::EncoderWindow() {
    m_window = CreateWindowExA(0, "STATIC", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    SetWindowLongPtrA(m_window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    SetWindowLongPtrA(m_window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(Procedure));
}

EncoderWindow::~EncoderWindow() {
    Pump();
    DestroyWindow(m_window);
}

void EncoderWindow::Pump() {
    MSG msg;
    while (PeekMessageA(&msg, m_window, 0, 0, PM_REMOVE)) {
        DispatchMessageA(&msg);
    }
}

LRESULT CALLBACK EncoderWindow::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<EncoderWindow*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (message == WM_ENCODE_PROGRESS) {
        self->progress.emplace_back(wParam, lParam);
        return 0;
    }
    if (message == WM_TRACK_ENCODED) {
        self->finished.emplace_back(reinterpret_cast<_AUDIO_ENCODE_FINISH_RESULT*>(lParam));
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

} // namespace qvltest
