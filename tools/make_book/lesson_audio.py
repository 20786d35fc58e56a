"""Lesson audio: espeak-ng speaks each sentence, the sentences are joined with
silent gaps, and the lesson is encoded (mp3 with lame, wma with FFmpeg).

Times come from sample counts of the joined source. The encoded file is then
decoded the way the player decodes it, its offset against the source is
measured (0 for mp3, whose LAME header carries the encoder delay; wmav2 shifts
the timeline by a frame) and every stretch is checked to hold speech while the
gaps between stretches stay silent.
"""

import array
import math
import shutil
import subprocess
import tempfile
import wave
from dataclasses import dataclass
from pathlib import Path

RATE = 22050  # espeak-ng's own rate; kept to the end so no resampling is needed
SPEECH_FLOOR = 64  # a sample above this is speech (espeak-ng's silence is exact zero)
WINDOW = RATE // 100  # 10 ms analysis windows
SILENT_RMS = 60  # a window below this RMS is silence (about -55 dBFS)
SPEECH_RMS = 600  # a stretch's RMS is at least this


@dataclass
class Timing:
    lead_s: float = 0.6  # silence before the first sentence
    gap_s: float = 1.0  # silence between sentences
    margin_s: float = 0.08  # each stretch reaches this far into the silence around it
    tail_s: float = 0.6  # silence after the last sentence


class AudioError(RuntimeError):
    pass


def run(command, **kwargs):
    try:
        return subprocess.run(command, check=True, capture_output=True, **kwargs)
    except FileNotFoundError:
        raise AudioError(f"{command[0]} is not installed") from None
    except subprocess.CalledProcessError as error:
        raise AudioError(f"{command[0]} failed: {error.stderr.decode(errors='replace')}") from None


def read_wav(path):
    with wave.open(str(path)) as wav:
        if (wav.getnchannels(), wav.getsampwidth(), wav.getframerate()) != (1, 2, RATE):
            raise AudioError(f"{path}: expected mono 16-bit {RATE} Hz")
        return array.array("h", wav.readframes(wav.getnframes()))


def write_wav(path, samples, rate=RATE):
    with wave.open(str(path), "wb") as wav:
        wav.setnchannels(1)
        wav.setsampwidth(2)
        wav.setframerate(rate)
        wav.writeframes(samples.tobytes())


def speak(text, voice, words_per_minute, scratch):
    """The sentence spoken, without espeak-ng's own silence before and after."""
    path = Path(scratch) / "sentence.wav"
    run(["espeak-ng", "-v", voice, "-s", str(words_per_minute), "-w", str(path), "--", text])
    samples = read_wav(path)
    loud = [i for i, value in enumerate(samples) if abs(value) > SPEECH_FLOOR]
    if not loud:
        raise AudioError(f"espeak-ng said nothing for {text!r}")
    return samples[loud[0] : loud[-1] + 1]


def join_sentences(speeches, timing):
    """The lesson's samples and each sentence's [first, last) sample."""
    lesson = array.array("h", bytes(2 * round(timing.lead_s * RATE)))
    gap = array.array("h", bytes(2 * round(timing.gap_s * RATE)))
    spans = []
    for index, speech in enumerate(speeches):
        if index:
            lesson.extend(gap)
        spans.append((len(lesson), len(lesson) + len(speech)))
        lesson.extend(speech)
    lesson.extend(array.array("h", bytes(2 * round(timing.tail_s * RATE))))
    return lesson, spans


def encode(wav_path, out_path, kilobits):
    if out_path.suffix == ".mp3":
        # Average bit rate keeps the LAME header (CBR frames at this rate are
        # too small for it), so decoders remove the encoder delay exactly.
        run(["lame", "--quiet", "-m", "m", "--abr", str(kilobits), str(wav_path), str(out_path)])
    else:
        run(["ffmpeg", "-y", "-v", "error", "-i", str(wav_path), "-c:a", "wmav2",
             "-b:a", f"{kilobits}k", "-map_metadata", "-1", "-fflags", "+bitexact",
             "-flags:a", "+bitexact", str(out_path)])


def decode(path, rate=RATE):
    """The file as the player hears it: mono 16-bit at `rate`."""
    out = run(["ffmpeg", "-v", "error", "-i", str(path), "-f", "s16le", "-ac", "1",
               "-ar", str(rate), "-"]).stdout
    return array.array("h", out[: len(out) // 2 * 2])


def _correlation(a, b, lag, start, length, step=1):
    total = 0
    for i in range(start, start + length, step):
        j = i + lag
        if 0 <= j < len(b):
            total += a[i] * b[j]
    return total


def measure_offset(source, decoded, onset, reach=4096):
    """Samples by which the decoded timeline lags the source (may be negative)."""
    block = 64
    envelope = lambda s: [sum(abs(v) for v in s[k : k + block]) for k in range(0, len(s), block)]
    start = max(0, onset - 2 * reach)
    length = 4 * reach
    src_env = envelope(source[start : start + length + 2 * reach])
    dec_env = envelope(decoded[start : start + length + 2 * reach])
    blocks = reach // block
    coarse = max(
        range(-blocks, blocks + 1),
        key=lambda lag: _correlation(src_env, dec_env, lag, blocks, len(src_env) - 2 * blocks),
    )
    window = min(4096, len(source) - onset)
    return max(
        range(coarse * block - 2 * block, coarse * block + 2 * block + 1),
        key=lambda lag: _correlation(source, decoded, lag, onset, window),
    )


def longest_silence(samples, first, last):
    """Longest run of silent 10 ms windows in [first, last), in samples."""
    longest = run_length = 0
    for k in range(first, last, WINDOW):
        chunk = samples[k : min(k + WINDOW, last)]
        if rms(chunk) < SILENT_RMS:
            run_length += len(chunk)
            longest = max(longest, run_length)
        else:
            run_length = 0
    return longest


def rms(chunk):
    return math.sqrt(sum(v * v for v in chunk) / len(chunk)) if len(chunk) else 0.0


def is_silent(samples, first, last):
    return longest_silence(samples, first, last) >= last - first


def check_stretches(decoded, stretches, where):
    """Every stretch holds speech with no sentence-long pause inside, begins and
    ends in silence, and all audio outside the stretches is silent."""
    max_pause = round(0.6 * RATE)
    edge = round(0.03 * RATE)
    previous_end = 0
    for number, (start_s, end_s) in enumerate(stretches, start=1):
        first, last = round(start_s * RATE), round(end_s * RATE)
        if not previous_end <= first < last <= len(decoded):
            raise AudioError(f"{where} sentence {number}: stretch {start_s}-{end_s} out of order or range")
        if not is_silent(decoded, previous_end, first):
            raise AudioError(f"{where} sentence {number}: speech before its stretch")
        if rms(decoded[first:last]) < SPEECH_RMS:
            raise AudioError(f"{where} sentence {number}: the stretch holds no speech")
        if not (is_silent(decoded, first, first + edge) and is_silent(decoded, last - edge, last)):
            raise AudioError(f"{where} sentence {number}: the stretch cuts into speech")
        if longest_silence(decoded, first, last) > max_pause:
            raise AudioError(f"{where} sentence {number}: the stretch holds more than one sentence")
        previous_end = last
    if not is_silent(decoded, previous_end, len(decoded)):
        raise AudioError(f"{where}: speech after the last stretch")


def make_lesson_audio(texts, out_path, voice, words_per_minute, kilobits, timing=Timing()):
    """Writes the lesson audio; returns (start_s, end_s) for each sentence."""
    with tempfile.TemporaryDirectory() as scratch:
        speeches = [speak(text, voice, words_per_minute, scratch) for text in texts]
        source, spans = join_sentences(speeches, timing)
        wav_path = Path(scratch) / "lesson.wav"
        write_wav(wav_path, source)
        encoded = Path(scratch) / ("lesson" + out_path.suffix)
        encode(wav_path, encoded, kilobits)
        decoded = decode(encoded)
        offset = measure_offset(source, decoded, spans[0][0])
        margin = timing.margin_s * RATE
        # Whole milliseconds, rounded outwards so no sample of speech is lost.
        stretches = [
            (
                max(0, math.floor((first - margin + offset) * 1000 / RATE)) / 1000,
                math.ceil((last + margin + offset) * 1000 / RATE) / 1000,
            )
            for first, last in spans
        ]
        check_stretches(decoded, stretches, out_path.name)
        out_path.parent.mkdir(parents=True, exist_ok=True)
        partial = out_path.with_name(out_path.name + ".part")
        shutil.copyfile(encoded, partial)
        partial.replace(out_path)
        return stretches, offset, len(decoded) / RATE
