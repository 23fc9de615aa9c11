#include "ui/manager/CatalogueLists.h"

#include "app/Localisation.h"
#include "app/framework/Dialog.h"
#include "app/framework/GdiScoped.h"
#include "app/framework/Scoped.h"
#include "app/framework/WinApp.h"
#include "companions/AudioTagCore/EncodeFinishResult.h"
#include "project/DiscCatalogue.h"
#include "res/ids/StringIds.h"

#include <commctrl.h>

#include <algorithm>

namespace {

constexpr UINT kColumnTexts[] = {0,
                                 IDS_COLUMN_NAME,
                                 IDS_COLUMN_TIME,
                                 IDS_COLUMN_ARTIST,
                                 IDS_COLUMN_ALBUM,
                                 IDS_COLUMN_GENRE,
                                 IDS_COLUMN_LOCATION};
constexpr int kColumnWidths[] = {42, 200, 80, 80, 100, 70, 180};

std::string ColumnText(int column) {
    return column == kColumnNumber ? "#" : LoadLangString(kColumnTexts[column]);
}

} // namespace

void CCatalogueLists::Attach(CDialogBase& owner, int discListId, int musicListId, HWND guide,
                             std::string projectFile) {
    m_hOwner = owner.Hwnd();
    m_hGuide = guide;
    m_strProjectFile = std::move(projectFile);
    m_lstDiscs.Attach(owner, discListId);
    m_lstMusic.Attach(owner, musicListId);
    ListView_SetExtendedListViewStyle(m_lstMusic.Hwnd(), LVS_EX_FULLROWSELECT);
    for (int column = kColumnNumber; column <= kColumnLocation; ++column) {
        std::string text = ColumnText(column);
        LVCOLUMNA entry{};
        entry.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT;
        entry.fmt = LVCFMT_LEFT;
        entry.cx = kColumnWidths[column];
        entry.pszText = text.data();
        ListView_InsertColumn(m_lstMusic.Hwnd(), column, &entry);
    }
    m_lstMusic.SetPathColumn(kColumnLocation);
}

void CCatalogueLists::ApplyLanguage() {
    for (int column = kColumnName; column <= kColumnLocation; ++column) {
        std::string text = ColumnText(column);
        LVCOLUMNA entry{};
        entry.mask = LVCF_TEXT;
        entry.pszText = text.data();
        ListView_SetColumn(m_lstMusic.Hwnd(), column, &entry);
    }
}

bool CCatalogueLists::Confirm(UINT formatId, const std::string& value) const {
    return CWinAppBase::Get()->MessageBoxText(FormatLangString(formatId, value).c_str(),
                                              MB_YESNO | MB_ICONQUESTION, m_hOwner) == IDYES;
}

void CCatalogueLists::ShowFirstDisc() {
    SendMessageA(m_lstDiscs.Hwnd(), LB_RESETCONTENT, 0, 0);
    ShowDisc(0);
}

void CCatalogueLists::ShowLastDisc() {
    DiscCatalogue& catalogue = GetDiscCatalogue();
    ScopedLock lock(catalogue.Lock());
    if (catalogue.GetCount() > 0) {
        ShowDisc(static_cast<int>(catalogue.GetCount()) - 1);
    }
}

int CCatalogueLists::SelectedDisc() const {
    const LRESULT selected = SendMessageA(m_lstDiscs.Hwnd(), LB_GETCURSEL, 0, 0);
    return selected == LB_ERR ? -1 : static_cast<int>(selected);
}

int CCatalogueLists::SelectedRow() const {
    return ListView_GetNextItem(m_lstMusic.Hwnd(), -1, LVNI_SELECTED);
}

void CCatalogueLists::ShowDisc(int disc) {
    ShowMusicList(true);
    DiscCatalogue& catalogue = GetDiscCatalogue();
    ScopedLock lock(catalogue.Lock());
    HWND list = m_lstDiscs.Hwnd();
    const int count = static_cast<int>(catalogue.GetCount());
    if (SendMessageA(list, LB_GETCOUNT, 0, 0) != count) {
        SendMessageA(list, LB_RESETCONTENT, 0, 0);
        for (int i = 0; i < count; ++i) {
            SendMessageA(list, LB_ADDSTRING, 0,
                         reinterpret_cast<LPARAM>(catalogue.GetDisc(i)->GetLabel().c_str()));
        }
    }
    SendMessageA(list, LB_SETCURSEL, disc, 0);
    FillMusicList(disc);
}

void CCatalogueLists::FillMusicList(int disc) {
    HWND list = m_lstMusic.Hwnd();
    SendMessageA(list, WM_SETREDRAW, FALSE, 0);
    ListView_DeleteAllItems(list);
    DiscCatalogue& catalogue = GetDiscCatalogue();
    ScopedLock lock(catalogue.Lock());
    if (const DiscRecord* record = disc >= 0 ? catalogue.GetDisc(static_cast<size_t>(disc)) : nullptr) {
        for (size_t i = 0; i < record->GetTrackCount(); ++i) {
            TrackRecord track;
            record->GetTrack(i, track);
            std::string number = std::to_string(i + 1);
            LVITEMA item{};
            item.mask = LVIF_TEXT;
            item.iItem = static_cast<int>(i);
            item.pszText = number.data();
            const int row = ListView_InsertItem(list, &item);
            const std::string* texts[] = {&track.title, &track.time,  &track.artist,
                                          &track.album, &track.genre, &track.path};
            for (int column = kColumnName; column <= kColumnLocation; ++column) {
                ListView_SetItemText(list, row, column, const_cast<char*>(texts[column - 1]->c_str()));
            }
        }
    }
    SendMessageA(list, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(list, nullptr, TRUE);
}

void CCatalogueLists::ShowMusicList(bool show) {
    ShowWindow(m_lstMusic.Hwnd(), show ? SW_SHOW : SW_HIDE);
    ShowWindow(m_hGuide, show ? SW_HIDE : SW_SHOW);
}

void CCatalogueLists::SelectNeighbourOf(int removed) {
    const int count = static_cast<int>(SendMessageA(m_lstDiscs.Hwnd(), LB_GETCOUNT, 0, 0));
    if (count == 0) {
        FillMusicList(-1);
        return;
    }
    ShowDisc(std::min(removed, count - 1));
}

void CCatalogueLists::DeleteDisc() {
    const int disc = SelectedDisc();
    if (disc < 0 || !Confirm(IDS_CONFIRM_DELETE_DISC, m_lstDiscs.ItemText(disc))) {
        return;
    }
    SendMessageA(m_lstDiscs.Hwnd(), LB_DELETESTRING, disc, 0);
    GetDiscCatalogue().DeleteDisc(static_cast<size_t>(disc));
    SelectNeighbourOf(disc);
}

void CCatalogueLists::DeleteMusicFile(const std::function<void(const std::string&)>& releaseFile) {
    const int disc = SelectedDisc();
    const int row = SelectedRow();
    if (disc < 0 || row < 0 || !Confirm(IDS_CONFIRM_DELETE_FILE, m_lstMusic.ItemText(row, kColumnName))) {
        return;
    }
    releaseFile(m_lstMusic.ItemText(row, kColumnLocation));
    bool discRemoved = false;
    GetDiscCatalogue().DeleteTrack(static_cast<size_t>(disc), static_cast<size_t>(row), discRemoved);
    if (discRemoved) {
        SendMessageA(m_lstDiscs.Hwnd(), LB_DELETESTRING, disc, 0);
        SelectNeighbourOf(disc);
    } else {
        FillMusicList(disc);
    }
}

void CCatalogueLists::BeginRename() {
    const int disc = SelectedDisc();
    if (disc >= 0) {
        m_lstDiscs.BeginEdit(disc);
    }
}

void CCatalogueLists::CommitRename() {
    const int disc = SelectedDisc();
    if (disc < 0) {
        return;
    }
    const std::string text = m_lstDiscs.ItemText(disc);
    DiscCatalogue& catalogue = GetDiscCatalogue();
    std::string label;
    bool exists = false;
    {
        // A rename moves the disc's folder and files.
        ScopedWaitCursor wait;
        ScopedLock lock(catalogue.Lock());
        DiscRecord* record = catalogue.GetDisc(static_cast<size_t>(disc));
        if (record == nullptr) {
            return;
        }
        label = record->GetLabel();
        exists = !text.empty() && catalogue.LabelExists(text, record);
        if (!text.empty() && !exists && _stricmp(text.c_str(), label.c_str()) != 0) {
            catalogue.RenameDisc(static_cast<size_t>(disc), text);
            label = record->GetLabel();
        }
    }
    // The list shows what the catalogue holds: the sanitised new label, or the old one kept.
    m_lstDiscs.SetItemText(disc, label);
    FillMusicList(disc);
    if (exists) {
        CWinAppBase::Get()->MessageBoxText(FormatLangString(IDS_LABEL_EXISTS, text).c_str(),
                                           MB_OK | MB_ICONWARNING, m_hOwner);
    }
}

void CCatalogueLists::Reload() {
    ScopedWaitCursor wait;
    SendMessageA(m_lstDiscs.Hwnd(), LB_RESETCONTENT, 0, 0);
    FillMusicList(-1);
    DiscCatalogue& catalogue = GetDiscCatalogue();
    {
        ScopedLock lock(catalogue.Lock());
        catalogue.SaveProject(m_strProjectFile);
        catalogue.LoadProject(m_strProjectFile);
        if (catalogue.GetCount() > 0) {
            ShowDisc(static_cast<int>(catalogue.GetCount()) - 1);
        }
    }
}

void CCatalogueLists::RecordTrack(const _AUDIO_ENCODE_FINISH_RESULT& result) {
    if (m_recorder.Record(result, GetDiscCatalogue())) {
        ShowLastDisc();
    }
}

void CCatalogueLists::SetTrackTags(const std::string& path, const std::string& title,
                                   const std::string& artist, const std::string& album,
                                   const std::string& genre) {
    const int disc = SelectedDisc();
    DiscCatalogue& catalogue = GetDiscCatalogue();
    {
        ScopedLock lock(catalogue.Lock());
        DiscRecord* record = disc >= 0 ? catalogue.GetDisc(static_cast<size_t>(disc)) : nullptr;
        for (size_t i = 0; record != nullptr && i < record->GetTrackCount(); ++i) {
            if (_stricmp(record->GetTrackPath(i).c_str(), path.c_str()) == 0) {
                record->SetTrackTags(i, title, artist, album, genre);
                break;
            }
        }
    }
    // The selection stays where the user left it.
    const int row = SelectedRow();
    FillMusicList(disc);
    if (row >= 0) {
        ListView_SetItemState(m_lstMusic.Hwnd(), row, LVIS_SELECTED | LVIS_FOCUSED,
                              LVIS_SELECTED | LVIS_FOCUSED);
    }
}
