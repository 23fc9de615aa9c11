#include "companions/WmaEncodeCore/WmaFileWriter.h"

#include "companions/WmaEncodeCore/AnsiText.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/audio_fifo.h>
#include <libavutil/channel_layout.h>
#include <libavutil/samplefmt.h>
#include <libswresample/swresample.h>
}

#include <algorithm>

using Status = WmaFileWriter::Status;

WmaFileWriter::WmaFileWriter() {
    // A library inside a windowed program has nobody to tell; results say what went wrong.
    av_log_set_level(AV_LOG_QUIET);
}

WmaFileWriter::~WmaFileWriter() {
    Close();
}

int WmaFileWriter::FrameSamples() const {
    return m_codec != nullptr ? m_codec->frame_size : 0;
}

Status WmaFileWriter::Open(const char* path, const WmaEncodeFormat& output, const WAVEFORMATEX& input) {
    const std::string name = AnsiToUtf8(path);
    const AVCodec* codec =
        avcodec_find_encoder(output.codecVersion == 1 ? AV_CODEC_ID_WMAV1 : AV_CODEC_ID_WMAV2);
    if (name.empty() || codec == nullptr ||
        avformat_alloc_output_context2(&m_format, nullptr, "asf", name.c_str()) < 0) {
        return Status::kInitFailed;
    }
    m_stream = avformat_new_stream(m_format, nullptr);
    m_codec = avcodec_alloc_context3(codec);
    m_frame = av_frame_alloc();
    m_packet = av_packet_alloc();
    if (m_stream == nullptr || m_codec == nullptr || m_frame == nullptr || m_packet == nullptr) {
        return Status::kInitFailed;
    }
    m_codec->sample_fmt = AV_SAMPLE_FMT_FLTP;
    m_codec->sample_rate = output.sampleRate;
    av_channel_layout_default(&m_codec->ch_layout, output.channels);
    m_codec->bit_rate = output.bitrate;
    m_codec->time_base = AVRational{1, output.sampleRate};
    if ((m_format->oformat->flags & AVFMT_GLOBALHEADER) != 0) {
        m_codec->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
    }
    if (avcodec_open2(m_codec, codec, nullptr) < 0 ||
        avcodec_parameters_from_context(m_stream->codecpar, m_codec) < 0) {
        return Status::kInitFailed;
    }
    m_stream->time_base = m_codec->time_base;

    AVChannelLayout inputLayout{};
    av_channel_layout_default(&inputLayout, input.nChannels);
    const AVSampleFormat inputFormat = input.wBitsPerSample == 8 ? AV_SAMPLE_FMT_U8 : AV_SAMPLE_FMT_S16;
    int resampler =
        swr_alloc_set_opts2(&m_resampler, &m_codec->ch_layout, AV_SAMPLE_FMT_FLTP, output.sampleRate,
                            &inputLayout, inputFormat, static_cast<int>(input.nSamplesPerSec), 0, nullptr);
    av_channel_layout_uninit(&inputLayout);
    if (resampler < 0 || swr_init(m_resampler) < 0) {
        return Status::kInitFailed;
    }
    m_blockAlign = input.nChannels * input.wBitsPerSample / 8;

    m_fifo = av_audio_fifo_alloc(AV_SAMPLE_FMT_FLTP, output.channels, m_codec->frame_size * 4);
    m_frame->format = AV_SAMPLE_FMT_FLTP;
    m_frame->nb_samples = m_codec->frame_size;
    m_frame->sample_rate = output.sampleRate;
    if (m_fifo == nullptr || av_channel_layout_copy(&m_frame->ch_layout, &m_codec->ch_layout) < 0 ||
        av_frame_get_buffer(m_frame, 0) < 0) {
        return Status::kInitFailed;
    }

    if (avio_open(&m_format->pb, name.c_str(), AVIO_FLAG_WRITE) < 0) {
        return Status::kFileNotCreated;
    }
    m_fileCreated = true;
    if (avformat_write_header(m_format, nullptr) < 0) {
        return Status::kWriteFailed;
    }
    m_headerWritten = true;
    // The decoder spends the first frame on the overlap its transform needs and gives no sound for
    // it: a frame of silence in front keeps the track's first frame.
    return EncodeFrame(0);
}

Status WmaFileWriter::Write(const uint8_t* pcm, size_t bytes) {
    if (!m_headerWritten) {
        return Status::kInitFailed;
    }
    if (!m_torn.empty()) {
        size_t take = std::min(bytes, static_cast<size_t>(m_blockAlign) - m_torn.size());
        m_torn.append(reinterpret_cast<const char*>(pcm), take);
        pcm += take;
        bytes -= take;
        if (m_torn.size() < static_cast<size_t>(m_blockAlign)) {
            return Status::kOk;
        }
        Status status = Convert(reinterpret_cast<const uint8_t*>(m_torn.data()), 1);
        m_torn.clear();
        if (status != Status::kOk) {
            return status;
        }
    }
    const size_t frames = bytes / m_blockAlign;
    // In slices, so that one call never needs more than a bounded conversion buffer.
    constexpr size_t kSliceFrames = 1 << 16;
    for (size_t done = 0; done < frames;) {
        int slice = static_cast<int>(std::min(frames - done, kSliceFrames));
        Status status = Convert(pcm + done * m_blockAlign, slice);
        if (status != Status::kOk) {
            return status;
        }
        done += static_cast<size_t>(slice);
    }
    m_torn.assign(reinterpret_cast<const char*>(pcm) + frames * m_blockAlign, bytes % m_blockAlign);
    return Status::kOk;
}

// Converts frames of input (none: what the resampler still holds) into the FIFO, and encodes every
// whole encoder frame the FIFO then has.
Status WmaFileWriter::Convert(const uint8_t* pcm, int frames) {
    int room = swr_get_out_samples(m_resampler, frames);
    if (room < 0) {
        return Status::kEncodeFailed;
    }
    if (room > m_planeCapacity) {
        if (m_planes != nullptr) {
            av_freep(&m_planes[0]);
            av_freep(&m_planes);
        }
        m_planeCapacity = 0;
        if (av_samples_alloc_array_and_samples(&m_planes, nullptr, m_codec->ch_layout.nb_channels, room,
                                               AV_SAMPLE_FMT_FLTP, 0) < 0) {
            return Status::kEncodeFailed;
        }
        m_planeCapacity = room;
    }
    const uint8_t* input[1] = {pcm};
    int converted =
        swr_convert(m_resampler, m_planes, m_planeCapacity, pcm != nullptr ? input : nullptr, frames);
    if (converted < 0 ||
        av_audio_fifo_write(m_fifo, reinterpret_cast<void**>(m_planes), converted) < converted) {
        return Status::kEncodeFailed;
    }
    while (av_audio_fifo_size(m_fifo) >= m_codec->frame_size) {
        Status status = EncodeFrame(m_codec->frame_size);
        if (status != Status::kOk) {
            return status;
        }
    }
    return Status::kOk;
}

// One encoder frame from the FIFO's first samples, made up with silence to its full length: the
// WMA encoders take whole frames only.
Status WmaFileWriter::EncodeFrame(int samples) {
    if (av_frame_make_writable(m_frame) < 0) {
        return Status::kEncodeFailed;
    }
    int taken = av_audio_fifo_read(m_fifo, reinterpret_cast<void**>(m_frame->data), samples);
    if (taken < 0) {
        return Status::kEncodeFailed;
    }
    if (taken < m_codec->frame_size) {
        av_samples_set_silence(m_frame->data, taken, m_codec->frame_size - taken,
                               m_codec->ch_layout.nb_channels, AV_SAMPLE_FMT_FLTP);
    }
    m_frame->nb_samples = m_codec->frame_size;
    m_frame->pts = m_nextPts;
    m_nextPts += m_codec->frame_size;
    if (avcodec_send_frame(m_codec, m_frame) < 0) {
        return Status::kEncodeFailed;
    }
    return Drain();
}

Status WmaFileWriter::Drain() {
    for (;;) {
        int result = avcodec_receive_packet(m_codec, m_packet);
        if (result == AVERROR(EAGAIN) || result == AVERROR_EOF) {
            return Status::kOk;
        }
        if (result < 0) {
            return Status::kEncodeFailed;
        }
        av_packet_rescale_ts(m_packet, m_codec->time_base, m_stream->time_base);
        m_packet->stream_index = m_stream->index;
        if (av_interleaved_write_frame(m_format, m_packet) < 0) {
            return Status::kWriteFailed;
        }
    }
}

Status WmaFileWriter::Finish() {
    if (!m_headerWritten) {
        return Status::kInitFailed;
    }
    // A torn sample frame at the very end is a fragment of a sample, not sound.
    m_torn.clear();
    Status status = Convert(nullptr, 0);
    // The decoder's output lags the encoder's input by one frame: the last samples leave the
    // encoder only with the frame behind them, so a frame of silence follows the end.
    if (status == Status::kOk && av_audio_fifo_size(m_fifo) > 0) {
        status = EncodeFrame(av_audio_fifo_size(m_fifo));
    }
    if (status == Status::kOk) {
        status = EncodeFrame(0);
    }
    if (status == Status::kOk && avcodec_send_frame(m_codec, nullptr) >= 0) {
        status = Drain();
    }
    if (status == Status::kOk && av_write_trailer(m_format) < 0) {
        status = Status::kWriteFailed;
    }
    m_headerWritten = false;
    if (m_format->pb != nullptr) {
        avio_flush(m_format->pb);
        if (m_format->pb->error < 0 && status == Status::kOk) {
            status = Status::kWriteFailed;
        }
        if (avio_closep(&m_format->pb) < 0 && status == Status::kOk) {
            status = Status::kWriteFailed;
        }
    }
    return status;
}

void WmaFileWriter::Close() {
    if (m_format != nullptr) {
        if (m_format->pb != nullptr) {
            avio_closep(&m_format->pb);
        }
        avformat_free_context(m_format);
        m_format = nullptr;
    }
    avcodec_free_context(&m_codec);
    av_frame_free(&m_frame);
    av_packet_free(&m_packet);
    if (m_fifo != nullptr) {
        av_audio_fifo_free(m_fifo);
        m_fifo = nullptr;
    }
    swr_free(&m_resampler);
    if (m_planes != nullptr) {
        av_freep(&m_planes[0]);
        av_freep(&m_planes);
    }
    m_headerWritten = false;
}
