// File information through a decoder record of its own, so that nothing is shared with a playing
// engine: a list of files can be measured while one of them plays.
#include "player/FileInfoForPath.h"

#include <cstring>
#include <string>

int GetFileInfoForPath(const char* path, FileInfo* info) {
    return FileInfoReader().Read(path, info);
}

int GetFileLength(const char* path) {
    return FileInfoReader().Length(path);
}

FileInfoReader::~FileInfoReader() {
    for (int kind = 0; kind < kKinds; ++kind) {
        if (m_made[kind]) {
            m_codecs[kind].Uninitialise(&m_codecs[kind]);
        }
    }
}

int FileInfoReader::Read(const char* path, FileInfo* info) {
    *info = FileInfo{};
    if (path == nullptr) {
        return 0;
    }
    const char* dot = std::strrchr(path, '.');
    if (dot == nullptr) {
        return 0;
    }
    std::string extension(dot + 1);
    // The system code page's rules, as for every other text of the program.
    CharLowerBuffA(extension.data(), static_cast<DWORD>(extension.size()));
    static constexpr struct {
        const char* extension;
        void (*init)(CodecModule*);
    } kDecoders[kKinds] = {{"mp3", InitMp3Codec}, {"wav", InitWavCodec}, {"wma", InitWmaCodec}};
    int kind = 0;
    while (kind < kKinds && extension != kDecoders[kind].extension) {
        ++kind;
    }
    if (kind == kKinds) {
        return 0;
    }
    CodecModule& codec = m_codecs[kind];
    if (!m_made[kind]) {
        kDecoders[kind].init(&codec);
        m_made[kind] = true;
    }
    const bool opened = codec.OpenFile(&codec, path, 0, nullptr) == 1;
    if (opened) {
        codec.GetFileInfo(&codec, info);
        codec.CloseFile(&codec);
    }
    return opened ? 1 : 0;
}

int FileInfoReader::Length(const char* path) {
    FileInfo info{};
    return Read(path, &info) == 1 ? info.lengthSeconds : 0;
}
