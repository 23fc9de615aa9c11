// Every control of the toolkit drawn in one dialog, saved as pictures: the whole dialog and each
// control in the states worth seeing. Run under an X display with the folder for the pictures:
//   controls_gallery.exe Z:\tmp\gallery
#include "tests/ui/controls/ControlsTestSupport.h"

#include "app/framework/GdiScoped.h"
#include "ui/controls/EditListBox.h"
#include "ui/controls/HyperLink.h"
#include "ui/controls/ImagePanel.h"
#include "ui/controls/MarqueeCtrl.h"
#include "ui/controls/Skin.h"
#include "ui/controls/SkinComboBox.h"
#include "ui/controls/SkinListCtrl.h"
#include "ui/controls/TextProgressCtrl.h"

#include <commctrl.h>

#include <cstdio>
#include <string>

using namespace ctltest;

namespace {

constexpr int kToolbarWidth = 392, kToolbarHeight = 38;
constexpr const char* kButtons[] = {"Play", "Open folder", "Options", "Menu"};
constexpr int kButtonLeft[] = {16, 105, 197, 300};
constexpr int kButtonWidth[] = {90, 92, 103, 82};

// The toolbar's four faces drawn in code, as the skin artist's pictures would look: one picture
// per face, every button drawn in that face.
class CGalleryArt final : public IPanelResources {
public:
    HBITMAP Bitmap(UINT id) const override {
        const CSkin& skin = GetSkin();
        COLORREF ground[] = {skin.Colour(SkinColour::Raised), RGB(72, 90, 112),
                             skin.Colour(SkinColour::Accent), skin.Colour(SkinColour::Body)};
        COLORREF ink[] = {skin.Colour(SkinColour::Text), RGB(255, 255, 255), skin.Colour(SkinColour::Body),
                          skin.Colour(SkinColour::DimText)};
        size_t face = id - 1;
        HBITMAP bitmap = SolidBitmap(kToolbarWidth, kToolbarHeight, skin.Colour(SkinColour::Body));
        ScopedMemoryDC dc(CreateCompatibleDC(nullptr));
        HGDIOBJ previous = SelectObject(dc.Get(), bitmap);
        ScopedBrush brush(CreateSolidBrush(ground[face]));
        ScopedSelect font(dc.Get(), skin.Font(SkinFont::Bold));
        SetBkMode(dc.Get(), TRANSPARENT);
        SetTextColor(dc.Get(), ink[face]);
        for (int i = 0; i < 4; ++i) {
            RECT button{kButtonLeft[i] + 2, 3, kButtonLeft[i] + kButtonWidth[i] - 2, kToolbarHeight - 3};
            FillRect(dc.Get(), &button, brush.Get());
            FrameRect(dc.Get(), &button, skin.Brush(SkinColour::Border));
            DrawTextA(dc.Get(), kButtons[i], -1, &button, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
        }
        SelectObject(dc.Get(), previous);
        return bitmap;
    }
    std::string Text(UINT id) const override { return kButtons[id % 4]; }
};

// The gallery's dialog, on the skin's ground.
class CGalleryDialog final : public CDialogBase {
public:
    CGalleryDialog() {
        OnMessage(WM_CTLCOLORDLG, [](WPARAM, LPARAM) -> MessageResult {
            return reinterpret_cast<LRESULT>(GetSkin().Brush(SkinColour::Body));
        });
        OnMessage(WM_CTLCOLORSTATIC, [](WPARAM dc, LPARAM) -> MessageResult {
            SetTextColor(reinterpret_cast<HDC>(dc), GetSkin().Colour(SkinColour::Text));
            SetBkColor(reinterpret_cast<HDC>(dc), GetSkin().Colour(SkinColour::Body));
            return reinterpret_cast<LRESULT>(GetSkin().Brush(SkinColour::Body));
        });
        OnMessage(WM_CTLCOLOREDIT, [](WPARAM dc, LPARAM) -> MessageResult {
            // As the manager colours the disc label's editor.
            SetBkColor(reinterpret_cast<HDC>(dc), RGB(0xE8, 0xE8, 0xE8));
            static ScopedBrush brush(CreateSolidBrush(RGB(0xC8, 0xC8, 0xC8)));
            return reinterpret_cast<LRESULT>(brush.Get());
        });
    }
};

RECT PlaceIn(HWND dialog, HWND control) {
    RECT place;
    GetWindowRect(control, &place);
    RECT frame;
    GetWindowRect(dialog, &frame);
    OffsetRect(&place, -frame.left, -frame.top);
    return place;
}

// The part of a picture of the whole dialog where the control is, with a margin.
void SaveControl(const Pixels& dialog, const RECT& place, const std::string& path, int margin = 4) {
    RECT area{std::max<int>(place.left - margin, 0), std::max<int>(place.top - margin, 0),
              std::min<int>(place.right + margin, dialog.Width()),
              std::min<int>(place.bottom + margin, dialog.Height())};
    Pixels part(area.right - area.left, area.bottom - area.top);
    for (int y = 0; y < part.Height(); ++y) {
        for (int x = 0; x < part.Width(); ++x) {
            COLORREF c = dialog.At(area.left + x, area.top + y);
            part.Data()[size_t(y) * part.Width() + x] =
                (DWORD(GetRValue(c)) << 16) | (DWORD(GetGValue(c)) << 8) | GetBValue(c);
        }
    }
    part.Save(path);
}

} // namespace

int main(int argc, char** argv) {
    std::string folder = argc > 1 ? argv[1] : ".";
    auto out = [&folder](const char* name) { return folder + "\\" + name + ".bmp"; };

    CGalleryDialog dialog;
    GetSkin();
    if (!dialog.CreateModeless(GetModuleHandleA(nullptr), kControlsDialog, nullptr)) {
        std::fprintf(stderr, "no dialog\n");
        return 1;
    }
    HWND hwnd = dialog.Hwnd();
    SetWindowPos(hwnd, HWND_TOP, 20, 20, 720, 430, SWP_SHOWWINDOW);

    CGalleryArt art;
    CImagePanel panel;
    panel.SetResources(art);
    panel.Attach(dialog, kPanel);
    panel.Place(12, 10, kToolbarWidth, kToolbarHeight);
    panel.SetBitmaps({1, 2, 3, 4});
    std::vector<ImageRegion> regions;
    for (int i = 0; i < 4; ++i) {
        regions.push_back({true, i, kButtonLeft[i], 1, kButtonWidth[i], 37, UINT(i)});
    }
    panel.SetRegions(regions);
    panel.BuildTooltips();
    panel.EnableRegion(3, false);

    CTextProgressCtrl progress;
    progress.Attach(dialog, kProgress);
    SetWindowPos(progress.Hwnd(), nullptr, 12, 60, 173, 15, SWP_NOZORDER);
    progress.SetPos(62);
    CTextProgressCtrl idle;
    // A second bar: the same control showing the idle text, made beside the first.
    HWND idleWindow = CreateWindowExA(0, "STATIC", "", WS_CHILD | WS_VISIBLE, 200, 60, 173, 15, hwnd,
                                      reinterpret_cast<HMENU>(2100), GetModuleHandleA(nullptr), nullptr);
    idle.Attach(dialog, 2100);
    idle.SetText("Waiting burn action...");
    CTextProgressCtrl over;
    CreateWindowExA(0, "STATIC", "", WS_CHILD | WS_VISIBLE, 388, 60, 173, 15, hwnd,
                    reinterpret_cast<HMENU>(2101), GetModuleHandleA(nullptr), nullptr);
    over.Attach(dialog, 2101);
    over.SetTextOverBar(true);
    over.SetPos(45);
    over.SetText("45%");

    CMarqueeCtrl marquee;
    marquee.Attach(dialog, kMarquee);
    SetWindowPos(marquee.Hwnd(), nullptr, 12, 84, 210, 16, SWP_NOZORDER);
    marquee.SetColours(0xFAC8C8, 0x282828);
    MarqueeItem* nowPlaying = marquee.AddItem("Now playing...", 0, 200);
    marquee.SetItemText(nowPlaying, "Now playing: C:\\Music\\Road trip\\02-Blue.mp3");
    marquee.SetText("     1:02-3:45    ");
    for (int i = 0; i < 24; ++i) {
        marquee.Step();
    }

    CHyperLink link;
    link.SetOpener([](const std::string&) {});
    link.Attach(dialog, kLink);
    SetWindowPos(link.Hwnd(), nullptr, 240, 84, 200, 16, SWP_NOZORDER);

    CEditListBox discs;
    discs.Attach(dialog, kListBox);
    SetWindowPos(discs.Hwnd(), nullptr, 12, 110, 160, 130, SWP_NOZORDER);
    for (const char* label :
         {"2024-05-01 Road trip", "2024-05-03 Live", "2024-06-11 Quiet evening", "Root"}) {
        SendMessageA(discs.Hwnd(), LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(label));
    }
    SendMessageA(discs.Hwnd(), LB_SETCURSEL, 1, 0);

    CSkinListCtrl music;
    music.Attach(dialog, kListView);
    SetWindowPos(music.Hwnd(), nullptr, 184, 110, 520, 130, SWP_NOZORDER);
    const char* columns[] = {"#", "Name", "Time", "Artist", "Album", "Genre", "Location"};
    const int widths[] = {30, 110, 50, 80, 80, 60, 200};
    for (int i = 0; i < 7; ++i) {
        LVCOLUMNA column{};
        column.mask = LVCF_TEXT | LVCF_WIDTH;
        column.pszText = const_cast<char*>(columns[i]);
        column.cx = widths[i];
        SendMessageA(music.Hwnd(), LVM_INSERTCOLUMNA, i, reinterpret_cast<LPARAM>(&column));
    }
    const char* rows[][7] = {
        {"1", "Intro", "1:12", "The Slates", "Road trip", "Rock", "C:\\Music\\Road trip\\01-Intro.mp3"},
        {"2", "Blue", "3:45", "The Slates", "Road trip", "Rock", "C:\\Music\\Road trip\\02-Blue.mp3"},
        {"3", "Amber light", "4:02", "The Slates", "Road trip", "Rock", "C:\\Music\\Road trip\\03-Amber.mp3"},
        {"4", "Long way", "5:31", "The Slates", "Road trip", "Rock", "C:\\Music\\Road trip\\04-Long.mp3"},
        {"5", "Outro", "0:58", "The Slates", "Road trip", "Rock", "C:\\Music\\Road trip\\05-Outro.mp3"}};
    for (int row = 0; row < 5; ++row) {
        LVITEMA item{};
        item.mask = LVIF_TEXT;
        item.iItem = row;
        item.pszText = const_cast<char*>(rows[row][0]);
        SendMessageA(music.Hwnd(), LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
        for (int column = 1; column < 7; ++column) {
            item.iSubItem = column;
            item.pszText = const_cast<char*>(rows[row][column]);
            SendMessageA(music.Hwnd(), LVM_SETITEMTEXTA, row, reinterpret_cast<LPARAM>(&item));
        }
    }
    music.SetPathColumn(6);
    music.SetPlayingPath("C:\\Music\\Road trip\\02-Blue.mp3");
    ListView_SetItemState(music.Hwnd(), 3, LVIS_SELECTED, LVIS_SELECTED);

    CSkinComboBox bitrate, pattern;
    bitrate.Attach(dialog, kComboList);
    pattern.Attach(dialog, kComboEdit);
    SetWindowPos(bitrate.Hwnd(), nullptr, 12, 256, 160, 200, SWP_NOZORDER);
    SetWindowPos(pattern.Hwnd(), nullptr, 184, 256, 260, 200, SWP_NOZORDER);
    for (const char* text : {"128 kbps-CBR", "192 kbps-CBR", "320 kbps-CBR", "130-250 bps-VBR"}) {
        SendMessageA(bitrate.Hwnd(), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
    }
    SendMessageA(bitrate.Hwnd(), CB_SETCURSEL, 1, 0);
    for (const char* text :
         {"<Artist>\\<Album>\\<Number>-<Title>", "<Playlist>\\<Title>", "<Album>\\<Artist>-<Title>"}) {
        SendMessageA(pattern.Hwnd(), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
    }
    SendMessageA(pattern.Hwnd(), CB_SETCURSEL, 0, 0);
    ShowWindow(GetDlgItem(hwnd, kOtherEdit), SW_HIDE);

    // First: hover on the first button.
    SendMessageA(panel.Hwnd(), WM_MOUSEMOVE, 0, MAKELPARAM(40, 20));
    Pixels whole = CaptureWindow(hwnd);
    whole.Save(out("gallery"));
    SaveControl(whole, PlaceIn(hwnd, panel.Hwnd()), out("panel-hover"));
    SaveControl(whole, PlaceIn(hwnd, progress.Hwnd()), out("progress-bar"));
    SaveControl(whole, PlaceIn(hwnd, idleWindow), out("progress-text"));
    SaveControl(whole, PlaceIn(hwnd, over.Hwnd()), out("progress-text-over-bar"));
    SaveControl(whole, PlaceIn(hwnd, marquee.Hwnd()), out("marquee"));
    SaveControl(whole, PlaceIn(hwnd, link.Hwnd()), out("hyperlink"));
    SaveControl(whole, PlaceIn(hwnd, discs.Hwnd()), out("disc-list"));
    SaveControl(whole, PlaceIn(hwnd, music.Hwnd()), out("music-list"));
    SaveControl(whole, PlaceIn(hwnd, bitrate.Hwnd()), out("combo-list"));
    SaveControl(whole, PlaceIn(hwnd, pattern.Hwnd()), out("combo-editable"));

    // Then: the second button pressed, and a disc label being edited in place.
    SendMessageA(panel.Hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(150, 20));
    discs.BeginEdit(2);
    Pixels second = CaptureWindow(hwnd);
    SaveControl(second, PlaceIn(hwnd, panel.Hwnd()), out("panel-pressed"));
    SaveControl(second, PlaceIn(hwnd, discs.Hwnd()), out("disc-list-editing"));
    SendMessageA(panel.Hwnd(), WM_LBUTTONUP, 0, MAKELPARAM(150, 20));
    discs.EndEdit(false);

    // Last: the bitrate list dropped, read from the screen (the list is a window of its own).
    SendMessageA(bitrate.Hwnd(), CB_SHOWDROPDOWN, TRUE, 0);
    Pump();
    RedrawWindow(nullptr, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    Pump();
    {
        RECT place;
        GetWindowRect(bitrate.Hwnd(), &place);
        int width = 180, height = 120;
        ScopedWindowDC screen(nullptr);
        Pixels dropped(width, height);
        BITMAPINFO format{};
        format.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
        void* bits = nullptr;
        ScopedBitmap canvas(CreateDIBSection(screen.Get(), &format, DIB_RGB_COLORS, &bits, nullptr, 0));
        ScopedMemoryDC dc(CreateCompatibleDC(screen.Get()));
        {
            ScopedSelect selected(dc.Get(), canvas.Get());
            BitBlt(dc.Get(), 0, 0, width, height, screen.Get(), place.left - 4, place.top - 4, SRCCOPY);
        }
        std::copy_n(static_cast<DWORD*>(bits), size_t(width) * height, dropped.Data());
        dropped.Save(out("combo-dropped"));
    }
    SendMessageA(bitrate.Hwnd(), CB_SHOWDROPDOWN, FALSE, 0);
    std::printf("pictures in %s\n", folder.c_str());
    return 0;
}
