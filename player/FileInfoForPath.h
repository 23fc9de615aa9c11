// A file's length and PCM format without playing it, on the caller's thread.
#pragma once

#include "player/Modules.h"

// Chooses the decoder by the extension (after the last dot, lower-cased: mp3, wav or wma) and
// fills info from it; 1 on success, 0 (info cleared) otherwise.
int GetFileInfoForPath(const char* path, FileInfo* info);
// The length in seconds; 0 when the file cannot be read.
int GetFileLength(const char* path);

// The same for many files in a row: one decoder record of each kind is made on first need and kept,
// so that what a decoder loads (the WMA decoding library) is loaded once for all the files.
class FileInfoReader {
public:
    FileInfoReader() = default;
    ~FileInfoReader();
    FileInfoReader(const FileInfoReader&) = delete;
    FileInfoReader& operator=(const FileInfoReader&) = delete;

    int Read(const char* path, FileInfo* info);
    int Length(const char* path);

private:
    static constexpr int kKinds = 3;
    CodecModule m_codecs[kKinds] = {};
    bool m_made[kKinds] = {};
};
