// The status window: a small, borderless, semi-transparent window at the bottom-right corner of
// the work area that shows the progress of the track being encoded and hides when it is done.
// The encoders post their progress to it; it sends each finished track on to the manager window.
#pragma once

#include "app/framework/Dialog.h"
#include "app/framework/GdiScoped.h"
#include "ui/controls/ImagePanel.h"
#include "ui/controls/TextProgressCtrl.h"

#include <string>

class TrackQueue;

inline constexpr int kStatusWidth = 215;
inline constexpr int kStatusHeight = 92;

// The window's place: flush with the right and bottom edges of the work area.
RECT StatusCornerPlace(const RECT& workArea);

class CDlgStatus : public CDialogBase {
public:
    // The queue tells, once a track is done, whether another one waits.
    explicit CDlgStatus(TrackQueue& queue);
    ~CDlgStatus() override;

    // Created hidden, with the desktop as parent.
    bool Create(HINSTANCE instance);
    // Bring the manager window forward once an encoding ends with nothing left in the queue.
    void SetShowManagerWhenIdle(bool show) { m_bShowManagerWhenIdle = show; }

protected:
    BOOL OnInitDialog() override;

private:
    void PlaceAtCorner(bool show);
    void ApplyLayeredAlpha();
    void SetupPanel();
    void OnEncodeProgress(unsigned done, unsigned total);
    void ShowProgressText(const std::string& text);
    void Paint();
    void Hide();

    TrackQueue& m_queue;
    HWND m_stcCaption = nullptr;
    CTextProgressCtrl m_ctlProgress;
    CImagePanel m_ctlPanel;
    ScopedBitmap m_bmpBackground;
    std::string m_strProgressText;
    ScopedFont m_fontCaption;
    RECT m_rcWindow{};
    HICON m_hIcon = nullptr;
    bool m_bShowManagerWhenIdle = false;
};
