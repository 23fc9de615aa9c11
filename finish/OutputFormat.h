// The formats a converted track can be written in, with the values the settings store.
#pragma once

#include <cstdint>

enum class OutputFormat : int32_t { Mp3 = 0, Wma = 1, Wav = 2 };
