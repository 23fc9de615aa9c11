// WAV output: the PCM from the pipe copied unchanged into a new RIFF WAVE file.
#pragma once

#include "encode/PipelineEncoder.h"

class WavEncoder : public PipelineEncoder {
public:
    ~WavEncoder() override { Join(); }
    int IsReady() override { return 1; }

    // Thread exit codes.
    static constexpr unsigned kDone = 0;
    static constexpr unsigned kOutputNotOpened = 4;

protected:
    unsigned RunThread() override;
};
