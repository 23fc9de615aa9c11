#include "project/DiscRecord.h"

#include "finish/NameSanitiser.h"
#include "project/MusicFileEditor.h"

#include <windows.h>

#include <algorithm>
#include <memory>
#include <optional>

namespace {

std::string Cut(const std::string& text) {
    return text.substr(0, DiscRecord::kMaxText);
}

// The label names a folder and part of file names, so it must be a valid file name.
std::string SanitiseLabel(const std::string& text) {
    std::string label = Cut(text);
    SanitiseFileName(label, '-');
    return label;
}

std::string ReplaceEvery(std::string text, const std::string& from, const std::string& to) {
    if (from.empty()) {
        return text;
    }
    for (size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size())) {
        text.replace(at, from.size(), to);
    }
    return text;
}

// The new title when the file's tag named the disc; only the title is written back, so the rest
// of the tag (track number included) stays exactly as it was.
std::optional<std::string> RetitleTag(const std::string& path, const std::string& oldLabel,
                                      const std::string& newLabel) {
    ScopedMetaDataEditor editor = EditorFor(path);
    if (!editor || editor->ReadMetaData() != 1) {
        return std::nullopt;
    }
    std::string title = editor->m_metaData.title.c_str();
    if (oldLabel.empty() || title.find(oldLabel) == std::string::npos) {
        return std::nullopt;
    }
    title = Cut(ReplaceEvery(title, oldLabel, newLabel));
    editor->m_metaData.title = title;
    editor->WriteMetaData(true);
    return title;
}

} // namespace

bool PathLiesIn(const std::string& path, const std::string& folder) {
    return path.size() > folder.size() && path[folder.size()] == '\\' &&
           _strnicmp(path.c_str(), folder.c_str(), folder.size()) == 0;
}

void DiscRecord::SetLabel(const std::string& text, bool moveOnDisk) {
    std::string label = SanitiseLabel(text);
    if (moveOnDisk && !label.empty() && _stricmp(label.c_str(), m_label.c_str()) != 0 && !m_folder.empty()) {
        std::string oldFolder = m_folder;
        if (oldFolder.back() == '\\') {
            oldFolder.pop_back();
        }
        size_t separator = oldFolder.rfind('\\');
        std::string parent = separator == std::string::npos ? std::string() : oldFolder.substr(0, separator);
        std::string newFolder = Cut(parent + "\\" + label);
        DWORD attributes = GetFileAttributesA(oldFolder.c_str());
        if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0 &&
            MoveFileA(oldFolder.c_str(), newFolder.c_str())) {
            m_folder = newFolder;
        }
        MoveTracks(oldFolder, newFolder, label);
    }
    m_label = label;
}

void DiscRecord::MoveTracks(const std::string& oldFolder, const std::string& newFolder,
                            const std::string& label) {
    for (size_t i = 0; i < m_trackCount; ++i) {
        if (!PathLiesIn(m_paths[i], oldFolder)) {
            continue;
        }
        std::string rest = m_paths[i].substr(oldFolder.size());
        std::string movedPath = Cut(newFolder + rest);
        std::string renamedRest = ReplaceEvery(rest, m_label, label);
        std::string renamedPath = Cut(newFolder + renamedRest);
        bool renamed = movedPath == renamedPath || MoveFileA(movedPath.c_str(), renamedPath.c_str());
        m_paths[i] = renamed ? renamedPath : movedPath;
        if (HasExtension(m_paths[i], ".WAV")) {
            std::string name = renamedRest.substr(1);
            SetField(m_titles, i, name.substr(0, name.find('.')));
        } else if (std::optional<std::string> title = RetitleTag(m_paths[i], m_label, label)) {
            SetField(m_titles, i, *title);
        }
    }
}

void DiscRecord::SetFolder(const std::string& path) {
    m_folder = Cut(path);
}

bool DiscRecord::AddTrack(const std::string& title, const std::string& artist, const std::string& album,
                          const std::string& genre, const std::string& path, const std::string& time) {
    // A 101st track is refused rather than given a disc of its own: a burn never has that many,
    // so such a track is not a disc's track at all.
    if (m_trackCount == kMaxTracks) {
        return false;
    }
    size_t i = m_trackCount++;
    SetTrackTags(i, title, artist, album, genre);
    SetField(m_paths, i, path);
    SetField(m_times, i, time);
    return true;
}

bool DiscRecord::GetTrack(size_t i, TrackRecord& track) const {
    if (i >= m_trackCount) {
        return false;
    }
    track = {m_titles[i], m_artists[i], m_albums[i], m_genres[i], m_paths[i], m_times[i]};
    return true;
}

std::string DiscRecord::GetTrackPath(size_t i) const {
    return i < m_trackCount ? m_paths[i] : std::string();
}

std::string DiscRecord::GetTrackTime(size_t i) const {
    return i < m_trackCount ? m_times[i] : std::string();
}

// Fields exist only for the tracks the disc holds: a slot past the last track stays empty.
void DiscRecord::SetField(Field& field, size_t i, const std::string& text) {
    if (i < m_trackCount) {
        field[i] = Cut(text);
    }
}

void DiscRecord::SetTrackTitle(size_t i, const std::string& text) {
    SetField(m_titles, i, text);
}

void DiscRecord::SetTrackArtist(size_t i, const std::string& text) {
    SetField(m_artists, i, text);
}

void DiscRecord::SetTrackAlbum(size_t i, const std::string& text) {
    SetField(m_albums, i, text);
}

void DiscRecord::SetTrackGenre(size_t i, const std::string& text) {
    SetField(m_genres, i, text);
}

void DiscRecord::SetTrackTags(size_t i, const std::string& title, const std::string& artist,
                              const std::string& album, const std::string& genre) {
    SetTrackTitle(i, title);
    SetTrackArtist(i, artist);
    SetTrackAlbum(i, album);
    SetTrackGenre(i, genre);
}

bool DiscRecord::RemoveTrack(size_t i) {
    if (i >= m_trackCount) {
        return false;
    }
    std::string path = m_paths[i];
    for (Field* field : {&m_titles, &m_artists, &m_times, &m_paths, &m_albums, &m_genres}) {
        std::move((*field).begin() + static_cast<ptrdiff_t>(i) + 1,
                  (*field).begin() + static_cast<ptrdiff_t>(m_trackCount),
                  (*field).begin() + static_cast<ptrdiff_t>(i));
        (*field)[m_trackCount - 1].clear();
    }
    --m_trackCount;
    if (!path.empty()) {
        DeleteFileA(path.c_str());
    }
    return true;
}
