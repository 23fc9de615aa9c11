// WmaDecodeCore.dll: WMA decoding for the preview player, which loads it at run time and finds the
// four functions by name. A decoder lives in a state block that the player owns, so that files can
// be decoded on several threads at once (the engine thread plays one while another thread reads a
// file's length).
//
// Use: fnWMAInitalize, then fnWMAOpenFile (path, state block); fnGetPCMBlock until it returns 0;
// fnWMADeInitalize (state block) closes the file. A negative result is a failure.
#pragma once

#include <windows.h>

#include <cstddef>

#ifdef WMADECODECORE_BUILD
#define WMADECODECORE_API extern "C"
#else
#define WMADECODECORE_API extern "C" __declspec(dllimport)
#endif

struct WmaDecodeState {
    // The player's file information, in its order; filled by fnWMAOpenFile.
    DWORD lengthSeconds; // rounded to the nearest second
    DWORD reserved;      // 0
    DWORD sampleRate;    // Hz
    DWORD stereo;        // 1 for two channels, 0 for one
    DWORD sixteenBit;    // always 1: the PCM is 16-bit
    // More of the same file.
    DWORD channels;   // 1 or 2 (a file of more channels is mixed down to 2)
    DWORD durationMs; // length in milliseconds
    DWORD bitrate;    // bit/s, as the file states it
    // The library's decoder; null when no file is open.
    void* decoder;
};

#ifdef _WIN64
static_assert(offsetof(WmaDecodeState, decoder) == 32);
static_assert(sizeof(WmaDecodeState) == 40);
#else
static_assert(offsetof(WmaDecodeState, decoder) == 32);
static_assert(sizeof(WmaDecodeState) == 36);
#endif

// Results.
constexpr int kWmaDecodeOk = 0;
constexpr int kWmaDecodeBadArgument = -1; // a null argument, or no file open in the state block
constexpr int kWmaDecodeNotWma = -2;      // missing, unreadable, damaged, or not an ASF file
constexpr int kWmaDecodeNoAudio = -3;     // no audio stream that the library decodes (WMA v1 or v2)
constexpr int kWmaDecodeNoDecoder = -4;   // the decoder could not be set up
constexpr int kWmaDecodeOutOfMemory = -5;

// 0 when the library can decode (its WMA decoders are built in); negative otherwise.
WMADECODECORE_API int __cdecl fnWMAInitalize();
// Opens a WMA file into the state block and fills its format; 0 on success. The block's earlier
// content is not read: a file open in it must be closed first. On failure the format fields keep
// what they held and decoder is null.
WMADECODECORE_API int __cdecl fnWMAOpenFile(const char* path, WmaDecodeState* state);
// Fills up to *bytes bytes of 16-bit interleaved PCM (whole sample frames) and stores the count
// filled in *bytes. 1 while PCM comes; 0 at the end of the file, with *bytes 0. A file damaged or
// cut short ends where its readable audio ends.
WMADECODECORE_API int __cdecl fnGetPCMBlock(WmaDecodeState* state, BYTE* buffer, DWORD* bytes);
// Closes the file open in the state block (nothing when none is); 0.
WMADECODECORE_API int __cdecl fnWMADeInitalize(WmaDecodeState* state);

using FnWMAInitalize = int(__cdecl*)();
using FnWMAOpenFile = int(__cdecl*)(const char* path, WmaDecodeState* state);
using FnGetPCMBlock = int(__cdecl*)(WmaDecodeState* state, BYTE* buffer, DWORD* bytes);
using FnWMADeInitalize = int(__cdecl*)(WmaDecodeState* state);
