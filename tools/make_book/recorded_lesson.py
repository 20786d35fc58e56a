"""A lesson made from a recording: its sentence stretches come from timed text
or from aligning a transcript to the speech, and the recording becomes the
lesson audio (copied as it is when it already has the book's format, else
encoded, with the times moved by the encoder's shift of the timeline)."""

import math
import shutil
import tempfile
from pathlib import Path

from book_files import FormatError
from lesson_audio import RATE, AudioError, decode, encode, measure_offset, run, write_wav
from speech_align import ANALYSIS_RATE, AlignError, Loudness, align_transcript, ends_from_starts
from timed_text import check_cue_order

# The container and codecs of each lesson audio extension: a recording in
# them is the lesson audio as it is.
KEPT_FORMATS = {".mp3": ("mp3", ("mp3",)), ".wma": ("asf", ("wmav1", "wmav2"))}


def decode_recording(path, rate):
    try:
        samples = decode(path, rate)
    except AudioError as error:
        raise AudioError(f"{path}: cannot be decoded ({str(error).strip()})") from None
    if not samples:
        raise AudioError(f"{path}: holds no audio")
    return samples


def is_kept_as_is(path, extension):
    out = run(["ffprobe", "-v", "error", "-select_streams", "a:0", "-show_entries",
               "format=format_name:stream=codec_name", "-of", "default=noprint_wrappers=1", str(path)]).stdout
    found = dict(line.split("=", 1) for line in out.decode().splitlines() if "=" in line)
    container, codecs = KEPT_FORMATS[extension]
    return found.get("format_name") == container and found.get("codec_name") in codecs


def cue_stretches(cues, loudness, recording):
    """(start, end) of each cue; ends LRC leaves out are found in the audio."""
    check_cue_order(cues, loudness.seconds, recording.name)
    open_cues = [cue for cue in cues if cue.end is None]
    limits = [min(cue.limit or loudness.seconds, loudness.seconds) for cue in open_cues]
    for cue, end in zip(open_cues, ends_from_starts(loudness, [c.start for c in open_cues], limits)):
        if end is None:
            raise FormatError(f"{cue.sentence.where}: no speech in {recording.name} "
                              f"between {cue.start:.2f} s and the next line")
        cue.end = end
    return [(cue.start, min(cue.end, loudness.seconds)) for cue in cues]


def transcript_stretches(sentences, samples, recording):
    try:
        return align_transcript(samples, [s.english for s in sentences], [s.where for s in sentences])
    except AlignError as error:
        raise FormatError(f"the text cannot be aligned to {recording.name}: {error}") from None


def lesson_audio_file(recording, out_path, kilobits, scratch):
    """Writes the lesson audio; returns the shift (s) of its timeline against
    the recording's."""
    if is_kept_as_is(recording, out_path.suffix):
        shutil.copyfile(recording, out_path)
        return 0.0
    source = decode_recording(recording, RATE)
    wav = Path(scratch) / "recording.wav"
    write_wav(wav, source)
    encode(wav, out_path, kilobits)
    onset = next((i for i, v in enumerate(source) if abs(v) > 512), 0)
    return measure_offset(source, decode(out_path), onset) / RATE


def whole_milliseconds(stretches, duration):
    """Rounded outwards to the millisecond, inside the audio, never overlapping."""
    rounded = [(max(0, math.floor(a * 1000)) / 1000, min(math.ceil(b * 1000) / 1000, duration))
               for a, b in stretches]
    for index in range(len(rounded) - 1):
        if rounded[index][1] > rounded[index + 1][0]:
            rounded[index] = (rounded[index][0], rounded[index + 1][0])
    return rounded


def make_recorded_lesson(recording, out_path, kilobits, sentences=None, cues=None):
    """Stretches (start_s, end_s) of each sentence of the lesson, with the
    lesson audio written to out_path. Either sentences (a transcript, aligned)
    or cues (timed text) are given."""
    samples = decode_recording(recording, ANALYSIS_RATE)
    if cues is not None:
        stretches = cue_stretches(cues, Loudness.of(samples), recording)
    else:
        stretches = transcript_stretches(sentences, samples, recording)
    with tempfile.TemporaryDirectory() as scratch:
        shift = lesson_audio_file(recording, out_path, kilobits, scratch)
    duration = len(decode(out_path, ANALYSIS_RATE)) / ANALYSIS_RATE
    moved = whole_milliseconds([(a + shift, b + shift) for a, b in stretches], duration)
    for sentence, (start, end) in zip(sentences or [cue.sentence for cue in cues], moved):
        if end <= start:
            raise FormatError(f"{sentence.where}: no time left for the sentence in {recording.name} "
                              f"({start:.3f}-{end:.3f} s)")
    return moved, duration
