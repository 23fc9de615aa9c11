// The track panel below the manager's disc list: the selected file's artwork (or the program's
// "no artwork" picture), title, artist, album, time and location. A double click on the location
// shows the file in the file explorer; "Edit..." asks the manager to open the file information
// dialog; a source file dropped on the panel gives the selected file its tags and cover.
//
// The manager's use: Create(instance, manager) makes the panel a hidden child; the manager places
// and shows it; SetTrack whenever the music list's selection changes; WM_EDIT_TAGS and
// WM_REFRESH_TRACKS arrive posted to the manager (the panel's parent).
#pragma once

#include "app/framework/Dialog.h"
#include "app/framework/GdiScoped.h"
#include "companions/AudioTagCore/TrackTags.h"
#include "ui/controls/HoverTip.h"

#include <shellapi.h>

#include <functional>
#include <string>

// The panel's places, in its client pixels.
inline constexpr RECT kPanelArtwork = {5, 5, 93, 93};
inline constexpr RECT kPanelLocation = {6, 99, 234, 123};

// What the panel shows of a file: its tags, and the artwork saved as artworkFile (artworkPath then
// names it; empty when the file has none).
TrackTags ReadTrackForPanel(const std::string& path, const std::string& artworkFile);

// The file selected in a new explorer window: "<windows>\explorer.exe /e, /select, <path>".
void ShowFileInExplorer(HWND owner, const std::string& path);

class CDlgMusicInfo final : public CDialogBase {
public:
    using LocationOpener = std::function<void(HWND owner, const std::string& path)>;
    explicit CDlgMusicInfo(LocationOpener openLocation = ShowFileInExplorer);
    ~CDlgMusicInfo() override;

    bool Create(HINSTANCE instance, HWND manager);
    // The selected file (empty: none), its title from the list (shown when its tags have none) and
    // its time text; reads the file and repaints.
    void SetTrack(const std::string& path, const std::string& title, const std::string& time);

    const std::string& ArtworkShown() const { return m_strArtwork; }

protected:
    BOOL OnInitDialog() override;

private:
    void ReadTrack();
    void SetTips();
    void Paint();
    void TagFromDroppedFiles(HDROP drop);

    LocationOpener m_openLocation;
    std::string m_strPath;
    std::string m_strListTitle;
    std::string m_strTime;
    TrackTags m_tags;
    std::string m_strArtwork;
    CHoverTip m_tip;
    ScopedFont m_fontTitle;
};
