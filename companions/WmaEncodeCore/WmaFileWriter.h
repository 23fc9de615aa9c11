// Writes one WMA file with FFmpeg: interleaved 8- or 16-bit PCM in, converted by swresample to the
// planar float the WMA encoders take (and to the format's rate and channels), cut into the
// encoder's frames, muxed into ASF.
#pragma once

#include "companions/WmaEncodeCore/WmaFormatTable.h"

#include <windows.h>
#include <mmreg.h>

#include <cstdint>
#include <string>

struct AVFormatContext;
struct AVCodecContext;
struct AVStream;
struct AVFrame;
struct AVPacket;
struct AVAudioFifo;
struct SwrContext;

class WmaFileWriter {
public:
    enum class Status { kOk, kFileNotCreated, kInitFailed, kEncodeFailed, kWriteFailed };

    WmaFileWriter();
    // A file that was never finished is closed as it stands.
    ~WmaFileWriter();
    WmaFileWriter(const WmaFileWriter&) = delete;
    WmaFileWriter& operator=(const WmaFileWriter&) = delete;

    // Sets the encoder up for output, creates the file and writes its header. The input is
    // plain PCM of 1 or 2 channels, 8 or 16 bits.
    Status Open(const char* path, const WmaEncodeFormat& output, const WAVEFORMATEX& input);
    // Any number of bytes: a sample frame torn between two calls is put together again.
    Status Write(const uint8_t* pcm, size_t bytes);
    // Encodes what is left, with silence behind it so the encoder hands out its last frame, and
    // completes and closes the file.
    Status Finish();

    // The encoder's frame, in samples per channel.
    int FrameSamples() const;
    // Whether Open got as far as creating the file.
    bool FileCreated() const { return m_fileCreated; }

private:
    Status Convert(const uint8_t* pcm, int frames);
    Status EncodeFrame(int samples);
    Status Drain();
    void Close();

    AVFormatContext* m_format = nullptr;
    AVCodecContext* m_codec = nullptr;
    AVStream* m_stream = nullptr;
    AVFrame* m_frame = nullptr;
    AVPacket* m_packet = nullptr;
    AVAudioFifo* m_fifo = nullptr;
    SwrContext* m_resampler = nullptr;
    uint8_t** m_planes = nullptr;
    int m_planeCapacity = 0;
    int64_t m_nextPts = 0;
    int m_blockAlign = 0;
    std::string m_torn;
    bool m_headerWritten = false;
    bool m_fileCreated = false;
};
