#include "ui/controls/EditListBox.h"

#include "app/Messages.h"
#include "app/framework/GdiScoped.h"
#include "ui/controls/Skin.h"

#include <vector>

void CEditListBox::OnAttached() {
    Subclass();
    // The editor stands over the list as its sibling: the list must not paint over it.
    SetWindowLongPtrA(Hwnd(), GWL_STYLE, GetWindowLongPtrA(Hwnd(), GWL_STYLE) | WS_CLIPSIBLINGS);
    // The template's measure request came before the wrapper existed.
    SendMessageA(Hwnd(), LB_SETITEMHEIGHT, 0, kItemHeight);
}

std::string CEditListBox::ItemText(int index) const {
    LRESULT length = SendMessageA(Hwnd(), LB_GETTEXTLEN, static_cast<WPARAM>(index), 0);
    if (length == LB_ERR) {
        return {};
    }
    std::vector<char> buffer(static_cast<size_t>(length) + 1, '\0');
    SendMessageA(Hwnd(), LB_GETTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(buffer.data()));
    return buffer.data();
}

void CEditListBox::SetItemText(int index, const std::string& text) {
    HWND list = Hwnd();
    int count = static_cast<int>(SendMessageA(list, LB_GETCOUNT, 0, 0));
    if (index < 0 || index >= count) {
        return;
    }
    LRESULT data = SendMessageA(list, LB_GETITEMDATA, static_cast<WPARAM>(index), 0);
    bool selected = SendMessageA(list, LB_GETSEL, static_cast<WPARAM>(index), 0) > 0;
    int top = static_cast<int>(SendMessageA(list, LB_GETTOPINDEX, 0, 0));
    SendMessageA(list, WM_SETREDRAW, FALSE, 0);
    SendMessageA(list, LB_DELETESTRING, static_cast<WPARAM>(index), 0);
    SendMessageA(list, LB_INSERTSTRING, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.c_str()));
    SendMessageA(list, LB_SETITEMDATA, static_cast<WPARAM>(index), data);
    if (selected) {
        SendMessageA(list, LB_SETCURSEL, static_cast<WPARAM>(index), 0);
    }
    SendMessageA(list, LB_SETTOPINDEX, static_cast<WPARAM>(top), 0);
    SendMessageA(list, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(list, nullptr, TRUE);
}

bool CEditListBox::BeginEdit(int index) {
    HWND list = Hwnd();
    int count = list != nullptr ? static_cast<int>(SendMessageA(list, LB_GETCOUNT, 0, 0)) : 0;
    if (IsEditing() || index < 0 || index >= count) {
        return false;
    }
    SendMessageA(list, LB_SETCURSEL, static_cast<WPARAM>(index), 0);
    RECT item;
    SendMessageA(list, LB_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
    // The editor belongs to the list's parent: a child of the list would be clipped by it and
    // scrolled with it, and the parent colours its editors.
    HWND parent = GetParent(list);
    MapWindowPoints(list, parent, reinterpret_cast<POINT*>(&item), 2);
    HWND editor =
        CreateWindowExA(0, "EDIT", ItemText(index).c_str(), WS_CHILD | WS_BORDER | ES_AUTOHSCROLL, item.left,
                        item.top, item.right - item.left, item.bottom - item.top, parent,
                        reinterpret_cast<HMENU>(static_cast<INT_PTR>(kEditorId)),
                        reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(list, GWLP_HINSTANCE)), nullptr);
    if (editor == nullptr) {
        return false;
    }
    HFONT font = reinterpret_cast<HFONT>(SendMessageA(list, WM_GETFONT, 0, 0));
    SendMessageA(editor, WM_SETFONT, reinterpret_cast<WPARAM>(font ? font : GetSkin().Font()), FALSE);
    m_editor.Install(editor);
    m_nEditIndex = index;
    SetWindowPos(editor, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
    SendMessageA(editor, EM_SETSEL, 0, -1);
    SetFocus(editor);
    return true;
}

void CEditListBox::EndEdit(bool commit) {
    HWND editor = m_editor.Hwnd();
    if (editor == nullptr || m_bEnding) {
        return;
    }
    // The editor's own focus loss, while it goes, must not end the edit a second time.
    m_bEnding = true;
    int length = GetWindowTextLengthA(editor);
    std::vector<char> buffer(static_cast<size_t>(length) + 1, '\0');
    GetWindowTextA(editor, buffer.data(), length + 1);
    std::string text = buffer.data();
    int index = m_nEditIndex;
    // An empty label is no label: the edit counts as cancelled.
    bool committed = commit && !text.empty();
    if (committed) {
        SetItemText(index, text);
    }
    // Ended by a key, the focus goes back to the list; ended by a click elsewhere, it stays there.
    if (GetFocus() == editor) {
        SetFocus(Hwnd());
    }
    DestroyWindow(editor);
    m_editor.Remove();
    m_nEditIndex = -1;
    m_bEnding = false;
    if (committed) {
        PostMessageA(GetParent(Hwnd()), WM_RENAME_DONE, 0, 0);
    }
}

LRESULT CEditListBox::CEditor::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_GETDLGCODE:
        // Enter and Escape are the editor's, not the dialog's default and cancel buttons.
        return DefaultProc(message, wParam, lParam) | DLGC_WANTALLKEYS;
    case WM_KEYDOWN:
        if (wParam == VK_RETURN || wParam == VK_ESCAPE) {
            m_list.EndEdit(wParam == VK_RETURN);
            return 0;
        }
        break;
    case WM_CHAR:
        // The characters of those keys would only beep in a single-line edit.
        if (wParam == '\r' || wParam == 0x1B) {
            return 0;
        }
        break;
    case WM_KILLFOCUS: {
        LRESULT result = DefaultProc(message, wParam, lParam);
        m_list.EndEdit(true);
        return result;
    }
    default:
        break;
    }
    return DefaultProc(message, wParam, lParam);
}

void CEditListBox::CEditor::OnWindowGone() {
    // Gone with the parent before the list noticed: nothing is being edited any more.
    if (!m_list.m_bEnding) {
        m_list.m_nEditIndex = -1;
    }
}

void CEditListBox::DrawItem(const DRAWITEMSTRUCT& item) const {
    const CSkin& skin = GetSkin();
    HDC dc = item.hDC;
    RECT place = item.rcItem;
    bool selected = (item.itemState & ODS_SELECTED) != 0;
    int index = static_cast<int>(item.itemID);
    SkinColour ground =
        selected ? SkinColour::Selection : (index % 2 != 0 ? SkinColour::Alternate : SkinColour::Body);
    FillRect(dc, &place, skin.Brush(ground));
    if (index < 0) {
        return;
    }
    if (selected) {
        // The accent's edge marks the chosen disc even where the selection colour is faint.
        RECT edge{place.left, place.top, place.left + 3, place.bottom};
        FillRect(dc, &edge, skin.Brush(SkinColour::Accent));
    }
    std::string text = ItemText(index);
    RECT textPlace{place.left + 8, place.top, place.right - 4, place.bottom};
    ScopedSelect font(dc, skin.Font(selected ? SkinFont::Bold : SkinFont::Normal));
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, skin.Colour(SkinColour::Text));
    DrawTextA(dc, text.c_str(), -1, &textPlace,
              DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
}

MessageResult CEditListBox::OnReflected(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_DRAWITEM:
        DrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
        return TRUE;
    case WM_MEASUREITEM:
        reinterpret_cast<MEASUREITEMSTRUCT*>(lParam)->itemHeight = kItemHeight;
        return TRUE;
    case WM_CTLCOLORLISTBOX: {
        // The part of the list below its last item.
        HDC dc = reinterpret_cast<HDC>(wParam);
        SetTextColor(dc, GetSkin().Colour(SkinColour::Text));
        SetBkColor(dc, GetSkin().Colour(SkinColour::Body));
        return reinterpret_cast<LRESULT>(GetSkin().Brush(SkinColour::Body));
    }
    default:
        return {};
    }
}

LRESULT CEditListBox::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_VSCROLL:
    case WM_MOUSEWHEEL:
    case WM_SIZE:
    case WM_MOVE:
        // The item would move away from under its editor: the edit ends as the user left it.
        EndEdit(true);
        break;
    case WM_DESTROY:
        EndEdit(false);
        break;
    default:
        break;
    }
    return DefaultProc(message, wParam, lParam);
}
