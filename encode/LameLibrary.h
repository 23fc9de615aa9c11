// lame_enc.dll, loaded at run time from the program's folder: the module, its entry points and
// whether the library is complete enough to encode.
#pragma once

#include "encode/BladeEncoder.h"

#include <windows.h>

#include <cstdint>
#include <string>

struct LameEntryPoints {
    BEINITSTREAM beInitStream = nullptr;
    BEENCODECHUNK beEncodeChunk = nullptr;
    BEDEINITSTREAM beDeinitStream = nullptr;
    BECLOSESTREAM beCloseStream = nullptr;
    BEVERSION beVersion = nullptr;
    BEWRITEVBRHEADER beWriteVBRHeader = nullptr;
};

class LameLibrary {
public:
    // Loads lame_enc.dll from the folder of the running executable.
    LameLibrary();
    virtual ~LameLibrary();
    LameLibrary(const LameLibrary&) = delete;
    LameLibrary& operator=(const LameLibrary&) = delete;

    // Loads the library at path, freeing any other one first. An empty path only unloads and
    // gives 0; the path already loaded gives 1 and changes nothing. Otherwise 1 when the module
    // loaded, whether or not it has every entry point (IsLoaded tells).
    int Load(const std::string& path);

    // 1 once all six entry points were found.
    int IsLoaded() const { return m_loaded; }
    const std::string& Path() const { return m_path; }
    HMODULE Module() const { return m_module; }
    // Valid only while IsLoaded is 1.
    const LameEntryPoints& Api() const { return m_api; }

    // Asks the library for its version record again.
    void QueryVersion();

private:
    void Unload();

    HMODULE m_module = nullptr;
    std::string m_path;
    LameEntryPoints m_api;
    BE_VERSION m_version{};
    int32_t m_loaded = 0;
};
