// The start guide: stands in the manager window in the place of the music list while the
// catalogue holds no disc, and tells a new user how a disc gets there: a picture, a heading, three
// steps and a link to the quick guide. Its content stays centred in whatever place it is given.
#pragma once

#include "app/framework/AnchorLayout.h"
#include "app/framework/Dialog.h"
#include "app/framework/GdiScoped.h"
#include "ui/controls/HyperLink.h"

#include <functional>
#include <utility>

class CDlgStartGuide : public CDialogBase {
public:
    using MoreGuideHandler = std::function<void()>;

    // onMoreGuide runs when the user clicks the link to the quick guide.
    explicit CDlgStartGuide(MoreGuideHandler onMoreGuide);
    ~CDlgStartGuide() override;

    // Created hidden as a child of parent, which places it and shows it while there is nothing to
    // list.
    bool Create(HINSTANCE instance, HWND parent);

protected:
    BOOL OnInitDialog() override;

private:
    void ApplyLanguage();
    void DrawPicture(const DRAWITEMSTRUCT& item) const;

    MoreGuideHandler m_onMoreGuide;
    CHyperLink m_lnkMore;
    CAnchorLayout m_layout;
    ScopedBitmap m_bmpPicture;
    ScopedFont m_fontHeading;
};
