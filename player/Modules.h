// The playback engine's modules, in its table-of-functions style: every decoder, output and
// equaliser is a record of function pointers plus its private state, filled by its init function;
// the engine thread holds the records by value. The operations are in the order below.
#pragma once

#include <windows.h>

#include <cstdint>

// What a decoder tells of an open file. Five 32-bit fields.
struct FileInfo {
    int32_t lengthSeconds;
    int32_t reserved; // always 0
    int32_t sampleRate;
    int32_t stereo; // 1 for two channels
    int32_t bits16; // 1 for 16-bit samples, 0 for 8-bit
};
static_assert(sizeof(FileInfo) == 20);

// The file extensions a decoder claims, without the dot: a singly linked list.
struct CodecExtension {
    char text[16];
    int userValue;
    CodecExtension* next;
};

struct CodecModule {
    // Frees the private state (the WMA decoder also unloads its library) and the extensions.
    void (*Uninitialise)(CodecModule* module);
    // 1 when the file is open and ready to give PCM; flags and the window are the engine's.
    int (*OpenFile)(CodecModule* module, const char* path, DWORD flags, HWND notifyWindow);
    void (*CloseFile)(CodecModule* module);
    // Positions the decoder at numerator / denominator of the file.
    void (*Seek)(CodecModule* module, int numerator, int denominator);
    void (*GetFileInfo)(CodecModule* module, FileInfo* info);
    // Up to *inOutBytes bytes of 16-bit (or 8-bit, as FileInfo says) interleaved PCM; *inOutBytes
    // becomes the count filled. 0 at the end of the file, else 1.
    int (*GetPCMBlock)(CodecModule* module, void* buffer, DWORD* inOutBytes);
    // The position in whole seconds.
    int (*GetCurrentPos)(CodecModule* module);
    void* state;
    CodecExtension* extensions;
};

// Adds an extension to the decoder's list; one already listed (compared without regard to case,
// multibyte-aware) is not added again.
void AddCodecExtension(CodecModule& module, const char* extension, int userValue);
void FreeCodecExtensions(CodecModule& module);

// The decoders, in the order the engine tries them.
void InitWavCodec(CodecModule* module);
void InitMp3Codec(CodecModule* module);
void InitWmaCodec(CodecModule* module);

// The equaliser applied to every block before it reaches the device. Its private block is 2,172
// bytes; the settings block that message 0x800C carries is described in player/Equaliser.h.
struct EqualiserModule {
    void (*Initialise)(EqualiserModule* module);
    void (*Free)(EqualiserModule* module);
    void (*SetSettings)(EqualiserModule* module, const void* settings);
    // Filters the PCM block in place, for the sample format of info.
    void (*Apply)(EqualiserModule* module, void* pcm, DWORD bytes, const FileInfo* info);
    alignas(8) unsigned char privateBlock[2172];
};

struct OutputModule {
    void (*Initialise)(OutputModule* module, const FileInfo* info, EqualiserModule* equaliser);
    void (*Uninitialise)(OutputModule* module);
    // Pulls PCM from the current decoder into free device buffers; on the end of the file closes
    // the file and detaches the decoder (codec becomes null).
    void (*RefillBuffers)(OutputModule* module);
    // 1 pauses the device, anything else resumes it.
    void (*SetPause)(OutputModule* module, int pause);
    // 1 when no buffer is still queued on the device.
    int (*IsOutputComplete)(OutputModule* module);
    void (*Flush)(OutputModule* module);
    // Applies the equaliser again to the buffers still queued, so that a change is heard at once.
    void (*OnEQChanged)(OutputModule* module);
    // 0..100.
    void (*SetInternalVolume)(OutputModule* module, int volume);
    // Bytes handed to the device and not heard yet: what the position shown lags the decoder by.
    DWORD (*GetQueuedBytes)(OutputModule* module);
    const char* name;
    EqualiserModule* equaliser;
    void* state;
    CodecModule* codec;
    // Signalled by the device when a buffer completes; the engine waits on it.
    HANDLE bufferEvent;
};

// The outputs, in the engine's order: "Wave mapper output", then "DirectSound output".
void InitWaveOutOutput(OutputModule* module);
void InitDirectSoundOutput(OutputModule* module);
void InitEqualiser(EqualiserModule* module);
