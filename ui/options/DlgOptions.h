// The options dialog: output folder, naming pattern, output format with the MP3 and WMA encoder
// settings, and the start with Windows. Modal; the choices reach the settings on OK only, apart
// from the start with Windows, whose Run entry follows the check box at once.
#pragma once

#include "app/framework/Dialog.h"
#include "finish/OutputFormat.h"
#include "ui/options/OptionsPrompts.h"

#include <string>

class Settings;

class CDlgOptions : public CDialogBase {
public:
    explicit CDlgOptions(Settings& settings, IOptionsPrompts& prompts = SystemPrompts());

    // Modal over owner; IDOK when the choices were applied to the settings, else IDCANCEL.
    INT_PTR Run(HINSTANCE instance, HWND owner);

    // Where the download question sends a user without WMA support.
    static constexpr char kWmaDownloadPage[] = "https://www.microsoft.com/windows/windowsmedia/download/";

protected:
    BOOL OnInitDialog() override;

private:
    // The dialog's fields, between the settings and the controls.
    void ReadControls();
    void WriteControls();
    void EnableSections();

    void FillFilenameList();
    void FillBitrateList();
    void FillWmaLists();
    void FillWmaFormats();

    void Browse(std::string& folder);
    void OnWmaChosen();
    void OnRunOnStartupClicked();
    void OnOK();

    Settings& m_settings;
    IOptionsPrompts& m_prompts;

    BOOL m_bId3v1 = FALSE;
    BOOL m_bId3v2 = FALSE;
    OutputFormat m_nFormat = OutputFormat::Mp3;
    std::string m_strOutputFolder;
    std::string m_strCaptureFolder;
    BOOL m_bRunOnStartup = FALSE;
    std::string m_strFilenameFormat;
};
