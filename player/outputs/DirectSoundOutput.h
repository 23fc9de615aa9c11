// The "DirectSound output": one looping secondary buffer of 64 KiB that the engine tops up
// whenever a multimedia timer wakes it, with a shadow of the decoder's PCM for equaliser changes.
#pragma once

#include "player/Modules.h"

// SetInternalVolume's 0..100 as DirectSound attenuation in hundredths of a decibel.
LONG DirectSoundVolumeFor(int volume);
