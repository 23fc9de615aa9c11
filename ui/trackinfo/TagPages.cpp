#include "ui/trackinfo/TagPages.h"

#include "app/Localisation.h"
#include "app/Messages.h"
#include "app/framework/GdiScoped.h"
#include "companions/AudioTagCore/GenreInfo.h"
#include "res/ids/FileInfoIds.h"
#include "ui/trackinfo/ArtworkPicture.h"
#include "ui/trackinfo/FileInfoModel.h"

#include <cstdio>
#include <iterator>
#include <utility>

namespace {

constexpr int kId3v1Fields[] = {IDC_ID3V1_TRACK, IDC_ID3V1_TITLE, IDC_ID3V1_ARTIST, IDC_ID3V1_ALBUM,
                                IDC_ID3V1_YEAR,  IDC_ID3V1_GENRE, IDC_ID3V1_COMMENT};
constexpr int kId3v2Fields[] = {IDC_ID3V2_TRACK,
                                IDC_ID3V2_DISC,
                                IDC_ID3V2_TITLE,
                                IDC_ID3V2_ARTIST,
                                IDC_ID3V2_ALBUM,
                                IDC_ID3V2_ALBUM_ARTIST,
                                IDC_ID3V2_YEAR,
                                IDC_ID3V2_GENRE,
                                IDC_ID3V2_COMPOSER,
                                IDC_ID3V2_PUBLISHER,
                                IDC_ID3V2_ORIGINAL_ARTIST,
                                IDC_ID3V2_COPYRIGHT,
                                IDC_ID3V2_ENCODED_BY,
                                IDC_ID3V2_URL,
                                IDC_ID3V2_COMMENT};

// A multi-line edit breaks lines at "\r\n"; the tags keep "\n".
std::string ToEditLines(const char* text) {
    std::string lines;
    for (const char* c = text; *c != '\0'; ++c) {
        if (*c == '\n' && (c == text || c[-1] != '\r')) {
            lines += '\r';
        }
        lines += *c;
    }
    return lines;
}

std::string FromEditLines(const std::string& lines) {
    std::string text;
    for (char c : lines) {
        if (c != '\r') {
            text += c;
        }
    }
    return text;
}

std::string TrackText(int32_t number) {
    return number > 0 ? std::to_string(number) : std::string();
}

} // namespace

void FillGenreBox(HWND box) {
    SendMessageA(box, CB_RESETCONTENT, 0, 0);
    for (int number = 0; number < CGenreInfo::GetGenreCount(); ++number) {
        LRESULT item =
            SendMessageA(box, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(CGenreInfo::GetGenreIDStr(number)));
        SendMessageA(box, CB_SETITEMDATA, static_cast<WPARAM>(item), number);
    }
}

void SelectGenre(HWND box, const char* genre, bool editable) {
    const int wanted = GenreReferenceNumber(genre);
    if (wanted < 0 && editable) {
        SendMessageA(box, CB_SETCURSEL, static_cast<WPARAM>(-1), 0);
        SetWindowTextA(box, genre != nullptr ? genre : "");
        return;
    }
    const int count = static_cast<int>(SendMessageA(box, CB_GETCOUNT, 0, 0));
    int other = -1;
    for (int item = 0; item < count; ++item) {
        const int number = static_cast<int>(SendMessageA(box, CB_GETITEMDATA, static_cast<WPARAM>(item), 0));
        if (number == wanted) {
            SendMessageA(box, CB_SETCURSEL, static_cast<WPARAM>(item), 0);
            return;
        }
        if (number == CGenreInfo::GetOtherGenreID()) {
            other = item;
        }
    }
    SendMessageA(box, CB_SETCURSEL, static_cast<WPARAM>(other), 0);
}

bool CFileInfoPage::Create(HINSTANCE instance, const CDialogBase& dialog) {
    OnMessage(WM_LANGUAGE_CHANGED, [this](WPARAM, LPARAM) -> MessageResult {
        LocaliseDialog(Hwnd(), m_templateId);
        return 0;
    });
    return CreateChild(instance, m_templateId, dialog, IDC_FILEINFO_PAGE_AREA);
}

BOOL CFileInfoPage::OnInitDialog() {
    LocaliseDialog(Hwnd(), m_templateId);
    return TRUE;
}

std::string CFileInfoPage::Text(int id) const {
    HWND control = Item(id);
    std::string text(static_cast<size_t>(GetWindowTextLengthA(control)) + 1, '\0');
    text.resize(static_cast<size_t>(GetWindowTextA(control, text.data(), static_cast<int>(text.size()))));
    return text;
}

void CFileInfoPage::SetText(int id, const char* text) {
    SetWindowTextA(Item(id), text);
}

void CFileInfoPage::EnableControls(const int* ids, size_t count, bool enable) {
    for (size_t i = 0; i < count; ++i) {
        EnableWindow(Item(ids[i]), enable ? TRUE : FALSE);
    }
}

void CFileInfoPage::FillGenreBoxOnce(int id) {
    if (SendMessageA(Item(id), CB_GETCOUNT, 0, 0) == 0) {
        FillGenreBox(Item(id));
    }
}

CPageSummary::CPageSummary(const SummaryTexts& texts) : CFileInfoPage(IDD_PAGE_SUMMARY), m_texts(texts) {
    OnMessage(WM_PAINT, [this](WPARAM, LPARAM) -> MessageResult {
        PaintArtwork();
        return 0;
    });
}

void CPageSummary::Fill() {
    SetText(IDC_SUMMARY_TITLE, m_texts.title.c_str());
    SetText(IDC_SUMMARY_ARTIST, m_texts.artist.c_str());
    SetText(IDC_SUMMARY_ALBUM, m_texts.album.c_str());
    SetText(IDC_SUMMARY_SIZE, m_texts.size.c_str());
    SetText(IDC_SUMMARY_BITRATE, m_texts.bitrate.c_str());
    SetText(IDC_SUMMARY_SAMPLE_RATE, m_texts.sampleRate.c_str());
    SetText(IDC_SUMMARY_CHANNELS, m_texts.channels.c_str());
    SetText(IDC_SUMMARY_DATE, m_texts.date.c_str());
    InvalidateRect(Hwnd(), nullptr, TRUE);
}

void CPageSummary::PaintArtwork() {
    ScopedPaint paint(Hwnd());
    RECT frame;
    GetWindowRect(Item(IDC_SUMMARY_ARTWORK), &frame);
    MapWindowPoints(nullptr, Hwnd(), reinterpret_cast<POINT*>(&frame), 2);
    // Inside the frame's line, which stays visible around the picture.
    InflateRect(&frame, -1, -1);
    DrawPictureFile(paint.Get(), m_texts.artworkPath, frame);
}

CId3TagPage::CId3TagPage(int templateId, const Controls& controls, TrackTags& tags, bool& include,
                         std::function<void()> copyToOther)
    : CFileInfoPage(templateId), m_tags(tags), m_bInclude(include), m_controls(controls) {
    OnCommand(m_controls.include, [this] {
        m_bInclude = IsDlgButtonChecked(Hwnd(), m_controls.include) == BST_CHECKED;
        EnableFields();
    });
    OnCommand(m_controls.copy, [this, copyToOther] {
        Store();
        copyToOther();
    });
}

void CId3TagPage::ShowInclude() {
    CheckDlgButton(Hwnd(), m_controls.include, m_bInclude ? BST_CHECKED : BST_UNCHECKED);
    EnableFields();
}

void CId3TagPage::EnableFields() {
    EnableControls(m_controls.fields, m_controls.fieldCount, m_bInclude);
}

CPageID3v1::CPageID3v1(TrackTags& tags, bool& include, std::function<void()> copyToOther)
    : CId3TagPage(IDD_PAGE_ID3V1, {IDC_ID3V1_INCLUDE, IDC_ID3V1_COPY, kId3v1Fields, std::size(kId3v1Fields)},
                  tags, include, std::move(copyToOther)) {}

void CPageID3v1::Fill() {
    FillGenreBoxOnce(IDC_ID3V1_GENRE);
    SetText(IDC_ID3V1_TRACK, TrackText(m_tags.trackNumber).c_str());
    SetText(IDC_ID3V1_TITLE, m_tags.title.c_str());
    SetText(IDC_ID3V1_ARTIST, m_tags.artist.c_str());
    SetText(IDC_ID3V1_ALBUM, m_tags.album.c_str());
    SetText(IDC_ID3V1_YEAR, m_tags.year.c_str());
    SetText(IDC_ID3V1_COMMENT, m_tags.comment.c_str());
    SelectGenre(Item(IDC_ID3V1_GENRE), m_tags.genre.c_str(), false);
    ShowInclude();
}

void CPageID3v1::Store() {
    ReadTrackNumber(Text(IDC_ID3V1_TRACK), m_tags.trackNumber);
    m_tags.title = Text(IDC_ID3V1_TITLE);
    m_tags.artist = Text(IDC_ID3V1_ARTIST);
    m_tags.album = Text(IDC_ID3V1_ALBUM);
    m_tags.year = Text(IDC_ID3V1_YEAR);
    m_tags.comment = Text(IDC_ID3V1_COMMENT);
    HWND genre = Item(IDC_ID3V1_GENRE);
    LRESULT item = SendMessageA(genre, CB_GETCURSEL, 0, 0);
    if (item != CB_ERR) {
        char reference[16];
        snprintf(reference, sizeof reference, "(%d)",
                 static_cast<int>(SendMessageA(genre, CB_GETITEMDATA, static_cast<WPARAM>(item), 0)));
        m_tags.genre = reference;
    }
}

CPageID3v2::CPageID3v2(TrackTags& tags, bool& include, std::function<void()> copyToOther)
    : CId3TagPage(IDD_PAGE_ID3V2, {IDC_ID3V2_INCLUDE, IDC_ID3V2_COPY, kId3v2Fields, std::size(kId3v2Fields)},
                  tags, include, std::move(copyToOther)) {}

void CPageID3v2::Fill() {
    FillGenreBoxOnce(IDC_ID3V2_GENRE);
    SetText(IDC_ID3V2_TRACK, TrackText(m_tags.trackNumber).c_str());
    SetText(IDC_ID3V2_DISC, m_tags.partOfSet.c_str());
    SetText(IDC_ID3V2_TITLE, m_tags.title.c_str());
    SetText(IDC_ID3V2_ARTIST, m_tags.artist.c_str());
    SetText(IDC_ID3V2_ALBUM, m_tags.album.c_str());
    SetText(IDC_ID3V2_ALBUM_ARTIST, m_tags.albumArtist.c_str());
    SetText(IDC_ID3V2_YEAR, m_tags.year.c_str());
    SetText(IDC_ID3V2_COMPOSER, m_tags.composer.c_str());
    SetText(IDC_ID3V2_PUBLISHER, m_tags.publisher.c_str());
    SetText(IDC_ID3V2_ORIGINAL_ARTIST, m_tags.originalArtist.c_str());
    SetText(IDC_ID3V2_COPYRIGHT, m_tags.copyright.c_str());
    SetText(IDC_ID3V2_ENCODED_BY, m_tags.encodedBy.c_str());
    SetText(IDC_ID3V2_URL, m_tags.url.c_str());
    SetText(IDC_ID3V2_COMMENT, ToEditLines(m_tags.comment.c_str()).c_str());
    SelectGenre(Item(IDC_ID3V2_GENRE), m_tags.genre.c_str(), true);
    ShowInclude();
}

void CPageID3v2::Store() {
    ReadTrackNumber(Text(IDC_ID3V2_TRACK), m_tags.trackNumber);
    m_tags.partOfSet = Text(IDC_ID3V2_DISC);
    m_tags.title = Text(IDC_ID3V2_TITLE);
    m_tags.artist = Text(IDC_ID3V2_ARTIST);
    m_tags.album = Text(IDC_ID3V2_ALBUM);
    m_tags.albumArtist = Text(IDC_ID3V2_ALBUM_ARTIST);
    m_tags.year = Text(IDC_ID3V2_YEAR);
    m_tags.genre = Text(IDC_ID3V2_GENRE);
    m_tags.composer = Text(IDC_ID3V2_COMPOSER);
    m_tags.publisher = Text(IDC_ID3V2_PUBLISHER);
    m_tags.originalArtist = Text(IDC_ID3V2_ORIGINAL_ARTIST);
    m_tags.copyright = Text(IDC_ID3V2_COPYRIGHT);
    m_tags.encodedBy = Text(IDC_ID3V2_ENCODED_BY);
    m_tags.url = Text(IDC_ID3V2_URL);
    m_tags.comment = FromEditLines(Text(IDC_ID3V2_COMMENT));
}

CPageWMAInfo::CPageWMAInfo(TrackTags& tags) : CFileInfoPage(IDD_PAGE_WMAINFO), m_tags(tags) {}

void CPageWMAInfo::Fill() {
    FillGenreBoxOnce(IDC_WMAINFO_GENRE);
    SetText(IDC_WMAINFO_TRACK, TrackText(m_tags.trackNumber).c_str());
    SetText(IDC_WMAINFO_TITLE, m_tags.title.c_str());
    SetText(IDC_WMAINFO_ARTIST, m_tags.artist.c_str());
    SetText(IDC_WMAINFO_ALBUM, m_tags.album.c_str());
    SetText(IDC_WMAINFO_YEAR, m_tags.year.c_str());
    SetText(IDC_WMAINFO_COMMENT, ToEditLines(m_tags.comment.c_str()).c_str());
    SelectGenre(Item(IDC_WMAINFO_GENRE), m_tags.genre.c_str(), true);
}

void CPageWMAInfo::Store() {
    ReadTrackNumber(Text(IDC_WMAINFO_TRACK), m_tags.trackNumber);
    m_tags.title = Text(IDC_WMAINFO_TITLE);
    m_tags.artist = Text(IDC_WMAINFO_ARTIST);
    m_tags.album = Text(IDC_WMAINFO_ALBUM);
    m_tags.year = Text(IDC_WMAINFO_YEAR);
    m_tags.genre = Text(IDC_WMAINFO_GENRE);
    m_tags.comment = FromEditLines(Text(IDC_WMAINFO_COMMENT));
}
