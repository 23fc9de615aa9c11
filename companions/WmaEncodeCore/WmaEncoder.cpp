#include "companions/WmaEncodeCore/WmaEncoder.h"

#include "companions/AudioTagCore/EncodeFinishResult.h"
#include "companions/AudioTagCore/EncodeOutcome.h"
#include "companions/WmaEncodeCore/WmaFileWriter.h"
#include "companions/WmaEncodeCore/WmaTags.h"
#include "app/framework/AbortWatch.h"
#include "companions/AudioTagCore/WmaCodecInfo.h"

extern "C" {
#include <libavcodec/avcodec.h>
}

#include <process.h>

#include <algorithm>
#include <cstdio>
#include <cstring>

// The offsets the driver fills on the 64-bit build, where handles and pointers are 8 bytes wide.
#ifdef _WIN64
static_assert(offsetof(_AUDIO_ENCODE_WORK_PARAM, format) == 0x008);
static_assert(offsetof(_AUDIO_ENCODE_WORK_PARAM, abortEvent) == 0x020);
static_assert(offsetof(_AUDIO_ENCODE_WORK_PARAM, doneEvent) == 0x028);
static_assert(offsetof(_AUDIO_ENCODE_WORK_PARAM, dataBytes) == 0x030);
static_assert(offsetof(_AUDIO_ENCODE_WORK_PARAM, outputPath) == 0x040);
static_assert(offsetof(_AUDIO_ENCODE_WORK_PARAM, notifyWindow) == 0x148);
static_assert(offsetof(_AUDIO_ENCODE_WORK_PARAM, secondReadPipe) == 0x158);
static_assert(offsetof(_AUDIO_ENCODE_WORK_PARAM, tags) == 0x160);
static_assert(offsetof(_AUDIO_ENCODE_WORK_PARAM, totalBytes) == 0x218);
static_assert(offsetof(_AUDIO_ENCODE_WORK_PARAM, reserved) == 0x320);
#else
static_assert(offsetof(_AUDIO_ENCODE_WORK_PARAM, reserved) == 0x2A8);
#endif

namespace {

constexpr DWORD kDefaultSampleRate = 44100;
constexpr DWORD kLowestRate = 8000;
constexpr DWORD kHighestRate = 192000;
// Every pipe read is a round trip to the system: reading ahead in large blocks keeps the
// pipeline as cheap as encoding from memory.
constexpr DWORD kReadAheadBytes = 256 * 1024;
// Sample frames per chunk: progress for every 4096 frames, under 0.1 s of CD audio.
constexpr DWORD kChunkFrames = 4096;

bool IsEncodablePcm(const WAVEFORMATEX& format) {
    return format.wFormatTag == WAVE_FORMAT_PCM && (format.nChannels == 1 || format.nChannels == 2) &&
           (format.wBitsPerSample == 8 || format.wBitsPerSample == 16) &&
           format.nBlockAlign == format.nChannels * format.wBitsPerSample / 8 &&
           format.nSamplesPerSec >= kLowestRate && format.nSamplesPerSec <= kHighestRate;
}

unsigned ExitCodeOf(WmaFileWriter::Status status) {
    switch (status) {
    case WmaFileWriter::Status::kOk:
        return EncodeOutcome::kDone;
    case WmaFileWriter::Status::kFileNotCreated:
        return EncodeOutcome::kFileNotCreated;
    case WmaFileWriter::Status::kInitFailed:
        return EncodeOutcome::kInitFailed;
    case WmaFileWriter::Status::kEncodeFailed:
        return EncodeOutcome::kEncodeFailed;
    case WmaFileWriter::Status::kWriteFailed:
        return EncodeOutcome::kWriteFailed;
    }
    return EncodeOutcome::kEncodeFailed;
}

} // namespace

CWmaEncoder::CWmaEncoder() : m_readAhead(kReadAheadBytes) {}

CWmaEncoder::~CWmaEncoder() {
    Join();
}

int CWmaEncoder::IsReady() {
    return avcodec_find_encoder(AV_CODEC_ID_WMAV1) != nullptr &&
                   avcodec_find_encoder(AV_CODEC_ID_WMAV2) != nullptr
               ? 1
               : 0;
}

void CWmaEncoder::Join() {
    if (m_thread != nullptr) {
        WaitForSingleObject(m_thread, INFINITE);
        CloseHandle(m_thread);
        m_thread = nullptr;
    }
}

int CWmaEncoder::StartEncode(_AUDIO_ENCODE_WORK_PARAM* work) {
    // The last track's thread has set its done event and is at most on its way out.
    Join();
    if (IsReady() == 0 || work == nullptr || work->readPipe == nullptr || work->abortEvent == nullptr ||
        work->outputPath[0] == '\0' || !IsEncodablePcm(work->format)) {
        return 0;
    }
    // The choice is taken once, here: the options dialog may change it while the track runs.
    int codec = WmaFormatTable::kDefaultCodec;
    int format = WmaFormatTable::kDefaultFormat;
    int sampleRate = static_cast<int>(kDefaultSampleRate);
    int channels = 2;
    if (m_pCodecInfoManager != nullptr) {
        m_pCodecInfoManager->GetChoice(&codec, &format);
        m_pCodecInfoManager->GetInputFormat(&sampleRate, &channels, nullptr);
    }
    m_format = WmaFormatTable::Format(codec, format, sampleRate, channels);

    m_work = *work;
    if (m_work.channels != 1) {
        m_work.channels = 2;
    }
    if (m_work.sampleRate == 0) {
        m_work.sampleRate = kDefaultSampleRate;
    }
    m_caller = work;
    m_caller->reserved[0] = 0;
    m_caller->reserved[1] = 0;
    // _beginthreadex rather than CreateThread: the thread uses the C runtime.
    m_thread = reinterpret_cast<HANDLE>(_beginthreadex(nullptr, 0, ThreadProc, this, 0, nullptr));
    if (m_thread == nullptr) {
        m_caller = nullptr;
        m_work.ClearAll();
        return 0;
    }
    return 1;
}

unsigned __stdcall CWmaEncoder::ThreadProc(void* encoder) {
    return static_cast<CWmaEncoder*>(encoder)->Run();
}

unsigned CWmaEncoder::Run() {
    SkipSecondPipe();

    unsigned exitCode = EncodeOutcome::kDone;
    bool aborted = false;
    bool opened = false;
    bool created = false;
    {
        WmaFileWriter writer;
        WmaFileWriter::Status status = writer.Open(m_work.outputPath, m_format, m_work.format);
        opened = status == WmaFileWriter::Status::kOk;
        created = writer.FileCreated();
        if (opened) {
            aborted = ReadPipe(kChunkFrames * m_work.format.nBlockAlign, [&](const BYTE* pcm, DWORD bytes) {
                status = writer.Write(pcm, bytes);
                return status == WmaFileWriter::Status::kOk;
            });
            // What was encoded is completed all the same: after an abort or a failure the file
            // still plays up to where it stopped.
            WmaFileWriter::Status finished = writer.Finish();
            if (status == WmaFileWriter::Status::kOk) {
                status = finished;
            }
        }
        exitCode = ExitCodeOf(status);
    }
    CloseReadPipes();

    if (opened && !WmaTags::Write(m_work.outputPath, m_work.tags, false) &&
        exitCode == EncodeOutcome::kDone) {
        exitCode = EncodeOutcome::kTagsNotWritten;
    }
    if (aborted && exitCode == EncodeOutcome::kDone) {
        exitCode = EncodeOutcome::kAborted;
    }
    // A file the encoder or the disk gave up on is no track: it goes, and a driver that only asks
    // whether a file was left cannot mistake it for one. An aborted track keeps what was encoded.
    if (created && exitCode != EncodeOutcome::kDone && exitCode != EncodeOutcome::kAborted) {
        DeleteFileA(m_work.outputPath);
    }
    PostProgress(m_work.totalBytes);
    return Finish(exitCode);
}

void CWmaEncoder::SkipSecondPipe() {
    if (m_work.secondReadPipe == nullptr) {
        return;
    }
    AbortWatch abort(m_work.abortEvent);
    DWORD read = 0;
    while (!abort.Aborted() && ReadFile(m_work.secondReadPipe, m_readAhead.data(),
                                        static_cast<DWORD>(m_readAhead.size()), &read, nullptr)) {
    }
    CloseHandle(m_work.secondReadPipe);
    m_work.secondReadPipe = nullptr;
}

template <typename Encode> bool CWmaEncoder::ReadPipe(DWORD chunkBytes, Encode encode) {
    std::vector<BYTE> chunk(chunkBytes);
    DWORD done = 0;
    DWORD aheadPos = 0;
    DWORD aheadEnd = 0;
    bool pipeEnded = false;
    AbortWatch abort(m_work.abortEvent);
    for (;;) {
        PostProgress(done);
        if (abort.Aborted()) {
            return true;
        }
        if (m_work.dataBytes > 0 && done >= m_work.dataBytes) {
            return false;
        }
        DWORD filled = 0;
        while (filled < chunkBytes) {
            if (aheadPos == aheadEnd) {
                if (pipeEnded) {
                    break;
                }
                // A failed read ends the data, the broken pipe normally, any other error early;
                // what it brought counts.
                DWORD read = 0;
                pipeEnded = !ReadFile(m_work.readPipe, m_readAhead.data(),
                                      static_cast<DWORD>(m_readAhead.size()), &read, nullptr);
                aheadPos = 0;
                aheadEnd = read;
            }
            DWORD take = std::min(chunkBytes - filled, aheadEnd - aheadPos);
            std::memcpy(chunk.data() + filled, m_readAhead.data() + aheadPos, take);
            aheadPos += take;
            filled += take;
        }
        bool keepGoing = filled == 0 || encode(chunk.data(), filled);
        done += filled;
        if (!keepGoing || (pipeEnded && aheadPos == aheadEnd)) {
            return false;
        }
    }
}

void CWmaEncoder::PostProgress(DWORD done) {
    if (m_work.notifyWindow != nullptr) {
        PostMessageA(m_work.notifyWindow, m_work.progressMessage, done >> 10, m_work.totalBytes >> 10);
    }
}

// Closing the read end releases a feeder blocked on a full pipe: its write fails and it ends.
void CWmaEncoder::CloseReadPipes() {
    if (m_work.secondReadPipe != nullptr) {
        CloseHandle(m_work.secondReadPipe);
        m_work.secondReadPipe = nullptr;
    }
    if (m_work.readPipe != nullptr) {
        CloseHandle(m_work.readPipe);
        m_work.readPipe = nullptr;
    }
}

unsigned CWmaEncoder::Finish(unsigned exitCode) {
    PostEncodeFinished(m_work);
    // The caller's record outlives its wait for the done event, and is not read before it.
    m_caller->reserved[0] = exitCode == EncodeOutcome::kDone ? EncodeOutcome::kWhole : 0;
    m_caller->reserved[1] = exitCode;
    m_caller = nullptr;
    HANDLE done = m_work.doneEvent;
    m_work.ClearAll();
    SetEvent(done);
    return exitCode;
}
