// The main window: the converted discs and their music files, the preview player, and the hub
// that the capture intake, the encoders, the recorder scan and the tray report to. Closing it only
// hides it; the program goes on converting in the tray.
#pragma once

#include "app/LanguageMenu.h"
#include "app/SystemTray.h"
#include "app/framework/Dialog.h"
#include "app/framework/GdiScoped.h"
#include "capture/CaptureFolderWatcher.h"
#include "ui/controls/ImagePanel.h"
#include "ui/manager/CatalogueLists.h"
#include "ui/manager/DlgStartGuide.h"
#include "ui/manager/DlgStatus.h"
#include "ui/manager/ManagerPlayer.h"
#include "ui/trackinfo/DlgMusicInfo.h"

#include <memory>
#include <string>

// What the manager window asks of the application that made it.
class IManagerHost {
public:
    // The window is ready: a later copy of the program can now find it.
    virtual void PublishMainWindow(HWND window) = 0;
    virtual void ShowHelp() = 0;

protected:
    ~IManagerHost() = default;
};

class CDlgManager : public CDialogBase {
public:
    explicit CDlgManager(IManagerHost& host);
    ~CDlgManager() override;

    // Stops the conversion thread and then the watcher, in that order, before anything they use
    // goes. Every way out of the program calls it; the second call does nothing.
    void StopCapture();

protected:
    BOOL OnInitDialog() override;

private:
    void RegisterMessages();
    void RegisterCommands();
    void CreateTray();
    void SetupPanels();
    void PlaceChildren(int width, int height);
    void RestorePlacement();
    void Paint();
    void ApplyLanguage();
    void ShowTip(int tip);
    void UpdateTrayTooltip();

    // Commands and messages.
    bool IsBusy() const;
    void OnCaptureEvent(WPARAM action, char* path);
    void OnBurnEndTimer();
    void OnTrackEncoded(LPARAM result);
    void OnPanelAction(WPARAM region);
    void OnInitMenuPopup(HMENU menu);
    void OnContextMenu(HWND over, POINT screen);
    void ShowProgramMenu();
    void OpenLocation();
    void OpenWebSite();
    void ShowOptions();
    // The catalogue rebuilt from what lies in the output folder.
    void Synchronise();
    // The track panel shows the music list's selected file.
    void ShowSelectedTrack();
    void EditTags();
    // A catalogue command, unless a conversion is going on.
    void WhenIdle(void (CCatalogueLists::*command)());
    void SelectLanguage(UINT command);
    void HideToTray();
    void BringForward(HWND window);
    void Exit();
    // Stores the window's position and size in the settings.
    void StorePlacement();
    void SaveProject();

    // Frameless sizing from the right and bottom edges.
    LRESULT SizingEdgeAt(LPARAM clientPoint) const;

    IManagerHost& m_host;
    std::unique_ptr<CaptureFolderWatcher> m_pWatcher;
    CDlgStatus m_dlgStatus;
    CDlgStartGuide m_dlgGuide;
    CSystemTray m_tray;
    CCatalogueLists m_lists;
    CDlgMusicInfo m_dlgTrackPanel;
    HWND m_stcTips = nullptr;
    int m_nTip = 0;
    CImagePanel m_ctlToolbar;
    CImagePanel m_ctlCaption;
    CImagePanel m_ctlLink;
    ScopedMenu m_menu;
    CLanguageMenu m_languageMenu;
    CManagerPlayer m_player;
    ScopedBitmap m_bmpSkin;
    ScopedFont m_fontRecorder;
    ScopedBrush m_brBackground;
    HICON m_hIcon = nullptr;
    bool m_bCaptureStopped = false;
};
