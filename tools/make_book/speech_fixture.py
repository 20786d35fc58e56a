"""Recordings with known sentence times, for tests and for measuring the
aligner: espeak-ng speaks each part of a sentence (split at its commas) on its
own, and the parts are joined with silences of chosen lengths, so a pause
inside a sentence may be longer than the pause between two sentences."""

import array
import random
import tempfile
from dataclasses import dataclass

from lesson_audio import RATE, speak, write_wav


@dataclass
class Pacing:
    lead_s: float = 0.5  # silence before the first sentence
    comma_s: float = 0.45  # pause at each comma inside a sentence
    gaps_s: tuple = (0.7,)  # pauses between sentences, used in turn
    tail_s: float = 0.5
    voice: str = "en-us"
    rate: int = 150  # words per minute
    snr_db: float = None  # white noise this far below the speech, or none


def _silence(seconds):
    return array.array("h", bytes(2 * round(seconds * RATE)))


def _noise_level(samples, snr_db):
    loud = [v for v in samples if v]
    speech_rms = (sum(v * v for v in loud) / max(1, len(loud))) ** 0.5
    return speech_rms / 10 ** (snr_db / 20)


def _add_noise(samples, sigma, seed=7):
    noise = random.Random(seed)
    return array.array("h", (max(-32768, min(32767, round(v + noise.gauss(0, sigma)))) for v in samples))


def _audible(samples, first, last, sigma):
    """The part of [first, last) whose 10 ms frames stand above the noise: a
    fading end buried in it is heard by no one and found by nothing."""
    window = RATE // 100
    frames = [k for k in range(first, last, window)
              if sum(v * v for v in samples[k : min(k + window, last)]) / window > sigma * sigma]
    return (frames[0], min(last, frames[-1] + window)) if frames else (first, last)


def spoken_lesson(englishes, pacing=Pacing()):
    """(samples at RATE, [(start_s, end_s)] of each sentence's speech). With
    noise, a sentence's speech is the part of it that stands above the noise."""
    lesson, spans = _silence(pacing.lead_s), []
    with tempfile.TemporaryDirectory() as scratch:
        for index, english in enumerate(englishes):
            if index:
                lesson.extend(_silence(pacing.gaps_s[(index - 1) % len(pacing.gaps_s)]))
            first = len(lesson)
            for part_index, part in enumerate(english.split(", ")):
                if part_index:
                    lesson.extend(_silence(pacing.comma_s))
                lesson.extend(speak(part, pacing.voice, pacing.rate, scratch))
            spans.append((first, len(lesson)))
    lesson.extend(_silence(pacing.tail_s))
    if pacing.snr_db is not None:
        sigma = _noise_level(lesson, pacing.snr_db)
        spans = [_audible(lesson, first, last, sigma) for first, last in spans]
        lesson = _add_noise(lesson, sigma)
    return lesson, [(first / RATE, last / RATE) for first, last in spans]


def write_lesson_wav(path, englishes, pacing=Pacing()):
    samples, spans = spoken_lesson(englishes, pacing)
    write_wav(path, samples)
    return spans
