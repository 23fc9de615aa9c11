// The playback engine: one thread that owns the decoders, the outputs and the equaliser, driven
// by thread messages and reporting to a window by posted messages.
#pragma once

#include "player/Modules.h"

// Control messages, posted to the engine thread. Anything outside 0x8001..0x800F is ignored.
constexpr UINT kEngineQuit = 0x8001;
constexpr UINT kEngineOpen = 0x8002; // lParam: path from EngineNewPath, freed by the engine
constexpr UINT kEngineSeek = 0x8003; // wParam numerator, lParam denominator
constexpr UINT kEnginePlay = 0x8004;
constexpr UINT kEngineStop = 0x8005;
constexpr UINT kEnginePause = 0x8006;
constexpr UINT kEngineSetScale = 0x8008; // wParam: the scale of kEngineScaledPosition
constexpr UINT kEngineEcho = 0x8009;     // wParam comes back in kEngineEchoReply
constexpr UINT kEngineDrain = 0x800A;
constexpr UINT kEngineListOutputs = 0x800B;
constexpr UINT kEngineSetEqualiser = 0x800C; // lParam: new EqualiserSettings, freed by the engine
constexpr UINT kEngineSelectOutput = 0x800D; // wParam: output index, 0 waveOut, 1 DirectSound
constexpr UINT kEngineRegisterTypes = 0x800E;
constexpr UINT kEngineSetVolume = 0x800F; // wParam: 0..100

// Notifications, posted to the engine's window.
constexpr UINT kEngineStateChanged = 0x8101;   // wParam: one of the states below
constexpr UINT kEngineFileInfo = 0x8102;       // wParam: new FileInfo, the receiver deletes it
constexpr UINT kEnginePosition = 0x8103;       // wParam: seconds
constexpr UINT kEngineScaledPosition = 0x8104; // wParam: position / length × scale
constexpr UINT kEngineEchoReply = 0x8105;
constexpr UINT kEngineOutputName = 0x8106; // wParam: new char[] name, the receiver deletes it; lParam index
constexpr UINT kEngineBuffering = 0x8107;  // wParam: 1 while buffering, 0 when done; lParam percent

constexpr WPARAM kEngineEnded = 1; // the file cannot be opened, or its end was reached
constexpr WPARAM kEnginePaused = 2;
constexpr WPARAM kEnginePlaying = 3;
constexpr WPARAM kEngineStopped = 4;

// The decoders the engine tries, in this order; a null slot is left out. ".wma" paths go to the
// WMA slot only.
using CodecInitFunction = void (*)(CodecModule*);
struct EngineDecoders {
    CodecInitFunction wav;
    CodecInitFunction mp3;
    CodecInitFunction wma;
};
EngineDecoders StandardEngineDecoders();

struct EngineControl;

// Starts the engine thread and returns once it can take messages; null when it cannot start.
// window may be null (nothing is reported); the events may be null.
EngineControl* EngineCreate(HWND window, HANDLE trackFinishedEvent, HANDLE nextEvent);
EngineControl* EngineCreateWithDecoders(HWND window, HANDLE trackFinishedEvent, HANDLE nextEvent,
                                        const EngineDecoders& decoders);
void EngineDestroy(EngineControl* engine);

// Set when a file has been decoded to its end, so that a play list can queue the next one.
void EngineSetNextEvent(EngineControl* engine, HANDLE nextEvent);
bool EnginePost(EngineControl* engine, UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
// A heap copy of the path in the form kEngineOpen carries.
LPARAM EngineNewPath(const char* path);
bool EnginePostOpen(EngineControl* engine, const char* path);
DWORD EngineThreadId(const EngineControl* engine);
// How often an output device has been opened: files of one format in a row share one.
int EngineOutputOpenCount(const EngineControl* engine);
// The wave output's volume control that the mixer probe found; 0 when there is none.
DWORD EngineMixerVolumeControl(const EngineControl* engine);
