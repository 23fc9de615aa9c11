#include "ui/manager/DlgStartGuide.h"

#include "app/Localisation.h"
#include "app/Messages.h"
#include "res/ids/ArtIds.h"
#include "res/ids/StartGuideIds.h"
#include "ui/controls/Skin.h"
#include "ui/manager/HeadingFont.h"

namespace {

// Every edge follows half of a change in size: the block keeps its layout and stays centred.
constexpr Anchor Centred(int id) {
    return {id, 0.5, 0.5, 0.5, 0.5};
}

} // namespace

CDlgStartGuide::CDlgStartGuide(MoreGuideHandler onMoreGuide) : m_onMoreGuide(std::move(onMoreGuide)) {
    OnMessage(WM_CTLCOLORDLG, [](WPARAM, LPARAM) -> MessageResult {
        return reinterpret_cast<LRESULT>(GetSkin().Brush(SkinColour::Body));
    });
    OnMessage(WM_CTLCOLORSTATIC, [this](WPARAM wParam, LPARAM control) -> MessageResult {
        auto dc = reinterpret_cast<HDC>(wParam);
        bool heading = reinterpret_cast<HWND>(control) == Item(IDC_STARTGUIDE_HEADING);
        SetTextColor(dc, GetSkin().Colour(heading ? SkinColour::Accent : SkinColour::Text));
        SetBkColor(dc, GetSkin().Colour(SkinColour::Body));
        return reinterpret_cast<LRESULT>(GetSkin().Brush(SkinColour::Body));
    });
    OnMessage(WM_DRAWITEM, [this](WPARAM, LPARAM lParam) -> MessageResult {
        const auto& item = *reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
        if (item.CtlID != IDC_STARTGUIDE_PICTURE) {
            return {};
        }
        DrawPicture(item);
        return TRUE;
    });
    OnMessage(WM_SIZE, [this](WPARAM, LPARAM) -> MessageResult {
        m_layout.Apply();
        return 0;
    });
    OnMessage(WM_LANGUAGE_CHANGED, [this](WPARAM, LPARAM) -> MessageResult {
        ApplyLanguage();
        return 0;
    });
}

CDlgStartGuide::~CDlgStartGuide() {
    Destroy();
}

bool CDlgStartGuide::Create(HINSTANCE instance, HWND parent) {
    return CreateChild(instance, IDD_START_GUIDE, parent);
}

BOOL CDlgStartGuide::OnInitDialog() {
    m_lnkMore.Attach(*this, IDC_STARTGUIDE_MORE);
    m_lnkMore.SetOpener([this](const std::string&) {
        if (m_onMoreGuide) {
            m_onMoreGuide();
        }
    });
    m_fontHeading.Reset(CreateHeadingFont(Hwnd()));
    if (m_fontHeading) {
        SendMessageA(Item(IDC_STARTGUIDE_HEADING), WM_SETFONT, reinterpret_cast<WPARAM>(m_fontHeading.Get()),
                     FALSE);
    }
    m_layout.Attach(Hwnd(), {Centred(IDC_STARTGUIDE_PICTURE), Centred(IDC_STARTGUIDE_HEADING),
                             Centred(IDC_STARTGUIDE_STEP1), Centred(IDC_STARTGUIDE_STEP2),
                             Centred(IDC_STARTGUIDE_STEP3), Centred(IDC_STARTGUIDE_MORE)});
    ApplyLanguage();
    return TRUE;
}

void CDlgStartGuide::ApplyLanguage() {
    LocaliseDialog(Hwnd(), IDD_START_GUIDE);
    m_bmpPicture.Reset(LoadLangBitmap(IDB_START_GUIDE));
    InvalidateRect(Item(IDC_STARTGUIDE_PICTURE), nullptr, FALSE);
}

void CDlgStartGuide::DrawPicture(const DRAWITEMSTRUCT& item) const {
    // The picture stands centred on the body's colour, which its own ground is.
    FillRect(item.hDC, &item.rcItem, GetSkin().Brush(SkinColour::Body));
    BITMAP info{};
    if (!m_bmpPicture || GetObjectA(m_bmpPicture.Get(), sizeof info, &info) == 0) {
        return;
    }
    ScopedMemoryDC picture(CreateCompatibleDC(item.hDC));
    ScopedSelect selected(picture.Get(), m_bmpPicture.Get());
    int x = (item.rcItem.left + item.rcItem.right - info.bmWidth) / 2;
    int y = (item.rcItem.top + item.rcItem.bottom - info.bmHeight) / 2;
    BitBlt(item.hDC, x, y, info.bmWidth, info.bmHeight, picture.Get(), 0, 0, SRCCOPY);
}
