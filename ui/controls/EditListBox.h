// An owner-drawn list box in the skin's colours whose item labels are edited in place: an edit
// control is laid over the item; Enter or a move of the focus elsewhere commits, Escape cancels.
// A commit puts the new label into the item and posts WM_RENAME_DONE to the list's parent, which
// reads the label from the list. The template's list box needs LBS_OWNERDRAWFIXED and
// LBS_HASSTRINGS for the skin's drawing; without them it keeps the system's look and still edits.
#pragma once

#include "app/framework/Control.h"
#include "app/framework/WindowSubclass.h"

#include <string>

class CEditListBox : public CControl {
public:
    // The editor's control id: the parent tells it by this id in WM_CTLCOLOREDIT, as the editor is
    // the parent's child (so that it may stand over the list's edge).
    static constexpr int kEditorId = 1;
    static constexpr int kItemHeight = 20;

    CEditListBox() : m_editor(*this) {}

    // False when there is no such item or an edit is under way.
    bool BeginEdit(int index);
    bool IsEditing() const { return m_editor.Hwnd() != nullptr; }
    int EditedIndex() const { return m_nEditIndex; }
    HWND EditorHwnd() const { return m_editor.Hwnd(); }
    // Ends an edit under way as Enter (commit) or Escape (cancel) would.
    void EndEdit(bool commit);

    std::string ItemText(int index) const;
    // Replaces an item's label, keeping its data and its selection.
    void SetItemText(int index, const std::string& text);

protected:
    void OnAttached() override;
    MessageResult OnReflected(UINT message, WPARAM wParam, LPARAM lParam) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    class CEditor final : public CWindowSubclass {
    public:
        explicit CEditor(CEditListBox& list) : m_list(list) {}

    private:
        LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
        void OnWindowGone() override;
        CEditListBox& m_list;
    };

    void DrawItem(const DRAWITEMSTRUCT& item) const;

    CEditor m_editor;
    int m_nEditIndex = -1;
    bool m_bEnding = false;
};
