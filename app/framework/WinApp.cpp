#include "app/framework/WinApp.h"

#include "app/framework/MessagePump.h"

CWinAppBase* CWinAppBase::s_app = nullptr;

CWinAppBase::CWinAppBase() {
    s_app = this;
}

CWinAppBase::~CWinAppBase() {
    if (s_app == this) {
        s_app = nullptr;
    }
}

int CWinAppBase::Run(HINSTANCE instance) {
    m_instance = instance;
    if (InitInstance()) {
        MSG msg;
        BOOL got;
        while ((got = GetMessageA(&msg, nullptr, 0, 0)) != 0) {
            if (got == -1) {
                break;
            }
            if (HandleDialogMessage(msg)) {
                continue;
            }
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        if (got == 0) {
            m_exitCode = static_cast<int>(msg.wParam);
        }
    }
    return RunShutdownOnce();
}

int CWinAppBase::RunShutdownOnce() {
    if (!m_shutDown) {
        m_shutDown = true;
        m_exitCode = ExitInstance();
    }
    return m_exitCode;
}

void CWinAppBase::EndSessionNow() {
    ExitProcess(static_cast<UINT>(RunShutdownOnce()));
}

std::string CWinAppBase::ResourceString(UINT id) const {
    char text[1024] = "";
    LoadStringA(m_instance, id, text, sizeof text);
    return text;
}

int CWinAppBase::MessageBoxText(const char* text, UINT flags, HWND owner) const {
    return MessageBoxA(owner, text, m_appName.c_str(), flags);
}
