// The file information dialog: a modal window with a summary of one music file and, on tab pages,
// its ID3v1 and ID3v2 tags (MP3) or its WMA tags, which the user edits and OK writes back.
// Previous and Next step through the tracks of the file's disc; unconfirmed edits are dropped.
//
// The manager's use:
//   CCatalogueSteps steps(GetDiscCatalogue());
//   CDlgFileInfo dialog(steps);
//   dialog.SetFile(path);
//   if (dialog.DoModal(instance, manager) == IDOK && dialog.Result() <= kFileWma) {
//       const EditedTags& tags = dialog.Edited(); // title, artist, album, genre of dialog.Path()
//   }
#pragma once

#include "app/framework/Dialog.h"
#include "companions/AudioTagCore/TrackTags.h"
#include "ui/trackinfo/FileInfoModel.h"
#include "ui/trackinfo/TagPages.h"

#include <string>

// What the catalogue takes over from a confirmed edit; the genre by its name.
struct EditedTags {
    std::string title;
    std::string artist;
    std::string album;
    std::string genre;
};

class CDlgFileInfo final : public CDialogBase {
public:
    explicit CDlgFileInfo(ITrackSteps& steps);
    ~CDlgFileInfo() override;

    // Takes the file, its kind, tags and audio properties; before DoModal and on every step.
    void SetFile(const std::string& path);
    // IDOK after the tags were written, IDCANCEL, or -1 when the window could not be made.
    INT_PTR DoModal(HINSTANCE instance, HWND parent);

    const std::string& Path() const { return m_strPath; }
    // After OK: the kind of file written (kFileMp3, kFileWma; kFileOther wrote nothing); -1 before.
    int Result() const { return m_nResult; }
    const EditedTags& Edited() const { return m_edited; }

protected:
    BOOL OnInitDialog() override;

private:
    void AddTabs();
    void ShowPage(int tab);
    void FillPages();
    void Step(int step);
    void EnableSteps();
    void WriteTags();
    void ReadSummary(const Mp3_Headerinfo* header, const std::string& artworkPath);
    CFileInfoPage* PageOfTab(int tab);

    ITrackSteps& m_steps;
    std::string m_strPath;
    FileKind m_nKind = kFileOther;
    TrackTags m_tagV1;
    TrackTags m_tagV2;
    bool m_bIncludeV1 = true;
    bool m_bIncludeV2 = true;
    SummaryTexts m_info;
    int m_nResult = -1;
    EditedTags m_edited;
    HWND m_tab = nullptr;

    CPageSummary m_pageSummary;
    CPageID3v1 m_pageID3v1;
    CPageID3v2 m_pageID3v2;
    CPageWMAInfo m_pageWMAInfo;
};
