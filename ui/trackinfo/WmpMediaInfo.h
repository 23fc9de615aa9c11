// The tags of a source file dropped on the track panel, read by letting Windows Media Player open
// it: the player's control lives in a hidden window on a thread of its own, with its own message
// loop and COM apartment, and reports the media's attributes once the media is open. Where the
// control is missing, too old, or opens the file without reporting anything (Wine's own control
// does so), the file's tags are read directly instead.
#pragma once

#include "app/framework/Dialog.h"
#include "app/framework/Scoped.h"
#include "app/framework/ScopedCom.h"
#include "finish/MediaInfo.h"

#include <windows.h>
#include <ole2.h>
#include <wmp.h>

#include <memory>
#include <string>

// Control first, the file's own tags when the control gave nothing. False when neither read
// anything.
bool GetMediaInfo(const char* path, MediaInfoResult& result);

// How long the requester waits for the control to open a file and answer.
constexpr DWORD kMediaInfoTimeLimit = 10000;

// What one request to the control came to.
enum class WmpOutcome {
    Missing,  // no control, or it could not be hosted
    TooOld,   // its version is below 10
    NoMedia,  // ready without open media, or the time limit passed
    MediaRead // the media opened and its attributes were read
};

// The hidden dialog (template 176) that hosts the control over its client area and keeps its
// player interface. Lives and dies on the media-information thread.
class CWMPHostWnd : public CDialogBase {
public:
    CWMPHostWnd();
    ~CWMPHostWnd() override;

    // Creates the window, the control in it and its player interface; Missing or TooOld when the
    // control cannot serve, MediaRead when it is ready for a file.
    WmpOutcome Create(bool bShow);
    // Connects the event sink, which posts the open and ready events to thread, and gives the
    // control the file.
    bool Open(const std::string& path, DWORD thread);
    // The open media's attributes; false when there is no media.
    bool ReadMedia(MediaInfoResult& result) const;

private:
    void Shutdown();

    ScopedInterface<IOleClientSite> m_site;
    ScopedInterface<IOleObject> m_control;
    ScopedInterface<IWMPPlayer4> m_player;
    ScopedInterface<IConnectionPoint> m_events;
    ScopedInterface<IDispatch> m_sink;
    DWORD m_dwCookie = 0;
};

// One request: a thread with its own message loop and apartment that hosts the control, gives
// it the file and ends when the media's attributes are read or nothing is to come.
class CWMPGetMediaInfoThread {
public:
    explicit CWMPGetMediaInfoThread(std::string path);

    // Starts the thread suspended with priority above normal, then lets it run; false when the
    // system refuses.
    bool Start();
    // Waits at most timeLimit for the thread's end; on time-out the thread is told to quit and
    // left to end on its own, and the outcome is NoMedia.
    WmpOutcome WaitForEnd(DWORD timeLimit);
    // Read after WaitForEnd only.
    const MediaInfoResult& Result() const;

private:
    // What the thread and the requester share; the thread keeps it alive after a time-out.
    struct Request {
        std::string strPath;
        MediaInfoResult result;
        WmpOutcome outcome = WmpOutcome::Missing;
        bool bShowWindow = false;
    };

    static unsigned __stdcall Run(void* parameter);
    static WmpOutcome Serve(Request& request);

    std::shared_ptr<Request> m_request;
    ScopedHandle m_thread;
    DWORD m_threadId = 0;
};
