// The player bar: the preview player's strip in the manager window, shown in the place of the tips
// text while a file plays or is paused. It shows what plays and the elapsed time as a scrolling
// text, and its five buttons act on the manager, which owns the playback engine: the bar holds no
// playback state.
#pragma once

#include "app/framework/Dialog.h"
#include "app/framework/GdiScoped.h"
#include "ui/controls/ImagePanel.h"
#include "ui/controls/MarqueeCtrl.h"

#include <string>

// What the bar's buttons ask of the window that plays.
class IPlayerActions {
public:
    virtual void PreviousTrack() = 0;
    // Resumes when paused, otherwise plays the file selected in the music list.
    virtual void PlayOrResume() = 0;
    virtual void Pause() = 0;
    // Stops, hides the bar and shows the tips again.
    virtual void Stop() = 0;
    virtual void NextTrack() = 0;

protected:
    ~IPlayerActions() = default;
};

class CDlgPlayer : public CDialogBase {
public:
    // The actions must outlive the bar.
    explicit CDlgPlayer(IPlayerActions& actions);
    ~CDlgPlayer() override;

    // Created hidden as a child of parent, which places it and shows it while something plays.
    bool Create(HINSTANCE instance, HWND parent);
    // "Now playing: <path>" in the language in use, kept across a language switch.
    void SetNowPlaying(const std::string& path);
    // The elapsed and total time, as the parent formats them, set off by blanks from the item.
    void SetTimeText(const std::string& text);

    const CMarqueeCtrl& Marquee() const { return m_ctlMarquee; }

protected:
    BOOL OnInitDialog() override;

private:
    void SetupMarquee();
    void SetupButtons();
    void OnButton(WPARAM region);
    void ShowNowPlaying();
    void Paint();

    IPlayerActions& m_actions;
    CMarqueeCtrl m_ctlMarquee;
    CImagePanel m_ctlButtons;
    MarqueeItem* m_pNowPlaying = nullptr;
    // Only to say the same in another language after a switch.
    std::string m_strNowPlayingPath;
    ScopedBrush m_brBar;
};
