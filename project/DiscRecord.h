// One converted disc: its label, its output folder and up to 100 tracks kept as six parallel fields.
#pragma once

#include <windows.h>

#include <array>
#include <cstddef>
#include <string>

// Whether the path names something inside the folder (ignoring case). The folder name must end
// where the path has a separator: a sibling folder whose name merely starts the same way is not it.
bool PathLiesIn(const std::string& path, const std::string& folder);

// One track as a whole, for the callers that read all of its fields at once.
struct TrackRecord {
    std::string title;
    std::string artist;
    std::string album;
    std::string genre;
    std::string path;
    std::string time;
};

class DiscRecord {
public:
    // An audio CD has at most 99 tracks; one slot more is the whole room a disc has.
    static constexpr size_t kMaxTracks = 100;
    // Every text field holds at most this many characters; longer texts are cut.
    static constexpr size_t kMaxText = MAX_PATH - 1;

    DiscRecord() = default;
    virtual ~DiscRecord() = default;
    DiscRecord(const DiscRecord&) = delete;
    DiscRecord& operator=(const DiscRecord&) = delete;

    // Gives the disc a new label, moving its folder and files along (unless told not to) and
    // updating the titles that carried the old label. A change of case only is stored without
    // touching the disk.
    void SetLabel(const std::string& text, bool moveOnDisk = true);
    const std::string& GetLabel() const { return m_label; }

    void SetFolder(const std::string& path);
    const std::string& GetFolder() const { return m_folder; }

    void SetFolderTime(FILETIME time) { m_folderTime = time; }
    FILETIME GetFolderTime() const { return m_folderTime; }

    size_t GetTrackCount() const { return m_trackCount; }
    // False, with nothing changed, when the disc is full.
    bool AddTrack(const std::string& title, const std::string& artist, const std::string& album,
                  const std::string& genre, const std::string& path, const std::string& time);
    // False, with track left as it was, when there is no such track.
    bool GetTrack(size_t i, TrackRecord& track) const;
    // Empty when there is no such track.
    std::string GetTrackPath(size_t i) const;
    std::string GetTrackTime(size_t i) const;

    void SetTrackTitle(size_t i, const std::string& text);
    void SetTrackArtist(size_t i, const std::string& text);
    void SetTrackAlbum(size_t i, const std::string& text);
    void SetTrackGenre(size_t i, const std::string& text);
    void SetTrackTags(size_t i, const std::string& title, const std::string& artist, const std::string& album,
                      const std::string& genre);

    // Takes the track out, moves the later ones up and deletes the track's file; false when there
    // is no such track.
    bool RemoveTrack(size_t i);

private:
    using Field = std::array<std::string, kMaxTracks>;

    void SetField(Field& field, size_t i, const std::string& text);
    // Moves the tracks that lay in the old folder into the new one, renamed to the new label.
    void MoveTracks(const std::string& oldFolder, const std::string& newFolder, const std::string& label);

    std::string m_label;
    size_t m_trackCount = 0;
    std::string m_folder;
    FILETIME m_folderTime{};
    Field m_titles;
    Field m_artists;
    Field m_times;
    Field m_paths;
    Field m_albums;
    Field m_genres;
};
