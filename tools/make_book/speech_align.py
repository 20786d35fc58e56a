"""Finding sentence stretches in a recording.

A bare transcript is aligned word by word to the speech with PocketSphinx
(its US English acoustic model) under a grammar that accepts exactly the
transcript's words in order, with optional pauses between any two. A pause at
a comma is then just a pause between two words of one sentence, and two
sentences spoken with almost no pause are still parted where the last word of
one meets the first word of the next. Silence detection alone cannot tell a
comma's pause from a sentence's.

The word times are then settled against the audio's loudness: each sentence
boundary is put in the quiet stretch nearest the aligned one, so a stretch
begins and ends in the pause around its sentence and never reaches into a
neighbour's speech.
"""

import bisect
import math
import re
import tempfile
from dataclasses import dataclass
from pathlib import Path

from lesson_audio import run

ANALYSIS_RATE = 16000  # the acoustic model's rate
FRAME = ANALYSIS_RATE // 100  # 10 ms, the aligner's frame
MODEL = Path("/usr/share/pocketsphinx/model/en-us")
MARGIN_S = 0.08  # a stretch reaches this far into the pause around its speech
SEARCH_S = 0.25  # how far from the aligned boundary a quiet frame is looked for
WORD_S = 0.25  # speech shorter than this is a sound of a word, not a word


class AlignError(RuntimeError):
    pass


@dataclass
class Loudness:
    """Frame levels of a recording (dB, 10 ms frames) and the level above which
    a frame counts as speech."""

    levels: list
    threshold: float
    floor: float  # the level of the quiet between sentences

    @classmethod
    def of(cls, samples):
        levels = []
        for k in range(0, len(samples), FRAME):
            chunk = samples[k : k + FRAME]
            power = sum(v * v for v in chunk) / len(chunk)
            levels.append(10 * math.log10(power + 1.0))
        ordered = sorted(levels) or [0.0]
        floor = ordered[len(ordered) // 10]
        peak = ordered[min(len(ordered) - 1, len(ordered) * 95 // 100)]
        # Far enough above the noise floor to skip hiss, low enough to keep the
        # soft ends of words (a final "s" or "f").
        return cls(levels, floor + max(4.0, 0.2 * (peak - floor)), floor)

    def loud(self, frame):
        return 0 <= frame < len(self.levels) and self.levels[frame] > self.threshold

    def above_floor(self, frame):
        # A word's fading end: too soft to count as speech, still above the quiet.
        return 0 <= frame < len(self.levels) and self.levels[frame] > self.floor + 3.0

    def fade_out(self, frame, limit):
        """The frame where a sound that stops being loud at `frame` has faded
        into the quiet, at most `limit`."""
        while frame < limit and self.above_floor(frame):
            frame += 1
        return frame

    def fade_in(self, frame, limit):
        """The frame where a sound that becomes loud at `frame` rose from the
        quiet, at least `limit`."""
        while frame > limit and self.above_floor(frame - 1):
            frame -= 1
        return frame

    @property
    def seconds(self):
        return len(self.levels) / 100


def _frame(seconds):
    return int(round(seconds * 100))


def last_speech_end(loudness, first_s, limit_s):
    """End (s) of the speech that is loud last in [first_s, limit_s), with its
    fading end, or None."""
    for frame in range(_frame(limit_s) - 1, _frame(first_s) - 1, -1):
        if loudness.loud(frame):
            return loudness.fade_out(frame + 1, _frame(limit_s)) / 100
    return None


def first_speech_start(loudness, first_s, limit_s):
    for frame in range(_frame(first_s), _frame(limit_s)):
        if loudness.loud(frame):
            return loudness.fade_in(frame, _frame(first_s)) / 100
    return None


def ends_from_starts(loudness, starts, limits):
    """For cues that give only a start: each end is the end of speech before
    the cue's limit (the next start, or an explicit end), plus a margin, never
    past the limit. None where the cue holds no speech."""
    ends = []
    for start, limit in zip(starts, limits):
        speech_end = last_speech_end(loudness, start, limit)
        ends.append(None if speech_end is None else min(speech_end + MARGIN_S, limit))
    return ends


def _runs(holds, first, last):
    """Runs [a, b) of the frames in [first, last) for which holds(frame)."""
    runs, begin = [], None
    for frame in range(first, last):
        if holds(frame):
            begin = frame if begin is None else begin
        elif begin is not None:
            runs.append((begin, frame))
            begin = None
    if begin is not None:
        runs.append((begin, last))
    return runs


def _quiet_runs(loudness, first, last):
    return _runs(lambda frame: not loudness.loud(frame), first, last)


def _quiet_near(loudness, at_s):
    """The whole quiet run that an aligned edge lies in or next to (the
    aligner's edges are good to a few frames); failing that, the longest quiet
    in reach, rather than the hold before a "t" close to the edge. None when
    all is loud."""
    runs = _quiet_runs(loudness, _frame(at_s - SEARCH_S), _frame(at_s + SEARCH_S))
    lo, hi = _frame(at_s - 0.05), _frame(at_s + 0.05)
    near = [r for r in runs if r[1] > lo and r[0] < hi] or runs
    if not near:
        return None
    begin, end = max(near, key=lambda r: (min(r[1], hi) - max(r[0], lo), r[1] - r[0]))
    while begin > 0 and not loudness.loud(begin - 1):
        begin -= 1
    while end < len(loudness.levels) and not loudness.loud(end):
        end += 1
    return begin, end


def settle_boundary(loudness, end_s, next_start_s):
    """The aligned end of one sentence and start of the next, moved into the
    quiet around them: returns (stretch end, next stretch start) in seconds.
    Speech the aligner left between them stays outside both stretches."""
    after, before = _quiet_near(loudness, end_s), _quiet_near(loudness, next_start_s)
    after, before = after or before, before or after
    if after is None:  # no pause at all: part them where the aligner did
        middle = (end_s + next_start_s) / 2
        return middle, middle
    # One pause between them, or two parted by less than a word (the hold and
    # the release of a final "t"): the longer is the pause between sentences.
    if after[0] >= before[0] or before[0] - after[1] < _frame(WORD_S):
        after = before = max(after, before, key=lambda r: r[1] - r[0])
    end_middle, start_middle = (after[0] + after[1]) / 200, (before[0] + before[1]) / 200
    speech_end = loudness.fade_out(after[0], (after[0] + after[1]) // 2) / 100
    speech_start = loudness.fade_in(before[1], (before[0] + before[1]) // 2) / 100
    return min(speech_end + MARGIN_S, end_middle), max(speech_start - MARGIN_S, start_middle)


def settle_stretches(loudness, spans):
    """Sentence stretches from aligned (first word start, last word end) spans."""
    stretches = [[start, end] for start, end in spans]
    for left, right in zip(stretches, stretches[1:]):
        left[1], right[0] = settle_boundary(loudness, left[1], right[0])
    first, last = stretches[0], stretches[-1]
    onset = first_speech_start(loudness, max(0.0, first[0] - SEARCH_S), first[1])
    first[0] = max(0.0, (first[0] if onset is None else onset) - MARGIN_S)
    offset = last_speech_end(loudness, last[0], min(loudness.seconds, last[1] + SEARCH_S))
    last[1] = min(loudness.seconds, (last[1] if offset is None else offset) + MARGIN_S)
    return [tuple(s) for s in stretches]


# --- words and their sounds ------------------------------------------------

# espeak-ng's IPA for English, as the model's phones (longest symbols first).
IPA_PHONES = sorted(
    {
        "aɪ": "AY", "aʊ": "AW", "eɪ": "EY", "oʊ": "OW", "əʊ": "OW", "ɔɪ": "OY", "tʃ": "CH",
        "dʒ": "JH", "iə": "IY AH", "eə": "EH R", "ʊə": "UH R", "i": "IY", "ɪ": "IH",
        "ᵻ": "IH", "e": "EH", "ɛ": "EH", "æ": "AE", "a": "AE", "ɑ": "AA", "ɒ": "AA",
        "ɔ": "AO", "o": "OW", "ʌ": "AH", "ə": "AH", "ɐ": "AH", "ɚ": "ER", "ɜ": "ER",
        "ɝ": "ER", "ʊ": "UH", "u": "UW", "p": "P", "b": "B", "t": "T", "d": "D", "k": "K",
        "ɡ": "G", "g": "G", "f": "F", "v": "V", "θ": "TH", "ð": "DH", "s": "S", "z": "Z",
        "ʃ": "SH", "ʒ": "ZH", "h": "HH", "x": "HH", "m": "M", "n": "N", "ŋ": "NG", "l": "L",
        "ɫ": "L", "ɬ": "L", "ɹ": "R", "r": "R", "ɾ": "D", "j": "Y", "w": "W",
    }.items(),
    key=lambda item: -len(item[0]),
)


def ipa_to_phones(ipa):
    phones, at = [], 0
    while at < len(ipa):
        for symbol, phone in IPA_PHONES:
            if ipa.startswith(symbol, at):
                phones.append(phone)
                at += len(symbol)
                break
        else:
            at += 1  # stress and length marks, syllable marks, word breaks
    return " ".join(phones)


def words_of(english):
    """The spoken words of a sentence, as lower-case tokens."""
    return [w.strip("'").lower() for w in re.findall(r"[A-Za-z0-9']+", english) if w.strip("'")]


def pronunciations(words):
    """word -> [phone strings]: the model's dictionary, else espeak-ng's reading."""
    needed, found = set(words), {}
    with open(MODEL / "cmudict-en-us.dict", encoding="utf-8") as dictionary:
        for line in dictionary:
            word, _, phones = line.partition(" ")
            base = word.split("(")[0]
            if base in needed:
                found.setdefault(base, []).append(phones.strip())
    for word in needed - found.keys():
        ipa = run(["espeak-ng", "-q", "--ipa", "-v", "en-us", "--", word]).stdout
        phones = ipa_to_phones(ipa.decode("utf-8", errors="replace"))
        if not phones:
            raise AlignError(f"no pronunciation for {word!r}")
        found[word] = [phones]
    return found


# --- the aligner -------------------------------------------------------------


def _decoder(dictionary_path):
    try:
        from pocketsphinx import Decoder
    except ImportError:
        raise AlignError("PocketSphinx is not installed (Debian: python3-pocketsphinx pocketsphinx-en-us)") from None
    if not (MODEL / "en-us").is_dir():
        raise AlignError(f"the US English model is not installed ({MODEL}; Debian: pocketsphinx-en-us)")

    config = Decoder.default_config()
    config.set_string("-hmm", str(MODEL / "en-us"))
    config.set_string("-dict", str(dictionary_path))
    config.set_string("-logfn", "/dev/null")
    config.set_boolean("-remove_silence", False)  # keep every frame: frames are the clock
    # Digital silence (exact zeros) gives the features no footing and loses
    # the path; a trace of noise, the same on every run, restores it.
    config.set_boolean("-dither", True)
    config.set_int("-seed", 1)
    config.set_float("-beam", 1e-120)  # wide beams: a forced alignment must not lose its path
    config.set_float("-wbeam", 1e-100)
    config.set_float("-pbeam", 1e-120)
    return Decoder(config)


def _chain(sentences, nested):
    """The grammar's words: every word position is its own dictionary entry
    (w0, w1 ...), so the grammar is a chain of tokens whatever the spelling.
    Nested, the chain may end after any sentence (to see how far it matches)."""
    position, parts = 0, []
    for sentence in sentences:
        parts.append(" ".join(f"w{position + k}" for k in range(len(sentence))))
        position += len(sentence)
    if not nested:
        return " ".join(parts)
    return parts[0] + "".join(f" [ {part}" for part in parts[1:]) + " ]" * (len(parts) - 1)


def _decode(decoder, name, body, samples16k):
    decoder.set_jsgf_string(name, f"#JSGF V1.0;\ngrammar {name};\npublic <{name}> = {body} ;\n")
    decoder.set_search(name)
    decoder.start_utt()
    decoder.process_raw(samples16k.tobytes(), False, True)
    decoder.end_utt()
    return [(s.word, s.start_frame, s.end_frame) for s in decoder.seg()]


def _last_position(segments):
    positions = [int(word[1:].split("(")[0]) for word, _, _ in segments if word.startswith("w")]
    return max(positions, default=-1)


def align_words(samples16k, sentences, labels):
    """sentences: list of word lists. Returns for each sentence the aligned
    (start_s, end_s, phone_count, spoken_s) of its words, spoken_s the time
    its words take without the pauses between them. Raises AlignError naming the
    first sentence the speech could not be matched to."""
    words = [w for sentence in sentences for w in sentence]
    sounds = pronunciations(words)
    owner = [i for i, sentence in enumerate(sentences) for _ in sentence]
    with tempfile.TemporaryDirectory() as scratch:
        dictionary = Path(scratch) / "lesson.dict"
        with open(dictionary, "w", encoding="utf-8") as out:
            for position, word in enumerate(words):
                for variant, phones in enumerate(sounds[word]):
                    suffix = f"({variant + 1})" if variant else ""
                    out.write(f"w{position}{suffix} {phones}\n")
        decoder = _decoder(dictionary)
        segments = _decode(decoder, "lesson", _chain(sentences, nested=False), samples16k)
        if _last_position(segments) < len(words) - 1:
            # Find how far the text matches the speech to name the first line that does not.
            reached = _last_position(_decode(decoder, "prefix", _chain(sentences, nested=True), samples16k))
            line = owner[reached + 1] if reached + 1 < len(words) else len(sentences) - 1
            raise AlignError(f"{labels[line]}: the speech could not be matched to the text from this line on")
    spans = [None] * len(sentences)
    for word, first, last in segments:
        if not word.startswith("w"):
            continue  # pauses and noises
        position = int(word[1:].split("(")[0])
        i = owner[position]
        phones = len(sounds[words[position]][0].split())
        start, end, count, spoken = spans[i] or (first / 100, (last + 1) / 100, 0, 0.0)
        spans[i] = (min(start, first / 100), max(end, (last + 1) / 100), count + phones,
                    spoken + (last + 1 - first) / 100)
    return spans


def check_spans(spans, labels):
    """Faults that show the text and the speech do not match, one string each."""
    faults = []
    for label, (_, _, phones, spoken) in zip(labels, spans):
        # Speech runs at 50 to 150 ms a sound; the aligner gives each at least 30.
        per_phone = spoken / max(1, phones)
        if per_phone < 0.04:
            faults.append(f"{label}: its words fit into {spoken:.2f} s of audio; is it spoken in the recording?")
        elif per_phone > 0.4:
            faults.append(f"{label}: its words take {spoken:.2f} s; does the recording say more than the text?")
    return faults


def unclaimed_speech(loudness, stretches, least_s=WORD_S):
    """Speech of at least least_s outside every stretch, as (start, end) in
    seconds; the parts between the same two stretches are told as one."""
    inside = [False] * len(loudness.levels)
    for start, end in stretches:
        for frame in range(_frame(start), min(len(inside), _frame(end))):
            inside[frame] = True
    runs = _runs(lambda frame: loudness.loud(frame) and not inside[frame], 0, len(inside))
    runs = [(a / 100, b / 100) for a, b in runs if (b - a) / 100 >= least_s]
    starts = [start for start, _ in stretches]
    joined = []
    for start, end in runs:
        if joined and bisect.bisect(starts, start) == bisect.bisect(starts, joined[-1][0]):
            joined[-1] = (joined[-1][0], end)
        else:
            joined.append((start, end))
    return joined


def _where_in_text(at_s, stretches, labels):
    before = [label for label, (start, _) in zip(labels, stretches) if start < at_s]
    after = [label for label, (start, _) in zip(labels, stretches) if start >= at_s]
    if not before:
        return f"before {after[0]}"
    return f"after {before[-1]}" if not after else f"between {before[-1]} and the next line"


def align_transcript(samples16k, englishes, labels):
    """Stretches (start_s, end_s) holding each sentence of the transcript;
    labels name each sentence's line in messages."""
    sentences = [words_of(english) for english in englishes]
    for label, words in zip(labels, sentences):
        if not words:
            raise AlignError(f"{label}: no words to find in the speech")
    loudness = Loudness.of(samples16k)
    spans = align_words(samples16k, sentences, labels)
    faults = check_spans(spans, labels)
    stretches = settle_stretches(loudness, [(start, end) for start, end, _, _ in spans])
    for start, end in unclaimed_speech(loudness, stretches):
        faults.append(f"the speech at {start:.2f}-{end:.2f} s, {_where_in_text(start, stretches, labels)}, "
                      "is in no line; is a line missing from the text?")
    if faults:
        raise AlignError("; ".join(faults))
    return stretches

