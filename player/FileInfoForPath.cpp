// File information through a decoder record of its own, so that nothing is shared with a playing
// engine: a list of files can be measured while one of them plays.
#include "player/FileInfoForPath.h"

#include <cstring>
#include <string>

int GetFileInfoForPath(const char* path, FileInfo* info) {
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
    void (*init)(CodecModule*) = nullptr;
    if (extension == "mp3") {
        init = InitMp3Codec;
    } else if (extension == "wav") {
        init = InitWavCodec;
    } else if (extension == "wma") {
        init = InitWmaCodec;
    } else {
        return 0;
    }
    CodecModule codec{};
    init(&codec);
    const bool opened = codec.OpenFile(&codec, path, 0, nullptr) == 1;
    if (opened) {
        codec.GetFileInfo(&codec, info);
        codec.CloseFile(&codec);
    }
    codec.Uninitialise(&codec);
    return opened ? 1 : 0;
}

int GetFileLength(const char* path) {
    FileInfo info{};
    return GetFileInfoForPath(path, &info) == 1 ? info.lengthSeconds : 0;
}
