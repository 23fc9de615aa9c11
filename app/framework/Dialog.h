// The dialog base of every window of the program: modeless, modal and child dialogs from a
// template, with handlers registered per message, per command id and per notification, and
// the messages that concern one control reflected to the wrapper that owns it. The static
// procedure finds the object from the window; the object is cut loose before its window dies.
#pragma once

#include <windows.h>

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <unordered_map>
#include <utility>

class CControl;

// A handled message's result; nothing for the dialog manager's default processing.
using MessageResult = std::optional<LRESULT>;

class CDialogBase {
public:
    using MessageHandler = std::function<MessageResult(WPARAM wParam, LPARAM lParam)>;
    using CommandHandler = std::function<void()>;
    using NotifyHandler = std::function<LRESULT(NMHDR& header)>;

    CDialogBase() = default;
    virtual ~CDialogBase();
    CDialogBase(const CDialogBase&) = delete;
    CDialogBase& operator=(const CDialogBase&) = delete;

    // A top-level modeless dialog; it gets keyboard navigation from the message loops.
    bool CreateModeless(HINSTANCE instance, int templateId, HWND parent);
    // A child dialog (a DS_CONTROL template) in the place of the parent's placeholder control,
    // which is hidden: pages and panels are laid out in the parent's template that way.
    bool CreateChild(HINSTANCE instance, int templateId, const CDialogBase& parent, int placeholderId);
    // A child dialog that the parent places, shows and hides itself: panels that take turns in
    // one place of the parent, laid out by the parent's code rather than its template.
    bool CreateChild(HINSTANCE instance, int templateId, HWND parent);
    // Runs the dialog modally; the value given to EndModal, or -1 when it could not be created.
    INT_PTR DoModal(HINSTANCE instance, int templateId, HWND parent);
    void EndModal(INT_PTR result);
    // Destroys the window while the whole object still exists: the handlers see WM_DESTROY.
    void Destroy();

    HWND Hwnd() const { return m_hWnd; }
    HWND Item(int id) const { return GetDlgItem(m_hWnd, id); }

protected:
    // Handlers are registered once, usually by the constructor; a later registration for the
    // same key replaces the earlier one.
    void OnMessage(UINT message, MessageHandler handler);
    // Menu commands, accelerators and button clicks of control id.
    void OnCommand(int id, CommandHandler handler);
    // Any other notification code a control sends through WM_COMMAND (EN_CHANGE, LBN_DBLCLK...).
    void OnCommandCode(int id, UINT code, CommandHandler handler);
    void OnNotify(int id, UINT code, NotifyHandler handler);

    // After the window and its controls exist; return FALSE when the focus was set here.
    virtual BOOL OnInitDialog() { return TRUE; }

private:
    friend class CControl;
    enum class Kind { Modeless, Child, Modal };

    static INT_PTR CALLBACK StaticProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    MessageResult Dispatch(UINT message, WPARAM wParam, LPARAM lParam);
    CControl* ReflectionTarget(UINT message, WPARAM wParam, LPARAM lParam) const;
    void Attached(HWND window);
    void Detached();

    HWND m_hWnd = nullptr;
    Kind m_kind = Kind::Modeless;
    std::unordered_map<UINT, MessageHandler> m_messageHandlers;
    std::map<std::pair<int, UINT>, CommandHandler> m_commandHandlers;
    std::map<std::pair<int, UINT>, NotifyHandler> m_notifyHandlers;
    std::unordered_map<HWND, CControl*> m_controls;
};

// The whole text of a window or control.
std::string WindowText(HWND window);
