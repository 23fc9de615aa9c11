// The encoder base class. The order of the virtual operations is part of the library's
// interface: WmaEncodeCore.dll builds its encoder on it.
#pragma once

#include "companions/AudioTagCore/AudioTagCore.h"

class IWMACodecInfoManager;
class _AUDIO_ENCODE_WORK_PARAM;

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
    // For encoders the libraries create: frees the object.
    virtual void Release();

protected:
    IWMACodecInfoManager* m_pCodecInfoManager;
};
