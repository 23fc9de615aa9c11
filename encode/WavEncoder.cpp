#include "encode/WavEncoder.h"

#include "encode/WaveFile.h"

#include <memory>

namespace {

constexpr DWORD kBufferBytes = 10240;
constexpr DWORD kLowestRate = 8000;
constexpr DWORD kHighestRate = 192000;

} // namespace

bool WavEncoder::IsFormatSupported(const WAVEFORMATEX& format) const {
    return IsPlainPcm(format) && format.nSamplesPerSec >= kLowestRate &&
           format.nSamplesPerSec <= kHighestRate;
}

unsigned WavEncoder::RunThread() {
    WaveFile output;
    unsigned exitCode = kDone;
    auto buffer = std::make_unique<BYTE[]>(kBufferBytes);
    if (FAILED(output.Open(m_work.outputPath, &m_work.format, WaveFile::kWrite))) {
        exitCode = kOutputNotOpened;
    } else {
        DWORD chunkBytes = m_work.channels * 5 * 1024;
        RunLoop(buffer.get(), chunkBytes, [&output, &exitCode](const BYTE* pcm, DWORD bytes) {
            DWORD written = 0;
            if (FAILED(output.Write(bytes, pcm, &written)) || written != bytes) {
                exitCode = kWriteFailed;
                return false;
            }
            return true;
        });
    }
    PostFinalProgress();
    CloseReadPipe("Close WAV read pipe handle error: handle=%x dwLastCode=0x%x");
    buffer.reset();
    // What was written is still closed properly; only the sizes tell a full disk here.
    if (FAILED(output.Close()) && exitCode == kDone) {
        exitCode = kWriteFailed;
    }
    return FinishThread(exitCode);
}
