// The header of a skinned list view, painted in the skin's raised colour with a separator between
// columns. It is the list view's own child, not a control of the template, so it is hooked
// directly; sizing and dragging its columns stay the system's.
#pragma once

#include "app/framework/WindowSubclass.h"

class CSkinHeader : public CWindowSubclass {
public:
    static constexpr int kTextPadding = 6;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void Paint(HDC out, const RECT& client);
};
