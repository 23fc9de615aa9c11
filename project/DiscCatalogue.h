// The converted discs the program knows of, shared by the user-interface thread and the conversion
// side. Every operation holds the catalogue's lock; it is re-entrant, so a caller that reads a
// record's tracks takes it around the whole read with ScopedLock(catalogue.Lock()).
#pragma once

#include "project/DiscRecord.h"

#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

// How the project file is read: by the program's own parser with an index built in one pass, or by
// the system's DOM component with a search of the document for each value. Both give the same
// catalogue; the second takes time that grows with the square of the catalogue and serves as the
// reference the first is checked against.
enum class ProjectReading { Indexed, SearchPerValue };

inline constexpr char kUnreadableSuffix[] = ".unreadable";

class DiscCatalogue {
public:
    DiscCatalogue();
    ~DiscCatalogue();
    DiscCatalogue(const DiscCatalogue&) = delete;
    DiscCatalogue& operator=(const DiscCatalogue&) = delete;

    CRITICAL_SECTION& Lock() { return m_lock; }

    int32_t GetFirstRun() const { return m_firstRun; }
    void SetFirstRun(int32_t firstRun) { m_firstRun = firstRun; }

    void AddDisc(std::unique_ptr<DiscRecord> record);
    void Clear();
    // Null when there is no such disc.
    DiscRecord* GetDisc(size_t index);
    size_t GetCount();

    // The playlist name of the session being converted; empty when it has none.
    void SetPendingLabel(const std::string& text);
    // "Disc#nnn", numbered one past the discs there are.
    std::string DefaultDiscLabel();
    // The pending label, made unique with "(n)", or the default label when there is none.
    std::string NewDiscLabel();
    // Whether a disc other than except carries the label, whatever its case.
    bool LabelExists(const std::string& text, const DiscRecord* except);

    bool RenameDisc(size_t index, const std::string& text);
    // Deletes the disc's files and takes the disc out.
    bool DeleteDisc(size_t index);
    // Deletes the track's file; the disc goes too, files and all, once it has no track left, and
    // discRemoved says so.
    bool DeleteTrack(size_t discIndex, size_t trackIndex, bool& discRemoved);
    // Takes over every disc of the other catalogue in its order, leaving it empty.
    void ReplaceAll(DiscCatalogue& other);

    // Replaces the catalogue and the settings' options by the project file's; false only when the
    // XML component is unavailable. A missing or broken file reads as an empty one. A file that
    // cannot be taken whole (broken, with a document type, not a project, with a count that cannot
    // be read) is copied to its name + kUnreadableSuffix, since the next save replaces it.
    bool LoadProject(const std::string& path, ProjectReading reading = ProjectReading::Indexed);
    // False when the file could not be written; the previous file is then left as it was.
    bool SaveProject(const std::string& path);

private:
    std::unique_ptr<DiscRecord> TakeOut(size_t index);
    void DeleteFiles(const DiscRecord& record);
    // Whether the folder is a root, holds the output or data folder, or holds another disc's
    // folder or tracks (the disc given as except left out).
    bool IsShared(const std::string& folder, const DiscRecord* except = nullptr);

    std::vector<std::unique_ptr<DiscRecord>> m_discs;
    int32_t m_firstRun = 1;
    CRITICAL_SECTION m_lock;
    std::string m_pendingLabel;
};

// The program's catalogue.
DiscCatalogue& GetDiscCatalogue();
