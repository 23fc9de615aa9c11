#include "player/NetStream.h"

#include <wininet.h>

#include <algorithm>
#include <cstring>

namespace {

constexpr DWORD kConnectTimeoutMs = 2000;
constexpr DWORD kFullSleepMs = 20;
constexpr DWORD kReceiveSliceMs = 500;
constexpr DWORD kBufferingStepMs = 100;
constexpr DWORD kReadPollMs = 20;
constexpr UINT kBufferingMessage = 0x8107;
constexpr UINT kStopMessage = 0x8005;
constexpr UINT kQuitMessage = 0x8001;

// The reader is the engine thread: a stop or quit waiting in its queue ends any wait for the network.
bool StopRequested() {
    MSG msg;
    return PeekMessageA(&msg, reinterpret_cast<HWND>(-1), kStopMessage, kStopMessage, PM_NOREMOVE) ||
           PeekMessageA(&msg, reinterpret_cast<HWND>(-1), kQuitMessage, kQuitMessage, PM_NOREMOVE);
}

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

bool NetStream::WaitToStart() {
    // Short streams end before the mark: what they brought is all there will be.
    while (m_buffer.UsedSpace() < kStartBytes && !m_finished) {
        if (StopRequested()) {
            return false;
        }
        Sleep(kBufferingStepMs);
    }
    if (m_window != nullptr) {
        PostMessageA(m_window, kBufferingMessage, 0, Percent());
    }
    return true;
}

DWORD NetStream::Read(void* data, DWORD bytes) {
    for (;;) {
        const DWORD ready = std::min(bytes, m_buffer.UsedSpace());
        if (ready > 0) {
            return m_buffer.Read(data, ready);
        }
        if (bytes == 0 || m_buffer.IsEndOfStream() || StopRequested()) {
            return 0;
        }
        Sleep(kReadPollMs);
    }
}

bool NetStream::ReadExactly(void* data, DWORD bytes) {
    auto* target = static_cast<BYTE*>(data);
    for (DWORD done = 0; done < bytes;) {
        const DWORD got = Read(target + done, bytes - done);
        if (got == 0) {
            return false;
        }
        done += got;
    }
    return true;
}
