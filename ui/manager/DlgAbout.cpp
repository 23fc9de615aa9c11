#include "ui/manager/DlgAbout.h"

#include "app/FileVersionInfo.h"
#include "app/Localisation.h"
#include "app/StartupLog.h"
#include "res/ids/AboutIds.h"

namespace {

// The product version of the running program; empty when it carries no version resource.
std::string ProgramVersion() {
    char path[MAX_PATH] = "";
    if (GetModuleFileNameA(nullptr, path, sizeof path) == 0) {
        return {};
    }
    FileVersionInfo info;
    if (!info.Load(path)) {
        return {};
    }
    const VS_FIXEDFILEINFO& fixed = info.Fixed();
    return FormatVersion(fixed.dwProductVersionMS, fixed.dwProductVersionLS);
}

} // namespace

std::string AboutVersionLine(const std::string& nameLine, const std::string& version) {
    size_t lastBlank = nameLine.find_last_of(' ');
    return (lastBlank == std::string::npos ? nameLine + ' ' : nameLine.substr(0, lastBlank + 1)) + version;
}

CDlgAbout::CDlgAbout() {
    OnCommand(IDOK, [this] { EndModal(IDOK); });
    OnCommand(IDCANCEL, [this] { EndModal(IDCANCEL); });
}

void CDlgAbout::Run(HINSTANCE instance, HWND owner) {
    DoModal(instance, IDD_ABOUTBOX, owner);
}

BOOL CDlgAbout::OnInitDialog() {
    LocaliseDialog(Hwnd(), IDD_ABOUTBOX);
    std::string version = ProgramVersion();
    if (!version.empty()) {
        HWND nameLine = Item(IDC_ABOUT_NAME);
        SetWindowTextA(nameLine, AboutVersionLine(WindowText(nameLine), version).c_str());
    }
    return TRUE;
}
