// Decodes one WMA file with FFmpeg (ASF demuxer, WMA v1 and v2 decoders) into 16-bit interleaved
// PCM at the file's own rate, through swresample, since the decoders give planar float.
#pragma once

#include <cstdint>
#include <string>

struct AVFormatContext;
struct AVCodecContext;
struct AVFrame;
struct AVPacket;
struct SwrContext;

class WmaFileReader {
public:
    WmaFileReader();
    ~WmaFileReader();
    WmaFileReader(const WmaFileReader&) = delete;
    WmaFileReader& operator=(const WmaFileReader&) = delete;

    // 0, or one of the negative results of WmaDecodeCore.h.
    int Open(const char* path);

    int SampleRate() const { return m_sampleRate; }
    int Channels() const { return m_channels; }
    int64_t DurationMs() const { return m_durationMs; }
    int64_t Bitrate() const { return m_bitrate; }

    // Up to bytes bytes of PCM in whole sample frames; 0 once the audio is over.
    size_t Read(uint8_t* buffer, size_t bytes);

private:
    // Decodes until there is PCM waiting or the file is over; false when it is over.
    bool Refill();
    bool Convert(const AVFrame* frame);

    AVFormatContext* m_format = nullptr;
    AVCodecContext* m_codec = nullptr;
    AVFrame* m_frame = nullptr;
    AVPacket* m_packet = nullptr;
    SwrContext* m_resampler = nullptr;
    int m_stream = -1;
    int m_sampleRate = 0;
    int m_channels = 0;
    int64_t m_durationMs = 0;
    int64_t m_bitrate = 0;
    std::string m_pending;
    size_t m_pendingPos = 0;
    bool m_demuxerDone = false;
    bool m_decoderDone = false;
};
