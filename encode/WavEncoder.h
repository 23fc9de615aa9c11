// WAV output: the PCM from the pipe copied unchanged into a new RIFF WAVE file.
#pragma once

#include "encode/PipelineEncoder.h"

class WavEncoder : public PipelineEncoder {
public:
    ~WavEncoder() override { Join(); }
    int IsReady() override { return 1; }
    // Plain PCM at 8,000 to 192,000 Hz: the rates players and sound cards handle.
    bool IsFormatSupported(const WAVEFORMATEX& format) const override;

    // Thread exit codes.
    static constexpr unsigned kOutputNotOpened = 4;
    // The disk refused data or the closing sizes: the file is not whole.
    static constexpr unsigned kWriteFailed = 9;

protected:
    unsigned RunThread() override;
};
