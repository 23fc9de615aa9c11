#include "ui/trackinfo/FileInfoModel.h"

#include "app/framework/Scoped.h"
#include "companions/AudioTagCore/GenreInfo.h"
#include "project/DiscCatalogue.h"

#include <cstdio>
#include <ctime>

namespace {

std::string Extension(const std::string& path) {
    size_t dot = path.find_last_of('.');
    size_t separator = path.find_last_of("\\/");
    if (dot == std::string::npos || (separator != std::string::npos && dot < separator)) {
        return {};
    }
    return path.substr(dot);
}

// Up to size bytes at offset (negative: from the end); fewer when the file is shorter.
std::string ReadBytes(const std::string& path, LONG offset, DWORD size) {
    ScopedFileHandle file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                      OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) {
        return {};
    }
    LARGE_INTEGER length{};
    if (!GetFileSizeEx(file.Get(), &length) || length.QuadPart < size) {
        return {};
    }
    SetFilePointer(file.Get(), offset, nullptr, offset < 0 ? FILE_END : FILE_BEGIN);
    std::string bytes(size, '\0');
    DWORD read = 0;
    if (!ReadFile(file.Get(), bytes.data(), size, &read, nullptr)) {
        return {};
    }
    bytes.resize(read);
    return bytes;
}

} // namespace

FileKind FileKindOfPath(const std::string& path) {
    const std::string extension = Extension(path);
    if (lstrcmpiA(extension.c_str(), ".mp3") == 0) {
        return kFileMp3;
    }
    if (lstrcmpiA(extension.c_str(), ".wma") == 0) {
        return kFileWma;
    }
    return kFileOther;
}

std::string BitrateText(const AudioSummary& summary) {
    char text[64];
    if (summary.vbr) {
        snprintf(text, sizeof text, "%d kbps (VBR)", summary.averageBitrate / 1000);
    } else {
        snprintf(text, sizeof text, "%d kbps", summary.bitrate / 1000);
    }
    return text;
}

std::string SizeText(uint64_t bytes) {
    char text[64];
    snprintf(text, sizeof text, "%.2f MB", static_cast<double>(bytes) / 1048576.0);
    return text;
}

std::string DateText(const FILETIME& moment) {
    FILETIME local;
    SYSTEMTIME time;
    if (!FileTimeToLocalFileTime(&moment, &local) || !FileTimeToSystemTime(&local, &time)) {
        return {};
    }
    std::tm parts{};
    parts.tm_year = time.wYear - 1900;
    parts.tm_mon = time.wMonth - 1;
    parts.tm_mday = time.wDay;
    parts.tm_hour = time.wHour;
    parts.tm_min = time.wMinute;
    parts.tm_sec = time.wSecond;
    char text[96];
    return strftime(text, sizeof text, "%H:%M:%S %B %d, %Y", &parts) > 0 ? text : "";
}

int GenreReferenceNumber(const char* genre) {
    int number = -1;
    return genre != nullptr && sscanf(genre, "(%d)", &number) == 1 ? number : -1;
}

std::string GenreName(const char* genre) {
    const int number = GenreReferenceNumber(genre);
    if (number >= 0 && number < CGenreInfo::GetGenreCount()) {
        return CGenreInfo::GetGenreIDStr(number);
    }
    return genre != nullptr ? genre : "";
}

void ReadTrackNumber(const std::string& text, int32_t& number) {
    char* end = nullptr;
    const long typed = strtol(text.c_str(), &end, 10);
    if (end != text.c_str() && *end == '\0' && typed >= 0 && typed <= 500) {
        number = static_cast<int32_t>(typed);
    }
}

void CopyCommonFields(const TrackTags& from, TrackTags& to) {
    to.trackNumber = from.trackNumber;
    to.title = from.title;
    to.artist = from.artist;
    to.album = from.album;
    to.year = from.year;
    to.comment = from.comment;
}

bool HasId3Tag(const std::string& path, int version) {
    if (version == ID3TT_ID3V1) {
        return ReadBytes(path, -128, 3) == "TAG";
    }
    return ReadBytes(path, 0, 3) == "ID3";
}

AudioSummary SummaryOfMp3Header(const Mp3_Headerinfo& header) {
    AudioSummary summary;
    summary.bitrate = static_cast<int>(header.bitrate);
    summary.averageBitrate = static_cast<int>(header.vbr_bitrate);
    summary.vbr = header.vbr_bitrate != 0;
    summary.sampleRate = static_cast<int>(header.frequency);
    summary.stereo =
        header.channelmode == MP3CHANNELMODE_STEREO || header.channelmode == MP3CHANNELMODE_JOINT_STEREO;
    return summary;
}

std::string CCatalogueSteps::Neighbour(const std::string& path, int step) {
    ScopedLock lock(m_catalogue.Lock());
    for (size_t disc = 0; disc < m_catalogue.GetCount(); ++disc) {
        const DiscRecord* record = m_catalogue.GetDisc(disc);
        for (size_t track = 0; track < record->GetTrackCount(); ++track) {
            if (lstrcmpiA(record->GetTrackPath(track).c_str(), path.c_str()) != 0) {
                continue;
            }
            const long next = static_cast<long>(track) + step;
            if (next < 0 || next >= static_cast<long>(record->GetTrackCount())) {
                return {};
            }
            return record->GetTrackPath(static_cast<size_t>(next));
        }
    }
    return {};
}
