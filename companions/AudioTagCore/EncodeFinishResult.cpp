#include "companions/AudioTagCore/EncodeFinishResult.h"

#include <cstring>

_AUDIO_ENCODE_FINISH_RESULT::_AUDIO_ENCODE_FINISH_RESULT() {
    std::memset(this, 0, sizeof *this);
}
