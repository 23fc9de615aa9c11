// The program's icon in the notification area: one icon with its tooltip, a short animation
// through a list of icons, the tray menu on a right click, the default command on a double click,
// and the icon put back when the taskbar is recreated. A hidden pop-up window of its own takes
// the shell's callbacks and the taskbar's broadcasts.
#pragma once

#include "app/framework/GdiScoped.h"
#include "app/framework/WindowSubclass.h"

#include <windows.h>

#include <shellapi.h>

#include <functional>
#include <vector>

class CSystemTray : public CWindowSubclass {
public:
    // Shell_NotifyIconA's shape: how an icon is added, modified and deleted.
    using NotifyIconCall = std::function<BOOL(DWORD message, NOTIFYICONDATAA* data)>;

    explicit CSystemTray(NotifyIconCall notifyIcon = Shell_NotifyIconA);
    // Removes the icon, frees the animation icons and destroys the window.
    ~CSystemTray() override;

    // Once. The shell sends callbackMessage to the parent when one is given, else to this
    // object's own window. The icon stays the caller's. False when the shell is too old or the
    // window cannot be made; a refused add still succeeds but leaves the icon hidden for good.
    bool Create(HWND parent, UINT callbackMessage, const char* tooltip, HICON icon, UINT iconId,
                bool hidden = false);
    void RemoveIcon();
    // Each changes what the record holds at once, and tells the shell only while the icon shows.
    bool SetIcon(HICON icon);
    // At most 63 characters reach the shell.
    bool SetTooltipText(const char* text);

    // Loads the program's icons firstId..lastId, in order, as the animation; the old list stays
    // when the range is reversed or none of them loads.
    bool SetIconList(UINT firstId, UINT lastId);
    // Shows the next icon of the list, after the last the first again.
    void StepAnimation();

    // The menu item that a double click runs and the tray menu shows in bold; false when the
    // tray menu (the menu resource with the icon id) lacks it.
    bool SetMenuDefaultItem(UINT item, bool byPosition);

    // The callback message's handler; a parent that receives the callbacks hands them on here.
    virtual void OnTrayNotification(WPARAM wParam, LPARAM lParam);

protected:
    // The tray menu's last change before it shows, already localised.
    virtual void CustomizeMenu(HMENU /*menu*/) {}

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    bool IsShowing() const { return m_bEnabled && !m_bHidden && !m_bRemoved; }
    // The record with only the given flags, to the shell.
    bool Notify(DWORD message, UINT flags);
    bool Modify(UINT flags) { return IsShowing() && Notify(NIM_MODIFY, flags); }
    // After the taskbar came back (or moved): our icon went with the old one.
    void AddAgain();
    void ShowMenu(HWND target);
    void RunDefaultItem(HWND target);

    NotifyIconCall m_notifyIcon;
    NOTIFYICONDATAA m_nid{};
    bool m_bEnabled = false;
    // Asked not to show (Create's hidden), or the shell refused it.
    bool m_bHidden = false;
    // Not in the notification area.
    bool m_bRemoved = true;
    std::vector<ScopedIcon> m_icons;
    size_t m_nCurrentIcon = 0;
    UINT m_nDefaultItem = 0;
    bool m_bDefaultByPosition = true;
};
