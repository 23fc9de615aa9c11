#include "project/DiscCatalogue.h"

#include "app/framework/AppFolders.h"
#include "app/framework/FolderTree.h"
#include "app/Settings.h"
#include "app/framework/Scoped.h"

#include <cstdio>
#include <utility>

namespace {

std::string WithoutTrailingSeparator(std::string path) {
    if (!path.empty() && path.back() == '\\') {
        path.pop_back();
    }
    return path;
}

bool SameOrInside(const std::string& path, const std::string& folder) {
    return _stricmp(path.c_str(), folder.c_str()) == 0 || PathLiesIn(path, folder);
}

} // namespace

DiscCatalogue::DiscCatalogue() {
    InitializeCriticalSection(&m_lock);
}

DiscCatalogue::~DiscCatalogue() {
    Clear();
    DeleteCriticalSection(&m_lock);
}

void DiscCatalogue::AddDisc(std::unique_ptr<DiscRecord> record) {
    ScopedLock lock(m_lock);
    m_discs.push_back(std::move(record));
}

void DiscCatalogue::Clear() {
    ScopedLock lock(m_lock);
    m_discs.clear();
}

DiscRecord* DiscCatalogue::GetDisc(size_t index) {
    ScopedLock lock(m_lock);
    return index < m_discs.size() ? m_discs[index].get() : nullptr;
}

size_t DiscCatalogue::GetCount() {
    ScopedLock lock(m_lock);
    return m_discs.size();
}

void DiscCatalogue::SetPendingLabel(const std::string& text) {
    ScopedLock lock(m_lock);
    m_pendingLabel = text;
}

std::string DiscCatalogue::DefaultDiscLabel() {
    ScopedLock lock(m_lock);
    char label[32];
    std::snprintf(label, sizeof(label), "Disc#%03zu", m_discs.size() + 1);
    return label;
}

std::string DiscCatalogue::NewDiscLabel() {
    ScopedLock lock(m_lock);
    if (m_pendingLabel.empty()) {
        return DefaultDiscLabel();
    }
    std::string label = m_pendingLabel;
    for (int counter = 1; LabelExists(label, nullptr); ++counter) {
        label = m_pendingLabel + "(" + std::to_string(counter) + ")";
    }
    return label;
}

bool DiscCatalogue::LabelExists(const std::string& text, const DiscRecord* except) {
    ScopedLock lock(m_lock);
    for (const auto& disc : m_discs) {
        if (disc.get() != except && _stricmp(disc->GetLabel().c_str(), text.c_str()) == 0) {
            return true;
        }
    }
    return false;
}

bool DiscCatalogue::RenameDisc(size_t index, const std::string& text) {
    ScopedLock lock(m_lock);
    DiscRecord* disc = GetDisc(index);
    if (disc == nullptr) {
        return false;
    }
    // A folder that other discs or the program use is not this disc's to move: the disc then
    // only takes the new label.
    bool shared = !disc->GetFolder().empty() && IsShared(WithoutTrailingSeparator(disc->GetFolder()), disc);
    disc->SetLabel(text, !shared);
    return true;
}

bool DiscCatalogue::DeleteDisc(size_t index) {
    ScopedLock lock(m_lock);
    std::unique_ptr<DiscRecord> disc = TakeOut(index);
    if (!disc) {
        return false;
    }
    DeleteFiles(*disc);
    return true;
}

bool DiscCatalogue::DeleteTrack(size_t discIndex, size_t trackIndex, bool& discRemoved) {
    ScopedLock lock(m_lock);
    discRemoved = false;
    DiscRecord* disc = GetDisc(discIndex);
    if (disc == nullptr || !disc->RemoveTrack(trackIndex)) {
        return false;
    }
    if (disc->GetTrackCount() == 0) {
        discRemoved = true;
        DeleteFiles(*TakeOut(discIndex));
    }
    return true;
}

void DiscCatalogue::ReplaceAll(DiscCatalogue& other) {
    ScopedLock lock(m_lock);
    ScopedLock otherLock(other.m_lock);
    Clear();
    m_discs = std::exchange(other.m_discs, {});
}

std::unique_ptr<DiscRecord> DiscCatalogue::TakeOut(size_t index) {
    if (index >= m_discs.size()) {
        return nullptr;
    }
    std::unique_ptr<DiscRecord> disc = std::move(m_discs[index]);
    m_discs.erase(m_discs.begin() + static_cast<ptrdiff_t>(index));
    return disc;
}

// The disc's own files always go. Its folder goes with everything in it only when it is the disc's
// alone; a folder that holds other discs' music or the program's files is removed only when
// nothing is left in it.
void DiscCatalogue::DeleteFiles(const DiscRecord& record) {
    for (size_t i = 0; i < record.GetTrackCount(); ++i) {
        std::string path = record.GetTrackPath(i);
        if (!path.empty()) {
            DeleteFileA(path.c_str());
        }
    }
    std::string folder = WithoutTrailingSeparator(record.GetFolder());
    if (IsShared(folder)) {
        RemoveDirectoryA(folder.c_str());
    } else {
        DeleteFolderTree(folder);
    }
}

// Run after the disc left the list, so that only the other discs count.
bool DiscCatalogue::IsShared(const std::string& folder, const DiscRecord* except) {
    if (IsVolumeRoot(folder)) {
        return true;
    }
    for (const std::string& programFolder : {GetSettings().outputFolder, DataFolder()}) {
        std::string own = WithoutTrailingSeparator(programFolder);
        if (!own.empty() && SameOrInside(own, folder)) {
            return true;
        }
    }
    for (const auto& disc : m_discs) {
        if (disc.get() == except) {
            continue;
        }
        if (SameOrInside(WithoutTrailingSeparator(disc->GetFolder()), folder)) {
            return true;
        }
        for (size_t i = 0; i < disc->GetTrackCount(); ++i) {
            if (PathLiesIn(disc->GetTrackPath(i), folder)) {
                return true;
            }
        }
    }
    return false;
}

DiscCatalogue& GetDiscCatalogue() {
    static DiscCatalogue catalogue;
    return catalogue;
}
