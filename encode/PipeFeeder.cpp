#include "encode/PipeFeeder.h"

#include "app/framework/AbortWatch.h"
#include "encode/WaveFile.h"

#include <cstring>
#include <memory>

namespace {

constexpr DWORD kBlockBytes = 10240;

} // namespace

WavPipeFeeder::WavPipeFeeder() {
    std::memset(&m_params, 0, sizeof m_params);
}

WavPipeFeeder::~WavPipeFeeder() {
    m_thread.Join();
}

int WavPipeFeeder::Start(const PipeFeederParams& params) {
    if (params.pipeWrite == nullptr || params.abortEvent == nullptr || params.doneEvent == nullptr ||
        params.sourcePath[0] == '\0') {
        return 0;
    }
    const char* dot = strrchr(params.sourcePath, '.');
    if (dot == nullptr || _stricmp(dot + 1, "wav") != 0) {
        return 0;
    }
    m_params = params;
    return m_thread.Start(ThreadProc, this) ? 1 : 0;
}

unsigned __stdcall WavPipeFeeder::ThreadProc(void* feeder) {
    return static_cast<WavPipeFeeder*>(feeder)->Run();
}

unsigned WavPipeFeeder::Run() {
    if (m_params.sourcePath[0] == '\0') {
        return End(kNoSource);
    }
    WaveFile source;
    if (FAILED(source.Open(m_params.sourcePath, nullptr, WaveFile::kRead))) {
        return End(kSourceUnreadable);
    }
    auto block = std::make_unique<BYTE[]>(kBlockBytes);
    AbortWatch abort(m_params.abortEvent);
    DWORD read = 0;
    if (m_params.secondPipeWrite != nullptr) {
        // The two-pass encoder reads the whole track once before the main pass begins.
        bool failed = false;
        do {
            if (abort.Aborted()) {
                break;
            }
            failed = FAILED(source.Read(block.get(), kBlockBytes, &read));
            DWORD written = 0;
            if (read > 0 && !WriteFile(m_params.secondPipeWrite, block.get(), read, &written, nullptr)) {
                break;
            }
        } while (!failed && read == kBlockBytes);
        CloseHandle(m_params.secondPipeWrite);
        m_params.secondPipeWrite = nullptr;
        source.ResetFile();
    }
    unsigned exitCode = kDone;
    do {
        if (abort.Aborted() || FAILED(source.Read(block.get(), kBlockBytes, &read))) {
            exitCode = kStoppedEarly;
            break;
        }
        DWORD written = 0;
        if (read > 0 && !WriteFile(m_params.pipeWrite, block.get(), read, &written, nullptr)) {
            exitCode = kStoppedEarly;
            break;
        }
    } while (read == kBlockBytes);
    source.Close();
    return End(exitCode);
}

unsigned WavPipeFeeder::End(unsigned exitCode) {
    // Closing the write end is what tells the encoder the data has ended.
    CloseHandle(m_params.pipeWrite);
    if (m_params.secondPipeWrite != nullptr) {
        CloseHandle(m_params.secondPipeWrite);
    }
    HANDLE done = m_params.doneEvent;
    std::memset(&m_params, 0, sizeof m_params);
    SetEvent(done);
    return exitCode;
}
