#include "tests/player/EngineTestSupport.h"

#include "tests/support/PcmFixtures.h"
#include "tests/support/TestSupport.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <mutex>

namespace qvltest {

namespace {

struct SignalShape {
    bool tone = false;
    int parameter = 0;
    int frames = 0;
    int rate = 44100;
    int channels = 2;
};

bool ParseSignal(const char* path, SignalShape& shape) {
    char kind[16] = {};
    if (std::sscanf(path, "signal:%15[a-z]:%d:%d:%d:%d", kind, &shape.parameter, &shape.frames, &shape.rate,
                    &shape.channels) != 5) {
        return false;
    }
    shape.tone = std::strcmp(kind, "tone") == 0;
    return shape.frames > 0 && shape.rate > 0 && (shape.channels == 1 || shape.channels == 2);
}

int16_t SampleAt(const SignalShape& shape, long long index) {
    if (shape.tone) {
        long long frame = index / shape.channels;
        return static_cast<int16_t>(
            std::lrint(8000.0 * std::sin(2 * 3.14159265358979 * shape.parameter * frame / shape.rate)));
    }
    // A hash of the position, not a running generator: seeking needs any sample directly.
    uint32_t x = static_cast<uint32_t>(index) * 2654435761u ^ static_cast<uint32_t>(shape.parameter) * 40503u;
    x ^= x >> 15;
    x *= 2246822519u;
    x ^= x >> 13;
    return static_cast<int16_t>(static_cast<int>(x % 16001) - 8000);
}

struct SignalState {
    SignalShape shape;
    long long position = 0; // in samples
};

std::mutex g_logLock;
std::vector<std::string> g_openLog;

SignalState* State(CodecModule* module) {
    return static_cast<SignalState*>(module->state);
}

void SignalClose(CodecModule* module) {
    delete State(module);
    module->state = nullptr;
}

int SignalOpen(CodecModule* module, const char* path, DWORD, HWND) {
    SignalClose(module);
    SignalShape shape;
    if (!ParseSignal(path, shape)) {
        return 0;
    }
    {
        std::lock_guard<std::mutex> lock(g_logLock);
        g_openLog.push_back(path);
    }
    module->state = new SignalState{shape, 0};
    return 1;
}

void SignalSeek(CodecModule* module, int numerator, int denominator) {
    SignalState* state = State(module);
    if (state != nullptr && denominator > 0) {
        long long frame = static_cast<long long>(state->shape.frames) * numerator / denominator;
        state->position = frame * state->shape.channels;
    }
}

void SignalInfo(CodecModule* module, FileInfo* info) {
    SignalState* state = State(module);
    *info = {};
    if (state != nullptr) {
        info->lengthSeconds = state->shape.frames / state->shape.rate;
        info->sampleRate = state->shape.rate;
        info->stereo = state->shape.channels == 2;
        info->bits16 = 1;
    }
}

int SignalBlock(CodecModule* module, void* buffer, DWORD* inOutBytes) {
    SignalState* state = State(module);
    if (state == nullptr) {
        *inOutBytes = 0;
        return 0;
    }
    long long total = static_cast<long long>(state->shape.frames) * state->shape.channels;
    long long count = std::min<long long>(*inOutBytes / 2, total - state->position);
    count -= count % state->shape.channels;
    auto* samples = static_cast<int16_t*>(buffer);
    for (long long i = 0; i < count; ++i) {
        samples[i] = SampleAt(state->shape, state->position + i);
    }
    state->position += count;
    *inOutBytes = static_cast<DWORD>(count * 2);
    return state->position < total ? 1 : 0;
}

int SignalPos(CodecModule* module) {
    SignalState* state = State(module);
    return state == nullptr ? 0
                            : static_cast<int>(state->position / state->shape.channels / state->shape.rate);
}

void SignalUninitialise(CodecModule* module) {
    SignalClose(module);
    FreeCodecExtensions(*module);
}

std::mutex g_notesLock;
std::vector<EngineWindow::Note> g_notes;

} // namespace

std::string SignalPath(const char* kind, int parameter, int frames, int rate, int channels) {
    char path[128];
    std::snprintf(path, sizeof(path), "signal:%s:%d:%d:%d:%d", kind, parameter, frames, rate, channels);
    return path;
}

std::vector<int16_t> SignalSamples(const std::string& path) {
    SignalShape shape;
    std::vector<int16_t> samples;
    if (ParseSignal(path.c_str(), shape)) {
        samples.resize(static_cast<size_t>(shape.frames) * shape.channels);
        for (size_t i = 0; i < samples.size(); ++i) {
            samples[i] = SampleAt(shape, static_cast<long long>(i));
        }
    }
    return samples;
}

std::string SignalWavBytes(const std::string& path) {
    SignalShape shape;
    ParseSignal(path.c_str(), shape);
    std::vector<int16_t> samples = SignalSamples(path);
    return WavBytes(std::string(reinterpret_cast<const char*>(samples.data()), samples.size() * 2),
                    static_cast<WORD>(shape.channels), static_cast<DWORD>(shape.rate));
}

void InitSignalCodec(CodecModule* module) {
    *module = CodecModule{};
    module->Uninitialise = SignalUninitialise;
    module->OpenFile = SignalOpen;
    module->CloseFile = SignalClose;
    module->Seek = SignalSeek;
    module->GetFileInfo = SignalInfo;
    module->GetPCMBlock = SignalBlock;
    module->GetCurrentPos = SignalPos;
    AddCodecExtension(*module, "sig", 0);
}

std::vector<std::string> SignalOpenLog() {
    std::lock_guard<std::mutex> lock(g_logLock);
    return g_openLog;
}

void ClearSignalOpenLog() {
    std::lock_guard<std::mutex> lock(g_logLock);
    g_openLog.clear();
}

EngineWindow::EngineWindow() {
    {
        std::lock_guard<std::mutex> lock(g_notesLock);
        g_notes.clear();
    }
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = Procedure;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "QvlEngineTestWindow";
    RegisterClassA(&windowClass);
    m_window = CreateWindowA("QvlEngineTestWindow", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                             GetModuleHandleA(nullptr), nullptr);
}

EngineWindow::~EngineWindow() {
    Pump(0);
    DestroyWindow(m_window);
}

LRESULT CALLBACK EngineWindow::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if ((message >= 0x8101 && message <= 0x8107) || message == WM_USER + 1479) {
        std::string text;
        if (message == 0x8102) {
            delete reinterpret_cast<FileInfo*>(wParam);
        } else if (message == 0x8106) {
            text = reinterpret_cast<const char*>(wParam);
            delete[] reinterpret_cast<char*>(wParam);
        }
        std::lock_guard<std::mutex> lock(g_notesLock);
        g_notes.push_back({message, wParam, lParam, text});
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

void EngineWindow::Pump(DWORD ms) {
    DWORD start = GetTickCount();
    do {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            DispatchMessageA(&msg);
        }
        if (ms > 0) {
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
        }
    } while (GetTickCount() - start < ms);
}

bool EngineWindow::WaitFor(UINT message, long long wParam, DWORD timeoutMs) {
    DWORD start = GetTickCount();
    for (;;) {
        Pump(0);
        if (Count(message, wParam) > 0) {
            return true;
        }
        if (GetTickCount() - start > timeoutMs) {
            return false;
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
}

std::vector<EngineWindow::Note> EngineWindow::Notes() const {
    std::lock_guard<std::mutex> lock(g_notesLock);
    return g_notes;
}

int EngineWindow::Count(UINT message, long long wParam) const {
    std::lock_guard<std::mutex> lock(g_notesLock);
    return static_cast<int>(std::count_if(g_notes.begin(), g_notes.end(), [&](const Note& note) {
        return note.message == message && (wParam < 0 || note.wParam == static_cast<WPARAM>(wParam));
    }));
}

std::string CapturePath() {
    char path[MAX_PATH] = {};
    DWORD length = GetEnvironmentVariableA("QVL_AUDIO_CAPTURE", path, sizeof(path));
    return length > 0 && length < sizeof(path) ? path : "";
}

long long CaptureBytes() {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!GetFileAttributesExA(CapturePath().c_str(), GetFileExInfoStandard, &data)) {
        return 0;
    }
    return (static_cast<long long>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

void ClearCapture() {
    HANDLE file = CreateFileA(CapturePath().c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_EXISTING, 0, nullptr);
    if (file != INVALID_HANDLE_VALUE) {
        SetFilePointer(file, 0, nullptr, FILE_BEGIN);
        SetEndOfFile(file);
        CloseHandle(file);
    }
}

std::vector<int16_t> CaptureSamples(DWORD quietMs, DWORD timeoutMs, bool float32) {
    DWORD start = GetTickCount();
    long long size = -1;
    DWORD stableSince = GetTickCount();
    while (GetTickCount() - start < timeoutMs) {
        long long now = CaptureBytes();
        if (now != size) {
            size = now;
            stableSince = GetTickCount();
        } else if (GetTickCount() - stableSince >= quietMs) {
            break;
        }
        Sleep(20);
    }
    std::string bytes = ReadFile(CapturePath());
    if (float32) {
        std::vector<float> values(bytes.size() / 4);
        std::memcpy(values.data(), bytes.data(), values.size() * 4);
        std::vector<int16_t> samples(values.size());
        for (size_t i = 0; i < values.size(); ++i) {
            samples[i] = static_cast<int16_t>(std::clamp(std::lrint(values[i] * 32768.0f), -32768L, 32767L));
        }
        return samples;
    }
    std::vector<int16_t> samples(bytes.size() / 2);
    std::memcpy(samples.data(), bytes.data(), samples.size() * 2);
    return samples;
}

long long FindInCapture(const std::vector<int16_t>& capture, const std::vector<int16_t>& source, size_t from,
                        size_t probe, size_t captureFrom) {
    if (from + probe > source.size() || capture.size() < probe) {
        return -1;
    }
    auto begin = capture.begin() + static_cast<long long>(std::min(captureFrom, capture.size()));
    auto found = std::search(begin, capture.end(), source.begin() + static_cast<long long>(from),
                             source.begin() + static_cast<long long>(from + probe));
    return found == capture.end() ? -1 : found - capture.begin();
}

size_t AgreeingRun(const std::vector<int16_t>& capture, size_t at, const std::vector<int16_t>& source,
                   size_t from) {
    size_t n = 0;
    while (at + n < capture.size() && from + n < source.size() && capture[at + n] == source[from + n]) {
        ++n;
    }
    return n;
}

double Rms(const std::vector<int16_t>& samples, size_t from, size_t count) {
    double sum = 0;
    size_t end = std::min(samples.size(), from + count);
    for (size_t i = from; i < end; ++i) {
        sum += static_cast<double>(samples[i]) * samples[i];
    }
    return end > from ? std::sqrt(sum / static_cast<double>(end - from)) : 0.0;
}

} // namespace qvltest
