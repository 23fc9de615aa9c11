#include "encode/WavEncoder.h"

#include "encode/WaveFile.h"

#include <memory>

namespace {

constexpr DWORD kBufferBytes = 10240;

} // namespace

unsigned WavEncoder::RunThread() {
    WaveFile output;
    unsigned exitCode = kDone;
    auto buffer = std::make_unique<BYTE[]>(kBufferBytes);
    if (FAILED(output.Open(m_work.outputPath, &m_work.format, WaveFile::kWrite))) {
        exitCode = kOutputNotOpened;
    } else {
        DWORD chunkBytes = m_work.channels * 5 * 1024;
        RunLoop(buffer.get(), chunkBytes, [&output](const BYTE* pcm, DWORD bytes) {
            DWORD written = 0;
            output.Write(bytes, pcm, &written);
            return true;
        });
    }
    PostFinalProgress();
    CloseReadPipe("Close WAV read pipe handle error: handle=%x dwLastCode=0x%x");
    buffer.reset();
    output.Close();
    return FinishThread(exitCode);
}
