#include "ui/manager/DlgQuickGuide.h"

#include "app/Localisation.h"
#include "app/Messages.h"
#include "res/ids/ArtIds.h"
#include "res/ids/GuideIds.h"
#include "res/ids/StringIds.h"
#include "ui/controls/Skin.h"
#include "ui/manager/HeadingFont.h"

#include <iterator>

namespace {

constexpr int kStepIds[] = {IDC_QUICKGUIDE_STEP1, IDC_QUICKGUIDE_STEP2, IDC_QUICKGUIDE_STEP3,
                            IDC_QUICKGUIDE_STEP4};

} // namespace

CDlgQuickGuide::CDlgQuickGuide()
    : m_brHeading(CreateSolidBrush(QUICK_GUIDE_HEADING_GROUND)),
      m_brStep(CreateSolidBrush(QUICK_GUIDE_STEP_GROUND)) {
    OnCommand(IDCANCEL, [this] { EndModal(IDCANCEL); });
    OnMessage(WM_PANEL_ACTION, [this](WPARAM region, LPARAM) -> MessageResult {
        if (region == QUICK_GUIDE_CLOSE_REGION) {
            EndModal(IDCANCEL);
        }
        return 0;
    });
    OnMessage(WM_CTLCOLORSTATIC, [this](WPARAM wParam, LPARAM control) -> MessageResult {
        // The texts lie on flat areas of the picture: painted on the same colour, they are seamless.
        auto dc = reinterpret_cast<HDC>(wParam);
        bool heading = reinterpret_cast<HWND>(control) == Item(IDC_QUICKGUIDE_HEADING);
        SetTextColor(dc, GetSkin().Colour(heading ? SkinColour::Accent : SkinColour::Text));
        SetBkColor(dc, heading ? QUICK_GUIDE_HEADING_GROUND : QUICK_GUIDE_STEP_GROUND);
        return reinterpret_cast<LRESULT>(heading ? m_brHeading.Get() : m_brStep.Get());
    });
}

void CDlgQuickGuide::Run(HINSTANCE instance, HWND owner) {
    DoModal(instance, IDD_QUICK_GUIDE, owner);
}

BOOL CDlgQuickGuide::OnInitDialog() {
    LocaliseDialog(Hwnd(), IDD_QUICK_GUIDE);
    FitToPicture();
    SetupPanel();
    PlaceTexts();
    return TRUE;
}

void CDlgQuickGuide::FitToPicture() {
    // The template's dialog units come out at a size that depends on the font; the picture is
    // in pixels. The window keeps the centre the template gave it.
    RECT frame{0, 0, QUICK_GUIDE_WIDTH, QUICK_GUIDE_HEIGHT};
    AdjustWindowRectEx(&frame, static_cast<DWORD>(GetWindowLongPtrA(Hwnd(), GWL_STYLE)), FALSE,
                       static_cast<DWORD>(GetWindowLongPtrA(Hwnd(), GWL_EXSTYLE)));
    RECT now;
    GetWindowRect(Hwnd(), &now);
    int width = frame.right - frame.left;
    int height = frame.bottom - frame.top;
    SetWindowPos(Hwnd(), nullptr, (now.left + now.right - width) / 2, (now.top + now.bottom - height) / 2,
                 width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

void CDlgQuickGuide::SetupPanel() {
    m_ctlPanel.Attach(*this, IDC_QUICKGUIDE_PANEL);
    m_ctlPanel.Place(0, 0, QUICK_GUIDE_WIDTH, QUICK_GUIDE_HEIGHT);
    m_ctlPanel.SetBitmaps(
        {IDB_QUICK_GUIDE_NORMAL, IDB_QUICK_GUIDE_HOVER, IDB_QUICK_GUIDE_PRESSED, IDB_QUICK_GUIDE_DISABLED});
    m_ctlPanel.SetRegions({{true, QUICK_GUIDE_CLOSE_REGION, QUICK_GUIDE_CLOSE_X, QUICK_GUIDE_CLOSE_Y,
                            QUICK_GUIDE_CLOSE_WIDTH, QUICK_GUIDE_CLOSE_HEIGHT, IDS_TIP_CLOSE_DIALOG}});
    m_ctlPanel.SetTarget(Hwnd(), WM_PANEL_ACTION);
    m_ctlPanel.BuildTooltips();
}

void CDlgQuickGuide::PlaceTexts() {
    m_fontHeading.Reset(CreateHeadingFont(Hwnd()));
    HWND heading = Item(IDC_QUICKGUIDE_HEADING);
    if (m_fontHeading) {
        SendMessageA(heading, WM_SETFONT, reinterpret_cast<WPARAM>(m_fontHeading.Get()), FALSE);
    }
    MoveWindow(heading, QUICK_GUIDE_HEADING_X, QUICK_GUIDE_HEADING_Y, QUICK_GUIDE_HEADING_WIDTH,
               QUICK_GUIDE_HEADING_HEIGHT, FALSE);
    for (int step = 0; step < static_cast<int>(std::size(kStepIds)); ++step) {
        MoveWindow(Item(kStepIds[step]), QUICK_GUIDE_STEP_X + QUICK_GUIDE_STEP_PITCH_X * (step % 2),
                   QUICK_GUIDE_STEP_Y + QUICK_GUIDE_STEP_PITCH_Y * (step / 2), QUICK_GUIDE_STEP_WIDTH,
                   QUICK_GUIDE_STEP_HEIGHT, FALSE);
    }
}
