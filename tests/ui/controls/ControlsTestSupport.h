// What the toolkit's tests share: the dialog every control is put in, pictures of one colour,
// a picture source for image panels, the pixels a control draws, and the messages it posts.
#pragma once

#include "app/framework/Dialog.h"
#include "ui/controls/PanelResources.h"

#include <windows.h>

#include <map>
#include <string>
#include <vector>

namespace ctltest {

// Control ids of template 300.
constexpr int kControlsDialog = 300;
constexpr int kSizeableDialog = 301;
constexpr int kPanel = 2001;
constexpr int kProgress = 2002;
constexpr int kMarquee = 2003;
constexpr int kListBox = 2004;
constexpr int kListView = 2005;
constexpr int kComboList = 2006;
constexpr int kComboEdit = 2007;
constexpr int kLink = 2008;
constexpr int kOtherEdit = 2009;
constexpr int kSizeableEdit = 3001;

// The dialog of template 300, shown; it counts the default-button commands the dialog manager
// gives it.
class CHostDialog final : public CDialogBase {
public:
    explicit CHostDialog(int templateId = kControlsDialog);
    // Counts the message from now on, however it arrives (sent, or posted and dispatched).
    void Watch(UINT message);
    int Seen(UINT message) const;
    int okCommands = 0;
    int cancelCommands = 0;

private:
    std::map<UINT, int> m_seen;
};

// A pixel as a COLORREF.
class Pixels {
public:
    Pixels() = default;
    Pixels(int width, int height) : m_width(width), m_height(height), m_data(size_t(width) * height) {}
    int Width() const { return m_width; }
    int Height() const { return m_height; }
    COLORREF At(int x, int y) const;
    DWORD* Data() { return m_data.data(); }
    // Whether any pixel of the rectangle has the colour.
    bool Contains(const RECT& area, COLORREF colour) const;
    // Whether any pixel of the rectangle has another colour.
    bool ContainsOtherThan(const RECT& area, COLORREF colour) const;
    // Saved as a 24-bit BMP file.
    bool Save(const std::string& path) const;

private:
    int m_width = 0, m_height = 0;
    std::vector<DWORD> m_data; // 0x00RRGGBB, top row first
};

// What the window draws into a DC of its own (WM_PRINTCLIENT), as a control paints its client area.
Pixels PrintClient(HWND window);
// What the window shows on the screen, frame included, after it has painted.
Pixels CaptureWindow(HWND window);

// A 32-bit picture of one colour, owned by the caller.
HBITMAP SolidBitmap(int width, int height, COLORREF colour);

// Pictures of one colour each and texts, by id, as a language would give them.
class CFakePanelResources final : public IPanelResources {
public:
    explicit CFakePanelResources(SIZE size) : m_size(size) {}
    std::map<UINT, COLORREF> colours;
    std::map<UINT, std::string> texts;
    HBITMAP Bitmap(UINT id) const override;
    std::string Text(UINT id) const override;

private:
    SIZE m_size;
};

// Dispatches what is waiting in the thread's queue.
void Pump();
// Takes the posted messages of that kind for the window out of the queue; their wParams.
std::vector<WPARAM> TakePosted(HWND window, UINT message);

} // namespace ctltest
