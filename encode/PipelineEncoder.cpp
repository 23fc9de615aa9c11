#include "encode/PipelineEncoder.h"

#include "companions/AudioTagCore/EncodeFinishResult.h"
#include "companions/qvllog/qvllog.h"
#include "app/framework/AbortWatch.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace {

constexpr DWORD kDefaultSampleRate = 44100;

} // namespace

PipelineEncoder::~PipelineEncoder() {
    m_thread.Join();
}

int PipelineEncoder::StartEncode(_AUDIO_ENCODE_WORK_PARAM* work) {
    if (IsReady() == 0 || work == nullptr || work->readPipe == nullptr || work->abortEvent == nullptr ||
        work->outputPath[0] == '\0' || !IsFormatSupported(work->format)) {
        return 0;
    }
    m_work = *work;
    if (m_work.channels != 1) {
        m_work.channels = 2;
    }
    if (m_work.sampleRate == 0) {
        m_work.sampleRate = kDefaultSampleRate;
    }
    return m_thread.Start(ThreadProc, this) ? 1 : 0;
}

bool PipelineEncoder::IsPlainPcm(const WAVEFORMATEX& format) {
    return format.wFormatTag == WAVE_FORMAT_PCM && (format.nChannels == 1 || format.nChannels == 2) &&
           (format.wBitsPerSample == 8 || format.wBitsPerSample == 16) &&
           format.nBlockAlign == format.nChannels * format.wBitsPerSample / 8;
}

unsigned __stdcall PipelineEncoder::ThreadProc(void* encoder) {
    return static_cast<PipelineEncoder*>(encoder)->RunThread();
}

void PipelineEncoder::RunLoop(BYTE* chunk, DWORD chunkBytes,
                              const std::function<bool(const BYTE* pcm, DWORD bytes)>& encode) {
    DWORD done = 0;
    bool pipeEnded = false;
    AbortWatch abort(m_work.abortEvent);
    for (;;) {
        if (m_work.notifyWindow != nullptr) {
            PostMessageA(m_work.notifyWindow, m_work.progressMessage, done >> 10, m_work.totalBytes >> 10);
        }
        if (abort.Aborted()) {
            break;
        }
        if (m_work.dataBytes > 0 && done >= m_work.dataBytes) {
            break;
        }
        DWORD filled = 0;
        while (filled < chunkBytes) {
            if (m_readAheadPos == m_readAheadEnd) {
                if (pipeEnded) {
                    break;
                }
                // Every pipe read is a round trip to the system: reading ahead in large blocks
                // keeps the pipeline as cheap as encoding from memory. A failed read ends the
                // data, the broken pipe normally, any other error early; what it brought counts.
                DWORD read = 0;
                pipeEnded = !ReadFile(m_work.readPipe, m_readAhead.data(),
                                      static_cast<DWORD>(m_readAhead.size()), &read, nullptr);
                m_readAheadPos = 0;
                m_readAheadEnd = read;
            }
            DWORD take = std::min(chunkBytes - filled, m_readAheadEnd - m_readAheadPos);
            std::memcpy(chunk + filled, m_readAhead.data() + m_readAheadPos, take);
            m_readAheadPos += take;
            filled += take;
        }
        bool keepGoing = filled == 0 || encode(chunk, filled);
        done += filled;
        if (!keepGoing || (pipeEnded && m_readAheadPos == m_readAheadEnd)) {
            break;
        }
    }
}

void PipelineEncoder::PostFinalProgress() {
    if (m_work.notifyWindow != nullptr) {
        PostMessageA(m_work.notifyWindow, m_work.progressMessage, m_work.totalBytes >> 10,
                     m_work.totalBytes >> 10);
    }
}

void PipelineEncoder::CloseReadPipe(const char* errorFormat) {
    if (!CloseHandle(m_work.readPipe)) {
        LogWrite(errorFormat, static_cast<unsigned>(reinterpret_cast<ULONG_PTR>(m_work.readPipe)),
                 static_cast<unsigned>(GetLastError()));
    }
    m_work.readPipe = nullptr;
}

unsigned PipelineEncoder::FinishThread(unsigned exitCode) {
    PostEncodeFinished(m_work);
    HANDLE done = m_work.doneEvent;
    m_work.ClearAll();
    SetEvent(done);
    return exitCode;
}
