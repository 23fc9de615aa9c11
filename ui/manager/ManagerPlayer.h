// The manager window's preview player: plays the file chosen in the music list, shows the player
// bar in the tips' place while it plays, marks the playing row and steps through a disc's tracks.
#pragma once

#include "ui/manager/DlgPlayer.h"
#include "ui/manager/PreviewPlayback.h"

#include <string>

class CCatalogueLists;
class DiscCatalogue;

// The track after (step 1) or before (step -1) the playing path on its disc, found by path without
// regard to case; false at either end of the disc (playback does not run on into the next disc).
bool NeighbourTrack(DiscCatalogue& catalogue, const std::string& playing, int step, std::string& path,
                    std::string& time);

class CManagerPlayer final : public IPlayerActions {
public:
    explicit CManagerPlayer(CCatalogueLists& lists);

    // The bar is made a child of owner; tips is the control it takes turns with.
    bool Create(HINSTANCE instance, HWND owner, HWND tips);
    HWND BarHwnd() const { return m_dlgPlayer.Hwnd(); }

    void PlaySelected();
    void PlayPath(const std::string& path, const std::string& timeText);
    // Stops and waits for the engine while the messages go on; switchPanels brings the tips back.
    void StopPlayback(bool switchPanels);
    // The play-time timer's tick.
    void OnPlayTimeTimer();
    // The play list has ended (its end message).
    void OnPlayDone();
    // One of the two halves of "playback has finished" arrived; both together stop it.
    void OnFinishedHalf(bool first);
    // Before the file goes from the disk: a player that holds it lets it go.
    void ReleaseFile(const std::string& path);

    void PreviousTrack() override { PlayNeighbour(-1); }
    void PlayOrResume() override;
    void Pause() override { m_player.Pause(); }
    void Stop() override { StopPlayback(true); }
    void NextTrack() override { PlayNeighbour(1); }

private:
    void PlayNeighbour(int step);
    std::string TimeText();

    CCatalogueLists& m_lists;
    CDlgPlayer m_dlgPlayer;
    PreviewPlayback m_player;
    HWND m_hOwner = nullptr;
    HWND m_stcTips = nullptr;
    bool m_bStoppingPlayback = false;
    bool m_bFinishedA = false;
    bool m_bFinishedB = false;
};
