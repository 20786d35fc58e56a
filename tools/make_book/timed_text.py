"""Timed text beside a recording: LRC, SRT and WebVTT. Each cue is one
sentence record. LRC gives only start times; its ends are found in the audio
later (the end of speech before the next start).

LRC is read as LRC players read it: lines are ordered by time, a line may
carry several times, [offset:+ms] moves every line earlier by that much,
[ti:] is the title, other tags ([ar:], [al:], [by:], [length:] ...) are
ignored, word times (<mm:ss.xx>) inside a line are dropped, and a time with
no text marks the end of the line before it.
"""

import html
import itertools
import re
from dataclasses import dataclass, field

from book_files import FormatError
from lesson_texts import make_sentence, merge_lines, read_text, split_fields

LRC_TIME = re.compile(r"\[(\d+):(\d{1,2})(?:[.:](\d{1,3}))?\]")
LRC_TAG = re.compile(r"^\[([A-Za-z#]+):(.*)\]$")
WORD_TIME = re.compile(r"<\d+:\d{1,2}(?:[.:]\d{1,3})?>")
CUE_TIME = r"(?:(\d+):)?(\d{1,2}):(\d{1,2})[,.](\d{1,3})"
CUE_LINE = re.compile(rf"^\s*{CUE_TIME}\s*-->\s*{CUE_TIME}(?:\s.*)?$")
MARKUP = re.compile(r"<[^>]*>|\{\\[^}]*\}")  # <i>, <v Name>, <c.x>, {\an8}


@dataclass
class Cue:
    sentence: object
    start: float
    end: float = None  # None: to be found in the audio
    limit: float = None  # the end may not pass this (LRC: the next time)


@dataclass
class TimedText:
    cues: list = field(default_factory=list)
    title: str = None


def _fraction(digits):
    return int(digits) / 10 ** len(digits) if digits else 0.0


def parse_lrc(text, name, tell):
    entries, title, offset = [], None, 0.0
    for number, raw in enumerate(text.splitlines(), start=1):
        line, times = raw.strip(), []
        while match := LRC_TIME.match(line):
            times.append(int(match[1]) * 60 + int(match[2]) + _fraction(match[3]))
            line = line[match.end() :].strip()
        if not times:
            tag = LRC_TAG.match(line)
            if tag and tag[1].lower() == "ti":
                title = tag[2].strip() or None
            elif tag and tag[1].lower() == "offset":
                try:
                    offset = int(tag[2].strip()) / 1000
                except ValueError:
                    raise FormatError(f"{name}:{number}: [offset:] must be whole milliseconds") from None
            elif line and not tag:
                raise FormatError(f"{name}:{number}: a line with no [mm:ss.xx] time")
            continue
        words = html.unescape(WORD_TIME.sub("", line)).strip()
        entries += [(time, number, words) for time in times]
    # Players apply the offset to every time: a positive offset shows lines sooner.
    entries = sorted(((max(0.0, t - offset), n, w) for t, n, w in entries), key=lambda e: e[0])
    groups = [(time, list(group)) for time, group in itertools.groupby(entries, key=lambda e: e[0])]
    cues = []
    for index, (time, group) in enumerate(groups):
        same = [w for _, _, w in group if w]
        if not same:
            continue  # a time with no text ends the line before it
        where = f"{name}:{next(n for _, n, w in group if w)}"
        english, chinese, note = merge_lines(same, where)
        if sum(1 for w in same if not _is_chinese_only(w)) > 1:
            raise FormatError(f"{where}: two English lines at the same time {time:.2f} s")
        limit = groups[index + 1][0] if index + 1 < len(groups) else None
        cues.append(Cue(make_sentence(english, chinese, note, where, tell), time, limit=limit))
    return TimedText(cues, title)


def _is_chinese_only(words):
    english, _, _ = split_fields(words)
    return not english


def _cue_seconds(groups):
    hours, minutes, seconds, fraction = groups
    return int(hours or 0) * 3600 + int(minutes) * 60 + int(seconds) + _fraction(fraction)


def _parse_cues(text, name, tell, skip_block):
    """SRT and WebVTT alike: blocks apart by blank lines, a time line
    "start --> end" and the cue's text lines after it."""
    cues, lines = [], text.splitlines()
    at = 0
    while at < len(lines):
        while at < len(lines) and not lines[at].strip():
            at += 1
        block_start = at
        while at < len(lines) and lines[at].strip():
            at += 1
        block = lines[block_start:at]
        if not block or skip_block(block, block_start):
            continue
        timed = [k for k, line in enumerate(block) if "-->" in line]
        if not timed or timed[0] > 1:
            raise FormatError(f"{name}:{block_start + 1}: a cue with no \"start --> end\" time line")
        time_line = block_start + timed[0] + 1
        match = CUE_LINE.match(block[timed[0]])
        if not match:
            raise FormatError(f"{name}:{time_line}: cannot read the cue times {block[timed[0]].strip()!r}")
        start, end = _cue_seconds(match.groups()[:4]), _cue_seconds(match.groups()[4:])
        words = [html.unescape(MARKUP.sub("", line)).strip() for line in block[timed[0] + 1 :]]
        words = [w for w in words if w]
        where = f"{name}:{time_line}"
        if not words:
            raise FormatError(f"{where}: a cue with no text")
        cues.append(Cue(make_sentence(*merge_lines(words, where), where, tell), start, end))
    return TimedText(cues)


def parse_srt(text, name, tell):
    return _parse_cues(text, name, tell, lambda block, start: False)


def parse_vtt(text, name, tell):
    if not text.lstrip().startswith("WEBVTT"):
        raise FormatError(f"{name}:1: a WebVTT file begins with \"WEBVTT\"")

    def skip(block, start):  # the header, comments, styles and regions
        return block[0].strip().startswith(("WEBVTT", "NOTE", "STYLE", "REGION"))

    return _parse_cues(text, name, tell, skip)


PARSERS = {".lrc": parse_lrc, ".srt": parse_srt, ".vtt": parse_vtt}


def read_timed_text(path, encoding, tell):
    return PARSERS[path.suffix.lower()](read_text(path, encoding), str(path), tell)


def check_cue_order(cues, duration, name):
    """Cues that run backwards or overlap, or times beyond the audio, are faults."""
    grace = 0.05  # decoders differ by a frame at the very end
    previous = None
    for cue in cues:
        where = cue.sentence.where
        if cue.end is not None and cue.end <= cue.start:
            raise FormatError(f"{where}: the cue ends ({cue.end:.3f} s) before it starts ({cue.start:.3f} s)")
        if previous is not None and cue.start < previous.start:
            raise FormatError(f"{where}: the cue starts ({cue.start:.3f} s) before the cue above it ({previous.start:.3f} s)")
        if previous is not None and previous.end is not None and cue.start < previous.end:
            raise FormatError(f"{where}: the cue starts ({cue.start:.3f} s) before the cue above it ends ({previous.end:.3f} s)")
        last = cue.end if cue.end is not None else cue.start
        if last > duration + grace:
            raise FormatError(f"{where}: {last:.3f} s is beyond the end of {name} ({duration:.3f} s)")
        previous = cue
