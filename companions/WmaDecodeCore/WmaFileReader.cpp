#include "companions/WmaDecodeCore/WmaFileReader.h"

#include "companions/WmaDecodeCore/WmaDecodeCore.h"
#include "companions/WmaEncodeCore/AnsiText.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/channel_layout.h>
#include <libswresample/swresample.h>
}

#include <algorithm>
#include <cstring>

namespace {

// A damaged file can hold long runs of packets the decoder refuses; after this many in a row the
// rest is taken for noise and the audio ends there.
constexpr int kRefusedPacketsInARow = 64;

} // namespace

WmaFileReader::WmaFileReader() {
    // A library inside a windowed program has nobody to tell; results say what went wrong.
    av_log_set_level(AV_LOG_QUIET);
}

WmaFileReader::~WmaFileReader() {
    swr_free(&m_resampler);
    av_packet_free(&m_packet);
    av_frame_free(&m_frame);
    avcodec_free_context(&m_codec);
    avformat_close_input(&m_format);
}

int WmaFileReader::Open(const char* path) {
    const std::string name = AnsiToUtf8(path);
    if (name.empty()) {
        return kWmaDecodeNotWma;
    }
    // Only the ASF demuxer is asked: whatever the file holds, it is read as ASF or refused.
    if (avformat_open_input(&m_format, name.c_str(), av_find_input_format("asf"), nullptr) < 0) {
        return kWmaDecodeNotWma;
    }
    const AVCodec* decoder = nullptr;
    m_stream = av_find_best_stream(m_format, AVMEDIA_TYPE_AUDIO, -1, -1, &decoder, 0);
    if (m_stream < 0 || decoder == nullptr) {
        return kWmaDecodeNoAudio;
    }
    const AVCodecParameters* parameters = m_format->streams[m_stream]->codecpar;
    if (parameters->codec_id != AV_CODEC_ID_WMAV1 && parameters->codec_id != AV_CODEC_ID_WMAV2) {
        return kWmaDecodeNoAudio;
    }
    m_codec = avcodec_alloc_context3(decoder);
    m_frame = av_frame_alloc();
    m_packet = av_packet_alloc();
    if (m_codec == nullptr || m_frame == nullptr || m_packet == nullptr) {
        return kWmaDecodeOutOfMemory;
    }
    if (avcodec_parameters_to_context(m_codec, parameters) < 0 ||
        avcodec_open2(m_codec, decoder, nullptr) < 0 || m_codec->sample_rate <= 0 ||
        m_codec->ch_layout.nb_channels <= 0) {
        return kWmaDecodeNoDecoder;
    }
    m_sampleRate = m_codec->sample_rate;
    m_channels = std::min(m_codec->ch_layout.nb_channels, 2);
    AVChannelLayout output{};
    av_channel_layout_default(&output, m_channels);
    int made = swr_alloc_set_opts2(&m_resampler, &output, AV_SAMPLE_FMT_S16, m_sampleRate,
                                   &m_codec->ch_layout, m_codec->sample_fmt, m_sampleRate, 0, nullptr);
    av_channel_layout_uninit(&output);
    if (made < 0 || swr_init(m_resampler) < 0) {
        return kWmaDecodeNoDecoder;
    }
    // The stream's length comes from the file header; the file's own is only worked out by a
    // probe that decodes, which a player opening a file does not wait for.
    const AVStream* stream = m_format->streams[m_stream];
    if (stream->duration > 0) {
        m_durationMs = av_rescale_q(stream->duration, stream->time_base, AVRational{1, 1000});
    } else if (m_format->duration > 0) {
        m_durationMs = av_rescale(m_format->duration, 1000, AV_TIME_BASE);
    }
    m_bitrate = parameters->bit_rate > 0 ? parameters->bit_rate : m_format->bit_rate;
    return kWmaDecodeOk;
}

size_t WmaFileReader::Read(uint8_t* buffer, size_t bytes) {
    const size_t frameBytes = static_cast<size_t>(m_channels) * 2;
    bytes -= frameBytes != 0 ? bytes % frameBytes : bytes;
    size_t filled = 0;
    while (filled < bytes) {
        if (m_pendingPos == m_pending.size() && !Refill()) {
            break;
        }
        size_t take = std::min(bytes - filled, m_pending.size() - m_pendingPos);
        std::memcpy(buffer + filled, m_pending.data() + m_pendingPos, take);
        m_pendingPos += take;
        filled += take;
    }
    return filled;
}

bool WmaFileReader::Refill() {
    m_pending.clear();
    m_pendingPos = 0;
    int refused = 0;
    while (m_pending.empty() && !m_decoderDone) {
        int received = avcodec_receive_frame(m_codec, m_frame);
        if (received == 0) {
            bool converted = Convert(m_frame);
            av_frame_unref(m_frame);
            if (!converted) {
                m_decoderDone = true;
            }
            continue;
        }
        if (received != AVERROR(EAGAIN)) {
            m_decoderDone = true;
            continue;
        }
        if (m_demuxerDone) {
            m_decoderDone = true;
            continue;
        }
        // A file cut short or broken in its data ends the demuxer as its end would.
        if (av_read_frame(m_format, m_packet) < 0) {
            m_demuxerDone = true;
            avcodec_send_packet(m_codec, nullptr);
            continue;
        }
        if (m_packet->stream_index == m_stream) {
            int sent = avcodec_send_packet(m_codec, m_packet);
            if (sent < 0 && sent != AVERROR(EAGAIN)) {
                refused = refused + 1;
                if (refused >= kRefusedPacketsInARow) {
                    m_demuxerDone = true;
                    avcodec_send_packet(m_codec, nullptr);
                }
            } else {
                refused = 0;
            }
        }
        av_packet_unref(m_packet);
    }
    return !m_pending.empty();
}

bool WmaFileReader::Convert(const AVFrame* frame) {
    int room = swr_get_out_samples(m_resampler, frame->nb_samples);
    if (room <= 0) {
        return room == 0;
    }
    m_pending.resize(static_cast<size_t>(room) * m_channels * 2);
    uint8_t* output[1] = {reinterpret_cast<uint8_t*>(m_pending.data())};
    int converted = swr_convert(m_resampler, output, room, const_cast<const uint8_t**>(frame->extended_data),
                                frame->nb_samples);
    if (converted < 0) {
        m_pending.clear();
        return false;
    }
    m_pending.resize(static_cast<size_t>(converted) * m_channels * 2);
    return true;
}
