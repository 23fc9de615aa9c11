// The wrapper of one control of a dialog: it takes the messages its parent reflects to it
// (drawing, colours, notifications) and may subclass the control for its own input handling.
// A wrapper is a member of its dialog, so the dialog object outlives it.
#pragma once

#include "app/framework/Dialog.h"
#include "app/framework/WindowSubclass.h"

#include <windows.h>

class CControl {
public:
    CControl() = default;
    virtual ~CControl();
    CControl(const CControl&) = delete;
    CControl& operator=(const CControl&) = delete;

    // Wraps control id of the parent's template; false when the template has no such control.
    bool Attach(CDialogBase& parent, int id);
    HWND Hwnd() const { return m_hWnd; }
    int Id() const { return m_id; }

protected:
    // Called after Attach, once the control is wrapped and reflections reach it.
    virtual void OnAttached() {}
    // WM_DRAWITEM, WM_MEASUREITEM, WM_COMPAREITEM, WM_DELETEITEM, WM_CTLCOLOR*, WM_NOTIFY,
    // WM_COMMAND and scroll messages that the parent received from this control; a result stops
    // them there, nothing passes them on to the parent's own handlers.
    virtual MessageResult OnReflected(UINT /*message*/, WPARAM /*wParam*/, LPARAM /*lParam*/) { return {}; }

    // Puts WindowProc in front of the control's class procedure until either goes.
    bool Subclass();
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT DefaultProc(UINT message, WPARAM wParam, LPARAM lParam);

private:
    friend class CDialogBase;
    // The wrapper's hook on its control: messages go to the wrapper, and the wrapper lets go of
    // a window that is destroyed before it.
    class Hook final : public CWindowSubclass {
    public:
        explicit Hook(CControl& owner) : m_owner(owner) {}

    private:
        LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
            return m_owner.WindowProc(message, wParam, lParam);
        }
        void OnWindowGone() override { m_owner.Detach(); }
        CControl& m_owner;
    };
    void Detach();

    CDialogBase* m_parent = nullptr;
    HWND m_hWnd = nullptr;
    int m_id = 0;
    Hook m_hook{*this};
};
