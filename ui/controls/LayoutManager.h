// Makes a dialog sizeable without code of its own: its controls follow their anchors whenever the
// dialog's size changes, the dialog cannot be made smaller than it was laid out, and after each
// move of the controls the dialog is sent the registered "WM_LAYOUTMGR" (wParam the client width,
// lParam the client height) to place whatever anchors cannot express.
#pragma once

#include "app/framework/AnchorLayout.h"
#include "app/framework/WindowSubclass.h"

#include <initializer_list>

class CLayoutManager : public CWindowSubclass {
public:
    // The controls' places now are those of the dialog's present size, which is also its smallest.
    bool Attach(HWND dialog, std::initializer_list<Anchor> anchors);
    SIZE MinimumSize() const { return m_layout.MinimumSize(); }

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    CAnchorLayout m_layout;
};
