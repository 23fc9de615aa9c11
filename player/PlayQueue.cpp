#include "player/PlayQueue.h"

namespace {

constexpr DWORD kPollMs = 50;

bool IsSignalled(HANDLE event) {
    return event != nullptr && WaitForSingleObject(event, 0) == WAIT_OBJECT_0;
}

} // namespace

PlayQueue::PlayQueue() {
    m_nextEvent = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    m_finishedEvent = CreateEventA(nullptr, TRUE, FALSE, nullptr);
}

PlayQueue::~PlayQueue() {
    Destroy();
}

void PlayQueue::Clear() {
    m_count = 0;
}

void PlayQueue::Add(const char* path) {
    if (m_count >= kMaxPaths || path == nullptr || path[0] == '\0') {
        return;
    }
    lstrcpynA(m_paths[m_count], path, MAX_PATH);
    ++m_count;
}

int PlayQueue::Start(HANDLE stopEvent, HWND owner, bool playOnce, bool finishCurrent, HANDLE externalEvent) {
    if (m_count == 0 || stopEvent == nullptr) {
        return 0;
    }
    if (m_thread != nullptr) {
        if (WaitForSingleObject(m_thread, 0) != WAIT_OBJECT_0) {
            return 0;
        }
        CloseHandle(m_thread);
        m_thread = nullptr;
    }
    m_stopEvent = stopEvent;
    m_owner = owner;
    m_playOnce = playOnce;
    m_finishCurrent = finishCurrent;
    m_externalEvent = externalEvent;
    m_quit = false;
    m_thread = CreateThread(nullptr, 0, Main, this, 0, nullptr);
    return m_thread != nullptr ? 1 : 0;
}

bool PlayQueue::IsRunning() const {
    return m_thread != nullptr && WaitForSingleObject(m_thread, 0) != WAIT_OBJECT_0;
}

void PlayQueue::WaitForThread() {
    if (m_thread != nullptr) {
        m_quit = true;
        WaitForSingleObject(m_thread, INFINITE);
        CloseHandle(m_thread);
        m_thread = nullptr;
    }
}

void PlayQueue::Destroy() {
    WaitForThread();
    if (m_engine != nullptr) {
        EngineDestroy(m_engine);
        m_engine = nullptr;
    }
    for (HANDLE* event : {&m_nextEvent, &m_finishedEvent}) {
        if (*event != nullptr) {
            CloseHandle(*event);
            *event = nullptr;
        }
    }
}

DWORD WINAPI PlayQueue::Main(void* parameter) {
    return static_cast<PlayQueue*>(parameter)->Play();
}

DWORD PlayQueue::Play() {
    if (m_engine == nullptr) {
        if (m_nextEvent == nullptr) {
            m_nextEvent = CreateEventA(nullptr, TRUE, FALSE, nullptr);
        }
        if (m_finishedEvent == nullptr) {
            m_finishedEvent = CreateEventA(nullptr, TRUE, FALSE, nullptr);
        }
        ResetEvent(m_nextEvent);
        ResetEvent(m_finishedEvent);
        m_engine = EngineCreateWithDecoders(m_owner, m_finishedEvent, m_nextEvent, m_decoders);
        if (m_engine == nullptr) {
            SetEvent(m_stopEvent);
            return 2;
        }
    }
    EngineSetNextEvent(m_engine, m_nextEvent);

    bool ended = false;
    while (!ended) {
        for (int i = 0; i < m_count && !ended; ++i) {
            // The previous file's drain left the event set; this file must earn it afresh.
            ResetEvent(m_finishedEvent);
            EnginePostOpen(m_engine, m_paths[i]);
            EnginePost(m_engine, kEnginePlay);
            bool lastOne = false;
            for (;;) {
                if (m_quit || IsSignalled(m_stopEvent)) {
                    ended = true;
                    break;
                }
                if (!lastOne && IsSignalled(m_externalEvent)) {
                    if (!m_finishCurrent) {
                        ended = true;
                        break;
                    }
                    lastOne = true;
                }
                if (IsSignalled(m_finishedEvent)) {
                    ended = lastOne;
                    break;
                }
                Sleep(kPollMs);
            }
        }
        if (m_playOnce) {
            ended = true;
        }
    }
    EnginePost(m_engine, kEngineStop);
    if (m_owner != nullptr) {
        PostMessageA(m_owner, WM_PLAY_DONE, 0, 0);
    }
    return 0;
}
