// The quick guide: one picture of the four steps from a playlist in the music player to music
// files in the manager, with each step's text beside its drawing. The picture is an image panel
// whose one region closes the guide.
#pragma once

#include "app/framework/Dialog.h"
#include "app/framework/GdiScoped.h"
#include "ui/controls/ImagePanel.h"

class CDlgQuickGuide : public CDialogBase {
public:
    CDlgQuickGuide();

    // Modal over owner until Escape, the close box or the picture's close button ends it.
    void Run(HINSTANCE instance, HWND owner);

protected:
    BOOL OnInitDialog() override;

private:
    void FitToPicture();
    void PlaceTexts();
    void SetupPanel();

    CImagePanel m_ctlPanel;
    ScopedBrush m_brHeading;
    ScopedBrush m_brStep;
    ScopedFont m_fontHeading;
};
