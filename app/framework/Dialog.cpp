#include "app/framework/Dialog.h"

#include "app/framework/Control.h"
#include "app/framework/MessagePump.h"

namespace {

// The code the system gives menu commands and the one it gives accelerators: both are commands.
constexpr UINT kMenuCode = 0;
constexpr UINT kAcceleratorCode = 1;

// These answers are the procedure's return value itself; every other one goes through
// DWLP_MSGRESULT.
bool ReturnsResultDirectly(UINT message) {
    switch (message) {
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
    case WM_COMPAREITEM:
    case WM_VKEYTOITEM:
    case WM_CHARTOITEM:
    case WM_QUERYDRAGICON:
    case WM_INITDIALOG:
        return true;
    default:
        return false;
    }
}

} // namespace

CDialogBase::~CDialogBase() {
    // The derived object is gone by now: the window is cut loose from this object first, so that
    // the messages of its destruction reach no handler. A class that wants to see them calls
    // Destroy from its own destructor.
    if (m_hWnd != nullptr) {
        SetWindowLongPtrA(m_hWnd, DWLP_USER, 0);
        HWND window = m_hWnd;
        Detached();
        if (m_kind == Kind::Modal) {
            EndDialog(window, -1);
        } else {
            DestroyWindow(window);
        }
    }
}

bool CDialogBase::CreateModeless(HINSTANCE instance, int templateId, HWND parent) {
    m_kind = Kind::Modeless;
    return CreateDialogParamA(instance, MAKEINTRESOURCEA(templateId), parent, StaticProc,
                              reinterpret_cast<LPARAM>(this)) != nullptr;
}

bool CDialogBase::CreateChild(HINSTANCE instance, int templateId, const CDialogBase& parent,
                              int placeholderId) {
    HWND placeholder = parent.Item(placeholderId);
    if (placeholder == nullptr) {
        return false;
    }
    if (!CreateChild(instance, templateId, parent.Hwnd())) {
        return false;
    }
    RECT place;
    GetWindowRect(placeholder, &place);
    MapWindowPoints(nullptr, parent.Hwnd(), reinterpret_cast<POINT*>(&place), 2);
    ShowWindow(placeholder, SW_HIDE);
    // Right behind the placeholder in the tab order, so the keyboard reaches the page in place.
    SetWindowPos(m_hWnd, placeholder, place.left, place.top, place.right - place.left,
                 place.bottom - place.top, SWP_NOACTIVATE);
    return true;
}

bool CDialogBase::CreateChild(HINSTANCE instance, int templateId, HWND parent) {
    m_kind = Kind::Child;
    return CreateDialogParamA(instance, MAKEINTRESOURCEA(templateId), parent, StaticProc,
                              reinterpret_cast<LPARAM>(this)) != nullptr;
}

INT_PTR CDialogBase::DoModal(HINSTANCE instance, int templateId, HWND parent) {
    m_kind = Kind::Modal;
    return DialogBoxParamA(instance, MAKEINTRESOURCEA(templateId), parent, StaticProc,
                           reinterpret_cast<LPARAM>(this));
}

void CDialogBase::EndModal(INT_PTR result) {
    if (m_hWnd != nullptr) {
        EndDialog(m_hWnd, result);
    }
}

void CDialogBase::Destroy() {
    if (m_hWnd == nullptr) {
        return;
    }
    if (m_kind == Kind::Modal) {
        EndDialog(m_hWnd, IDCANCEL);
    } else {
        DestroyWindow(m_hWnd);
    }
}

void CDialogBase::OnMessage(UINT message, MessageHandler handler) {
    m_messageHandlers[message] = std::move(handler);
}

void CDialogBase::OnCommand(int id, CommandHandler handler) {
    m_commandHandlers[{id, kAcceleratorCode}] = handler;
    m_commandHandlers[{id, kMenuCode}] = std::move(handler);
}

void CDialogBase::OnCommandCode(int id, UINT code, CommandHandler handler) {
    m_commandHandlers[{id, code}] = std::move(handler);
}

void CDialogBase::OnNotify(int id, UINT code, NotifyHandler handler) {
    m_notifyHandlers[{id, code}] = std::move(handler);
}

void CDialogBase::Attached(HWND window) {
    m_hWnd = window;
    SetWindowLongPtrA(window, DWLP_USER, reinterpret_cast<LONG_PTR>(this));
    if (m_kind == Kind::Modeless) {
        RegisterModelessDialog(window);
    }
}

void CDialogBase::Detached() {
    if (m_kind == Kind::Modeless) {
        UnregisterModelessDialog(m_hWnd);
    }
    m_hWnd = nullptr;
    // The controls' windows go with this one; their wrappers stay members of the derived object.
    for (auto& [window, control] : m_controls) {
        control->m_parent = nullptr;
    }
    m_controls.clear();
}

CControl* CDialogBase::ReflectionTarget(UINT message, WPARAM wParam, LPARAM lParam) const {
    HWND from = nullptr;
    switch (message) {
    case WM_COMMAND:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
    case WM_HSCROLL:
    case WM_VSCROLL:
        from = reinterpret_cast<HWND>(lParam);
        break;
    case WM_NOTIFY:
        from = reinterpret_cast<const NMHDR*>(lParam)->hwndFrom;
        break;
    case WM_DRAWITEM: {
        const auto& item = *reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
        from = item.CtlType == ODT_MENU ? nullptr : item.hwndItem;
        break;
    }
    case WM_MEASUREITEM: {
        const auto& item = *reinterpret_cast<const MEASUREITEMSTRUCT*>(lParam);
        from = item.CtlType == ODT_MENU ? nullptr : GetDlgItem(m_hWnd, static_cast<int>(wParam));
        break;
    }
    case WM_COMPAREITEM:
        from = reinterpret_cast<const COMPAREITEMSTRUCT*>(lParam)->hwndItem;
        break;
    case WM_DELETEITEM:
        from = reinterpret_cast<const DELETEITEMSTRUCT*>(lParam)->hwndItem;
        break;
    default:
        return nullptr;
    }
    auto found = from == nullptr ? m_controls.end() : m_controls.find(from);
    return found == m_controls.end() ? nullptr : found->second;
}

MessageResult CDialogBase::Dispatch(UINT message, WPARAM wParam, LPARAM lParam) {
    if (CControl* control = ReflectionTarget(message, wParam, lParam)) {
        if (MessageResult reflected = control->OnReflected(message, wParam, lParam)) {
            return reflected;
        }
    }
    if (message == WM_COMMAND) {
        auto found = m_commandHandlers.find({LOWORD(wParam), HIWORD(wParam)});
        if (found != m_commandHandlers.end()) {
            // A copy: the handler may register others, or end the dialog and its object.
            CommandHandler handler = found->second;
            handler();
            return 0;
        }
    } else if (message == WM_NOTIFY) {
        auto& header = *reinterpret_cast<NMHDR*>(lParam);
        auto found = m_notifyHandlers.find({static_cast<int>(header.idFrom), header.code});
        if (found != m_notifyHandlers.end()) {
            NotifyHandler handler = found->second;
            return handler(header);
        }
    }
    auto found = m_messageHandlers.find(message);
    if (found == m_messageHandlers.end()) {
        return {};
    }
    MessageHandler handler = found->second;
    return handler(wParam, lParam);
}

INT_PTR CALLBACK CDialogBase::StaticProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        auto* self = reinterpret_cast<CDialogBase*>(lParam);
        self->Attached(window);
        return self->OnInitDialog();
    }
    auto* self = reinterpret_cast<CDialogBase*>(GetWindowLongPtrA(window, DWLP_USER));
    if (self == nullptr) {
        return FALSE;
    }
    MessageResult result = self->Dispatch(message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrA(window, DWLP_USER, 0);
        self->Detached();
    }
    if (!result) {
        return FALSE;
    }
    if (ReturnsResultDirectly(message)) {
        return static_cast<INT_PTR>(*result);
    }
    SetWindowLongPtrA(window, DWLP_MSGRESULT, *result);
    return TRUE;
}

std::string WindowText(HWND window) {
    int length = GetWindowTextLengthA(window);
    std::string text(static_cast<size_t>(length) + 1, '\0');
    text.resize(static_cast<size_t>(GetWindowTextA(window, text.data(), length + 1)));
    return text;
}
