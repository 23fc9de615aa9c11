// The codec information manager: the catalogue of WMA codecs and formats the program lists in its
// options and keeps in its project file, and the user's choice among them. The program uses it
// from the user-interface thread and the conversion thread without a lock of its own, and may
// change the choice while a track is being encoded: the choice is guarded here.
#pragma once

#include "companions/AudioTagCore/WmaCodecInfo.h"

#include <memory>
#include <mutex>
#include <vector>

class CWmaCodecInfoManager final : public IWMACodecInfoManager {
public:
    CWmaCodecInfoManager();
    CWmaCodecInfoManager(const CWmaCodecInfoManager&) = delete;
    CWmaCodecInfoManager& operator=(const CWmaCodecInfoManager&) = delete;

    int GetVersion() override;
    // 1 when the encoders can take this input; otherwise 0 and the input stays as it was.
    int Initialise(int sampleRate, int channels, int bitsPerSample) override;
    void GetInputFormat(int* sampleRate, int* channels, int* bitsPerSample) override;
    void ClearCatalogue() override;
    // Builds the catalogue for the input format; the records stay where they are until the next
    // build, ClearCatalogue or Release.
    int BuildCatalogue() override;
    WmaCodecList* GetCatalogue() override;
    void GetChoice(int* codecIndex, int* formatIndex) override;
    // (-1, any) chooses nothing; a codec with format -1 chooses the codec alone; a pair outside the
    // tables is refused with 0 and the choice stays.
    int SetChoice(int codecIndex, int formatIndex) override;
    // No format is encoded in two passes: FFmpeg's WMA encoders have no second pass.
    int IsTwoPass() override;
    // The chosen format's record in the catalogue; null without a catalogue or a whole choice.
    WmaFormatRecord* GetChosenFormat() override;
    void Release() override;

private:
    ~CWmaCodecInfoManager();

    std::mutex m_lock;
    int m_sampleRate = 44100;
    int m_channels = 2;
    int m_bitsPerSample = 16;
    int m_codecIndex;
    int m_formatIndex;

    // The records the program reads, and the pointer arrays it walks.
    std::vector<std::unique_ptr<WmaCodecRecord>> m_codecs;
    std::vector<std::unique_ptr<WmaFormatRecord>> m_formats;
    std::vector<WmaCodecRecord*> m_codecPointers;
    std::vector<std::vector<WmaFormatRecord*>> m_formatPointers;
    WmaCodecList m_list{};
};
