// The manager window's two lists, the converted discs and the music files of the selected one,
// with the catalogue commands that act on what they show. The lists always show the catalogue as
// it stands; every change goes through the catalogue under its lock first.
#pragma once

#include "ui/controls/EditListBox.h"
#include "ui/controls/SkinListCtrl.h"
#include "ui/manager/SessionRecorder.h"

#include <functional>
#include <string>

class CDialogBase;
class _AUDIO_ENCODE_FINISH_RESULT;

enum MusicColumn {
    kColumnNumber,
    kColumnName,
    kColumnTime,
    kColumnArtist,
    kColumnAlbum,
    kColumnGenre,
    kColumnLocation
};

class CCatalogueLists {
public:
    // guide stands in the music list's place while there is nothing to list; projectFile is where
    // a reload saves and reads the catalogue.
    void Attach(CDialogBase& owner, int discListId, int musicListId, HWND guide, std::string projectFile);
    // The column headings, in the language in use.
    void ApplyLanguage();

    int SelectedDisc() const;
    int SelectedRow() const;
    std::string RowText(int row, MusicColumn column) const { return m_lstMusic.ItemText(row, column); }

    // Rebuilds the disc list when its length differs from the catalogue's, selects the disc and
    // shows its music files (none: the list is emptied).
    void ShowDisc(int disc);
    void ShowLastDisc();
    // After the catalogue was replaced: the disc list rebuilt, the first disc shown.
    void ShowFirstDisc();
    void FillMusicList(int disc);
    // The music list, or the guide in its place.
    void ShowMusicList(bool show);
    // Records an encoded track and shows its disc.
    void RecordTrack(const _AUDIO_ENCODE_FINISH_RESULT& result);

    // The commands: each asks first where it destroys. The window calls them only when no
    // conversion is going on.
    void DeleteDisc();
    // releaseFile is called with the path before the file goes, so that whoever holds it open
    // (the player) lets it go.
    void DeleteMusicFile(const std::function<void(const std::string&)>& releaseFile);
    void BeginRename();
    // After the in-place editor ended with a new text: refuses a label another disc has.
    void CommitRename();
    void Reload();
    // New tags for the track with that path (without regard to case) in the selected disc; the
    // music list shows them.
    void SetTrackTags(const std::string& path, const std::string& title, const std::string& artist,
                      const std::string& album, const std::string& genre);

    CEditListBox& Discs() { return m_lstDiscs; }
    CSkinListCtrl& Music() { return m_lstMusic; }

private:
    // After a disc at index went: its follower, else the one before it.
    void SelectNeighbourOf(int removed);
    bool Confirm(UINT formatId, const std::string& value) const;

    HWND m_hOwner = nullptr;
    HWND m_hGuide = nullptr;
    std::string m_strProjectFile;
    CEditListBox m_lstDiscs;
    CSkinListCtrl m_lstMusic;
    SessionRecorder m_recorder;
};
