// A scrolling text: a strip of text items, each at its own place and width on the strip, followed
// by the marquee's own text, running right to left in a loop. The player bar shows what plays as
// an item and the time as the marquee's own text.
#pragma once

#include "app/framework/Control.h"

#include <windows.h>

#include <list>
#include <string>

// One item of the strip: its text, clipped to its width, from its place (pixels from the strip's
// start).
struct MarqueeItem {
    std::string text;
    int position = 0;
    // The room the owner gives the item; a longer text takes the room it needs, so that the
    // scroll shows all of it (a path would otherwise lose its file name).
    int width = 0;
    int drawnWidth = 0;
};

// The next place of the strip's start after one step: it wraps at the strip's length, so the text
// comes round again.
int NextMarqueeOffset(int offset, int step, int stripLength);

class CMarqueeCtrl : public CControl {
public:
    static constexpr UINT kDefaultInterval = 40; // one pixel each 40 ms: readable while it runs

    // The item lives as long as the control; its owner changes it through SetItemText.
    MarqueeItem* AddItem(const std::string& text, int position, int width);
    void SetItemText(MarqueeItem* item, const std::string& text);
    // The text that runs after the items.
    void SetText(const std::string& text);
    void SetColours(COLORREF text, COLORREF ground);
    void Start(UINT intervalMs = kDefaultInterval);
    void Stop();
    // One step of the scroll, as the timer makes it.
    void Step();

    const std::list<MarqueeItem>& Items() const { return m_items; }
    const std::string& Text() const { return m_strText; }
    int Offset() const { return m_nOffset; }
    // Items and own text together, in pixels.
    int StripLength() const { return m_nLength; }

protected:
    void OnAttached() override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void Measure();
    int TextWidth(const std::string& text) const;
    void Paint(HDC out, const RECT& client);
    void DrawStrip(HDC dc, int x, int height) const;

    // A list: the items' addresses stay put as more are added.
    std::list<MarqueeItem> m_items;
    std::string m_strText;
    COLORREF m_crText = 0;
    COLORREF m_crGround = 0;
    bool m_bColoursSet = false;
    int m_nOffset = 0;
    int m_nLength = 0;
    int m_nTextStart = 0;
    bool m_bRunning = false;
};
