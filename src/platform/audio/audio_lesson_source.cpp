#include "platform/audio/audio_lesson_source.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/intreadwrite.h>
#include <libswresample/swresample.h>
}

#include <algorithm>

#include "platform/audio/audio_format.h"
#include "platform/audio/audio_mp3_frames.h"

namespace platform::audio {
namespace {

// An mp3 frame may take up to 511 bytes of its data from the frames before it
// (the bit reservoir), and the synthesis needs the frame before that: counted
// in frames, enough for the smallest frames of the lowest bit rates.
constexpr int64_t kMp3PrerollFrames = 14;
// What FFmpeg's mp3 demuxer adds to the encoder's padding after the sound.
constexpr int64_t kMp3DecoderDelay = 529;
// Other formats start a tenth of a second early, further on each retry.
constexpr int kMaxBackoff = 6;

struct CodecDeleter {
  void operator()(AVCodecContext* c) const { avcodec_free_context(&c); }
};
using CodecPtr = std::unique_ptr<AVCodecContext, CodecDeleter>;

// WMA v1/v2 timestamps are whole milliseconds; its frames are this long.
int wmaFrameLength(int rate, bool v1) {
  if (rate <= 16000) return 512;
  if (rate <= 22050 || (v1 && rate <= 32000)) return 1024;
  return 2048;
}

}  // namespace

struct LessonSource::State {
  AVFormatContext* format = nullptr;
  AVStream* st = nullptr;
  CodecPtr codec;
  SwrContext* swr = nullptr;
  AVPacket* packet = nullptr;
  AVFrame* frame = nullptr;
  int srcRate = kRate;
  int wmaFrame = 0;  // 0 unless WMA

  // mp3 is read frame by frame from the file itself.
  std::unique_ptr<Mp3Frames> mp3;
  int64_t mp3Skip = 0;  // decoded samples before the sound starts
  int64_t srcEnd = -1;  // source sample where the sound ends, when known
  int64_t mp3Next = 0;  // frame number read next
  int64_t mp3Offset = 0;
  std::vector<uint8_t> frameBytes;

  // Decoding position.
  bool pendingStart = false;
  int64_t startFrame = 0;
  int backoff = 0;
  bool fromFileStart = false;
  bool originKnown = false;
  int64_t discard = 0;
  int64_t silence = 0;
  int64_t nextOut = 0;  // media frame of the next sample given out
  bool ended = false;
  std::vector<int16_t> converted;

  ~State() {
    if (format) avformat_close_input(&format);
    swr_free(&swr);
    av_packet_free(&packet);
    av_frame_free(&frame);
  }

  int64_t toMedia(int64_t src) const { return av_rescale(src, kRate, srcRate); }
  int64_t toSource(int64_t media) const { return av_rescale(media, srcRate, kRate); }

  bool openCodec() {
    const AVCodec* c = avcodec_find_decoder(st->codecpar->codec_id);
    if (!c) return false;
    codec.reset(avcodec_alloc_context3(c));
    if (!codec || avcodec_parameters_to_context(codec.get(), st->codecpar) < 0) return false;
    // mp3 packets carry their frame's first sample as timestamp; others keep
    // the container's (without it FFmpeg loses the LAME delay skip).
    codec->pkt_timebase = mp3 ? AVRational{1, srcRate} : st->time_base;
    return avcodec_open2(codec.get(), c, nullptr) >= 0;
  }

  // The first packet tells where the sound starts and how much the decoder
  // skips there; the frames are found from then on by their headers.
  bool openMp3(const std::string& path) {
    if (av_read_frame(format, packet) < 0) return false;
    const int64_t firstAudio = packet->pos;
    size_t size = 0;
    const uint8_t* skip = av_packet_get_side_data(packet, AV_PKT_DATA_SKIP_SAMPLES, &size);
    mp3Skip = skip && size >= 4 ? AV_RL32(skip) : 0;
    av_packet_unref(packet);
    mp3 = std::make_unique<Mp3Frames>();
    if (firstAudio < 0 || !mp3->open(path, firstAudio)) return false;
    srcRate = mp3->rate();
    if (mp3Skip > 0 && mp3->endPadding() >= 0 && mp3->frameCount() > 0)
      srcEnd = mp3->frameCount() * mp3->samplesPerFrame() - mp3->endPadding() + kMp3DecoderDelay -
               mp3Skip;
    return true;
  }

  // The best audio stream; without the stream information read ahead,
  // FFmpeg's choice needs one: the first audio stream then.
  int audioStream() const {
    const int best = av_find_best_stream(format, AVMEDIA_TYPE_AUDIO, -1, -1, nullptr, 0);
    if (best >= 0) return best;
    for (unsigned i = 0; i < format->nb_streams; ++i)
      if (format->streams[i]->codecpar->codec_type == AVMEDIA_TYPE_AUDIO)
        return static_cast<int>(i);
    return -1;
  }

  bool open(const std::string& path) {
    if (avformat_open_input(&format, path.c_str(), nullptr, nullptr) < 0) return false;
    // mp3, ASF and WAV headers name the codec (mp3 frames their rate):
    // reading ahead for the stream information costs time on long files.
    const AVCodecParameters* first =
        format->nb_streams > 0 ? format->streams[0]->codecpar : nullptr;
    const bool named = first && first->codec_type == AVMEDIA_TYPE_AUDIO &&
                       (first->codec_id == AV_CODEC_ID_MP3 ||
                        (first->codec_id != AV_CODEC_ID_NONE && first->sample_rate > 0));
    if (!named && avformat_find_stream_info(format, nullptr) < 0) return false;
    const int index = audioStream();
    if (index < 0) return false;
    for (unsigned i = 0; i < format->nb_streams; ++i)
      if (static_cast<int>(i) != index) format->streams[i]->discard = AVDISCARD_ALL;
    st = format->streams[index];
    packet = av_packet_alloc();
    frame = av_frame_alloc();
    if (!packet || !frame) return false;
    const AVCodecID id = st->codecpar->codec_id;
    if (id == AV_CODEC_ID_MP3 && !openMp3(path)) return false;
    if (!mp3) srcRate = st->codecpar->sample_rate;
    if (srcRate <= 0) return false;
    if (id == AV_CODEC_ID_WMAV1 || id == AV_CODEC_ID_WMAV2)
      wmaFrame = wmaFrameLength(srcRate, id == AV_CODEC_ID_WMAV1);
    return openCodec();
  }

  int64_t knownEnd() const {
    if (srcEnd >= 0) return srcEnd;
    if (mp3 && mp3->frameCount() >= 0) return mp3->frameCount() * mp3->samplesPerFrame() - mp3Skip;
    return -1;
  }

  // Media frames of the whole sound: known for mp3, the container's word for
  // others.
  int64_t estimatedFrames() const {
    const int64_t end = knownEnd();
    if (end >= 0) return toMedia(end);
    return st->duration > 0 ? av_rescale_q(st->duration, st->time_base, AVRational{1, kRate}) : 0;
  }

  // Starts decoding far enough before the target; false while the mp3 walk
  // has not reached it.
  bool position() {
    const int64_t srcTarget = toSource(startFrame);
    avcodec_flush_buffers(codec.get());
    swr_free(&swr);
    originKnown = false;
    discard = silence = 0;
    ended = false;
    nextOut = startFrame;
    if (mp3) {
      const int64_t spf = mp3->samplesPerFrame();
      int64_t i = (srcTarget + mp3Skip) / spf - kMp3PrerollFrames * (1 + backoff);
      fromFileStart = i <= 0;
      i = std::max<int64_t>(0, i);
      switch (mp3->locate(i, &mp3Offset)) {
        case Mp3Frames::Found::NotYet:
          return false;
        case Mp3Frames::Found::Past:
          ended = true;
          nextOut = std::max<int64_t>(0, toMedia(knownEnd()));
          break;
        case Mp3Frames::Found::Yes:
          mp3Next = i;
          break;
      }
    } else {
      const int64_t from = srcTarget - int64_t{srcRate} / 10 * (1 + backoff);
      fromFileStart = from <= 0;
      const int64_t ts =
          av_rescale_q(std::max<int64_t>(0, from), AVRational{1, srcRate}, st->time_base);
      // A seek the container refuses lies past its end.
      if (av_seek_frame(format, st->index, ts, AVSEEK_FLAG_BACKWARD) < 0 && !fromFileStart) {
        ended = true;
        nextOut = std::min(nextOut, estimatedFrames());
      }
    }
    pendingStart = false;
    return true;
  }

  // The next packet of the stream into `packet`; false at the end.
  bool nextPacket() {
    if (mp3) {
      const int size = mp3->readFrame(mp3Offset, frameBytes, AV_INPUT_BUFFER_PADDING_SIZE);
      if (size <= 0) return false;
      packet->data = frameBytes.data();
      packet->size = size;
      packet->pts = mp3Next * mp3->samplesPerFrame() - mp3Skip;
      mp3Offset += size;
      ++mp3Next;
      return true;
    }
    while (av_read_frame(format, packet) >= 0) {
      if (packet->stream_index == st->index) return true;
      av_packet_unref(packet);
    }
    return false;
  }

  // The source sample at which the whole-file decode puts this frame's first
  // sample.
  int64_t originOf(const AVFrame* f) const {
    if (mp3) return f->pts;
    const int64_t src = av_rescale_q(f->pts, st->time_base, AVRational{1, srcRate});
    if (!wmaFrame) return src;
    // WMA timestamps are whole milliseconds: they snap to the frame grid. A
    // frame's output completes the frame before it (the transform overlaps),
    // so it sounds one frame earlier than its packet's time.
    return (src + wmaFrame / 2) / wmaFrame * wmaFrame - wmaFrame;
  }

  // Fixes how much of the decoded output to discard. False when the first
  // output lies past the target and decoding must start earlier.
  bool placeOrigin(const AVFrame* f) {
    if (f->pts == AV_NOPTS_VALUE) return false;  // placed by a later frame
    originKnown = true;
    discard = startFrame - toMedia(originOf(f));
    if (discard >= 0) return true;
    if (fromFileStart) {
      silence = -discard;  // nothing earlier to decode
      discard = 0;
      return true;
    }
    if (backoff >= kMaxBackoff) {
      discard = 0;
      return true;
    }
    ++backoff;
    pendingStart = true;
    return false;
  }

  bool configureResampler(AVFrame* f) {
    AVChannelLayout mono = AV_CHANNEL_LAYOUT_MONO;
    return swr_alloc_set_opts2(&swr, &mono, AV_SAMPLE_FMT_S16, kRate, &f->ch_layout,
                               static_cast<AVSampleFormat>(f->format), f->sample_rate, 0,
                               nullptr) >= 0 &&
           swr_init(swr) >= 0;
  }

  // Converts the decoded frame (or, with nullptr, the resampler's tail) to
  // mono int16 at the device rate and appends what lies between the discard
  // and the end of the sound.
  void emit(AVFrame* f, std::vector<int16_t>& out) {
    if (!swr && (!f || !configureResampler(f))) return;
    const int inFrames = f ? f->nb_samples : 0;
    const int room = swr_get_out_samples(swr, inFrames);
    if (room <= 0) return;
    converted.resize(static_cast<size_t>(room));
    uint8_t* dst = reinterpret_cast<uint8_t*>(converted.data());
    const int got = swr_convert(
        swr, &dst, room, f ? const_cast<const uint8_t**>(f->extended_data) : nullptr, inFrames);
    if (got <= 0) return;
    const int64_t skip = std::min<int64_t>(discard, got);
    discard -= skip;
    int64_t n = got - skip;
    if (srcEnd >= 0) n = std::clamp<int64_t>(toMedia(srcEnd) - nextOut, 0, n);
    out.insert(out.end(), converted.begin() + skip, converted.begin() + skip + n);
    nextOut += n;
  }

  void emitSilence(int64_t n, std::vector<int16_t>& out) {
    out.insert(out.end(), static_cast<size_t>(n), 0);
    nextOut += n;
    silence -= n;
  }

  // Hands what the decoder has ready to emit(). False when decoding must
  // start again earlier.
  bool receive(std::vector<int16_t>& out) {
    while (avcodec_receive_frame(codec.get(), frame) >= 0) {
      if (!originKnown && !placeOrigin(frame)) {
        av_frame_unref(frame);
        if (pendingStart) return false;
        continue;
      }
      if (silence > 0) emitSilence(silence, out);
      emit(frame, out);
      av_frame_unref(frame);
    }
    return true;
  }

  // The sound ended: a target past it holds at its end.
  void endHere() {
    ended = true;
    if (!originKnown) nextOut = std::min(nextOut, estimatedFrames());
    if (discard > 0) nextOut -= discard;
    const int64_t end = knownEnd();
    if (end >= 0) nextOut = std::min(nextOut, toMedia(end));
  }

  Read read(std::vector<int16_t>& out) {
    if (pendingStart && !position()) return Read::NeedIndex;
    if (ended) return Read::End;
    if (silence > 0) {
      emitSilence(std::min<int64_t>(silence, 4096), out);
      return Read::Samples;
    }
    if (!nextPacket()) {
      // A decoder with delay gives its last frames only when drained.
      if (avcodec_send_packet(codec.get(), nullptr) >= 0) receive(out);
      if (swr) emit(nullptr, out);
      endHere();
      return out.empty() ? Read::End : Read::Samples;
    }
    const bool sent = avcodec_send_packet(codec.get(), packet) >= 0;
    if (mp3) {
      packet->data = nullptr;
      packet->size = 0;
    } else {
      av_packet_unref(packet);
    }
    if (sent) receive(out);
    return Read::Samples;
  }
};

LessonSource::LessonSource() = default;
LessonSource::~LessonSource() = default;

bool LessonSource::open(const std::string& path) {
  close();
  s_ = std::make_unique<State>();
  if (!s_->open(path)) s_.reset();
  return s_ != nullptr;
}

void LessonSource::close() { s_.reset(); }
bool LessonSource::valid() const { return s_ != nullptr; }
bool LessonSource::indexComplete() const { return !s_ || !s_->mp3 || s_->mp3->indexComplete(); }
void LessonSource::indexMore(int64_t bytes) {
  if (s_ && s_->mp3) s_->mp3->indexMore(bytes);
}
size_t LessonSource::indexBytes() const { return s_ && s_->mp3 ? s_->mp3->indexBytes() : 0; }

int64_t LessonSource::totalFrames() const { return s_ ? s_->estimatedFrames() : 0; }

void LessonSource::startAt(int64_t mediaFrame) {
  if (!s_) return;
  s_->startFrame = std::max<int64_t>(0, mediaFrame);
  s_->pendingStart = true;
  s_->backoff = 0;
}

LessonSource::Read LessonSource::read(std::vector<int16_t>& out) {
  return s_ ? s_->read(out) : Read::End;
}

int64_t LessonSource::endFrame() const { return s_ ? s_->nextOut : 0; }

}  // namespace platform::audio
