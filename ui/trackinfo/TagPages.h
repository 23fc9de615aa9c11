// The four pages of the file information dialog, each a child dialog laid over the dialog's
// placeholder. The tag pages show and store a tag record the dialog owns; the summary page shows
// texts the dialog has worked out.
#pragma once

#include "app/framework/Dialog.h"
#include "companions/AudioTagCore/TrackTags.h"

#include <functional>
#include <string>

class CFileInfoPage : public CDialogBase {
public:
    explicit CFileInfoPage(int templateId) : m_templateId(templateId) {}

    // Over the placeholder of the file information dialog, hidden.
    bool Create(HINSTANCE instance, const CDialogBase& dialog);
    // The controls from the record (or the summary's texts).
    virtual void Fill() = 0;
    // The record from the controls; pages that edit nothing keep nothing.
    virtual void Store() {}

protected:
    BOOL OnInitDialog() override;
    std::string Text(int id) const;
    void SetText(int id, const char* text);
    void EnableControls(const int* ids, size_t count, bool enable);
    // The genre list filled the first time the page is shown.
    void FillGenreBoxOnce(int id);

private:
    int m_templateId;
};

// What the summary page shows, worked out by the dialog from the file.
struct SummaryTexts {
    std::string title;
    std::string artist;
    std::string album;
    std::string size;
    std::string bitrate;
    std::string sampleRate;
    std::string channels;
    std::string date;
    std::string artworkPath; // empty: no artwork
};

class CPageSummary final : public CFileInfoPage {
public:
    explicit CPageSummary(const SummaryTexts& texts);
    void Fill() override;

private:
    void PaintArtwork();
    const SummaryTexts& m_texts;
};

// The ID3v1 and ID3v2 pages: an include box that enables the fields, and a button that copies the
// common fields to the other page (through the dialog, which owns both records).
class CId3TagPage : public CFileInfoPage {
protected:
    struct Controls {
        int include;
        int copy;
        const int* fields;
        size_t fieldCount;
    };
    CId3TagPage(int templateId, const Controls& controls, TrackTags& tags, bool& include,
                std::function<void()> copyToOther);
    // The include box from the flag, and the fields enabled with it.
    void ShowInclude();

    TrackTags& m_tags;
    bool& m_bInclude;

private:
    void EnableFields();
    Controls m_controls;
};

class CPageID3v1 final : public CId3TagPage {
public:
    CPageID3v1(TrackTags& tags, bool& include, std::function<void()> copyToOther);
    void Fill() override;
    void Store() override;
};

class CPageID3v2 final : public CId3TagPage {
public:
    CPageID3v2(TrackTags& tags, bool& include, std::function<void()> copyToOther);
    void Fill() override;
    void Store() override;
};

class CPageWMAInfo final : public CFileInfoPage {
public:
    explicit CPageWMAInfo(TrackTags& tags);
    void Fill() override;
    void Store() override;

private:
    TrackTags& m_tags;
};

// The genre boxes hold the genre table's names, each item carrying its number.
void FillGenreBox(HWND box);
// Selects the item whose number the text's "(n)" names, else "Other". An editable box shows a
// text without a reference as it stands instead (an empty one empty), since an ID3v2 or WMA genre
// is free text and OK must not write a genre the file did not have.
void SelectGenre(HWND box, const char* genre, bool editable);
