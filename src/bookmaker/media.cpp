#include "bookmaker/media.h"

extern "C" {
#include <lame/lame.h>
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/audio_fifo.h>
#include <libavutil/opt.h>
#include <libswresample/swresample.h>
}

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>

#include "bookmaker/book_error.h"
#include "bookmaker/progress.h"

namespace bookmaker {

namespace {

std::string averror(int code) {
  char text[AV_ERROR_MAX_STRING_SIZE] = {};
  av_strerror(code, text, sizeof text);
  return text;
}

struct FormatCloser {
  void operator()(AVFormatContext* c) const { avformat_close_input(&c); }
};
struct CodecCloser {
  void operator()(AVCodecContext* c) const { avcodec_free_context(&c); }
};
struct SwrCloser {
  void operator()(SwrContext* c) const { swr_free(&c); }
};
using FormatPtr = std::unique_ptr<AVFormatContext, FormatCloser>;
using CodecPtr = std::unique_ptr<AVCodecContext, CodecCloser>;
using SwrPtr = std::unique_ptr<SwrContext, SwrCloser>;

FormatPtr openInput(const std::string& path) {
  AVFormatContext* raw = nullptr;
  if (const int code = avformat_open_input(&raw, path.c_str(), nullptr, nullptr); code < 0)
    throw BookError(path + ": cannot be decoded (" + averror(code) + ")");
  FormatPtr format(raw);
  if (const int code = avformat_find_stream_info(raw, nullptr); code < 0)
    throw BookError(path + ": cannot be decoded (" + averror(code) + ")");
  return format;
}

// One sink's converter to mono 16-bit at its rate.
struct Converter {
  const AudioSink* sink;
  SwrPtr swr;
  std::vector<int16_t> out;

  Converter(const AudioSink& s, const AVCodecContext* codec) : sink(&s) {
    AVChannelLayout mono = AV_CHANNEL_LAYOUT_MONO;
    SwrContext* raw = nullptr;
    if (swr_alloc_set_opts2(&raw, &mono, AV_SAMPLE_FMT_S16, s.rate,
                            const_cast<AVChannelLayout*>(&codec->ch_layout), codec->sample_fmt,
                            codec->sample_rate, 0, nullptr) < 0 ||
        swr_init(raw) < 0) {
      swr_free(&raw);
      throw BookError("the audio converter cannot start");
    }
    swr.reset(raw);
  }

  void convert(const AVFrame* frame) {
    const int room = swr_get_out_samples(swr.get(), frame ? frame->nb_samples : 0);
    if (room <= 0) return;
    out.resize(std::size_t(room));
    auto* target = reinterpret_cast<uint8_t*>(out.data());
    const int made =
        swr_convert(swr.get(), &target, room,
                    frame ? const_cast<const uint8_t**>(frame->extended_data) : nullptr,
                    frame ? frame->nb_samples : 0);
    if (made > 0) sink->take(out.data(), std::size_t(made));
  }
};

double fractionOf(const AVFormatContext* format, const AVPacket* packet, const AVStream* stream) {
  if (format->duration <= 0 || packet->pts == AV_NOPTS_VALUE) return 0;
  const double at = double(packet->pts) * av_q2d(stream->time_base);
  return at / (double(format->duration) / AV_TIME_BASE);
}

}  // namespace

void decodeAudio(const std::string& path, const std::vector<AudioSink>& sinks, Progress* progress) {
  av_log_set_level(AV_LOG_ERROR);
  const FormatPtr format = openInput(path);
  const int index = av_find_best_stream(format.get(), AVMEDIA_TYPE_AUDIO, -1, -1, nullptr, 0);
  if (index < 0) throw BookError(path + ": cannot be decoded (no audio stream)");
  AVStream* stream = format->streams[index];
  const AVCodec* decoder = avcodec_find_decoder(stream->codecpar->codec_id);
  if (!decoder) throw BookError(path + ": cannot be decoded (no decoder for its audio)");
  CodecPtr codec(avcodec_alloc_context3(decoder));
  if (avcodec_parameters_to_context(codec.get(), stream->codecpar) < 0 ||
      avcodec_open2(codec.get(), decoder, nullptr) < 0)
    throw BookError(path + ": cannot be decoded (its decoder does not open)");
  std::vector<std::unique_ptr<Converter>> owned;
  AVPacket* packet = av_packet_alloc();
  AVFrame* frame = av_frame_alloc();
  bool any = false;
  const auto drain = [&] {
    while (avcodec_receive_frame(codec.get(), frame) == 0) {
      if (owned.empty())  // the layout is known only from the first frame
        for (const AudioSink& sink : sinks)
          owned.push_back(std::make_unique<Converter>(sink, codec.get()));
      for (auto& converter : owned) converter->convert(frame);
      any = any || frame->nb_samples > 0;
      av_frame_unref(frame);
    }
  };
  try {
    while (av_read_frame(format.get(), packet) >= 0) {
      if (packet->stream_index == index) {
        if (progress) progress->advance(fractionOf(format.get(), packet, stream));
        if (avcodec_send_packet(codec.get(), packet) == 0) drain();
      }
      av_packet_unref(packet);
    }
    avcodec_send_packet(codec.get(), nullptr);
    drain();
    for (auto& converter : owned) converter->convert(nullptr);
  } catch (...) {
    av_packet_free(&packet);
    av_frame_free(&frame);
    throw;
  }
  av_packet_free(&packet);
  av_frame_free(&frame);
  if (!any) throw BookError(path + ": holds no audio");
}

Samples decodeWhole(const std::string& path, int rate) {
  Samples all;
  decodeAudio(path,
              {{rate, [&](const int16_t* s, std::size_t n) { all.insert(all.end(), s, s + n); }}});
  return all;
}

MediaFormat probeFormat(const std::string& path) {
  const FormatPtr format = openInput(path);
  const int index = av_find_best_stream(format.get(), AVMEDIA_TYPE_AUDIO, -1, -1, nullptr, 0);
  MediaFormat found{format->iformat->name, ""};
  if (index >= 0) found.codec = avcodec_get_name(format->streams[index]->codecpar->codec_id);
  return found;
}

namespace {

class Mp3Encoder : public Encoder {
 public:
  Mp3Encoder(const std::string& path, int rate, int kilobits) : out_(path, std::ios::binary) {
    if (!out_) throw BookError(path + ": cannot be written");
    lame_ = lame_init();
    lame_set_num_channels(lame_, 1);
    lame_set_in_samplerate(lame_, rate);
    lame_set_mode(lame_, MONO);
    // Average bit rate keeps the LAME header (CBR frames at this rate are too
    // small for it), so decoders remove the encoder delay exactly.
    lame_set_VBR(lame_, vbr_abr);
    lame_set_VBR_mean_bitrate_kbps(lame_, kilobits);
    lame_set_bWriteVbrTag(lame_, 1);
    if (lame_init_params(lame_) < 0) throw BookError("the mp3 encoder cannot start");
  }
  ~Mp3Encoder() override { lame_close(lame_); }

  void write(const int16_t* samples, std::size_t count) override {
    while (count > 0) {
      const int n = int(std::min<std::size_t>(count, 8192));
      buffer_.resize(std::size_t(n) * 5 / 4 + 7200);
      const int made =
          lame_encode_buffer(lame_, samples, nullptr, n, buffer_.data(), int(buffer_.size()));
      if (made < 0) throw BookError("the mp3 encoder failed");
      out_.write(reinterpret_cast<const char*>(buffer_.data()), made);
      samples += n;
      count -= std::size_t(n);
    }
  }

  void finish() override {
    buffer_.resize(7200);
    const int made = lame_encode_flush(lame_, buffer_.data(), int(buffer_.size()));
    if (made > 0) out_.write(reinterpret_cast<const char*>(buffer_.data()), made);
    // The LAME header (delay, padding, length) replaces the first frame's place.
    std::vector<unsigned char> tag(4096);
    const std::size_t size = lame_get_lametag_frame(lame_, tag.data(), tag.size());
    if (size > 0 && size <= tag.size()) {
      out_.seekp(0);
      out_.write(reinterpret_cast<const char*>(tag.data()), long(size));
    }
    out_.close();
    if (!out_) throw BookError("the lesson audio cannot be written");
  }

 private:
  std::ofstream out_;
  lame_t lame_;
  std::vector<unsigned char> buffer_;
};

class WmaEncoder : public Encoder {
 public:
  WmaEncoder(const std::string& path, int rate, int kilobits) {
    if (avformat_alloc_output_context2(&format_, nullptr, "asf", path.c_str()) < 0)
      throw BookError("the wma writer cannot start");
    format_->flags |= AVFMT_FLAG_BITEXACT;
    const AVCodec* wma = avcodec_find_encoder(AV_CODEC_ID_WMAV2);
    if (!wma) throw BookError("FFmpeg has no wmav2 encoder");
    codec_ = avcodec_alloc_context3(wma);
    codec_->sample_fmt = AV_SAMPLE_FMT_FLTP;
    codec_->sample_rate = rate;
    codec_->ch_layout = AV_CHANNEL_LAYOUT_MONO;
    codec_->bit_rate = kilobits * 1000;
    codec_->flags |= AV_CODEC_FLAG_BITEXACT;
    if (format_->oformat->flags & AVFMT_GLOBALHEADER) codec_->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
    if (avcodec_open2(codec_, wma, nullptr) < 0) throw BookError("the wma encoder cannot start");
    stream_ = avformat_new_stream(format_, nullptr);
    avcodec_parameters_from_context(stream_->codecpar, codec_);
    stream_->time_base = AVRational{1, rate};
    if (avio_open(&format_->pb, path.c_str(), AVIO_FLAG_WRITE) < 0)
      throw BookError(path + ": cannot be written");
    if (avformat_write_header(format_, nullptr) < 0) throw BookError(path + ": cannot be written");
    fifo_ = av_audio_fifo_alloc(AV_SAMPLE_FMT_FLTP, 1, codec_->frame_size * 2);
    frame_ = av_frame_alloc();
    packet_ = av_packet_alloc();
  }
  ~WmaEncoder() override {
    av_frame_free(&frame_);
    av_packet_free(&packet_);
    if (fifo_) av_audio_fifo_free(fifo_);
    avcodec_free_context(&codec_);
    if (format_ && format_->pb) avio_closep(&format_->pb);
    avformat_free_context(format_);
  }

  void write(const int16_t* samples, std::size_t count) override {
    std::vector<float> floats(count);
    std::transform(samples, samples + count, floats.begin(),
                   [](int16_t v) { return float(v) / 32768.0f; });
    void* planes[] = {floats.data()};
    av_audio_fifo_write(fifo_, planes, int(count));
    while (av_audio_fifo_size(fifo_) >= codec_->frame_size) sendFrame(codec_->frame_size);
  }

  void finish() override {
    if (const int left = av_audio_fifo_size(fifo_); left > 0) sendFrame(left);
    avcodec_send_frame(codec_, nullptr);
    receivePackets();
    if (av_write_trailer(format_) < 0) throw BookError("the lesson audio cannot be written");
    avio_closep(&format_->pb);
  }

 private:
  void sendFrame(int count) {
    frame_->nb_samples = count;
    frame_->format = AV_SAMPLE_FMT_FLTP;
    frame_->sample_rate = codec_->sample_rate;
    av_channel_layout_copy(&frame_->ch_layout, &codec_->ch_layout);
    av_frame_get_buffer(frame_, 0);
    av_audio_fifo_read(fifo_, reinterpret_cast<void**>(frame_->data), count);
    frame_->pts = pts_;
    pts_ += count;
    if (avcodec_send_frame(codec_, frame_) < 0) throw BookError("the wma encoder failed");
    av_frame_unref(frame_);
    receivePackets();
  }

  void receivePackets() {
    while (avcodec_receive_packet(codec_, packet_) == 0) {
      av_packet_rescale_ts(packet_, codec_->time_base, stream_->time_base);
      packet_->stream_index = stream_->index;
      if (av_interleaved_write_frame(format_, packet_) < 0)
        throw BookError("the wma file cannot be written");
    }
  }

  AVFormatContext* format_ = nullptr;
  AVCodecContext* codec_ = nullptr;
  AVStream* stream_ = nullptr;
  AVAudioFifo* fifo_ = nullptr;
  AVFrame* frame_ = nullptr;
  AVPacket* packet_ = nullptr;
  int64_t pts_ = 0;
};

}  // namespace

std::unique_ptr<Encoder> makeEncoder(const std::string& path, int rate, int kilobits) {
  if (path.ends_with(".wma")) return std::make_unique<WmaEncoder>(path, rate, kilobits);
  return std::make_unique<Mp3Encoder>(path, rate, kilobits);
}

void writeWav(const std::string& path, const Samples& samples, int rate) {
  std::ofstream out(path, std::ios::binary);
  const auto u32 = [&](uint32_t v) {
    const char b[4] = {char(v), char(v >> 8), char(v >> 16), char(v >> 24)};
    out.write(b, 4);
  };
  const auto u16 = [&](uint16_t v) {
    const char b[2] = {char(v), char(v >> 8)};
    out.write(b, 2);
  };
  const auto bytes = uint32_t(samples.size() * 2);
  out.write("RIFF", 4);
  u32(36 + bytes);
  out.write("WAVEfmt ", 8);
  u32(16);
  u16(1);
  u16(1);
  u32(uint32_t(rate));
  u32(uint32_t(rate) * 2);
  u16(2);
  u16(16);
  out.write("data", 4);
  u32(bytes);
  for (const int16_t v : samples) u16(uint16_t(v));
  if (!out) throw BookError(path + ": cannot be written");
}

namespace {

constexpr long kBlock = 64;

std::vector<long> envelope(const Window& w, long from, long count) {
  std::vector<long> blocks;
  for (long k = 0; k < count; k += kBlock) {
    long sum = 0;
    for (long i = k; i < std::min(count, k + kBlock); ++i) sum += std::abs(w.at(from + i));
    blocks.push_back(sum);
  }
  return blocks;
}

}  // namespace

long measureOffset(const Window& source, const Window& decoded, long onset) {
  const long reach = kOffsetReach;
  const long start = std::max(0L, onset - 2 * reach);
  // The envelopes run as far as the source does (as a slice of it would).
  const long span = std::max(0L, std::min(4 * reach + 2 * reach, source.end() - start));
  const long decodedSpan = std::max(0L, std::min(span, decoded.end() - start));
  const std::vector<long> src = envelope(source, start, span),
                          dec = envelope(decoded, start, decodedSpan);
  const long blocks = reach / kBlock;
  long coarse = -blocks;
  double best = -1e300;
  for (long lag = -blocks; lag <= blocks; ++lag) {
    double total = 0;
    for (long i = blocks; i < long(src.size()) - blocks; ++i) {
      const long j = i + lag;
      if (j >= 0 && j < long(dec.size()))
        total += double(src[std::size_t(i)]) * double(dec[std::size_t(j)]);
    }
    if (total > best) best = total, coarse = lag;
  }
  const long window = std::min(4096L, source.end() - onset);
  long fine = coarse * kBlock - 2 * kBlock;
  best = -1e300;
  for (long lag = coarse * kBlock - 2 * kBlock; lag <= coarse * kBlock + 2 * kBlock; ++lag) {
    double total = 0;
    for (long i = onset; i < onset + window; ++i) {
      const long j = i + lag;
      if (j >= 0 && j < decoded.end()) total += double(source.at(i)) * double(decoded.at(j));
    }
    if (total > best) best = total, fine = lag;
  }
  return fine;
}

void OnsetProbe::take(const int16_t* samples, std::size_t count) {
  const long reach = kOffsetReach;
  for (std::size_t k = 0; k < count; ++k) {
    const long index = window_.end();
    if (onset_ < 0 && std::abs(int(samples[k])) > 512) onset_ = index;
    if (onset_ >= 0 && index >= onset_ + 6 * reach + 1024) return;
    window_.samples.push_back(samples[k]);
    if (onset_ < 0 && long(window_.samples.size()) > 4 * reach) {  // slide: keep the last 2 reaches
      window_.samples.erase(window_.samples.begin(), window_.samples.begin() + 2 * reach);
      window_.base += 2 * reach;
    }
  }
}

void WindowProbe::take(const int16_t* samples, std::size_t count) {
  for (std::size_t k = 0; k < count; ++k, ++seen_)
    if (seen_ >= from_ && seen_ < to_) window_.samples.push_back(samples[k]);
}

}  // namespace bookmaker

#include "bookmaker/timed_text.h"

namespace bookmaker {

SubtitleTracks subtitleTracks(const std::string& path) {
  av_log_set_level(AV_LOG_ERROR);
  const FormatPtr format = openInput(path);
  SubtitleTracks tracks;
  for (unsigned k = 0; k < format->nb_streams; ++k) {
    const AVStream* stream = format->streams[k];
    if (stream->codecpar->codec_type != AVMEDIA_TYPE_SUBTITLE) continue;
    const AVCodecDescriptor* codec = avcodec_descriptor_get(stream->codecpar->codec_id);
    const std::string name = codec ? codec->name : "unknown";
    if (codec && (codec->props & AV_CODEC_PROP_TEXT_SUB)) {
      const AVDictionaryEntry* language = av_dict_get(stream->metadata, "language", nullptr, 0);
      tracks.text.push_back({int(k), name, language ? language->value : ""});
    } else {
      tracks.pictures.push_back(name);
    }
  }
  return tracks;
}

std::vector<TextCue> trackCues(const std::string& path, const SubtitleTrack& track) {
  const FormatPtr format = openInput(path);
  AVStream* stream = format->streams[track.stream];
  const AVCodec* decoder = avcodec_find_decoder(stream->codecpar->codec_id);
  if (!decoder) throw BookError(path + ": no decoder for its " + track.codec + " subtitles");
  CodecPtr codec(avcodec_alloc_context3(decoder));
  if (avcodec_parameters_to_context(codec.get(), stream->codecpar) < 0 ||
      avcodec_open2(codec.get(), decoder, nullptr) < 0)
    throw BookError(path + ": its " + track.codec + " subtitles cannot be read");
  codec->pkt_timebase = stream->time_base;
  std::vector<TextCue> cues;
  AVPacket* packet = av_packet_alloc();
  const std::string label = path + " (subtitle track " + std::to_string(track.stream) +
                            (track.language.empty() ? "" : ", " + track.language) + ")";
  while (av_read_frame(format.get(), packet) >= 0) {
    if (packet->stream_index == track.stream && packet->pts != AV_NOPTS_VALUE) {
      AVSubtitle subtitle{};
      int got = 0;
      if (avcodec_decode_subtitle2(codec.get(), &subtitle, &got, packet) >= 0 && got) {
        const double start = double(packet->pts) * av_q2d(stream->time_base);
        const double end = packet->duration > 0
                               ? start + double(packet->duration) * av_q2d(stream->time_base)
                               : start + subtitle.end_display_time / 1000.0;
        TextCue cue{start, end, {}, label + " at " + std::to_string(int(start)) + " s"};
        for (unsigned r = 0; r < subtitle.num_rects; ++r) {
          const AVSubtitleRect* rect = subtitle.rects[r];
          // "ReadOrder, Layer, Style, Name, MarginL, MarginR, MarginV, Effect, Text"
          std::string ass = rect->ass ? rect->ass : (rect->text ? rect->text : "");
          std::size_t at = 0;
          for (int comma = 0; rect->ass && comma < 8 && at != std::string::npos; ++comma) {
            at = ass.find(',', at);
            if (at != std::string::npos) ++at;
          }
          if (at == std::string::npos) at = 0;
          for (const std::string& line : assLines(ass.substr(at))) cue.lines.push_back(line);
        }
        if (!cue.lines.empty()) cues.push_back(cue);
        avsubtitle_free(&subtitle);
      }
    }
    av_packet_unref(packet);
  }
  av_packet_free(&packet);
  std::stable_sort(cues.begin(), cues.end(),
                   [](const TextCue& a, const TextCue& b) { return a.start < b.start; });
  return cues;
}

}  // namespace bookmaker
