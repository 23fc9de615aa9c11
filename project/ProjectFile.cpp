// The project file disc.xml: the options of the settings and the disc catalogue, written as one
// document at shut-down and read back at start-up.
#include "project/DiscCatalogue.h"

#include "app/Settings.h"
#include "app/framework/Scoped.h"
#include "companions/AudioTagCore/WmaCodecInfo.h"
#include "finish/NameSanitiser.h"
#include "project/XmlDomReader.h"
#include "project/XmlTextWriter.h"

#include <cstdio>
#include <optional>

namespace {

constexpr char kRoot[] = "quaverlane_project";
constexpr char kOptions[] = "options";
constexpr char kCodecParam[] = "codec_param";
constexpr char kDisc[] = "disc_data";
constexpr char kTrack[] = "track_data";
constexpr char kId[] = "id";

template <typename... Args> std::string Format(const char* format, Args... args) {
    char text[512];
    std::snprintf(text, sizeof text, format, args...);
    return text;
}

const char* CodecText(OutputFormat format) {
    switch (format) {
    case OutputFormat::Mp3:
        return "mp3";
    case OutputFormat::Wma:
        return "wma";
    default:
        return "wav";
    }
}

void WriteFolder(XmlTextWriter& writer, const char* name, const std::string& path) {
    XmlElementWriter folder(writer, name, false);
    folder.AddAttribute("path", path);
}

void WriteMp3Parameters(XmlTextWriter& writer, Mp3EncoderSettings& mp3) {
    XmlElementWriter element(writer, "mp3", false);
    element.AddAttribute("id3v1", mp3.id3v1);
    element.AddAttribute("id3v2", mp3.id3v2);
    element.AddAttribute("preset", mp3.GetPreset());
    const Mp3Preset& current = mp3.Current();
    element.AddAttribute("vbr", current.vbr);
    element.AddAttribute("bitrate", static_cast<unsigned>(current.bitrate));
    element.AddAttribute("bitrateMax", static_cast<unsigned>(current.maxBitrate));
}

template <typename Record> Record* FindByPosition(Record** records, int count, int index) {
    return records != nullptr && index >= 0 && index < count ? records[index] : nullptr;
}

// The choice by list position, and the chosen codec and format as descriptions for the reader
// of the file; only the positions are read back.
void WriteWmaParameters(XmlTextWriter& writer, const WmaCodecCatalogue& catalogue) {
    XmlElementWriter element(writer, "wma", false);
    int codecIndex = -1;
    int formatIndex = -1;
    catalogue.GetChoice(&codecIndex, &formatIndex);
    IWMACodecInfoManager* manager = catalogue.Manager();
    // Without the library only a choice an earlier file held is kept; the descriptions are the
    // library's to give.
    if (manager == nullptr && codecIndex == -1) {
        return;
    }
    element.AddAttribute("codec_index1", codecIndex);
    element.AddAttribute("format_index1", formatIndex);
    if (manager == nullptr) {
        return;
    }
    WmaCodecList* list = manager->GetCatalogue();
    const WmaCodecRecord* codec =
        list != nullptr ? FindByPosition(list->codecs, list->codecCount, codecIndex) : nullptr;
    if (codec == nullptr) {
        return;
    }
    element.AddAttribute("codec_index2", codec->codecIndex);
    element.AddAttribute("codec_desc", codec->description);
    const WmaFormatRecord* format = FindByPosition(codec->formats, codec->formatCount, formatIndex);
    if (format == nullptr) {
        return;
    }
    element.AddAttribute("format_index2", format->formatIndex);
    element.AddAttribute("vbr", format->vbr);
    element.AddAttribute("passed_count", static_cast<unsigned>(format->passes));
    element.AddAttribute("format_desc", format->description);
}

void WriteOptions(XmlTextWriter& writer, Settings& settings) {
    XmlElementWriter options(writer, kOptions, true);
    options.AddAttribute("codec", CodecText(settings.outputFormat));
    options.AddAttribute("Window_X", settings.windowLeft);
    options.AddAttribute("Window_Y", settings.windowTop);
    options.AddAttribute("Window_Width", settings.windowWidth);
    options.AddAttribute("Window_Height", settings.windowHeight);
    options.AddAttribute("Not_Run_On_Startup", settings.notRunOnStartup);
    options.AddAttribute("LanguageAuto", settings.languageAuto);
    options.AddAttribute("LanguageIniFile", settings.languageFile);
    options.AddAttribute("FilenameFormat", settings.filenameFormat);
    options.AddAttribute("FormatUserDefined", settings.userDefinedFormats);
    options.CloseStartTag();
    WriteFolder(writer, "output_folder", settings.outputFolder);
    WriteFolder(writer, "temp_folder", settings.captureFolder);
    XmlElementWriter codecParam(writer, kCodecParam, true);
    codecParam.CloseStartTag();
    WriteMp3Parameters(writer, settings.mp3);
    WriteWmaParameters(writer, settings.wmaCatalogue);
}

void WriteDisc(XmlTextWriter& writer, int id, const DiscRecord& disc) {
    XmlElementWriter element(writer, kDisc, true);
    element.AddAttribute(kId, id);
    element.AddAttribute("track_count", static_cast<int>(disc.GetTrackCount()));
    element.AddAttribute("disc_label", disc.GetLabel());
    element.AddAttribute("path", disc.GetFolder());
    element.CloseStartTag();
    TrackRecord track;
    for (size_t i = 0; disc.GetTrack(i, track); ++i) {
        XmlElementWriter trackElement(writer, kTrack, false);
        trackElement.AddAttribute(kId, static_cast<int>(i));
        trackElement.AddAttribute("title", track.title);
        trackElement.AddAttribute("artist", track.artist);
        trackElement.AddAttribute("album", track.album);
        trackElement.AddAttribute("genre", track.genre);
        trackElement.AddAttribute("time", track.time);
        trackElement.AppendText(track.path);
    }
}

// Integers replace the settings' value only when present and numeric; strings always replace it.
void ReadOptions(const XmlDomReader& reader, Settings& settings) {
    std::string options = Format("//%s/%s", kRoot, kOptions);
    reader.ReadInt(options, "Window_X", settings.windowLeft);
    reader.ReadInt(options, "Window_Y", settings.windowTop);
    reader.ReadInt(options, "Window_Width", settings.windowWidth);
    reader.ReadInt(options, "Window_Height", settings.windowHeight);
    reader.ReadInt(options, "Not_Run_On_Startup", settings.notRunOnStartup);
    reader.ReadInt(options, "LanguageAuto", settings.languageAuto);
    reader.ReadString(options, "LanguageIniFile", settings.languageFile);
    reader.ReadString(options, "FilenameFormat", settings.filenameFormat);
    reader.ReadString(options, "FormatUserDefined", settings.userDefinedFormats);
    std::string codec;
    reader.ReadString(options, "codec", codec);
    // The user's choice as stored: a WMA choice without the library is written as MP3 when a track
    // is finished, and is still WMA in the file the next time.
    settings.outputFormat = OutputFormatFromCodecText(codec);
    std::string outputFolder;
    reader.ReadString(Format("//%s/%s/%s", kRoot, kOptions, "output_folder"), "path", outputFolder);
    if (!outputFolder.empty()) {
        SanitisePath(outputFolder, '-', true);
        settings.outputFolder = outputFolder;
    }
    settings.ApplyCaptureFolderFromRegistry();
    int preset = Mp3EncoderSettings::kDefaultPreset;
    reader.ReadInt(Format("//%s/%s/%s/%s", kRoot, kOptions, kCodecParam, "mp3"), "preset", preset);
    settings.mp3.SetPreset(preset);
    std::string wma = Format("//%s/%s/%s/%s", kRoot, kOptions, kCodecParam, "wma");
    int codecIndex = -1;
    int formatIndex = -1;
    settings.wmaCatalogue.GetChoice(&codecIndex, &formatIndex);
    reader.ReadInt(wma, "codec_index1", codecIndex);
    reader.ReadInt(wma, "format_index1", formatIndex);
    settings.wmaCatalogue.SetChoice(codecIndex, formatIndex);
}

bool IsFolder(const std::string& path) {
    DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

bool IsFile(const std::string& path) {
    DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

// A count as the loader takes it: 0 when the attribute is missing or empty, as every missing
// number keeps its default, otherwise its leading number; no count at all when that is negative
// or there is no number, which no save writes.
std::optional<int> ReadCount(const XmlDomReader& reader, const std::string& xpath, const char* attribute) {
    std::string text;
    reader.ReadString(xpath, attribute, text);
    int count = text.empty() ? 0 : -1;
    reader.ReadInt(xpath, attribute, count);
    return count >= 0 ? std::optional<int>(count) : std::nullopt;
}

// The disc as the file describes it, without the tracks whose file is gone; null when the disc
// has no folder or no track left. A track count that cannot be taken clears whole.
std::unique_ptr<DiscRecord> ReadDisc(const XmlDomReader& reader, int id, bool& whole) {
    std::string disc = Format("//%s/%s[@%s=\"%d\"]", kRoot, kDisc, kId, id);
    std::string label;
    reader.ReadString(disc, "disc_label", label);
    std::optional<int> count = ReadCount(reader, disc, "track_count");
    whole = whole && count.has_value();
    int trackCount = count.value_or(0);
    if (trackCount == 0) {
        return nullptr;
    }
    std::string folder;
    reader.ReadString(disc, "path", folder);
    size_t separator = folder.rfind('\\');
    if (label.empty() && separator != std::string::npos) {
        label = folder.substr(separator + 1);
    }
    if (folder.empty() || !IsFolder(folder)) {
        return nullptr;
    }
    auto record = std::make_unique<DiscRecord>();
    record->SetLabel(label);
    record->SetFolder(folder);
    for (int tid = reader.NextKeyedId(disc, -1, trackCount); tid < trackCount;
         tid = reader.NextKeyedId(disc, tid, trackCount)) {
        std::string track =
            Format("//%s/%s[@%s=\"%d\"]/%s[@%s=\"%d\"]", kRoot, kDisc, kId, id, kTrack, kId, tid);
        std::string path;
        reader.ReadText(track, path);
        if (path.empty() || !IsFile(path)) {
            continue;
        }
        TrackRecord fields;
        reader.ReadString(track, "title", fields.title);
        reader.ReadString(track, "artist", fields.artist);
        reader.ReadString(track, "album", fields.album);
        reader.ReadString(track, "genre", fields.genre);
        reader.ReadString(track, "time", fields.time);
        if (!record->AddTrack(fields.title, fields.artist, fields.album, fields.genre, path, fields.time)) {
            break;
        }
    }
    return record->GetTrackCount() > 0 ? std::move(record) : nullptr;
}

} // namespace

// The document goes to a file of its own first and replaces disc.xml only once it is complete on
// disk: a save cut short by a crash, a kill or a full disk leaves the last good project in place.
bool DiscCatalogue::SaveProject(const std::string& path) {
    ScopedLock lock(m_lock);
    std::string temporary = path + ".saving";
    ScopedFileHandle file(CreateFileA(temporary.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                      CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) {
        return false;
    }
    XmlTextWriter writer;
    writer.Reset();
    writer.BeginDocument();
    {
        XmlElementWriter root(writer, kRoot, true);
        root.AddAttribute("disc_count", Format("%d", static_cast<int>(m_discs.size())));
        root.AddAttribute("first_run", m_firstRun);
        root.CloseStartTag();
        WriteOptions(writer, GetSettings());
        for (size_t id = 0; id < m_discs.size(); ++id) {
            WriteDisc(writer, static_cast<int>(id), *m_discs[id]);
        }
    }
    bool written = writer.Flush(file.Get()) && FlushFileBuffers(file.Get());
    file.Reset();
    if (!written ||
        !MoveFileExA(temporary.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        DeleteFileA(temporary.c_str());
        return false;
    }
    return true;
}

bool DiscCatalogue::LoadProject(const std::string& path, ProjectReading reading) {
    ScopedLock lock(m_lock);
    Clear();
    XmlDomReader reader;
    bool indexed = reading == ProjectReading::Indexed;
    if (!reader.Load(path, indexed ? XmlDomReader::Parser::OwnFirst : XmlDomReader::Parser::SystemDom)) {
        return false;
    }
    std::string root = Format("//%s", kRoot);
    if (indexed) {
        reader.IndexKeyedElements(root, {kDisc, kTrack}, kId);
    }
    // The next save replaces the file with what was taken from it, so a file that cannot be taken
    // whole is copied for the user to mend: one that is not a document the reader accepts, one
    // whose root is not a project's (it was not written for the program), and one with a count
    // that is negative or not a number (what it counts is not read). Counts that promise more than
    // there is, gaps in the ids, and discs and tracks whose folder or file is gone are the traces
    // of hand edits and deleted music that the format allows for, and are taken as they are.
    std::string rootName = reader.RootName();
    bool whole = !reader.Unreadable() && (rootName.empty() || rootName == kRoot);
    std::optional<int> count = ReadCount(reader, root, "disc_count");
    whole = whole && count.has_value();
    int discCount = count.value_or(0);
    int firstRun = 1;
    reader.ReadInt(root, "first_run", firstRun);
    m_firstRun = firstRun;
    ReadOptions(reader, GetSettings());
    for (int id = reader.NextKeyedId(root, -1, discCount); id < discCount;
         id = reader.NextKeyedId(root, id, discCount)) {
        if (std::unique_ptr<DiscRecord> disc = ReadDisc(reader, id, whole)) {
            AddDisc(std::move(disc));
        }
    }
    if (!whole) {
        CopyFileA(path.c_str(), (path + kUnreadableSuffix).c_str(), FALSE);
    }
    return true;
}
