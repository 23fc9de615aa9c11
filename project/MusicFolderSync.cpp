#include "project/MusicFolderSync.h"

#include "app/Messages.h"
#include "app/framework/MessagePump.h"
#include "companions/AudioTagCore/TrackTimeText.h"
#include "player/FileInfoForPath.h"
#include "project/MusicFileEditor.h"

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <memory>
#include <vector>

// A folder with more files than a disc has room for goes on in further discs of the same folder,
// labelled "<label>(2)", "<label>(3)"... in the way the catalogue makes labels unique: every file
// the folder holds stays listed.

namespace {

using DiscList = std::vector<std::unique_ptr<DiscRecord>>;

struct FileEntry {
    uint64_t time;
    std::string path;
};

uint64_t TimeValue(FILETIME time) {
    return (static_cast<uint64_t>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
}

bool IsCancelled(const MusicFolderScanJob& job) {
    return WaitForSingleObject(job.cancel, 0) == WAIT_OBJECT_0;
}

bool IsMusicFile(const std::string& name) {
    return HasExtension(name, ".MP3") || HasExtension(name, ".WMA") || HasExtension(name, ".WAV");
}

std::string WithBackslash(const std::string& folder) {
    return !folder.empty() && folder.back() == '\\' ? folder : folder + "\\";
}

std::string Lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](char c) { return static_cast<char>(std::tolower(static_cast<unsigned char>(c))); });
    return text;
}

// The first and the last progress always go out, the rest once the whole percent moves on.
void PostProgress(MusicFolderScanJob& job, bool always = false) {
    int percent = static_cast<int>(static_cast<uint64_t>(job.processed) * 100 / job.total);
    if (job.notify == nullptr || (!always && percent == job.postedPercent)) {
        return;
    }
    job.postedPercent = percent;
    PostMessageA(job.notify, WM_SYNC_PROGRESS, job.processed, job.total);
}

// Hands every entry of the folder but "." and ".." to visit (its path, whether it is a folder);
// false as soon as the cancel event or visit says stop.
template <typename Visit>
bool ForEachEntry(const MusicFolderScanJob& job, const std::string& folder, Visit visit) {
    WIN32_FIND_DATAA entry{};
    ScopedFindHandle find(FindFirstFileA((WithBackslash(folder) + "*.*").c_str(), &entry));
    if (!find) {
        return true;
    }
    do {
        if (IsCancelled(job)) {
            return false;
        }
        std::string name = entry.cFileName;
        if (name == "." || name == "..") {
            continue;
        }
        bool isFolder = (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
        if (!visit(WithBackslash(folder) + name, isFolder, entry)) {
            return false;
        }
    } while (FindNextFileA(find.Get(), &entry));
    return true;
}

bool CountFiles(MusicFolderScanJob& job, const std::string& folder) {
    return ForEachEntry(job, folder, [&job](const std::string& path, bool isFolder, const WIN32_FIND_DATAA&) {
        if (isFolder) {
            return CountFiles(job, path);
        }
        job.total += IsMusicFile(path) ? 1 : 0;
        return true;
    });
}

// The track of one file; false when it is to be left out (a WMA file without the library, or
// with tags the library cannot read). An MP3 file whose tags cannot be read keeps empty tags.
bool ReadTrack(const std::string& path, FileInfoReader& lengths, TrackRecord& track) {
    if (HasExtension(path, ".WAV")) {
        std::string name = path.substr(path.rfind('\\') + 1);
        track.title = name.substr(0, name.size() - 4);
    } else {
        ScopedMetaDataEditor editor = EditorFor(path);
        if (!editor) {
            return false;
        }
        if (editor->ReadMetaData() == 1) {
            const TrackTags& tags = editor->m_metaData;
            track.title = tags.title.c_str();
            track.artist = tags.artist.c_str();
            track.album = tags.album.c_str();
            track.genre = tags.genre.c_str();
        } else if (HasExtension(path, ".WMA")) {
            return false;
        }
    }
    track.path = path;
    track.time = TrackTimeText(lengths.Length(path.c_str()));
    return true;
}

std::unique_ptr<DiscRecord> NewDisc(const std::string& folder, const std::string& label, int part) {
    auto disc = std::make_unique<DiscRecord>();
    disc->SetLabel(part == 1 ? label : label + "(" + std::to_string(part) + ")", false);
    disc->SetFolder(folder);
    WIN32_FILE_ATTRIBUTE_DATA information{};
    FILETIME local{};
    if (GetFileAttributesExA(folder.c_str(), GetFileExInfoStandard, &information) &&
        FileTimeToLocalFileTime(&information.ftLastWriteTime, &local)) {
        disc->SetFolderTime(local);
    }
    return disc;
}

// The folder's own files make its disc (or discs); its sub-folders are handled as they are met.
bool BuildDiscs(MusicFolderScanJob& job, const std::string& folder, FileInfoReader& lengths,
                DiscList& discs) {
    std::vector<FileEntry> files;
    bool whole =
        ForEachEntry(job, folder, [&](const std::string& path, bool isFolder, const WIN32_FIND_DATAA& entry) {
            if (isFolder) {
                return BuildDiscs(job, path, lengths, discs);
            }
            if (IsMusicFile(path)) {
                files.push_back({TimeValue(entry.ftLastWriteTime), path});
            }
            return true;
        });
    if (!whole) {
        return false;
    }
    std::stable_sort(files.begin(), files.end(),
                     [](const FileEntry& a, const FileEntry& b) { return a.time < b.time; });

    std::string label = SyncDiscLabel(folder, job.root);
    std::unique_ptr<DiscRecord> disc;
    int part = 0;
    for (const FileEntry& file : files) {
        // A folder of many files is read file by file: a cancel must not wait for all of them.
        if (IsCancelled(job)) {
            return false;
        }
        TrackRecord track;
        if (ReadTrack(file.path, lengths, track)) {
            if (!disc || disc->GetTrackCount() == DiscRecord::kMaxTracks) {
                if (disc) {
                    discs.push_back(std::move(disc));
                }
                disc = NewDisc(folder, label, ++part);
            }
            disc->AddTrack(track.title, track.artist, track.album, track.genre, track.path, track.time);
        }
        ++job.processed;
        PostProgress(job);
    }
    if (disc) {
        discs.push_back(std::move(disc));
    }
    return true;
}

// The root without trailing backslashes, unless it is a drive's root ("C:\").
std::string NormalisedRoot(std::string root) {
    while (root.size() > 1 && root.back() == '\\' && !(root.size() == 3 && root[1] == ':')) {
        root.pop_back();
    }
    return root;
}

} // namespace

std::string SyncDiscLabel(const std::string& folder, const std::string& root) {
    std::string base = WithBackslash(root);
    size_t at = Lower(folder).find(Lower(base));
    std::string label = at == std::string::npos ? std::string() : folder.substr(at + base.size());
    while (!label.empty() && label.back() == '\\') {
        label.pop_back();
    }
    if (label.empty()) {
        return "Root";
    }
    std::replace(label.begin(), label.end(), '\\', '-');
    return label;
}

bool ScanMusicFolder(MusicFolderScanJob& job) {
    job.result->Clear();
    job.total = 0;
    job.processed = 0;
    job.postedPercent = -1;
    if (!CountFiles(job, job.root)) {
        return false;
    }
    if (job.total == 0) {
        return true;
    }
    PostProgress(job, true);
    // One reader for the whole scan: the WMA decoding library is loaded once, not once a file.
    FileInfoReader lengths;
    DiscList discs;
    if (!BuildDiscs(job, job.root, lengths, discs)) {
        return false;
    }
    std::stable_sort(discs.begin(), discs.end(), [](const auto& a, const auto& b) {
        return TimeValue(a->GetFolderTime()) < TimeValue(b->GetFolderTime());
    });
    for (auto& disc : discs) {
        job.result->AddDisc(std::move(disc));
    }
    PostProgress(job, true);
    return true;
}

unsigned __stdcall MusicFolderScanThread(void* parameter) {
    auto& job = *static_cast<MusicFolderScanJob*>(parameter);
    bool whole = ScanMusicFolder(job);
    if (job.notify != nullptr) {
        PostMessageA(job.notify, WM_SYNC_DONE, 0, 0);
    }
    SetEvent(job.done);
    return whole ? 0 : 1;
}

CMusicFolderSync::CMusicFolderSync(const std::string& root)
    : m_cancel(CreateEventA(nullptr, TRUE, FALSE, nullptr)),
      m_done(CreateEventA(nullptr, TRUE, TRUE, nullptr)) {
    m_job.root = NormalisedRoot(root);
    m_job.result = &m_result;
    m_job.cancel = m_cancel.Get();
    m_job.done = m_done.Get();
}

CMusicFolderSync::~CMusicFolderSync() {
    if (IsRunning()) {
        Cancel();
        WaitWhileDispatching();
    }
}

bool CMusicFolderSync::Start(HWND notify) {
    if (m_thread.IsStarted()) {
        return false;
    }
    ResetEvent(m_cancel.Get());
    ResetEvent(m_done.Get());
    m_job.notify = notify;
    if (!m_thread.Start(MusicFolderScanThread, &m_job)) {
        SetEvent(m_done.Get());
        return false;
    }
    return true;
}

void CMusicFolderSync::Cancel() {
    SetEvent(m_cancel.Get());
}

bool CMusicFolderSync::IsCancelled() const {
    return WaitForSingleObject(m_cancel.Get(), 0) == WAIT_OBJECT_0;
}

bool CMusicFolderSync::IsRunning() const {
    return WaitForSingleObject(m_done.Get(), 0) != WAIT_OBJECT_0;
}

void CMusicFolderSync::WaitWhileDispatching() {
    HANDLE done = m_done.Get();
    WaitAllWhileDispatching(&done, 1);
}

bool CMusicFolderSync::HandOver(DiscCatalogue& target) {
    if (!m_thread.IsStarted() || IsRunning() || IsCancelled()) {
        return false;
    }
    target.ReplaceAll(m_result);
    return true;
}
