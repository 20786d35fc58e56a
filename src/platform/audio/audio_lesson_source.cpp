#include "platform/audio/audio_lesson_source.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libswresample/swresample.h>
}

#include <algorithm>
#include <cmath>

#include "platform/audio/audio_format.h"

namespace platform::audio {
namespace {

struct PacketEntry {
  size_t offset = 0;  // into the byte store
  int size = 0;
  int64_t pts = 0;
  int64_t dts = 0;
  int64_t duration = 0;
  int flags = 0;
  int sidePacket = -1;       // packets with side data (the mp3 encoder-delay skip) are kept whole
  int64_t outputBefore = 0;  // decoded frames the file yields before this packet is sent
};

struct CodecDeleter {
  void operator()(AVCodecContext* c) const { avcodec_free_context(&c); }
};
using CodecPtr = std::unique_ptr<AVCodecContext, CodecDeleter>;

}  // namespace

struct LessonSource::State {
  AVFormatContext* format = nullptr;
  int stream = -1;
  CodecPtr indexCodec;
  CodecPtr playCodec;
  SwrContext* swr = nullptr;
  AVPacket* packet = nullptr;
  AVFrame* frame = nullptr;

  int srcRate = kRate;
  // FFmpeg's WMA v1/v2 decoder drops its first frame, so the decoded timeline
  // starts one frame late; that frame is put back as leading silence.
  bool wma = false;
  int64_t leadIn = 0;

  std::vector<uint8_t> bytes;
  std::vector<PacketEntry> packets;
  std::vector<AVPacket*> sidePackets;
  int64_t srcIndexed = 0;  // source frames covered by the indexed packets
  bool complete = false;

  // Playback position.
  bool pendingStart = false;
  int64_t startFrame = 0;
  size_t restartPacket = 0;
  bool originKnown = false;
  size_t next = 0;
  int64_t discard = 0;
  int64_t silence = 0;
  bool drained = false;
  std::vector<int16_t> converted;

  ~State() { reset(); }

  void reset() {
    if (format) avformat_close_input(&format);
    indexCodec.reset();
    playCodec.reset();
    swr_free(&swr);
    av_packet_free(&packet);
    av_frame_free(&frame);
    for (AVPacket*& p : sidePackets) av_packet_free(&p);
    sidePackets.clear();
    packets.clear();
    bytes.clear();
    bytes.shrink_to_fit();
    stream = -1;
    srcIndexed = 0;
    leadIn = 0;
    complete = false;
    pendingStart = false;
    next = 0;
  }

  CodecPtr openCodec() const {
    const AVStream* st = format->streams[stream];
    const AVCodec* codec = avcodec_find_decoder(st->codecpar->codec_id);
    if (!codec) return nullptr;
    CodecPtr ctx(avcodec_alloc_context3(codec));
    if (!ctx || avcodec_parameters_to_context(ctx.get(), st->codecpar) < 0) return nullptr;
    // Without the packet time base the decoder loses the LAME delay skip.
    ctx->pkt_timebase = st->time_base;
    if (avcodec_open2(ctx.get(), codec, nullptr) < 0) return nullptr;
    return ctx;
  }

  bool resetResampler() {
    swr_free(&swr);
    AVChannelLayout mono = AV_CHANNEL_LAYOUT_MONO;
    AVCodecContext* c = playCodec.get();
    if (swr_alloc_set_opts2(&swr, &mono, AV_SAMPLE_FMT_S16, kRate, &c->ch_layout, c->sample_fmt,
                            c->sample_rate, 0, nullptr) < 0)
      return false;
    return swr_init(swr) >= 0;
  }

  int64_t toMedia(int64_t src) const { return av_rescale(src, kRate, srcRate); }
  int64_t toSource(int64_t media) const { return av_rescale(media, srcRate, kRate); }

  // Hands stored packet `i` to `ctx`. False when the decoder rejects it.
  bool send(AVCodecContext* ctx, size_t i) {
    const PacketEntry& e = packets[i];
    if (e.sidePacket >= 0) {
      av_packet_ref(packet, sidePackets[e.sidePacket]);
    } else {
      packet->data = bytes.data() + e.offset;
      packet->size = e.size;
      packet->pts = e.pts;
      packet->dts = e.dts;
      packet->duration = e.duration;
      packet->flags = e.flags;
    }
    const bool ok = avcodec_send_packet(ctx, packet) >= 0;
    av_packet_unref(packet);
    return ok;
  }

  void store(const AVPacket* p) {
    PacketEntry e;
    e.outputBefore = srcIndexed;
    if (p->side_data_elems > 0) {
      e.sidePacket = static_cast<int>(sidePackets.size());
      sidePackets.push_back(av_packet_clone(p));
    } else {
      e.offset = bytes.size();
      e.size = p->size;
      e.pts = p->pts;
      e.dts = p->dts;
      e.duration = p->duration;
      e.flags = p->flags;
      bytes.insert(bytes.end(), p->data, p->data + p->size);
      bytes.insert(bytes.end(), AV_INPUT_BUFFER_PADDING_SIZE, 0);
    }
    packets.push_back(e);
    // The decoder's output for this packet is counted to place the next one.
    if (send(indexCodec.get(), packets.size() - 1)) {
      while (avcodec_receive_frame(indexCodec.get(), frame) >= 0) {
        if (wma && srcIndexed == 0) leadIn = frame->nb_samples;
        srcIndexed += frame->nb_samples;
        av_frame_unref(frame);
      }
    }
  }

  // Converts the decoded frame (or, with nullptr, the resampler's tail) to
  // mono int16 at the device rate and appends what lies past the discard.
  void emit(const AVFrame* f, std::vector<int16_t>& out) {
    const int inFrames = f ? f->nb_samples : 0;
    const int room = swr_get_out_samples(swr, inFrames);
    if (room <= 0) return;
    converted.resize(room);
    uint8_t* dst = reinterpret_cast<uint8_t*>(converted.data());
    const int got = swr_convert(
        swr, &dst, room, f ? const_cast<const uint8_t**>(f->extended_data) : nullptr, inFrames);
    if (got <= 0) return;
    const int64_t skip = std::min<int64_t>(discard, got);
    discard -= skip;
    out.insert(out.end(), converted.begin() + skip, converted.begin() + got);
  }

  bool position() {
    const int64_t srcTarget = toSource(startFrame);
    if (!complete && srcTarget >= leadIn + srcIndexed) return false;
    pendingStart = false;
    silence = 0;
    if (packets.empty()) {
      next = 0;
      return true;
    }
    // A tenth of a second of pre-roll: the mp3 bit reservoir and the MDCT
    // overlap need the frames before the target to decode it right.
    const int64_t before = srcTarget - leadIn - srcRate / 10;
    auto it = std::upper_bound(packets.begin(), packets.end(), before,
                               [](int64_t v, const PacketEntry& e) { return v < e.outputBefore; });
    restartFrom(it == packets.begin() ? 0 : static_cast<size_t>(it - packets.begin() - 1));
    return true;
  }

  void restartFrom(size_t packetIndex) {
    avcodec_flush_buffers(playCodec.get());
    resetResampler();
    drained = false;
    discard = 0;
    restartPacket = packetIndex;
    next = packetIndex;
    originKnown = false;
  }

  // After a flush a decoder may swallow a packet or two (WMA does); its first
  // output is then the one the whole-file decode gives for the packet that
  // produced it, which fixes how much to discard. False when that lies past
  // the target and decoding must start earlier.
  bool placeOrigin(size_t producedBy) {
    originKnown = true;
    discard = startFrame - toMedia(leadIn + packets[producedBy].outputBefore);
    if (discard >= 0) return true;
    if (restartPacket == 0) {
      silence = -discard;  // nothing earlier to decode
      discard = 0;
      return true;
    }
    restartFrom(restartPacket > 4 ? restartPacket - 4 : 0);
    return false;
  }
};

LessonSource::LessonSource() = default;
LessonSource::~LessonSource() = default;

bool LessonSource::open(const std::string& path) {
  close();
  s_ = std::make_unique<State>();
  State& s = *s_;
  if (avformat_open_input(&s.format, path.c_str(), nullptr, nullptr) < 0 ||
      avformat_find_stream_info(s.format, nullptr) < 0) {
    s_.reset();
    return false;
  }
  s.stream = av_find_best_stream(s.format, AVMEDIA_TYPE_AUDIO, -1, -1, nullptr, 0);
  if (s.stream < 0) {
    s_.reset();
    return false;
  }
  for (unsigned i = 0; i < s.format->nb_streams; ++i)
    if (static_cast<int>(i) != s.stream) s.format->streams[i]->discard = AVDISCARD_ALL;
  s.indexCodec = s.openCodec();
  s.playCodec = s.openCodec();
  s.packet = av_packet_alloc();
  s.frame = av_frame_alloc();
  if (!s.indexCodec || !s.playCodec || !s.packet || !s.frame || !s.resetResampler()) {
    s_.reset();
    return false;
  }
  s.srcRate = s.playCodec->sample_rate;
  const AVCodecID id = s.playCodec->codec_id;
  s.wma = id == AV_CODEC_ID_WMAV1 || id == AV_CODEC_ID_WMAV2;
  const int64_t fileSize = s.format->pb ? avio_size(s.format->pb) : 0;
  if (fileSize > 0) s.bytes.reserve(static_cast<size_t>(fileSize + fileSize / 6));
  return true;
}

void LessonSource::close() { s_.reset(); }
bool LessonSource::valid() const { return s_ != nullptr; }
bool LessonSource::indexComplete() const { return !s_ || s_->complete; }
int64_t LessonSource::totalFrames() const {
  return s_ ? s_->toMedia(s_->leadIn + s_->srcIndexed) : 0;
}
size_t LessonSource::storedBytes() const {
  return s_ ? s_->bytes.capacity() + s_->packets.capacity() * sizeof(PacketEntry) : 0;
}

void LessonSource::indexMore(int count) {
  if (!s_ || s_->complete) return;
  State& s = *s_;
  AVPacket* p = av_packet_alloc();
  for (int i = 0; i < count; ++i) {
    const int r = av_read_frame(s.format, p);
    if (r < 0) {
      // A decoder with delay (WMA) gives its last frame only when drained.
      avcodec_send_packet(s.indexCodec.get(), nullptr);
      while (avcodec_receive_frame(s.indexCodec.get(), s.frame) >= 0) {
        s.srcIndexed += s.frame->nb_samples;
        av_frame_unref(s.frame);
      }
      s.complete = true;
      // The byte store no longer grows: give back what was reserved for it.
      s.bytes.shrink_to_fit();
      break;
    }
    if (p->stream_index == s.stream) s.store(p);
    av_packet_unref(p);
  }
  av_packet_free(&p);
}

void LessonSource::startAt(int64_t mediaFrame) {
  if (!s_) return;
  s_->startFrame = std::max<int64_t>(0, mediaFrame);
  s_->pendingStart = true;
}

LessonSource::Read LessonSource::read(std::vector<int16_t>& out) {
  if (!s_) return Read::End;
  State& s = *s_;
  if (s.pendingStart && !s.position()) return Read::NeedIndex;
  if (s.silence > 0) {
    const int64_t n = std::min<int64_t>(s.silence, 4096);
    out.insert(out.end(), static_cast<size_t>(n), 0);
    s.silence -= n;
    return Read::Samples;
  }
  if (s.next >= s.packets.size()) {
    if (!s.complete) return Read::NeedIndex;
    if (s.drained) return Read::End;
    s.drained = true;
    if (avcodec_send_packet(s.playCodec.get(), nullptr) >= 0) {
      while (avcodec_receive_frame(s.playCodec.get(), s.frame) >= 0) {
        s.emit(s.frame, out);
        av_frame_unref(s.frame);
      }
    }
    s.emit(nullptr, out);
    return Read::Samples;
  }
  const size_t sent = s.next++;
  if (s.send(s.playCodec.get(), sent)) {
    while (avcodec_receive_frame(s.playCodec.get(), s.frame) >= 0) {
      if (!s.originKnown && !s.placeOrigin(sent)) {
        av_frame_unref(s.frame);
        return Read::Samples;
      }
      if (s.silence > 0) {
        out.insert(out.end(), static_cast<size_t>(s.silence), 0);
        s.silence = 0;
      }
      s.emit(s.frame, out);
      av_frame_unref(s.frame);
    }
  }
  return Read::Samples;
}

}  // namespace platform::audio
