// How an encoder of another module (the WMA library's) tells the pipeline driver whether the file
// it wrote is whole. Its thread is out of reach of the driver's thread handles, so just before it
// sets the done event it writes the outcome into the two trailing words of the work record the
// driver handed to StartEncode (the driver's own record, which lives until its wait is over).
// A record the constructor made reads as "not whole" until the encoder says otherwise.
// Besides, a file the encoder or the disk gave up on is removed; an aborted track keeps what was
// encoded before the abort, finished and tagged.
#pragma once

#include "companions/AudioTagCore/EncodeWorkParam.h"

namespace EncodeOutcome {

// reserved[0]: kWhole when every byte taken from the pipe was encoded and written, the file
// completed and tagged, and no abort came; 0 otherwise.
constexpr DWORD kWhole = 1;
// reserved[1]: the encoder thread's exit code.
constexpr DWORD kDone = 0;            // whole
constexpr DWORD kFileNotCreated = 4;  // the output file could not be created
constexpr DWORD kInitFailed = 5;      // the codec or the container could not be set up
constexpr DWORD kEncodeFailed = 7;    // the encoder refused the audio
constexpr DWORD kWriteFailed = 9;     // the disk took less than the encoder gave
constexpr DWORD kTagsNotWritten = 10; // the audio is whole but the tags could not be written
constexpr DWORD kAborted = 11;        // stopped by the abort event: the file holds what came before

inline bool IsWhole(const _AUDIO_ENCODE_WORK_PARAM& work) {
    return work.reserved[0] == kWhole;
}

inline DWORD ExitCode(const _AUDIO_ENCODE_WORK_PARAM& work) {
    return work.reserved[1];
}

} // namespace EncodeOutcome
