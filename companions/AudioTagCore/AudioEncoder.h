// The encoder base class exported by AudioTagCore.dll. The order of the virtual operations is
// part of the library's interface: WmaEncodeCore.dll builds its encoder on it.
#pragma once

#ifdef AUDIOTAGCORE_BUILD
#define AUDIOTAGCORE_API __declspec(dllexport)
#else
#define AUDIOTAGCORE_API __declspec(dllimport)
#endif

class IWMACodecInfoManager;
struct _AUDIO_ENCODE_WORK_PARAM;

class AUDIOTAGCORE_API CAudioEncoder {
public:
    CAudioEncoder();
    virtual ~CAudioEncoder();
    CAudioEncoder(const CAudioEncoder&) = delete;
    CAudioEncoder& operator=(const CAudioEncoder&) = delete;

    // Checks and copies the work record, starts the encoder thread and returns at once:
    // non-zero when the thread runs.
    virtual int StartEncode(_AUDIO_ENCODE_WORK_PARAM* work) = 0;
    virtual int IsReady() = 0;
    virtual void SetWMACodecInfoManager(IWMACodecInfoManager* manager);
    virtual void Release();

protected:
    IWMACodecInfoManager* m_pCodecInfoManager;
};
