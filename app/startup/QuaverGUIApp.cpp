#include "app/startup/QuaverGUIApp.h"

#include "app/CommandLineInfo.h"
#include "app/framework/AppFolders.h"
#include "app/framework/FolderTree.h"
#include "app/FrameWindowClass.h"
#include "app/LanguageChoice.h"
#include "app/LanguageMenu.h"
#include "app/Settings.h"
#include "app/StartupLog.h"
#include "capture/CaptureIntake.h"
#include "companions/qvllog/qvllog.h"
#include "project/DiscCatalogue.h"
#include "res/ids/ManagerIds.h"
#include "res/ids/StringIds.h"
#include "ui/manager/DlgManager.h"

#include <objbase.h>
#include <ole2.h>
#include <gdiplus.h>

#include <cstdio>

CQuaverGUIApp::CQuaverGUIApp() {
    // Message boxes carry the product name as caption from the first one on.
    SetAppName("Quaverlane");
}

CQuaverGUIApp::~CQuaverGUIApp() = default;

bool CQuaverGUIApp::InitInstance() {
    if (!StartComAndOle()) {
        return false;
    }
    Settings& settings = GetSettings();
    settings.ResetToDefaults();
    LoadProjectAndSettings();
    WipeCaptureFolderUnlessShared();
    StartGraphics();
    // The log folder may have just been wiped with the capture folder.
    CreateFolderTree(DefaultCaptureFolder());
    OpenStartupLog(LogFilePath());
    ChooseLanguageFile(settings, ProgramFolder(), GetSystemDefaultLangID());
    PassLanguageToLinkLibrary(settings.languageFile);
    if (!RegisterFrameWindowClass(Instance()) || !ClaimSingleInstance()) {
        return false;
    }
    WriteEnvironmentReport();
    CreateFolderTree(DataFolder());
    return CreateManagerWindow();
}

bool CQuaverGUIApp::StartComAndOle() {
    if (FAILED(OleInitialize(nullptr))) {
        MessageBoxText("AfxOleInit Error!", MB_OK);
        LogWrite("AfxOleInit Error!");
        return false;
    }
    m_bOleInitialised = true;
    // The program serves no COM class, so there is nothing to register or to offer; switches on
    // the command line are read later by the command-line parser.
    if (FAILED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {
        return false;
    }
    m_bComInitialised = TRUE;
    return true;
}

void CQuaverGUIApp::LoadProjectAndSettings() {
    // The loader also takes the capture folder from the registry, after the options.
    GetDiscCatalogue().LoadProject(ProjectFilePath());
    RepairStartupSettings(GetSettings());
    // The conversion thread works from its own copy of the choices; whatever changes them later
    // hands the intake a new copy.
    GetCaptureIntake().SetChoices(FinishChoicesFrom(GetSettings()));
}

void CQuaverGUIApp::WipeCaptureFolderUnlessShared() {
    // Two copies may start together, or a copy may start while another runs: the start-up lock
    // is taken here rather than at the single-instance check, so that the answer "another copy
    // runs" cannot change before that check, and a second copy leaves the running copy's burns
    // alone.
    m_instanceGuard.LockStartup();
    m_bOtherCopyRunning = m_instanceGuard.PreviousInstanceExists() != 0;
    const std::string& capture = GetSettings().captureFolder;
    if (!m_bOtherCopyRunning && !capture.empty() && !IsVolumeRoot(capture)) {
        // What an earlier run left unconverted (it was ended without its exit) is kept first.
        GetCaptureIntake().SetCaptureFolder(capture);
        GetCaptureIntake().KeepUnconvertedTracks();
        DeleteFolderTree(capture);
    }
}

void CQuaverGUIApp::StartGraphics() {
    // Hosting ActiveX controls needs nothing global here: the media-information host window
    // creates its own container.
    Gdiplus::GdiplusStartupInput input;
    if (Gdiplus::GdiplusStartup(&m_gdiplusToken, &input, nullptr) != Gdiplus::Ok) {
        m_gdiplusToken = 0;
    }
}

bool CQuaverGUIApp::ClaimSingleInstance() {
    m_instanceGuard.LockStartup();
    if (m_instanceGuard.PreviousInstanceExists() != 0) {
        LogWrite("Previous instance detected, will now restore it.");
        HWND previous = m_instanceGuard.ActivatePrevious(nullptr, 0);
        if (previous == nullptr || !IsWindow(previous)) {
            MessageBoxA(nullptr, ResourceString(IDS_INSTANCE_BROKEN).c_str(), "Error", MB_OK | MB_ICONSTOP);
        }
        SetMainWindow(nullptr);
        LogWrite("New instance exit.");
        return false;
    }
    // Without a block a later copy will not find this one, but this copy runs all the same.
    m_instanceGuard.CreateBlock();
    m_bOwnsInstance = true;
    return true;
}

bool CQuaverGUIApp::CreateManagerWindow() {
    m_pManager = std::make_unique<CDlgManager>(static_cast<IManagerHost&>(*this));
    if (!m_pManager->CreateModeless(Instance(), IDD_MANAGER, nullptr)) {
        // Without its window the program can neither receive burns nor be ended by the user:
        // it says so and ends instead of running on unseen.
        DWORD error = GetLastError();
        LogWrite("Cannot create the main window: dwLastCode=0x%x", static_cast<unsigned>(error));
        char text[512];
        snprintf(text, sizeof text, ResourceString(IDS_NO_MAIN_WINDOW).c_str(), static_cast<unsigned>(error));
        MessageBoxText(text, MB_OK | MB_ICONSTOP);
        m_bStartFailed = true;
        return false;
    }
    SetMainWindow(m_pManager->Hwnd());
    CommandLineInfo commandLine;
    ParseCommandLine(commandLine, __argc, __argv);
    if (commandLine.silence == 0) {
        HWND window = m_pManager->Hwnd();
        SetForegroundWindow(window);
        ShowWindow(window, SW_RESTORE);
        ShowWindow(window, SW_SHOW);
    }
    return true;
}

void CQuaverGUIApp::PublishMainWindow(HWND window) {
    m_instanceGuard.PublishMainWindow(window);
}

void CQuaverGUIApp::ShowHelp() {
    using HtmlHelpFn = HWND(WINAPI*)(HWND, const char*, UINT, DWORD_PTR);
    constexpr UINT kDisplayTopic = 0;
    static const HtmlHelpFn htmlHelp = [] {
        HMODULE viewer = LoadLibraryA("hhctrl.ocx");
        return viewer != nullptr ? reinterpret_cast<HtmlHelpFn>(GetProcAddress(viewer, "HtmlHelpA"))
                                 : nullptr;
    }();
    if (htmlHelp != nullptr) {
        // The help file of the language in use opens at its own first page.
        htmlHelp(nullptr, HelpFileFor(ProgramFolder(), GetSettings().languageFile).c_str(), kDisplayTopic, 0);
    }
}

int CQuaverGUIApp::ExitInstance() {
    // However the program ends, the capture stops before anything it uses goes.
    if (m_pManager) {
        m_pManager->StopCapture();
    }
    GetCaptureIntake().StopConversionThread();
    Settings& settings = GetSettings();
    // A copy that ended before or at the single-instance check owns neither the project file
    // nor the capture folder: both may belong to the running copy.
    if (m_bOwnsInstance) {
        GetDiscCatalogue().SaveProject(ProjectFilePath());
    }
    settings.ReleaseEncoderObjects();
    if (m_bComInitialised) {
        CoUninitialize();
    }
    if (m_bOwnsInstance && !settings.captureFolder.empty() && !IsVolumeRoot(settings.captureFolder)) {
        GetCaptureIntake().KeepUnconvertedTracks();
        DeleteFolderTree(settings.captureFolder);
    }
    m_pManager.reset();
    if (m_bOleInitialised) {
        OleUninitialize();
    }
    LogWrite("Program ExitInstance.");
    if (m_gdiplusToken != 0) {
        Gdiplus::GdiplusShutdown(m_gdiplusToken);
    }
    return m_bOwnsInstance && !m_bStartFailed ? CWinAppBase::ExitInstance() : 1;
}
