// What the WMA library tests share: the two libraries loaded by name from the program's folder, as
// the program and the player load them; a track run through the pipeline the way the driver runs
// it; a whole file decoded; a test signal and a cover picture.
#pragma once

#include "companions/AudioTagCore/AudioEncoder.h"
#include "companions/AudioTagCore/EncodeWorkParam.h"
#include "companions/AudioTagCore/MediaMetaDataEdit.h"
#include "companions/WmaDecodeCore/WmaDecodeCore.h"
#include "companions/AudioTagCore/WmaCodecInfo.h"
#include "tests/support/PcmFixtures.h"

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

namespace qvltest {

class WmaLibraries {
public:
    WmaLibraries();
    ~WmaLibraries();
    WmaLibraries(const WmaLibraries&) = delete;
    WmaLibraries& operator=(const WmaLibraries&) = delete;

    bool Loaded() const { return m_encode != nullptr && m_decode != nullptr; }

    // From the three factories, as the program calls them.
    IWMACodecInfoManager* NewManager();
    CAudioEncoder* NewEncoder();
    CMediaMetaDataEdit* NewEditor();

    struct Decoded {
        int openResult = kWmaDecodeBadArgument;
        WmaDecodeState state{};
        std::vector<int16_t> pcm; // interleaved
    };
    // The whole file through the four decoder functions, in blocks of the given size.
    Decoded Decode(const std::string& path, DWORD blockBytes = 65536);

private:
    void* Factory(const char* name);

    HMODULE m_encode = nullptr;
    HMODULE m_decode = nullptr;
};

// Runs one track through a WAV feeder, a 1 MiB pipe and the encoder, filling the work record as the
// WMA driver does, and waits for both done events while pumping the window. With abortMidway the
// abort event is set as soon as the first progress message is in. Returns StartEncode's result;
// work keeps the record, with what the encoder wrote back.
int RunTrack(CAudioEncoder& encoder, const std::string& wav, const std::string& output, const TrackTags& tags,
             EncoderWindow& window, _AUDIO_ENCODE_WORK_PARAM& work, bool abortMidway = false);

// Stereo 16-bit PCM at 44,100 Hz: a rising sweep on the left and a falling one on the right, so
// that the two channels and every moment of the signal differ.
std::vector<int16_t> SweepPcm(double seconds);
std::string PcmBytes(const std::vector<int16_t>& pcm);

// The bytes of a small JPEG-like picture.
std::string CoverPicture();

// The correlation of a and b (both interleaved), with b shifted back by lag samples.
double Correlation(const std::vector<int16_t>& a, const std::vector<int16_t>& b, long lag);

} // namespace qvltest
