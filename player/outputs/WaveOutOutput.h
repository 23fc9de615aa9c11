// The "Wave mapper output": the default wave device fed from sixteen large buffers, each with a
// shadow copy of the decoder's PCM so that an equaliser change can be applied again to what is
// still queued.
#pragma once

#include "player/Modules.h"

// The device volume that SetInternalVolume gives for 0..100: both channels the same.
DWORD WaveOutVolumeFor(int volume);
