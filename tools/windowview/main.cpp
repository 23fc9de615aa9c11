// Shows one of the manager's windows as its own code builds it (pictures, colours, texts placed in
// pixels), in a language, and saves what the screen shows of it: the windows whose look a bare
// template does not give. Child windows stand in a plain frame of the place the manager gives them.
// The track panel and the file information dialog (on the page named) show the music file given.
//   windowview <player|about|quickguide|startguide|options> <language file name or -> <output.bmp>
//   windowview <trackpanel|fileinfo|fileinfo-id3v1|fileinfo-id3v2|fileinfo-wma> <language file name or ->
//   <music file>
//              <output.bmp>
#include "app/Settings.h"
#include "app/framework/MessagePump.h"
#include "project/DiscCatalogue.h"
#include "tools/control/AppControl.h"
#include "ui/manager/DlgAbout.h"
#include "ui/manager/DlgPlayer.h"
#include "ui/manager/DlgQuickGuide.h"
#include "ui/manager/DlgStartGuide.h"
#include "ui/options/DlgOptions.h"
#include "res/ids/AboutIds.h"
#include "res/ids/FileInfoIds.h"
#include "res/ids/GuideIds.h"
#include "res/ids/OptionsIds.h"
#include "ui/trackinfo/ArtworkPicture.h"
#include "ui/trackinfo/DlgFileInfo.h"
#include "ui/trackinfo/DlgMusicInfo.h"

#include <commctrl.h>

#include <windows.h>

#include <cstdio>
#include <string>

namespace {

constexpr int kLeft = 40, kTop = 40;
// The tips text's place in the manager at its smallest, which the player bar takes.
constexpr SIZE kTipsPlace = {240, 56};
// The music list's place in the manager at its smallest, which the start guide takes.
constexpr SIZE kMusicListPlace = {636, 473};
// The track panel's place in the manager at its smallest.
constexpr SIZE kTrackPanelPlace = {240, 138};

class CNoActions final : public IPlayerActions {
    void PreviousTrack() override {}
    void PlayOrResume() override {}
    void Pause() override {}
    void Stop() override {}
    void NextTrack() override {}
};

void Settle(DWORD milliseconds) {
    DWORD start = GetTickCount();
    while (GetTickCount() - start < milliseconds) {
        DispatchPendingMessages();
        Sleep(10);
    }
}

HWND Frame(SIZE size) {
    return CreateWindowExA(WS_EX_TOPMOST, "STATIC", "", WS_POPUP | WS_VISIBLE, kLeft, kTop, size.cx, size.cy,
                           nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
}

// The child fills the frame.
void ShowInFrame(HWND child, SIZE size) {
    MoveWindow(child, 0, 0, size.cx, size.cy, FALSE);
    ShowWindow(child, SW_SHOWNOACTIVATE);
}

void ShowOnTop(HWND window) {
    SetWindowPos(window, HWND_TOPMOST, kLeft, kTop, 0, 0, SWP_NOSIZE | SWP_SHOWWINDOW | SWP_NOACTIVATE);
}

bool Save(HWND window, const char* path) {
    Settle(400);
    RECT place;
    GetWindowRect(window, &place);
    return AppControl::SaveScreenPicture(place, path);
}

// The tab of the page, chosen as a click on it would.
void ChooseTab(HWND dialog, int tab) {
    HWND tabs = GetDlgItem(dialog, IDC_FILEINFO_TAB);
    SendMessageA(tabs, TCM_SETCURSEL, static_cast<WPARAM>(tab), 0);
    NMHDR header = {tabs, IDC_FILEINFO_TAB, static_cast<UINT>(TCN_SELCHANGE)};
    SendMessageA(dialog, WM_NOTIFY, IDC_FILEINFO_TAB, reinterpret_cast<LPARAM>(&header));
}

// The track information windows on a music file: the panel, or the dialog on one of its pages.
int ShowTrackInfo(const std::string& which, const std::string& file, const char* output) {
    HINSTANCE instance = GetModuleHandleA(nullptr);
    GdiplusSession gdiplus;
    if (which == "trackpanel") {
        CDlgMusicInfo panel;
        HWND frame = Frame(kTrackPanelPlace);
        if (!panel.Create(instance, frame)) {
            return 1;
        }
        ShowInFrame(panel.Hwnd(), kTrackPanelPlace);
        panel.SetTrack(file, "", "3:42");
        return Save(frame, output) ? 0 : 1;
    }
    const int tab = which == "fileinfo-id3v1" || which == "fileinfo-wma" ? 1
                    : which == "fileinfo-id3v2"                          ? 2
                                                                         : 0;
    if (which != "fileinfo" && tab == 0) {
        fprintf(stderr, "windowview: no window named %s\n", which.c_str());
        return 2;
    }
    CCatalogueSteps steps(GetDiscCatalogue());
    CDlgFileInfo dialog(steps);
    dialog.SetFile(file);
    // Shown modeless: it looks the same, and the tool need not end it.
    if (!dialog.CreateModeless(instance, IDD_FILEINFO, nullptr)) {
        return 1;
    }
    ChooseTab(dialog.Hwnd(), tab);
    ShowOnTop(dialog.Hwnd());
    return Save(dialog.Hwnd(), output) ? 0 : 1;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 4 && argc != 5) {
        fprintf(stderr, "usage: windowview <player|about|quickguide|startguide|options> <language file or -> "
                        "<output.bmp>\n"
                        "       windowview <trackpanel|fileinfo|fileinfo-id3v1|fileinfo-id3v2|fileinfo-wma> "
                        "<language file or -> <music file> <output.bmp>\n");
        return 2;
    }
    const std::string which = argv[1];
    GetSettings().languageFile = std::string(argv[2]) == "-" ? std::string() : argv[2];
    if (argc == 5) {
        return ShowTrackInfo(which, argv[3], argv[4]);
    }
    HINSTANCE instance = GetModuleHandleA(nullptr);

    if (which == "player") {
        CNoActions actions;
        CDlgPlayer player(actions);
        HWND frame = Frame(kTipsPlace);
        if (!player.Create(instance, frame)) {
            return 1;
        }
        ShowInFrame(player.Hwnd(), kTipsPlace);
        player.SetNowPlaying("C:\\Users\\Robin\\Music\\Quaverlane\\Summer Mix\\Harbour Lights.MP3");
        player.SetTimeText("1:05-3:42");
        return Save(frame, argv[3]) ? 0 : 1;
    }
    if (which == "startguide") {
        CDlgStartGuide guide([] {});
        HWND frame = Frame(kMusicListPlace);
        if (!guide.Create(instance, frame)) {
            return 1;
        }
        ShowInFrame(guide.Hwnd(), kMusicListPlace);
        return Save(frame, argv[3]) ? 0 : 1;
    }
    // The modal dialogs, shown modeless: they look the same, and the tool need not end them.
    if (which == "about") {
        CDlgAbout about;
        if (!about.CreateModeless(instance, IDD_ABOUTBOX, nullptr)) {
            return 1;
        }
        ShowOnTop(about.Hwnd());
        return Save(about.Hwnd(), argv[3]) ? 0 : 1;
    }
    if (which == "quickguide") {
        CDlgQuickGuide guide;
        if (!guide.CreateModeless(instance, IDD_QUICK_GUIDE, nullptr)) {
            return 1;
        }
        ShowOnTop(guide.Hwnd());
        return Save(guide.Hwnd(), argv[3]) ? 0 : 1;
    }
    // With the settings a first start has: the lists the code fills (the filename presets, the
    // bitrates, the WMA codecs of the library beside the tool) are what the template lacks.
    if (which == "options") {
        Settings& settings = GetSettings();
        const std::string language = settings.languageFile;
        settings.ResetToDefaults();
        settings.languageFile = language;
        settings.filenameFormat = "<Playlist>\\<Title>";
        CDlgOptions options(settings);
        if (!options.CreateModeless(instance, IDD_OPTIONS, nullptr)) {
            return 1;
        }
        ShowOnTop(options.Hwnd());
        return Save(options.Hwnd(), argv[3]) ? 0 : 1;
    }
    fprintf(stderr, "windowview: no window named %s\n", which.c_str());
    return 2;
}
