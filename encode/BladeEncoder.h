// The BladeEnc-compatible interface of lame_enc.dll, declared here as the library publishes it:
// the configuration record of the LAME kind (header version 1), the version record, the entry
// points and the constants the program uses. The records are packed to 1 byte, as the library
// was designed for; the offsets below are the ones its own fields sit at.
#pragma once

#include <windows.h>

#include <cstddef>

using BE_ERR = unsigned long;
using HBE_STREAM = void*;

constexpr BE_ERR BE_ERR_SUCCESSFUL = 0;

// dwConfig: the LAME header (LHV1) rather than the original Blade record.
constexpr DWORD BE_CONFIG_LAME = 256;
constexpr DWORD CURRENT_STRUCT_VERSION = 1;
// What the library copies from the caller's record.
constexpr DWORD CURRENT_STRUCT_SIZE = 331;

constexpr LONG BE_MP3_MODE_STEREO = 0;
constexpr LONG BE_MP3_MODE_MONO = 3;

constexpr DWORD MPEG1 = 1;

constexpr LONG LQP_CBR = 12;
constexpr LONG LQP_CD = 9000;

constexpr int VBR_METHOD_NONE = -1;
constexpr int VBR_METHOD_NEW = 2;

constexpr size_t BE_MAX_HOMEPAGE = 128;

#pragma pack(push, 1)

struct BE_CONFIG {
    DWORD dwConfig;
    // The library's union also holds the original Blade record and an AAC record; both are
    // shorter than LHV1 and the program never fills them.
    union {
        struct {
            DWORD dwStructVersion;
            DWORD dwStructSize;

            DWORD dwSampleRate;
            DWORD dwReSampleRate; // 0 lets the encoder choose
            LONG nMode;
            DWORD dwBitrate;    // CBR bitrate, VBR minimum
            DWORD dwMaxBitrate; // VBR maximum
            LONG nPreset;
            DWORD dwMpegVersion;
            DWORD dwPsyModel;
            DWORD dwEmphasis;

            BOOL bPrivate;
            BOOL bCRC;
            BOOL bCopyright;
            BOOL bOriginal;

            BOOL bWriteVBRHeader; // leaves room for the Info frame that beWriteVBRHeader fills
            BOOL bEnableVBR;
            INT nVBRQuality;
            DWORD dwVbrAbr_bps;
            INT nVbrMethod;
            BOOL bNoRes; // bit reservoir off

            BOOL bStrictIso;
            WORD nQuality; // only used when the high byte is the complement of the low byte

            BYTE btReserved[255 - 4 * sizeof(DWORD) - sizeof(WORD)];
        } LHV1;
    } format;
};

struct BE_VERSION {
    BYTE byDLLMajorVersion;
    BYTE byDLLMinorVersion;
    BYTE byMajorVersion;
    BYTE byMinorVersion;
    BYTE byDay;
    BYTE byMonth;
    WORD wYear;
    CHAR zHomepage[BE_MAX_HOMEPAGE + 1];
    BYTE byAlphaLevel;
    BYTE byBetaLevel;
    BYTE byMMXEnabled;
    BYTE btReserved[125];
};

#pragma pack(pop)

static_assert(sizeof(BE_CONFIG) == CURRENT_STRUCT_SIZE);
static_assert(offsetof(BE_CONFIG, format.LHV1.dwStructVersion) == 4);
static_assert(offsetof(BE_CONFIG, format.LHV1.dwStructSize) == 8);
static_assert(offsetof(BE_CONFIG, format.LHV1.dwSampleRate) == 12);
static_assert(offsetof(BE_CONFIG, format.LHV1.dwReSampleRate) == 16);
static_assert(offsetof(BE_CONFIG, format.LHV1.nMode) == 20);
static_assert(offsetof(BE_CONFIG, format.LHV1.dwBitrate) == 24);
static_assert(offsetof(BE_CONFIG, format.LHV1.dwMaxBitrate) == 28);
static_assert(offsetof(BE_CONFIG, format.LHV1.nPreset) == 32);
static_assert(offsetof(BE_CONFIG, format.LHV1.dwMpegVersion) == 36);
static_assert(offsetof(BE_CONFIG, format.LHV1.bCRC) == 52);
static_assert(offsetof(BE_CONFIG, format.LHV1.bWriteVBRHeader) == 64);
static_assert(offsetof(BE_CONFIG, format.LHV1.bEnableVBR) == 68);
static_assert(offsetof(BE_CONFIG, format.LHV1.nVBRQuality) == 72);
static_assert(offsetof(BE_CONFIG, format.LHV1.dwVbrAbr_bps) == 76);
static_assert(offsetof(BE_CONFIG, format.LHV1.nVbrMethod) == 80);
static_assert(offsetof(BE_CONFIG, format.LHV1.bNoRes) == 84);
static_assert(offsetof(BE_CONFIG, format.LHV1.nQuality) == 92);
static_assert(offsetof(BE_CONFIG, format.LHV1.btReserved) == 94);

// The library writes up to the end of btReserved and no further.
static_assert(offsetof(BE_VERSION, zHomepage) == 8);
static_assert(offsetof(BE_VERSION, btReserved) == 140);
static_assert(sizeof(BE_VERSION) == 265);

// The entry points, all with the C calling convention.
using BEINITSTREAM = BE_ERR(__cdecl*)(BE_CONFIG* config, DWORD* samples, DWORD* bufferSize,
                                      HBE_STREAM* stream);
using BEENCODECHUNK = BE_ERR(__cdecl*)(HBE_STREAM stream, DWORD sampleCount, SHORT* samples, BYTE* output,
                                       DWORD* outputBytes);
using BEDEINITSTREAM = BE_ERR(__cdecl*)(HBE_STREAM stream, BYTE* output, DWORD* outputBytes);
using BECLOSESTREAM = BE_ERR(__cdecl*)(HBE_STREAM stream);
using BEVERSION = void(__cdecl*)(BE_VERSION* version);
using BEWRITEVBRHEADER = BE_ERR(__cdecl*)(const char* path);
