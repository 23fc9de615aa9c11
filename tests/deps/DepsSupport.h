// What the dependency tests share: lame_enc.dll loaded the way the program loads it, a one-second
// tone encoded through it, a walk over MPEG audio frames, and a place to leave files for the
// check that runs outside Wine.
#pragma once

#include <windows.h>

#include <BladeMP3EncDLL.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace qvltest {

// lame_enc.dll from the test executable's own folder, entry points looked up by name.
class LameDll {
public:
    LameDll();
    ~LameDll();
    LameDll(const LameDll&) = delete;
    LameDll& operator=(const LameDll&) = delete;

    HMODULE Module() const { return m_module; }

    BEINITSTREAM initStream = nullptr;
    BEENCODECHUNK encodeChunk = nullptr;
    BEDEINITSTREAM deinitStream = nullptr;
    BECLOSESTREAM closeStream = nullptr;
    BEVERSION version = nullptr;
    BEWRITEVBRHEADER writeVbrHeader = nullptr;

private:
    HMODULE m_module = nullptr;
};

constexpr DWORD kToneSampleRate = 44100;
constexpr DWORD kToneBitrateKbps = 128;

// Encodes one second of a 16-bit stereo tone (440 Hz left, 660 Hz right) at 128 kbit/s CBR into
// the file, then lets the DLL fill in the LAME Info frame. Use inside ASSERT_NO_FATAL_FAILURE.
void EncodeTone(const LameDll& lame, const std::string& path);

} // namespace qvltest
