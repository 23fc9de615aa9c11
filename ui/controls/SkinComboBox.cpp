#include "ui/controls/SkinComboBox.h"

#include "ui/controls/Skin.h"
#include "ui/controls/ToolkitMessages.h"

#include <vector>

void CSkinComboBox::OnAttached() {
    Subclass();
    // The template's measure requests came before the wrapper existed; the selection field keeps
    // the height the template gave it.
    SendMessageA(Hwnd(), CB_SETITEMHEIGHT, 0, kItemHeight);
    m_nLastSettled = static_cast<int>(SendMessageA(Hwnd(), CB_GETCURSEL, 0, 0));
}

std::string CSkinComboBox::ItemText(int index) const {
    LRESULT length = SendMessageA(Hwnd(), CB_GETLBTEXTLEN, static_cast<WPARAM>(index), 0);
    if (length == CB_ERR) {
        return {};
    }
    std::vector<char> buffer(static_cast<size_t>(length) + 1, '\0');
    SendMessageA(Hwnd(), CB_GETLBTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(buffer.data()));
    return buffer.data();
}

LRESULT CSkinComboBox::Colours(HDC dc) const {
    const CSkin& skin = GetSkin();
    SetTextColor(dc, skin.Colour(SkinColour::Text));
    SetBkColor(dc, skin.Colour(SkinColour::Raised));
    return reinterpret_cast<LRESULT>(skin.Brush(SkinColour::Raised));
}

void CSkinComboBox::DrawItem(const DRAWITEMSTRUCT& item) const {
    const CSkin& skin = GetSkin();
    HDC dc = item.hDC;
    bool selected = (item.itemState & ODS_SELECTED) != 0;
    bool disabled = (item.itemState & ODS_DISABLED) != 0;
    FillRect(dc, &item.rcItem, skin.Brush(selected ? SkinColour::Selection : SkinColour::Raised));
    if (static_cast<int>(item.itemID) < 0) {
        return;
    }
    std::string text = ItemText(static_cast<int>(item.itemID));
    RECT place{item.rcItem.left + 4, item.rcItem.top, item.rcItem.right - 2, item.rcItem.bottom};
    HGDIOBJ previous = SelectObject(dc, skin.Font(SkinFont::Normal));
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, skin.Colour(disabled ? SkinColour::DimText : SkinColour::Text));
    DrawTextA(dc, text.c_str(), -1, &place,
              DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
    SelectObject(dc, previous);
    if ((item.itemState & ODS_FOCUS) != 0 && (item.itemState & ODS_COMBOBOXEDIT) == 0) {
        RECT edge{item.rcItem.left, item.rcItem.top, item.rcItem.left + 2, item.rcItem.bottom};
        FillRect(dc, &edge, skin.Brush(SkinColour::Accent));
    }
}

void CSkinComboBox::Settled() {
    int index = static_cast<int>(SendMessageA(Hwnd(), CB_GETCURSEL, 0, 0));
    // A choice of the item already chosen, or one that two notifications report, is told once.
    if (index == CB_ERR || index == m_nLastSettled) {
        return;
    }
    m_nLastSettled = index;
    PostMessageA(GetParent(Hwnd()), ListCtrlComboSelectionMessage(), static_cast<WPARAM>(Id()), index);
}

MessageResult CSkinComboBox::OnReflected(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_DRAWITEM:
        DrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
        return TRUE;
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLOREDIT:
        // The selection field of a closed list asks its parent too, naming the combo.
        return Colours(reinterpret_cast<HDC>(wParam));
    case WM_COMMAND:
        // While the list is down, moving through it is not yet a choice; the choice is its end.
        if (HIWORD(wParam) == CBN_SELENDOK ||
            (HIWORD(wParam) == CBN_SELCHANGE && !SendMessageA(Hwnd(), CB_GETDROPPEDSTATE, 0, 0))) {
            Settled();
        }
        return {};
    default:
        return {};
    }
}

LRESULT CSkinComboBox::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLOREDIT:
        // From the combo's own children, the dropped list and the edit field, before the combo
        // hands them to the dialog, which would not know them.
        return Colours(reinterpret_cast<HDC>(wParam));
    case CB_SETCURSEL: {
        // A choice made by the program is not the user's.
        LRESULT result = DefaultProc(message, wParam, lParam);
        m_nLastSettled = static_cast<int>(result);
        return result;
    }
    case CB_RESETCONTENT:
        m_nLastSettled = -1;
        break;
    default:
        break;
    }
    return DefaultProc(message, wParam, lParam);
}
