// A combo box whose list, edit field and items are in the skin's colours, and which tells its
// parent with the registered "WM_LISTCTRL_COMBO_SELECTION" when the user has settled on another
// item. Items are drawn by the skin when the template gives CBS_OWNERDRAWFIXED and CBS_HASSTRINGS;
// without them the combo still takes the skin's colours.
#pragma once

#include "app/framework/Control.h"

#include <string>

class CSkinComboBox : public CControl {
public:
    static constexpr int kItemHeight = 18;

    std::string ItemText(int index) const;

protected:
    void OnAttached() override;
    MessageResult OnReflected(UINT message, WPARAM wParam, LPARAM lParam) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void DrawItem(const DRAWITEMSTRUCT& item) const;
    LRESULT Colours(HDC dc) const;
    void Settled();

    int m_nLastSettled = -1;
};
