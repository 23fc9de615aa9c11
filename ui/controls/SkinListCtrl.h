// A report-view list in the skin's colours, with a skinned header, that marks the row of the file
// being played: the owner hands it the playing path and says which column holds each row's path.
// Rows are coloured through the list view's custom drawing, so the template's list view needs no
// special style.
#pragma once

#include "app/framework/Control.h"
#include "ui/controls/SkinHeader.h"

#include <windows.h>
#include <commctrl.h>

#include <string>

class CSkinListCtrl : public CControl {
public:
    // The column whose text is a row's path (the music list's Location).
    void SetPathColumn(int column);
    // The file being played; empty when nothing plays. Repaints the list.
    void SetPlayingPath(const std::string& path);
    const std::string& PlayingPath() const { return m_strPlayingPath; }
    // Paths compare as the file system does: without regard to case.
    bool IsPlayingRow(int row) const;
    std::string ItemText(int row, int column) const;

protected:
    void OnAttached() override;
    MessageResult OnReflected(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    LRESULT CustomDraw(NMLVCUSTOMDRAW& draw) const;

    CSkinHeader m_header;
    int m_nPathColumn = 0;
    std::string m_strPlayingPath;
};
