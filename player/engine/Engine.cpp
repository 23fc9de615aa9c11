#include "player/engine/Engine.h"

#include "player/Equaliser.h"
#include "player/decoders/StreamCodec.h"

#include <mmsystem.h>
#include <objbase.h>

#include <algorithm>
#include <atomic>
#include <memory>
#include <cstring>
#include <string>

struct EngineControl {
    HANDLE thread = nullptr;
    DWORD threadId = 0;
    HWND window = nullptr;
    HANDLE trackFinished = nullptr;
    std::atomic<HANDLE> next = nullptr;
    HANDLE ready = nullptr;
    EngineDecoders decoders = {};
    HMIXER mixer = nullptr;
    DWORD volumeControl = 0;
    std::atomic<int> outputOpens = 0;
};

namespace {

constexpr int kDecoderSlots = 3;
constexpr int kWmaSlot = 2;
constexpr int kOutputCount = 2;
constexpr DWORD kWaitSliceMs = 1000;

bool IsNetworkPath(const char* path) {
    return _strnicmp(path, "http:", 5) == 0 && std::strlen(path) > 5;
}

bool HasWmaExtension(const char* path) {
    const char* dot = std::strrchr(path, '.');
    return dot != nullptr && _stricmp(dot, ".wma") == 0;
}

bool Waiting(UINT message) {
    MSG msg;
    return PeekMessageA(&msg, reinterpret_cast<HWND>(-1), message, message, PM_NOREMOVE) != 0;
}

class EngineThread {
public:
    explicit EngineThread(EngineControl& control) : m_control(control) {
        CodecInitFunction inits[kDecoderSlots] = {control.decoders.wav, control.decoders.mp3,
                                                  control.decoders.wma};
        for (int i = 0; i < kDecoderSlots; ++i) {
            m_hasDecoder[i] = inits[i] != nullptr;
            if (m_hasDecoder[i]) {
                inits[i](&m_decoders[i]);
            }
        }
        InitStreamCodec(&m_stream);
        InitWaveOutOutput(&m_outputs[0]);
        InitDirectSoundOutput(&m_outputs[1]);
        InitEqualiser(&m_equaliser);
    }

    ~EngineThread() {
        CloseFile();
        CloseOutput();
        for (int i = 0; i < kDecoderSlots; ++i) {
            if (m_hasDecoder[i]) {
                m_decoders[i].Uninitialise(&m_decoders[i]);
            }
        }
        m_stream.Uninitialise(&m_stream);
        m_equaliser.Free(&m_equaliser);
    }

    EngineThread(const EngineThread&) = delete;
    EngineThread& operator=(const EngineThread&) = delete;

    void Run() {
        for (;;) {
            bool changed = false;
            MSG msg;
            while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
                if (msg.hwnd != nullptr) {
                    DispatchMessageA(&msg);
                    continue;
                }
                if (msg.message == kEngineQuit) {
                    return;
                }
                if (msg.message >= kEngineQuit && msg.message <= kEngineSetVolume) {
                    Handle(msg);
                    changed = true;
                }
            }
            if (!m_outputOpen) {
                WaitMessage();
                continue;
            }
            OutputModule& output = Output();
            if (!changed) {
                WaitOnOutput(kWaitSliceMs);
            }
            if (output.codec == nullptr) {
                if (output.IsOutputComplete(&output)) {
                    SetEvent(m_control.trackFinished);
                    CloseOutput();
                    Notify(kEngineStateChanged, kEngineStopped);
                } else {
                    ReportPosition();
                }
                continue;
            }
            output.RefillBuffers(&output);
            if (output.codec != nullptr) {
                ReportPosition();
            } else {
                // The output closed the file at its end; what is queued still has to drain.
                m_file = nullptr;
                m_decodedSeconds = std::max(m_decodedSeconds, m_info.lengthSeconds);
                Notify(kEngineStateChanged, kEngineEnded);
                SetEvent(m_control.next.load());
                ResetEvent(m_control.trackFinished);
            }
        }
    }

private:
    OutputModule& Output() { return m_outputs[m_selected]; }

    void Notify(UINT message, WPARAM wParam, LPARAM lParam = 0) {
        if (m_control.window != nullptr) {
            PostMessageA(m_control.window, message, wParam, lParam);
        }
    }

    void WaitOnOutput(DWORD ms) {
        HANDLE event = Output().bufferEvent;
        if (event != nullptr) {
            MsgWaitForMultipleObjects(1, &event, FALSE, ms, QS_ALLPOSTMESSAGE);
        } else {
            MsgWaitForMultipleObjects(0, nullptr, FALSE, ms, QS_ALLPOSTMESSAGE);
        }
    }

    void Handle(const MSG& msg) {
        switch (msg.message) {
        case kEngineOpen: {
            std::unique_ptr<char[]> path(reinterpret_cast<char*>(msg.lParam));
            // A newer request makes this one pointless: the user has already moved on.
            if (!Waiting(kEngineOpen) && path) {
                Open(path.get());
            }
            break;
        }
        case kEngineSeek:
            if (m_outputOpen && m_file != nullptr && !Waiting(kEngineSeek)) {
                m_file->Seek(m_file, static_cast<int>(msg.wParam), static_cast<int>(msg.lParam));
                Output().Flush(&Output());
                m_decodedSeconds = m_file->GetCurrentPos(m_file);
            }
            break;
        case kEnginePlay:
            if (!m_outputOpen && m_file != nullptr) {
                OpenOutput();
            }
            if (m_outputOpen) {
                Output().SetPause(&Output(), 0);
            }
            Notify(kEngineStateChanged, kEnginePlaying);
            m_lastSeconds = -1;
            break;
        case kEngineStop:
            CloseFile();
            CloseOutput();
            Notify(kEngineStateChanged, kEngineStopped);
            break;
        case kEnginePause:
            if (m_outputOpen) {
                Output().SetPause(&Output(), 1);
            }
            Notify(kEngineStateChanged, kEnginePaused);
            break;
        case kEngineSetScale:
            m_scale = static_cast<int>(msg.wParam);
            m_lastScaled = -1;
            break;
        case kEngineEcho:
            Notify(kEngineEchoReply, msg.wParam);
            break;
        case kEngineDrain:
            Drain();
            break;
        case kEngineListOutputs:
            for (int i = 0; i < kOutputCount; ++i) {
                if (m_control.window != nullptr) {
                    const char* name = m_outputs[i].name;
                    auto* copy = new char[std::strlen(name) + 1];
                    std::strcpy(copy, name);
                    if (!PostMessageA(m_control.window, kEngineOutputName, reinterpret_cast<WPARAM>(copy),
                                      i)) {
                        delete[] copy;
                    }
                }
            }
            break;
        case kEngineSetEqualiser: {
            std::unique_ptr<EqualiserSettings> settings(reinterpret_cast<EqualiserSettings*>(msg.lParam));
            if (settings && !Waiting(kEngineSetEqualiser)) {
                m_equaliser.SetSettings(&m_equaliser, settings.get());
                if (m_outputOpen) {
                    Output().OnEQChanged(&Output());
                }
            }
            break;
        }
        case kEngineSelectOutput:
            SelectOutput(static_cast<int>(msg.wParam));
            break;
        case kEngineRegisterTypes:
            RegisterTypes();
            break;
        case kEngineSetVolume:
            m_volume = static_cast<int>(msg.wParam);
            if (m_outputOpen) {
                Output().SetInternalVolume(&Output(), m_volume);
            }
            break;
        default:
            break;
        }
    }

    CodecModule* ChooseDecoder(const char* path) {
        if (IsNetworkPath(path)) {
            return m_stream.OpenFile(&m_stream, path, 0, m_control.window) == 1 ? &m_stream : nullptr;
        }
        for (int i = 0; i < kDecoderSlots; ++i) {
            if (!m_hasDecoder[i] || (HasWmaExtension(path) && i != kWmaSlot)) {
                continue;
            }
            if (m_decoders[i].OpenFile(&m_decoders[i], path, 0, m_control.window) == 1) {
                return &m_decoders[i];
            }
        }
        return nullptr;
    }

    void Open(const char* path) {
        CloseFile();
        CodecModule* decoder = ChooseDecoder(path);
        if (decoder == nullptr) {
            Notify(kEngineStateChanged, kEngineEnded);
            // Nothing will play or drain: whoever waits for this track (the play list) goes on to
            // the next one instead of waiting for ever.
            SetEvent(m_control.next.load());
            SetEvent(m_control.trackFinished);
            return;
        }
        FileInfo info{};
        decoder->GetFileInfo(decoder, &info);
        m_file = decoder;
        bool sameFormat = info.sampleRate == m_info.sampleRate && info.stereo == m_info.stereo &&
                          info.bits16 == m_info.bits16;
        m_info = info;
        m_decodedSeconds = 0;
        m_lastSeconds = -1;
        m_lastScaled = -1;
        if (m_outputOpen) {
            if (sameFormat) {
                // The device stays, but what the old file queued goes: the new one was asked for
                // now, not after the dozen seconds that the device buffers hold.
                Output().Flush(&Output());
                Output().codec = decoder;
            } else {
                CloseOutput();
                OpenOutput();
            }
        }
    }

    void OpenOutput() {
        OutputModule& output = Output();
        output.Initialise(&output, &m_info, &m_equaliser);
        ++m_control.outputOpens;
        output.SetInternalVolume(&output, m_volume);
        output.codec = m_file;
        m_outputOpen = true;
    }

    void CloseOutput() {
        if (m_outputOpen) {
            OutputModule& output = Output();
            output.codec = nullptr;
            output.Uninitialise(&output);
            m_outputOpen = false;
        }
    }

    void CloseFile() {
        if (m_file != nullptr) {
            m_file->CloseFile(m_file);
            m_file = nullptr;
        }
        if (m_outputOpen) {
            Output().codec = nullptr;
        }
    }

    void Drain() {
        if (!m_outputOpen) {
            return;
        }
        while (!Output().IsOutputComplete(&Output())) {
            HANDLE event = Output().bufferEvent;
            if (event == nullptr) {
                break;
            }
            WaitForSingleObject(event, kWaitSliceMs);
            ReportPosition();
        }
        CloseOutput();
        Notify(kEngineStateChanged, kEngineStopped);
    }

    void SelectOutput(int index) {
        if (index < 0 || index >= kOutputCount || index == m_selected) {
            return;
        }
        bool reopen = m_outputOpen;
        CloseOutput();
        m_selected = index;
        if (reopen && m_file != nullptr) {
            OpenOutput();
            Output().SetPause(&Output(), 0);
        }
    }

    void RegisterTypes() {
        for (int i = 0; i < kDecoderSlots; ++i) {
            if (!m_hasDecoder[i]) {
                continue;
            }
            for (CodecExtension* e = m_decoders[i].extensions; e != nullptr; e = e->next) {
                std::string key = std::string(".") + e->text;
                HKEY handle = nullptr;
                if (RegCreateKeyExA(HKEY_CLASSES_ROOT, key.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                                    &handle, nullptr) == ERROR_SUCCESS) {
                    static const char kProgId[] = "QVL AudioLib.Audio";
                    RegSetValueExA(handle, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(kProgId),
                                   sizeof(kProgId));
                    RegCloseKey(handle);
                }
            }
        }
    }

    // The position heard: the decoder runs ahead of the device by what is queued on it (up to
    // 16 buffers of the wave output), and the listener wants to see what he hears.
    void ReportPosition() {
        if (m_file != nullptr) {
            m_decodedSeconds = m_file->GetCurrentPos(m_file);
        }
        const long long perSecond =
            static_cast<long long>(m_info.sampleRate) * (m_info.stereo ? 2 : 1) * (m_info.bits16 ? 2 : 1);
        const long long queued = m_outputOpen ? Output().GetQueuedBytes(&Output()) : 0;
        const int seconds =
            perSecond == 0
                ? 0
                : static_cast<int>(std::max(0LL, (m_decodedSeconds * perSecond - queued) / perSecond));
        if (seconds != m_lastSeconds) {
            m_lastSeconds = seconds;
            if (m_control.window != nullptr) {
                auto* info = new FileInfo(m_info);
                if (!PostMessageA(m_control.window, kEngineFileInfo, reinterpret_cast<WPARAM>(info), 0)) {
                    delete info;
                }
            }
            Notify(kEnginePosition, static_cast<WPARAM>(seconds));
        }
        if (m_scale != 0 && m_info.lengthSeconds != 0) {
            int scaled = static_cast<int>(static_cast<long long>(seconds) * m_scale / m_info.lengthSeconds);
            if (scaled != m_lastScaled) {
                m_lastScaled = scaled;
                Notify(kEngineScaledPosition, static_cast<WPARAM>(scaled));
            }
        }
    }

    EngineControl& m_control;
    CodecModule m_decoders[kDecoderSlots] = {};
    bool m_hasDecoder[kDecoderSlots] = {};
    CodecModule m_stream = {};
    OutputModule m_outputs[kOutputCount] = {};
    EqualiserModule m_equaliser = {};
    int m_selected = 0;
    bool m_outputOpen = false;
    CodecModule* m_file = nullptr;
    FileInfo m_info = {};
    int m_volume = 100;
    int m_scale = 0;
    // Where the decoder stands, in whole seconds; kept while the tail of an ended file drains.
    int m_decodedSeconds = 0;
    int m_lastSeconds = -1;
    int m_lastScaled = -1;
};

DWORD WINAPI EngineMain(void* parameter) {
    auto* control = static_cast<EngineControl*>(parameter);
    HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    MSG msg;
    PeekMessageA(&msg, nullptr, WM_USER, WM_USER, PM_NOREMOVE);
    SetEvent(control->ready);
    {
        auto engine = std::make_unique<EngineThread>(*control);
        engine->Run();
    }
    if (SUCCEEDED(com)) {
        CoUninitialize();
    }
    return 0;
}

// Finds the wave output's volume control, so that the mixer's notifications for it reach the
// player's window; the engine starts at full volume.
void ProbeMixer(EngineControl* control) {
    WAVEFORMATEX format{};
    format.wFormatTag = WAVE_FORMAT_PCM;
    format.nChannels = 2;
    format.nSamplesPerSec = 44100;
    format.wBitsPerSample = 16;
    format.nBlockAlign = 4;
    format.nAvgBytesPerSec = 44100 * 4;
    HWAVEOUT wave = nullptr;
    if (waveOutOpen(&wave, WAVE_MAPPER, &format, 0, 0, CALLBACK_NULL) != MMSYSERR_NOERROR) {
        return;
    }
    DWORD flags = MIXER_OBJECTF_HWAVEOUT | (control->window != nullptr ? CALLBACK_WINDOW : 0);
    if (mixerOpen(&control->mixer, static_cast<UINT>(reinterpret_cast<UINT_PTR>(wave)),
                  reinterpret_cast<DWORD_PTR>(control->window), 0, flags) == MMSYSERR_NOERROR) {
        MIXERLINEA line{};
        line.cbStruct = sizeof(line);
        line.Target.dwType = MIXERLINE_TARGETTYPE_WAVEOUT;
        if (mixerGetLineInfoA(reinterpret_cast<HMIXEROBJ>(control->mixer), &line,
                              MIXER_OBJECTF_HMIXER | MIXER_GETLINEINFOF_TARGETTYPE) == MMSYSERR_NOERROR) {
            MIXERCONTROLA volume{};
            volume.cbStruct = sizeof(volume);
            MIXERLINECONTROLSA controls{};
            controls.cbStruct = sizeof(controls);
            controls.dwLineID = line.dwLineID;
            controls.dwControlType = MIXERCONTROL_CONTROLTYPE_VOLUME;
            controls.cControls = 1;
            controls.cbmxctrl = sizeof(volume);
            controls.pamxctrl = &volume;
            if (mixerGetLineControlsA(reinterpret_cast<HMIXEROBJ>(control->mixer), &controls,
                                      MIXER_OBJECTF_HMIXER | MIXER_GETLINECONTROLSF_ONEBYTYPE) ==
                MMSYSERR_NOERROR) {
                control->volumeControl = volume.dwControlID;
            }
        }
    }
    PostThreadMessageA(control->threadId, kEngineSetVolume, 100, 0);
    waveOutClose(wave);
}

} // namespace

EngineDecoders StandardEngineDecoders() {
    return {InitWavCodec, InitMp3Codec, InitWmaCodec};
}

EngineControl* EngineCreate(HWND window, HANDLE trackFinishedEvent, HANDLE nextEvent) {
    return EngineCreateWithDecoders(window, trackFinishedEvent, nextEvent, StandardEngineDecoders());
}

EngineControl* EngineCreateWithDecoders(HWND window, HANDLE trackFinishedEvent, HANDLE nextEvent,
                                        const EngineDecoders& decoders) {
    auto control = std::make_unique<EngineControl>();
    control->window = window;
    control->trackFinished = trackFinishedEvent;
    control->next = nextEvent;
    control->decoders = decoders;
    control->ready = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    if (control->ready == nullptr) {
        return nullptr;
    }
    control->thread = CreateThread(nullptr, 0, EngineMain, control.get(), 0, &control->threadId);
    if (control->thread == nullptr) {
        CloseHandle(control->ready);
        return nullptr;
    }
    HANDLE both[2] = {control->ready, control->thread};
    WaitForMultipleObjects(2, both, FALSE, INFINITE);
    CloseHandle(control->ready);
    control->ready = nullptr;
    ProbeMixer(control.get());
    return control.release();
}

void EngineDestroy(EngineControl* engine) {
    if (engine == nullptr) {
        return;
    }
    PostThreadMessageA(engine->threadId, kEngineStop, 0, 0);
    PostThreadMessageA(engine->threadId, kEngineQuit, 0, 0);
    if (engine->mixer != nullptr) {
        mixerClose(engine->mixer);
    }
    if (WaitForSingleObject(engine->thread, 1000) != WAIT_OBJECT_0) {
        TerminateThread(engine->thread, 1);
    }
    CloseHandle(engine->thread);
    delete engine;
}

void EngineSetNextEvent(EngineControl* engine, HANDLE nextEvent) {
    engine->next = nextEvent;
}

bool EnginePost(EngineControl* engine, UINT message, WPARAM wParam, LPARAM lParam) {
    return engine != nullptr && PostThreadMessageA(engine->threadId, message, wParam, lParam) != 0;
}

LPARAM EngineNewPath(const char* path) {
    auto* copy = new char[std::strlen(path) + 1];
    std::strcpy(copy, path);
    return reinterpret_cast<LPARAM>(copy);
}

bool EnginePostOpen(EngineControl* engine, const char* path) {
    LPARAM copy = EngineNewPath(path);
    if (EnginePost(engine, kEngineOpen, 0, copy)) {
        return true;
    }
    delete[] reinterpret_cast<char*>(copy);
    return false;
}

DWORD EngineThreadId(const EngineControl* engine) {
    return engine->threadId;
}

int EngineOutputOpenCount(const EngineControl* engine) {
    return engine->outputOpens;
}

DWORD EngineMixerVolumeControl(const EngineControl* engine) {
    return engine->volumeControl;
}
