#include "tests/companions/WmaLibraries.h"

#include "app/Messages.h"
#include "encode/PipeFeeder.h"
#include "encode/WaveFile.h"
#include "tests/support/TestSupport.h"

#include <cmath>
#include <cstring>
#include <numbers>

namespace qvltest {

namespace {

constexpr DWORD kPipeBytes = 0x100000;
constexpr DWORD kWmaDriverConstant = 192;

// The ANSI name a test loads a library by; the program looks in its own folder first, as here.
HMODULE LoadBeside(const char* name) {
    return LoadLibraryA((BinFolder() + "\\" + name).c_str());
}

} // namespace

WmaLibraries::WmaLibraries()
    : m_encode(LoadBeside("WmaEncodeCore.dll")), m_decode(LoadBeside("WmaDecodeCore.dll")) {}

WmaLibraries::~WmaLibraries() {
    // Kept loaded: objects of the library may still be on their way out on other threads, and the
    // program, too, keeps it for the life of the process.
}

void* WmaLibraries::Factory(const char* name) {
    using WmaFactory = int(__cdecl*)(int reserved, void** object);
    auto factory = reinterpret_cast<WmaFactory>(GetProcAddress(m_encode, name));
    void* object = nullptr;
    if (factory != nullptr && factory(0, &object) != 1) {
        return nullptr;
    }
    return object;
}

IWMACodecInfoManager* WmaLibraries::NewManager() {
    return static_cast<IWMACodecInfoManager*>(Factory("CreateWMACodeInfoManagerObject"));
}

CAudioEncoder* WmaLibraries::NewEncoder() {
    return static_cast<CAudioEncoder*>(Factory("CreateWMAEncoderObject"));
}

CMediaMetaDataEdit* WmaLibraries::NewEditor() {
    return static_cast<CMediaMetaDataEdit*>(Factory("CreateWMAMetaDataEditObject"));
}

WmaLibraries::Decoded WmaLibraries::Decode(const std::string& path, DWORD blockBytes) {
    auto initialise = reinterpret_cast<FnWMAInitalize>(GetProcAddress(m_decode, "fnWMAInitalize"));
    auto open = reinterpret_cast<FnWMAOpenFile>(GetProcAddress(m_decode, "fnWMAOpenFile"));
    auto block = reinterpret_cast<FnGetPCMBlock>(GetProcAddress(m_decode, "fnGetPCMBlock"));
    auto close = reinterpret_cast<FnWMADeInitalize>(GetProcAddress(m_decode, "fnWMADeInitalize"));
    Decoded decoded;
    if (initialise == nullptr || open == nullptr || block == nullptr || close == nullptr ||
        initialise() < 0) {
        return decoded;
    }
    decoded.openResult = open(path.c_str(), &decoded.state);
    if (decoded.openResult < 0) {
        return decoded;
    }
    std::vector<BYTE> buffer(blockBytes);
    for (;;) {
        DWORD bytes = blockBytes;
        if (block(&decoded.state, buffer.data(), &bytes) <= 0) {
            break;
        }
        size_t at = decoded.pcm.size();
        decoded.pcm.resize(at + bytes / 2);
        std::memcpy(decoded.pcm.data() + at, buffer.data(), bytes / 2 * 2);
    }
    close(&decoded.state);
    return decoded;
}

int RunTrack(CAudioEncoder& encoder, const std::string& wav, const std::string& output, const TrackTags& tags,
             EncoderWindow& window, _AUDIO_ENCODE_WORK_PARAM& work, bool abortMidway) {
    WAVEFORMATEX format{};
    DWORD dataBytes = 0;
    {
        WaveFile source;
        if (FAILED(source.Open(wav.c_str(), nullptr, WaveFile::kRead))) {
            return -1;
        }
        std::memcpy(&format, source.Format(), sizeof format);
        dataBytes = source.DataSize();
    }
    HANDLE abort = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    HANDLE done[2] = {CreateEventA(nullptr, TRUE, FALSE, nullptr),
                      CreateEventA(nullptr, TRUE, FALSE, nullptr)};
    HANDLE pipeRead = nullptr;
    HANDLE pipeWrite = nullptr;
    CreatePipe(&pipeRead, &pipeWrite, nullptr, kPipeBytes);

    PipeFeederParams params{};
    params.pipeWrite = pipeWrite;
    params.abortEvent = abort;
    params.doneEvent = done[0];
    lstrcpynA(params.sourcePath, wav.c_str(), MAX_PATH);

    work.ClearAll();
    work.readPipe = pipeRead;
    work.format = format;
    work.abortEvent = abort;
    work.doneEvent = done[1];
    work.dataBytes = dataBytes;
    work.sampleRate = format.nSamplesPerSec;
    work.formatConstant = kWmaDriverConstant;
    work.channels = format.nChannels;
    lstrcpynA(work.outputPath, output.c_str(), MAX_PATH);
    work.notifyWindow = window.Get();
    work.progressMessage = WM_ENCODE_PROGRESS;
    work.finishedMessage = WM_TRACK_ENCODED;
    work.tags = tags;
    work.totalBytes = dataBytes;
    lstrcpynA(work.sourcePath, wav.c_str(), MAX_PATH);

    int started = 0;
    {
        WavPipeFeeder feeder;
        if (feeder.Start(params) == 0) {
            CloseHandle(pipeWrite);
            SetEvent(done[0]);
        }
        started = encoder.StartEncode(&work);
        if (started == 0) {
            CloseHandle(pipeRead);
            SetEvent(done[1]);
        }
        bool aborted = false;
        while (WaitForMultipleObjects(2, done, TRUE, 10) == WAIT_TIMEOUT) {
            window.Pump();
            if (abortMidway && !aborted && !window.progress.empty()) {
                SetEvent(abort);
                aborted = true;
            }
        }
        feeder.Join();
    }
    window.Pump();
    for (HANDLE event : {abort, done[0], done[1]}) {
        CloseHandle(event);
    }
    return started;
}

std::vector<int16_t> SweepPcm(double seconds) {
    const size_t frames = static_cast<size_t>(seconds * 44100);
    std::vector<int16_t> pcm(frames * 2);
    double left = 0;
    double right = 0;
    for (size_t i = 0; i < frames; ++i) {
        double t = static_cast<double>(i) / frames;
        left += 2 * std::numbers::pi * (200 + 3800 * t) / 44100;
        right += 2 * std::numbers::pi * (4000 - 3700 * t) / 44100;
        pcm[2 * i] = static_cast<int16_t>(12000 * std::sin(left));
        pcm[2 * i + 1] = static_cast<int16_t>(9000 * std::sin(right));
    }
    return pcm;
}

std::string PcmBytes(const std::vector<int16_t>& pcm) {
    return std::string(reinterpret_cast<const char*>(pcm.data()), pcm.size() * 2);
}

std::string CoverPicture() {
    std::string picture = "\xFF\xD8\xFF\xE0";
    for (int i = 0; i < 600; ++i) {
        picture += static_cast<char>((i * 37 + 11) % 256);
    }
    return picture + "\xFF\xD9";
}

double Correlation(const std::vector<int16_t>& a, const std::vector<int16_t>& b, long lag) {
    double dot = 0;
    double aa = 0;
    double bb = 0;
    for (size_t i = 0; i < a.size(); ++i) {
        long j = static_cast<long>(i) + lag;
        if (j < 0 || j >= static_cast<long>(b.size())) {
            continue;
        }
        dot += static_cast<double>(a[i]) * b[j];
        aa += static_cast<double>(a[i]) * a[i];
        bb += static_cast<double>(b[j]) * b[j];
    }
    return aa > 0 && bb > 0 ? dot / std::sqrt(aa * bb) : 0;
}

} // namespace qvltest
