#include "ui/controls/SkinListCtrl.h"

#include "ui/controls/Skin.h"

#include <commctrl.h>

#include <vector>

void CSkinListCtrl::OnAttached() {
    const CSkin& skin = GetSkin();
    HWND list = Hwnd();
    ListView_SetExtendedListViewStyleEx(list, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
    ListView_SetBkColor(list, skin.Colour(SkinColour::Body));
    ListView_SetTextBkColor(list, skin.Colour(SkinColour::Body));
    ListView_SetTextColor(list, skin.Colour(SkinColour::Text));
    SendMessageA(list, WM_SETFONT, reinterpret_cast<WPARAM>(skin.Font(SkinFont::Normal)), FALSE);
    m_header.Install(ListView_GetHeader(list));
}

void CSkinListCtrl::SetPathColumn(int column) {
    m_nPathColumn = column;
    if (Hwnd() != nullptr) {
        InvalidateRect(Hwnd(), nullptr, FALSE);
    }
}

void CSkinListCtrl::SetPlayingPath(const std::string& path) {
    m_strPlayingPath = path;
    if (Hwnd() != nullptr) {
        InvalidateRect(Hwnd(), nullptr, FALSE);
    }
}

std::string CSkinListCtrl::ItemText(int row, int column) const {
    std::vector<char> buffer(MAX_PATH + 1, '\0');
    LVITEMA item{};
    item.iSubItem = column;
    item.pszText = buffer.data();
    item.cchTextMax = static_cast<int>(buffer.size());
    SendMessageA(Hwnd(), LVM_GETITEMTEXTA, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
    return buffer.data();
}

bool CSkinListCtrl::IsPlayingRow(int row) const {
    return !m_strPlayingPath.empty() &&
           lstrcmpiA(ItemText(row, m_nPathColumn).c_str(), m_strPlayingPath.c_str()) == 0;
}

LRESULT CSkinListCtrl::CustomDraw(NMLVCUSTOMDRAW& draw) const {
    switch (draw.nmcd.dwDrawStage) {
    case CDDS_PREPAINT:
        return CDRF_NOTIFYITEMDRAW;
    case CDDS_ITEMPREPAINT: {
        const CSkin& skin = GetSkin();
        int row = static_cast<int>(draw.nmcd.dwItemSpec);
        bool selected = (ListView_GetItemState(Hwnd(), row, LVIS_SELECTED) & LVIS_SELECTED) != 0;
        bool playing = IsPlayingRow(row);
        SkinColour ground = playing    ? SkinColour::Playing
                            : selected ? SkinColour::Selection
                            : row % 2  ? SkinColour::Alternate
                                       : SkinColour::Body;
        draw.clrTextBk = skin.Colour(ground);
        draw.clrText = skin.Colour(playing ? SkinColour::Accent : SkinColour::Text);
        // The control would paint its own selection colours over ours.
        draw.nmcd.uItemState &= ~(CDIS_SELECTED | CDIS_FOCUS);
        // A font for every row: a new font, once chosen, would otherwise stay for the rows after.
        SelectObject(draw.nmcd.hdc, skin.Font(playing ? SkinFont::Bold : SkinFont::Normal));
        return CDRF_NEWFONT;
    }
    default:
        return CDRF_DODEFAULT;
    }
}

MessageResult CSkinListCtrl::OnReflected(UINT message, WPARAM, LPARAM lParam) {
    if (message != WM_NOTIFY) {
        return {};
    }
    auto& header = *reinterpret_cast<NMHDR*>(lParam);
    if (header.code != NM_CUSTOMDRAW || header.hwndFrom != Hwnd()) {
        return {};
    }
    return CustomDraw(*reinterpret_cast<NMLVCUSTOMDRAW*>(lParam));
}
