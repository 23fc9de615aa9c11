// A progress bar over 0..100 that can show a text instead of the bar (the status window's
// "Waiting burn action..." while it is idle) or over it. With no text it is a plain bar. It paints
// itself whatever control of the template it is put on; PBM_SETPOS and PBM_GETPOS work as on the
// system's progress bar.
#pragma once

#include "app/framework/Control.h"

#include <string>

// What the control shows at a moment, for a given width in pixels.
struct ProgressFace {
    int fillWidth = 0; // the accent part of the bar, from the left; 0 when the text stands instead
    bool showsText = false;
};

// The rule: a position beyond 0..100 counts as its nearer end; an empty text is no text; a text
// stands instead of the bar unless it is to be drawn over it.
ProgressFace ComputeProgressFace(int position, const std::string& text, bool textOverBar, int width);

// The bar position for done of total: the fraction rounded to the nearest percent (half a percent
// rounds up), or 100 when there is nothing to do.
int ProgressPercent(unsigned done, unsigned total);

class CTextProgressCtrl : public CControl {
public:
    void SetPos(int position);
    int Pos() const { return m_nPos; }
    // An empty text: the control shows no text.
    void SetText(const std::string& text);
    const std::string& Text() const { return m_strText; }
    // False (the start): a text stands instead of the bar. True: the text is drawn over the bar.
    void SetTextOverBar(bool over);

protected:
    void OnAttached() override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void Paint(HDC out, const RECT& client);
    void Refresh();

    int m_nPos = 0;
    std::string m_strText;
    bool m_bTextOverBar = false;
};
