#include "player/NetStream.h"

#include <wininet.h>

#include <algorithm>
#include <cstring>

namespace {

constexpr DWORD kConnectTimeoutMs = 2000;
constexpr DWORD kFullSleepMs = 20;
constexpr DWORD kReceiveSliceMs = 500;
constexpr DWORD kBufferingStepMs = 100;
constexpr UINT kBufferingMessage = 0x8107;
constexpr UINT kStopMessage = 0x8005;
constexpr UINT kQuitMessage = 0x8001;

} // namespace

std::shared_ptr<NetStream> NetStream::Start(const char* url, HWND notifyWindow) {
    std::shared_ptr<NetStream> stream(new NetStream(url, notifyWindow));
    auto* share = new std::shared_ptr<NetStream>(stream);
    stream->m_thread = CreateThread(nullptr, 0, Main, share, 0, nullptr);
    if (stream->m_thread == nullptr) {
        delete share;
        stream->m_buffer.SetEndOfStream();
        stream->m_finished = true;
    }
    return stream;
}

NetStream::NetStream(const char* url, HWND notifyWindow) : m_window(notifyWindow) {
    lstrcpynA(m_url, url, sizeof(m_url));
}

NetStream::~NetStream() {
    Stop();
}

void NetStream::Stop() {
    m_stop = true;
    // Closing the handles cancels a read where WinINet allows it; where it does not, the engine's
    // stop is still not held up for longer than the wait below.
    CloseInternetHandles();
    if (m_thread != nullptr) {
        if (GetCurrentThreadId() != GetThreadId(m_thread)) {
            WaitForSingleObject(m_thread, kStopWaitMs);
        }
        CloseHandle(m_thread);
        m_thread = nullptr;
    }
}

int NetStream::Percent() {
    return static_cast<int>(static_cast<unsigned long long>(m_buffer.UsedSpace()) * 100 / kBufferBytes);
}

DWORD WINAPI NetStream::Main(void* parameter) {
    std::unique_ptr<std::shared_ptr<NetStream>> share(static_cast<std::shared_ptr<NetStream>*>(parameter));
    (*share)->Download();
    return 0;
}

void NetStream::Download() {
    HINTERNET session = InternetOpenA("Quaverlane", INTERNET_OPEN_TYPE_DIRECT, nullptr, nullptr, 0);
    HINTERNET request = nullptr;
    m_session = session;
    if (session != nullptr && !m_stop) {
        DWORD timeout = kConnectTimeoutMs;
        InternetSetOptionA(session, INTERNET_OPTION_CONNECT_TIMEOUT, &timeout, sizeof(timeout));
        // Short receive waits, so that a stop is noticed while the server is silent; a silent
        // server is not yet a dead one, and the read is simply tried again.
        DWORD receive = kReceiveSliceMs;
        InternetSetOptionA(session, INTERNET_OPTION_RECEIVE_TIMEOUT, &receive, sizeof(receive));
        request = InternetOpenUrlA(
            session, m_url, nullptr, 0,
            INTERNET_FLAG_NO_CACHE_WRITE | INTERNET_FLAG_RELOAD | INTERNET_FLAG_PRAGMA_NOCACHE, 0);
        if (request != nullptr) {
            InternetSetOptionA(request, INTERNET_OPTION_RECEIVE_TIMEOUT, &receive, sizeof(receive));
        }
        m_request = request;
    }
    int lastPercent = -1;
    BYTE chunk[kReadBytes];
    while (request != nullptr && !m_stop) {
        if (m_buffer.FreeSpace() < kReadBytes) {
            Sleep(kFullSleepMs);
            continue;
        }
        DWORD read = 0;
        if (!InternetReadFile(request, chunk, kReadBytes, &read)) {
            if (GetLastError() == ERROR_INTERNET_TIMEOUT) {
                continue;
            }
            break;
        }
        if (read == 0) {
            break;
        }
        m_buffer.Write(chunk, read);
        int percent = Percent();
        if (percent != lastPercent && m_window != nullptr) {
            lastPercent = percent;
            PostMessageA(m_window, kBufferingMessage, m_buffer.UsedSpace() < kStartBytes ? 1 : 0, percent);
        }
    }
    // Whatever ended the download, the reader must not wait for bytes that will never come.
    m_buffer.SetEndOfStream();
    m_finished = true;
    CloseInternetHandles();
}

void NetStream::CloseInternetHandles() {
    // Either side may get here first; whoever takes a handle closes it, the request first.
    if (HINTERNET request = m_request.exchange(nullptr)) {
        InternetCloseHandle(request);
    }
    if (HINTERNET session = m_session.exchange(nullptr)) {
        InternetCloseHandle(session);
    }
}

namespace {

struct StreamState {
    StreamState() = default;
    ~StreamState() {
        if (stream) {
            stream->Stop();
        }
    }
    StreamState(const StreamState&) = delete;
    StreamState& operator=(const StreamState&) = delete;

    std::shared_ptr<NetStream> stream;
    FileInfo info = {};
    DWORD bytesPerSecond = 0;
    DWORD blockAlign = 1;
    // Bytes of the "data" chunk still to come; streams that do not know their length say so
    // with 0 or 0xFFFFFFFF, and then the end of the download ends the file.
    unsigned long long dataLeft = 0;
    unsigned long long delivered = 0;
};

StreamState* State(CodecModule* module) {
    return static_cast<StreamState*>(module->state);
}

bool ReadExactly(RingBuffer& buffer, void* data, DWORD bytes) {
    BYTE* target = static_cast<BYTE*>(data);
    DWORD done = 0;
    while (done < bytes) {
        DWORD got = buffer.Read(target + done, bytes - done);
        if (got == 0 && buffer.IsEndOfStream()) {
            return false;
        }
        done += got;
    }
    return true;
}

bool StopRequested() {
    MSG msg;
    return PeekMessageA(&msg, reinterpret_cast<HWND>(-1), kStopMessage, kStopMessage, PM_NOREMOVE) ||
           PeekMessageA(&msg, reinterpret_cast<HWND>(-1), kQuitMessage, kQuitMessage, PM_NOREMOVE);
}

bool ReadHeader(StreamState& state) {
    RingBuffer& buffer = state.stream->Buffer();
    char riff[12];
    if (!ReadExactly(buffer, riff, sizeof(riff)) || std::memcmp(riff, "RIFF", 4) != 0 ||
        std::memcmp(riff + 8, "WAVE", 4) != 0) {
        return false;
    }
    bool haveFormat = false;
    for (;;) {
        char id[4];
        DWORD size = 0;
        if (!ReadExactly(buffer, id, 4) || !ReadExactly(buffer, &size, 4)) {
            return false;
        }
        if (std::memcmp(id, "data", 4) == 0) {
            if (!haveFormat) {
                return false;
            }
            state.dataLeft = size == 0 || size == 0xFFFFFFFF ? ~0ull : size;
            state.info.lengthSeconds =
                size == 0 || size == 0xFFFFFFFF ? 0 : static_cast<int32_t>(size / state.bytesPerSecond);
            return true;
        }
        DWORD padded = size + (size & 1);
        if (std::memcmp(id, "fmt ", 4) == 0) {
            if (size < 16 || size > 256) {
                return false;
            }
            BYTE format[256];
            if (!ReadExactly(buffer, format, padded)) {
                return false;
            }
            WORD tag, channels, bits;
            DWORD rate;
            std::memcpy(&tag, format, 2);
            std::memcpy(&channels, format + 2, 2);
            std::memcpy(&rate, format + 4, 4);
            std::memcpy(&bits, format + 14, 2);
            if (tag != 1 || rate == 0 || (channels != 1 && channels != 2) || (bits != 8 && bits != 16)) {
                return false;
            }
            state.info.sampleRate = static_cast<int32_t>(rate);
            state.info.stereo = channels == 2 ? 1 : 0;
            state.info.bits16 = bits == 16 ? 1 : 0;
            state.blockAlign = channels * bits / 8;
            state.bytesPerSecond = rate * state.blockAlign;
            haveFormat = true;
            continue;
        }
        BYTE skip[256];
        while (padded > 0) {
            DWORD step = std::min<DWORD>(padded, sizeof(skip));
            if (!ReadExactly(buffer, skip, step)) {
                return false;
            }
            padded -= step;
        }
    }
}

void CloseFile(CodecModule* module) {
    delete State(module);
    module->state = nullptr;
}

int OpenFile(CodecModule* module, const char* path, DWORD, HWND notifyWindow) {
    CloseFile(module);
    auto state = std::make_unique<StreamState>();
    state->stream = NetStream::Start(path, notifyWindow);
    RingBuffer& buffer = state->stream->Buffer();
    // Short streams end before the mark: what they brought is all there will be.
    while (buffer.UsedSpace() < NetStream::kStartBytes && !state->stream->Finished()) {
        if (StopRequested()) {
            return 0;
        }
        Sleep(kBufferingStepMs);
    }
    if (notifyWindow != nullptr) {
        PostMessageA(notifyWindow, kBufferingMessage, 0, state->stream->Percent());
    }
    if (!ReadHeader(*state)) {
        return 0;
    }
    module->state = state.release();
    return 1;
}

void Seek(CodecModule*, int, int) {
    // A live stream cannot go back, and going forward would mean waiting for the bytes anyway.
}

void GetFileInfo(CodecModule* module, FileInfo* info) {
    StreamState* state = State(module);
    *info = state != nullptr ? state->info : FileInfo{};
}

int GetPCMBlock(CodecModule* module, void* buffer, DWORD* inOutBytes) {
    StreamState* state = State(module);
    if (state == nullptr) {
        *inOutBytes = 0;
        return 0;
    }
    RingBuffer& ring = state->stream->Buffer();
    DWORD want = static_cast<DWORD>(std::min<unsigned long long>(*inOutBytes, state->dataLeft));
    // What has arrived is handed on at once: the engine should not sit in a wait with audio in hand.
    DWORD ready = ring.UsedSpace();
    if (ready >= state->blockAlign && ready < want) {
        want = ready;
    }
    want -= want % state->blockAlign;
    DWORD got = ring.Read(buffer, want);
    // The device takes whole sample frames only.
    DWORD partial = got % state->blockAlign;
    if (partial != 0 && !ReadExactly(ring, static_cast<BYTE*>(buffer) + got, state->blockAlign - partial)) {
        got -= partial;
    } else if (partial != 0) {
        got += state->blockAlign - partial;
    }
    *inOutBytes = got;
    state->delivered += got;
    if (state->dataLeft != ~0ull) {
        state->dataLeft -= got;
    }
    return (state->dataLeft == 0 || (got == 0 && ring.IsEndOfStream())) ? 0 : 1;
}

int GetCurrentPos(CodecModule* module) {
    StreamState* state = State(module);
    return state == nullptr || state->bytesPerSecond == 0
               ? 0
               : static_cast<int>(state->delivered / state->bytesPerSecond);
}

void Uninitialise(CodecModule* module) {
    CloseFile(module);
}

} // namespace

void InitNetStreamCodec(CodecModule* module) {
    *module = CodecModule{};
    module->Uninitialise = Uninitialise;
    module->OpenFile = OpenFile;
    module->CloseFile = CloseFile;
    module->Seek = Seek;
    module->GetFileInfo = GetFileInfo;
    module->GetPCMBlock = GetPCMBlock;
    module->GetCurrentPos = GetCurrentPos;
}
