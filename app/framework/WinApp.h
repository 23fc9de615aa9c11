// The application object of a dialog-based program: start-up, the message loop, shut-down.
#pragma once

#include <windows.h>

#include <string>

class CWinAppBase {
public:
    CWinAppBase();
    virtual ~CWinAppBase();
    CWinAppBase(const CWinAppBase&) = delete;
    CWinAppBase& operator=(const CWinAppBase&) = delete;

    // Runs InitInstance, the message loop when it succeeded, and always ExitInstance; the
    // result is the process exit code. A second call (log-off ending the session from inside
    // the loop) does not run ExitInstance again.
    int Run(HINSTANCE instance);

    // Ends the process from inside a message handler after running the shut-down sequence once
    // (the session is ending and Windows will not wait for the loop to unwind).
    [[noreturn]] void EndSessionNow();

    static CWinAppBase* Get() { return s_app; }
    HINSTANCE Instance() const { return m_instance; }
    const std::string& AppName() const { return m_appName; }
    void SetAppName(const char* name) { m_appName = name; }

    void SetMainWindow(HWND window) { m_mainWindow = window; }
    HWND MainWindow() const { return m_mainWindow; }

    // A text of the program's string table; empty when there is none.
    std::string ResourceString(UINT id) const;

    // A message box with the application name as caption.
    int MessageBoxText(const char* text, UINT flags, HWND owner = nullptr) const;

protected:
    virtual bool InitInstance() = 0;
    // Returns the process exit code: the quit code of the message loop unless changed.
    virtual int ExitInstance() { return m_exitCode; }

private:
    int RunShutdownOnce();

    static CWinAppBase* s_app;
    HINSTANCE m_instance = nullptr;
    std::string m_appName;
    HWND m_mainWindow = nullptr;
    int m_exitCode = 0;
    bool m_shutDown = false;
};
