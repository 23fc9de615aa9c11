// MP3 output: reads PCM from the pipe, encodes it with lame_enc.dll, then completes the file with
// the Info frame and the ID3 tags the settings ask for.
#pragma once

#include "encode/BladeEncoder.h"
#include "encode/Mp3Preset.h"
#include "encode/PipelineEncoder.h"

#include <memory>

class LameLibrary;

// The encoder configuration for a bitrate triple; a sample rate of 0 means 44,100 Hz, any channel
// count but 1 means stereo.
BE_CONFIG MakeLameConfig(const Mp3Preset& triple, DWORD sampleRate, DWORD channels);

// What one encode is configured with, copied when the track starts: a changed setting never
// reaches a track under way.
struct Mp3EncodeOptions {
    Mp3Preset preset{0, 160, 160};
    bool id3v1 = true;
    bool id3v2 = true;
};

class Mp3Encoder : public PipelineEncoder {
public:
    // Loads the library at once; IsReady tells whether that worked.
    explicit Mp3Encoder(const Mp3EncodeOptions& options = {});
    ~Mp3Encoder() override;

    int IsReady() override;
    // Plain PCM at one of the rates MPEG-1, 2 and 2.5 Layer III have frames for, as the library
    // encodes at the source's rate.
    bool IsFormatSupported(const WAVEFORMATEX& format) const override;

    // For tests that point the encoder at another copy of the library.
    LameLibrary& Library() { return *m_lame; }

protected:
    unsigned RunThread() override;

private:
    // From beInitStream to beCloseStream; returns the exit code.
    unsigned EncodeStream(HANDLE file, const Mp3Preset& triple);

    std::unique_ptr<LameLibrary> m_lame;
    Mp3EncodeOptions m_options;
};
